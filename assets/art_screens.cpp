// The two panels, the three dialog boxes and the menu background. Every
// button is drawn from the hit area the game tests, so what is seen is what
// is clicked; positions come from the game's catalogue header.
#include "art.h"

#include "catalogue.h"

#include <cmath>

namespace art {

namespace {

constexpr rgb PANEL{66, 72, 88};
constexpr rgb WELL{20, 22, 30};
constexpr rgb WINDOW{46, 52, 72};
constexpr rgb ENERGY_TROUGH{98, 102, 112};

// The editor's help, one line each, centred under its title. A new key only
// needs a line here; the lines are spaced to fit the box.
const char *const EDITOR_HELP[] = {
    "Keypad + fill  - pen",
    "C clear  S save  L load",
    "M mirror  T try  Esc quit",
};

// Frame of a palette slot whose tile is a wall: yellow and black stripes,
// the sign of a barrier, two pixels wide around a square of `size`.
void wall_socket(BITMAP *b, int x, int y, int size = CELL_SIZE)
{
    for (int py = y - 2; py <= y + size + 1; py++)
        for (int px = x - 2; px <= x + size + 1; px++) {
            bool inside = px >= x && px < x + size && py >= y && py < y + size;
            if (!inside)
                putpixel(b, px, py, ((px + py) / 2) % 2 ? col(30, 28, 24) : col(246, 196, 40));
        }
}

// A hit area given in screen pixels, moved into a picture drawn at (ox, oy).
hit_area local(hit_area a, int ox, int oy) { return {a.x1 - ox, a.y1 - oy, a.x2 - ox, a.y2 - oy}; }

void panel_base(BITMAP *b, int seed)
{
    metal(b, 0, 0, b->w - 1, b->h - 1, PANEL, seed);
    hline(b, 0, 0, b->w - 1, col(20, 22, 28));
    hline(b, 0, 1, b->w - 1, col(150, 158, 178));
    hline(b, 0, b->h - 1, b->w - 1, col(30, 32, 40));
    rivet(b, 4, 6);
    rivet(b, b->w - 5, 6);
    rivet(b, 4, b->h - 6);
    rivet(b, b->w - 5, b->h - 6);
}

// Window of a dialog: rounded corners (magenta, so they stay see-through),
// a lit rim and a title strip.
void window(BITMAP *b, const char *title)
{
    clear_to_color(b, magenta());
    int w = b->w, h = b->h;
    for (int y = 0; y < h; y++)
        hline(b, 0, y, w - 1, col(mix(shade(WINDOW, 14), shade(WINDOW, -12), float(y) / float(h))));
    bevel(b, 0, 0, w - 1, h - 1, {150, 160, 196}, {14, 16, 26});
    bevel(b, 1, 1, w - 2, h - 2, {96, 106, 140}, {26, 28, 42});
    if (title) {
        for (int y = 3; y <= 16; y++)
            hline(b, 3, y, w - 4, col(mix(rgb{200, 90, 30}, rgb{120, 30, 20}, float(y - 3) / 13.0f)));
        hline(b, 3, 17, w - 4, col(20, 14, 16));
        label(b, title, w / 2, 6, {255, 240, 210}, true);
    }
    const int corner[][2] = {{0, 0}, {1, 0}, {0, 1}};
    for (auto &c : corner) {
        putpixel(b, c[0], c[1], magenta());
        putpixel(b, w - 1 - c[0], c[1], magenta());
        putpixel(b, c[0], h - 1 - c[1], magenta());
        putpixel(b, w - 1 - c[0], h - 1 - c[1], magenta());
    }
}

void area_button(BITMAP *b, hit_area a, rgb face, const char *text)
{
    push_button(b, a.x1, a.y1, a.x2, a.y2, face, text);
}

void arrow_button(BITMAP *b, hit_area a, bool up)
{
    push_button(b, a.x1, a.y1, a.x2, a.y2, {90, 100, 130}, "");
    int cx = (a.x1 + a.x2) / 2, cy = (a.y1 + a.y2) / 2;
    int d = up ? -1 : 1;
    triangle(b, cx - 4, cy - 2 * d, cx + 4, cy - 2 * d, cx, cy + 2 * d, col(240, 240, 250));
}

// One side of the status panel: header, weapon slot, name plate, energy well.
void player_section(BITMAP *b, int icon_x, int name_x, int bar_x, const char *header, rgb accent)
{
    const int top = PANEL_TOP;
    int x1 = bar_x - 6, x2 = bar_x + 135;
    inset(b, x1, 4, x2, 65, shade(PANEL, -12));
    for (int y = 5; y <= 8; y++)
        hline(b, x1 + 1, y, x2 - 1, col(mix(accent, shade(PANEL, -12), float(y - 5) / 4.0f)));
    label(b, header, x1 + 6, 10, mix(accent, rgb{255, 255, 255}, 0.5f));
    label(b, "ENERGY", x2 - 53, 10, {170, 176, 192});
    // weapon slot around the 12x12 icon
    inset(b, icon_x - 3, ICON_Y - top - 3, icon_x + 14, ICON_Y - top + 14, WELL);
    // name plate: built-in font text is 8 high, centred on name_x
    inset(b, name_x - 50, NAME_Y - top - 4, name_x + 50, NAME_Y - top + 11, WELL);
    // Energy trough, one pixel larger than the 130 columns of a full bar. The
    // bars' colours fall to near black at the end of each band, so the trough
    // is a mid grey: the last points of energy still stand out against it.
    int y1 = BAR_TOP - top, y2 = BAR_BOTTOM - top;
    rect(b, bar_x - 2, y1 - 2, bar_x + 131, y2 + 2, col(14, 16, 22));
    rectfill(b, bar_x - 1, y1 - 1, bar_x + 130, y2 + 1, col(ENERGY_TROUGH));
    hline(b, bar_x - 1, y1 - 1, bar_x + 130, col(shade(ENERGY_TROUGH, -30)));
    for (int n = 10; n < 130; n += 13)
        vline(b, bar_x + n, BAR_BOTTOM - top + 3, BAR_BOTTOM - top + 3, col(110, 116, 130));
}

}  // namespace

BITMAP *status_panel()
{
    BITMAP *b = create_bitmap(SCREEN_WIDTH, PANEL_HEIGHT);
    panel_base(b, 600);
    player_section(b, P1_ICON_X, P1_NAME_X, P1_BAR_X, "PLAYER 1", {220, 50, 40});
    player_section(b, P2_ICON_X, P2_NAME_X, P2_BAR_X, "PLAYER 2", {50, 190, 60});
    // Middle: the game's name between two hazard stripes.
    inset(b, 160, 8, 479, 61, shade(PANEL, -20));
    const char *name = "BLAST ARENA";
    int w = glyph_text_width(name);
    glyph_text(b, name, 320 - w / 2 + 2, 4 + 2, {10, 10, 14}, {10, 10, 14});
    glyph_text(b, name, 320 - w / 2, 4, {255, 230, 110}, {230, 90, 30});
    for (int x = 164; x <= 475; x++)
        for (int y = 48; y <= 57; y++)
            putpixel(b, x, y, ((x + y) / 5) % 2 ? col(30, 30, 30) : col(210, 170, 40));
    label(b, "Esc ends the match", 320, 38, {190, 196, 210}, true);
    return b;
}

BITMAP *editor_panel()
{
    const int top = PANEL_TOP;
    BITMAP *b = create_bitmap(SCREEN_WIDTH, PANEL_HEIGHT);
    panel_base(b, 700);
    // Palette: a well holding a socket per tile.
    int px2 = PALETTE_X + (PALETTE_COLUMNS - 1) * PALETTE_STEP + CELL_SIZE;
    int py2 = PALETTE_Y - top + (PALETTE_ROWS - 1) * PALETTE_STEP + CELL_SIZE;
    inset(b, PALETTE_X - 5, PALETTE_Y - top - 5, px2 + 4, py2 + 4, {34, 38, 50});
    for (int i = 0; i < PALETTE_COLUMNS; i++)
        for (int j = 0; j < PALETTE_ROWS; j++) {
            int x = PALETTE_X + i * PALETTE_STEP, y = PALETTE_Y - top + j * PALETTE_STEP;
            rect(b, x - 2, y - 2, x + CELL_SIZE + 1, y + CELL_SIZE + 1, col(14, 16, 22));
            rect(b, x - 1, y - 1, x + CELL_SIZE, y + CELL_SIZE, col(90, 96, 114));
            if (is_wall_tile_id(i * PALETTE_ROWS + j))
                wall_socket(b, x, y);
        }
    // The two selected-tile boxes with a mouse showing which button is which.
    int bx = LEFT_TILE_X, ly = LEFT_TILE_Y - top, ry = RIGHT_TILE_Y - top;
    inset(b, bx - 3, ly - 3, bx + CELL_SIZE + 2, ry + CELL_SIZE + 2, WELL);
    rect(b, bx - 1, ly - 1, bx + CELL_SIZE, ly + CELL_SIZE, col(230, 230, 240));
    rect(b, bx - 1, ry - 1, bx + CELL_SIZE, ry + CELL_SIZE, col(230, 230, 240));
    {
        int mx = bx - 1, my = 5;  // mouse 14x15 above the boxes
        rectfill(b, mx, my, mx + 13, my + 14, col(220, 222, 230));
        rect(b, mx, my, mx + 13, my + 14, col(20, 20, 26));
        vline(b, mx + 6, my, my + 6, col(20, 20, 26));
        hline(b, mx, my + 6, mx + 13, col(20, 20, 26));
        rectfill(b, mx + 1, my + 1, mx + 5, my + 5, col(230, 70, 50));
        rectfill(b, mx + 7, my + 1, mx + 12, my + 5, col(70, 140, 230));
        putpixel(b, mx, my, col(PANEL));
        putpixel(b, mx + 13, my, col(PANEL));
    }
    // Left and right marks beside the boxes, coloured as on the mouse.
    rectfill(b, bx - 6, ly + 3, bx - 5, ly + 8, col(230, 70, 50));
    rectfill(b, bx - 6, ry + 3, bx - 5, ry + 8, col(70, 140, 230));
    // Tool buttons sit in one well; the game blits them over it.
    hit_area pen = local(PEN_BUTTON_AREA, 0, top), fill = local(FILL_BUTTON_AREA, 0, top);
    inset(b, pen.x1 - 2, pen.y1 - 2, fill.x2 + 1, fill.y2 + 1, WELL);
    label(b, "TOOL", (pen.x1 + fill.x2) / 2 + 1, pen.y1 - 12, {200, 206, 220}, true);
    // Key to the striped slots, above the tools.
    {
        int kx = pen.x1 - 3, ky = 7;
        rectfill(b, kx, ky, kx + 7, ky + 7, col(120, 60, 44));
        wall_socket(b, kx, ky, 8);
        label(b, "WALL", kx + 12, ky, {246, 210, 90});
    }
    // Middle: title and the keys.
    inset(b, 252, 6, 490, 63, shade(PANEL, -20));
    int w = glyph_text_width("LEVEL EDITOR");
    glyph_text(b, "LEVEL EDITOR", 371 - w / 2 + 2, 1 + 2, {10, 10, 14}, {10, 10, 14});
    glyph_text(b, "LEVEL EDITOR", 371 - w / 2, 1, {150, 220, 255}, {60, 120, 220});
    // The mirror lamp's dark socket; the editor lights it while mirroring.
    {
        int x1 = MIRROR_LAMP_X1, y1 = MIRROR_LAMP_Y1 - top, x2 = MIRROR_LAMP_X2, y2 = MIRROR_LAMP_Y2 - top;
        inset(b, x1, y1, x2, y2, WELL);
        triangle(b, x1 + 2, y1 + 2, x1 + 8, y1 + 2, x1 + 2, y1 + 8, col(70, 80, 96));
        triangle(b, x2 - 2, y2 - 2, x2 - 8, y2 - 2, x2 - 2, y2 - 8, col(70, 80, 96));
    }
    const int lines = sizeof EDITOR_HELP / sizeof EDITOR_HELP[0];
    const int first = 31, last = 53;  // under the title, above the box's rim
    for (int i = 0; i < lines; i++)
        label(b, EDITOR_HELP[i], 371, lines > 1 ? first + (last - first) * i / (lines - 1) : first,
              {210, 214, 226}, true);
    // The four buttons exactly on their hit areas.
    area_button(b, local(CLEAR_BUTTON_AREA, 0, top), {190, 110, 40}, "Clear");
    area_button(b, local(LOAD_BUTTON_AREA, 0, top), {60, 110, 190}, "Load");
    area_button(b, local(SAVE_BUTTON_AREA, 0, top), {50, 150, 70}, "Save");
    area_button(b, local(QUIT_BUTTON_AREA, 0, top), {180, 50, 50}, "Quit");
    return b;
}

// The question is drawn centred on x 320 at y 180; the longest one the game
// asks is 29 characters (232 pixels), and the box centres on the buttons.
BITMAP *yesno_box()
{
    const int ox = YESNO_BOX_X, oy = YESNO_BOX_Y;
    hit_area yes = local(YES_BUTTON_AREA, ox, oy), no = local(NO_BUTTON_AREA, ox, oy);
    int centre = (yes.x1 + no.x2 + 1) / 2;
    BITMAP *b = create_bitmap(centre * 2, no.y2 + 12);
    window(b, nullptr);
    inset(b, 8, 180 - oy - 8, b->w - 9, 180 - oy + 15, shade(WINDOW, -22));
    area_button(b, yes, {50, 150, 70}, "Yes");
    area_button(b, no, {180, 50, 50}, "No");
    return b;
}

BITMAP *list_box()
{
    const int ox = LIST_BOX_X, oy = LIST_BOX_Y;
    hit_area ok = local(OK_BUTTON_AREA, ox, oy), cancel = local(CANCEL_BUTTON_AREA, ox, oy);
    hit_area up = local(SCROLL_UP_AREA, ox, oy), down = local(SCROLL_DOWN_AREA, ox, oy);
    int centre = (ok.x1 + cancel.x2 + 1) / 2;
    BITMAP *b = create_bitmap(centre * 2, cancel.y2 + 14);
    window(b, "Choose a level");
    // The rows' well, one pixel around the selection bar's widest reach.
    int rx1 = LIST_BAR_X1 - ox - 1, rx2 = LIST_BAR_X2 - ox + 1;
    int ry1 = LIST_BAR_Y - oy - 1, ry2 = LIST_BAR_Y - oy + LIST_ROWS * LIST_ROW_HEIGHT + 1;
    inset(b, rx1, ry1, rx2, ry2, {16, 18, 28});
    for (int i = 1; i < LIST_ROWS; i += 2)
        hline(b, rx1 + 1, ry1 + 1 + i * LIST_ROW_HEIGHT + 1, rx2 - 1, col(22, 25, 38));
    // Scroll track between the arrows.
    inset(b, up.x1, up.y2 + 1, up.x2, down.y1 - 1, {24, 26, 38});
    arrow_button(b, up, true);
    arrow_button(b, down, false);
    area_button(b, ok, {50, 150, 70}, "OK");
    area_button(b, cancel, {180, 50, 50}, "Cancel");
    return b;
}

// The typed name is drawn at (282, 247), up to nine characters and a cursor.
BITMAP *save_box()
{
    const int ox = SAVE_BOX_X, oy = SAVE_BOX_Y;
    BITMAP *b = create_bitmap(140, 64);
    window(b, "Save level as");
    int tx = 282 - ox, ty = 247 - oy;
    inset(b, tx - 5, ty - 5, tx + 10 * 8 + 4, ty + 12, {12, 14, 22});
    label(b, "A-Z 0-9 + -", b->w / 2, ty + 18, {170, 176, 200}, true);
    return b;
}

BITMAP *menu_background()
{
    BITMAP *b = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
    // Night sky over the arena: a vertical gradient with a faint board grid
    // that fades towards the top.
    for (int y = 0; y < SCREEN_HEIGHT; y++)
        for (int x = 0; x < SCREEN_WIDTH; x++) {
            rgb c = mix(rgb{10, 12, 30}, rgb{40, 18, 44}, float(y) / SCREEN_HEIGHT);
            float grid = float(y) / SCREEN_HEIGHT * 0.6f;
            if ((x - 2) % 12 == 0 || (y - 2) % 12 == 0)
                c = mix(c, rgb{90, 70, 130}, grid * 0.5f);
            putpixel(b, x, y, col(c));
        }
    // A burst of rays behind the title.
    const float cx = 320, cy = 88;
    for (int y = 0; y < SCREEN_HEIGHT; y++)
        for (int x = 0; x < SCREEN_WIDTH; x++) {
            float dx = x - cx, dy = (y - cy) * 1.8f, d = std::sqrt(dx * dx + dy * dy);
            float a = std::atan2(dy, dx);
            float ray = std::pow(std::fabs(std::sin(a * 9.0f)), 8.0f);
            float glow = std::exp(-d / 150.0f);
            blend(b, x, y, {255, 130, 40}, glow * 0.55f + ray * glow * 0.35f);
        }
    // Title: shadow, dark rim, then the letters in a fire gradient.
    const grey_map &t = title_map();
    int tx = (SCREEN_WIDTH - t.w) / 2, ty = 52;
    for (int y = -4; y < t.h + 8; y++)
        for (int x = -4; x < t.w + 8; x++) {
            int shadow = t.at(x - 5, y - 6);
            blend(b, tx + x, ty + y, {0, 0, 0}, shadow / 9.0f * 0.6f);
        }
    for (int y = -3; y < t.h + 3; y++)
        for (int x = -3; x < t.w + 3; x++) {
            int rim = 0;
            for (int dy = -3; dy <= 3; dy++)
                for (int dx = -3; dx <= 3; dx++)
                    if (dx * dx + dy * dy <= 10 && t.at(x + dx, y + dy) > rim)
                        rim = t.at(x + dx, y + dy);
            blend(b, tx + x, ty + y, {40, 8, 6}, rim / 9.0f);
        }
    for (int y = 0; y < t.h; y++)
        for (int x = 0; x < t.w; x++) {
            float f = float(y) / t.h;
            rgb fire = f < 0.5f ? mix(rgb{255, 250, 190}, rgb{255, 180, 40}, f * 2)
                                : mix(rgb{255, 180, 40}, rgb{210, 40, 20}, (f - 0.5f) * 2);
            if (y == 2 || y == 3)
                fire = mix(fire, rgb{255, 255, 255}, 0.5f);
            blend(b, tx + x, ty + y, fire, t.at(x, y) / 9.0f);
        }
    label(b, "a bomb and missile duel for two", 320, 126, {240, 200, 150}, true);
    // A calm plate behind the five menu items keeps white text and the red
    // highlight readable over the busy picture.
    for (int y = 164; y <= 388; y++)
        for (int x = 196; x <= 444; x++) {
            float edge = std::fmin(std::fmin(x - 196, 444 - x), std::fmin(y - 164, 388 - y));
            blend(b, x, y, {6, 6, 14}, edge < 6 ? 0.35f + edge * 0.05f : 0.65f);
        }
    rect(b, 196, 164, 444, 388, col(120, 90, 150));
    // The two players and their weapons, large, on either side.
    auto big = [&](BITMAP *s, int x, int y, int scale) {
        masked_stretch_blit(s, b, 0, 0, s->w, s->h, x, y, s->w * scale, s->h * scale);
        destroy_bitmap(s);
    };
    big(walker(0, 0), 64, 220, 6);
    big(small_bomb(2), 56, 330, 4);
    big(big_bomb(1), 110, 318, 5);
    big(walker(4, 1), 504, 220, 6);
    // A blast in its plus shape, as a small bomb leaves it.
    const int blast[][3] = {{0, 0, 0}, {-1, 0, 2}, {1, 0, 2}, {0, -1, 2}, {0, 1, 2}};
    for (auto &c : blast)
        big(explosion(c[2]), 560 + c[0] * 24, 356 + c[1] * 24, 2);
    big(missile(0), 470, 352, 3);
    label(b, "Arrows choose  -  Enter starts  -  Esc leaves", 320, 456, {160, 150, 190}, true);
    return b;
}

}  // namespace art
