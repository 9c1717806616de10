// One picture of a running match: the board, the players, the weapons and
// blasts, the frame lines and the status panel. Reads the match, never
// changes it; the players' sprite bitmaps are the drawing's own.
#include <cstdio>
#include <cstring>

#include "platform.h"
#include "computer.h"
#include "level.h"
#include "match.h"

int energy_colors[102];
BITMAP *player_sprites[2] = {nullptr, nullptr};

namespace {
BITMAP *flash_picture = nullptr;   // a hurt player's picture, lightened
// One line of the built-in font, drawn here and then doubled onto the panel:
// the panel's big letters, in its own pixel style.
BITMAP *banner = nullptr;
constexpr int BANNER_CHARS = 24;
}

// Made once at start-up, never during a match.
void create_player_sprites()
{
    for (int p = 1; p >= 0; p--) {
        player_sprites[p] = create_bitmap(CELL_SIZE, CELL_SIZE);
        clear_bitmap(player_sprites[p]);
    }
    flash_picture = create_bitmap(CELL_SIZE, CELL_SIZE);
    banner = create_bitmap(BANNER_CHARS * FONT_CHAR_WIDTH, FONT_CHAR_WIDTH);
}

void destroy_player_sprites()
{
    for (BITMAP *&s : player_sprites) {
        if (s)
            destroy_bitmap(s);
        s = nullptr;
    }
    if (flash_picture)
        destroy_bitmap(flash_picture);
    flash_picture = nullptr;
    if (banner)
        destroy_bitmap(banner);
    banner = nullptr;
}

void build_energy_colors()
{
    for (int i = 0; i <= 50; i++)
        energy_colors[i] = makecol(255 - 5 * i, 0, 0);
    for (int i = 51; i <= 101; i++)
        energy_colors[i] = makecol(0, 255 - 5 * (i - 51), 0);
}

namespace {

char fps_text[24];   // "fps = " and up to ten digits

constexpr int MAGENTA_R = 255, MAGENTA_G = 0, MAGENTA_B = 255;
constexpr int FPS_COLOR = 255;   // a raw colour value, whatever the depth makes of it
constexpr int FRAME_COLOR = 0;
constexpr int RED_BAND = 0, GREEN_BAND = 51;   // first entries of the two bands of energy_colors

// The walk frame turned to the facing; fixed-point angles turn clockwise,
// 64 to a quarter turn.
void build_sprite(BITMAP *sprite, const player &p, int first_walk_frame)
{
    rotate_sprite(sprite, game_bitmap(first_walk_frame + static_cast<int>(p.frame)), 0, 0,
                  itofix(p.facing * 64));
}

BITMAP *player_picture(const match_state &m, int i)
{
    return m.players[i].energy < 1 ? game_bitmap(OBJ_WRECK) : player_sprites[i];
}

void draw_player(const match_state &m, int i)
{
    const player &p = m.players[i];
    masked_blit(player_picture(m, i), back_buffer, 0, 0, p.x, p.y, CELL_SIZE, CELL_SIZE);
}

// A player losing energy flashes: every other pair of ticks its picture is
// drawn lightened, over the blasts too, so both players see who is hurt
// even where the fire on the cell hides the player.
constexpr int FLASH_TICKS = 2;
bool flashing(const match_state &m, int i)
{
    return m.players[i].damage > 0 && (m.tick / FLASH_TICKS) % 2 == 0;
}

void draw_flash(const match_state &m, int i)
{
    BITMAP *picture = player_picture(m, i);
    BITMAP *light = flash_picture;
    if (!light || bitmap_color_depth(light) != bitmap_color_depth(picture))
        return;
    const int depth = bitmap_color_depth(picture);
    const int mask = bitmap_mask_color(picture);
    for (int y = 0; y < CELL_SIZE; y++)
        for (int x = 0; x < CELL_SIZE; x++) {
            int c = getpixel(picture, x, y);
            if (c != mask)
                c = makecol_depth(depth, (getr_depth(depth, c) + 255) / 2,
                                  (getg_depth(depth, c) + 255) / 2,
                                  (getb_depth(depth, c) + 255) / 2);
            putpixel(light, x, y, c);
        }
    const player &p = m.players[i];
    masked_blit(light, back_buffer, 0, 0, p.x, p.y, CELL_SIZE, CELL_SIZE);
}

int weapon_icon(int weapon)
{
    if (weapon == WEAPON_MISSILE)
        return OBJ_ICON_MISSILE;
    if (weapon == WEAPON_BIG_BOMB)
        return OBJ_ICON_BIG_BOMB;
    return OBJ_ICON_BOMB;
}

// One column per energy point. The colour steps down one entry every 2.6
// points, one entry lower at every multiple of 13 than n / 2.6 would give:
// the entry is (5n - 1) / 13, worked in integers so no rounding can move it.
void draw_energy_bar(int energy, int left, int first_color)
{
    for (int n = 0; n < energy; n++)
        vline(back_buffer, left + n, BAR_TOP, BAR_BOTTOM, energy_colors[first_color + (5 * n - 1) / 13]);
}

bool copyable_tile(BITMAP *tile, int depth)
{
    return tile->w >= CELL_SIZE && tile->h >= CELL_SIZE && is_memory_bitmap(tile) &&
           bitmap_color_depth(tile) == depth;
}

// One row of cells, pixel line by pixel line, so that the writes run along
// the back buffer's lines. Cells whose tile cannot be copied straight are
// left to blit; cells do not overlap, so the order makes no difference.
template <int BYTES_PER_PIXEL>
void copy_cell_row(BITMAP *const tiles[], const bool straight[], BITMAP *target, int y)
{
    for (int line = 0; line < CELL_SIZE; line++) {
        unsigned char *out = target->line[y + line] + cell_x(0) * BYTES_PER_PIXEL;
        for (int col = 0; col < LEVEL_COLUMNS; col++, out += CELL_SIZE * BYTES_PER_PIXEL)
            if (straight[col])
                std::memcpy(out, tiles[col]->line[line], CELL_SIZE * BYTES_PER_PIXEL);
    }
}

// The board is 1802 opaque copies of 12 by 12 pixels a frame, and Allegro's
// blit spends more on its checks and per-line calls than on the pixels: the
// board alone cost about a third of the full-screen copy. Between memory
// bitmaps of one depth, with the board wholly inside the target's clip, the
// lines are copied straight; anything else goes through blit. Same pixels.
void draw_board(BITMAP *target, const match_state &m)
{
    const int anim_tile = OBJ_ANIM_TILE_FIRST + static_cast<int>(m.anim_clock);
    const int depth = bitmap_color_depth(target);
    const int bytes = depth == 15 || depth == 16 ? 2 : depth == 32 ? 4 : 0;
    const bool straight_target =
        bytes && is_memory_bitmap(target) && cell_x(0) >= target->cl && cell_y(0) >= target->ct &&
        cell_x(LEVEL_COLUMNS) <= target->cr && cell_y(LEVEL_ROWS) <= target->cb;

    BITMAP *tiles[LEVEL_COLUMNS];
    bool straight[LEVEL_COLUMNS];
    for (int row = 0; row < LEVEL_ROWS; row++) {
        for (int col = 0; col < LEVEL_COLUMNS; col++) {
            int32_t tile = m.board[col][row];
            tiles[col] = level_bitmap(tile == ANIMATED_TILE ? anim_tile : tile_picture(tile));
            straight[col] = straight_target && copyable_tile(tiles[col], depth);
            if (!straight[col])
                blit(tiles[col], target, 0, 0, cell_x(col), cell_y(row), CELL_SIZE, CELL_SIZE);
        }
        if (bytes == 2)
            copy_cell_row<2>(tiles, straight, target, cell_y(row));
        else if (bytes == 4)
            copy_cell_row<4>(tiles, straight, target, cell_y(row));
    }
}

// The panel's own ground under the centre's rows, so text laid over it
// reads as part of the panel.
int centre_ground()
{
    return getpixel(game_bitmap(OBJ_STATUS_PANEL), PANEL_CENTRE_X1 + 2, PANEL_HINT_Y1 - PANEL_TOP + 1);
}

// Text at twice the built-in font's size, centred, over a dark shadow.
void draw_big_text(const char *text, int colour)
{
    if (!banner)
        return;
    const int w = text_length(font, text), h = text_height(font);
    const int x = PANEL_CENTRE_X - w, y = PANEL_TITLE_TEXT_Y;
    const int pass_colour[2] = {MESSAGE_SHADOW_COLOR, colour};
    text_mode(-1);
    for (int pass = 0; pass < 2; pass++) {
        clear_to_color(banner, bitmap_mask_color(banner));
        textout(banner, font, text, 0, 0, pass_colour[pass]);
        masked_stretch_blit(banner, back_buffer, 0, 0, w, h, x + 2 - 2 * pass, y + 2 - 2 * pass,
                            2 * w, 2 * h);
    }
    text_mode(0);
}

// "NAME WINS" in capitals: the name as the panel shows it, without the
// spaces the names dialog pads it with; a blank name is the player's number.
void winner_line(int player_index, char *out, size_t size)
{
    char name[NAME_SIZE];
    printable_text(profiles[player_index].name, name, sizeof name);
    size_t n = std::strlen(name);
    while (n > 0 && name[n - 1] == ' ')
        n--;
    name[n] = '\0';
    for (char *c = name; *c; c++)
        if (*c >= 'a' && *c <= 'z')
            *c = char(*c - 'a' + 'A');
    if (n == 0)
        std::snprintf(out, size, "PLAYER %d WINS", player_index + 1);
    else
        std::snprintf(out, size, "%s WINS", name);
}

void draw_hint(const char *text, int x, bool right_aligned)
{
    textout(back_buffer, font, text, right_aligned ? x - text_length(font, text) : x,
            PANEL_HINT_TEXT_Y, PANEL_HINT_COLOR);
}

// What the match has come to, over the panel's title (the winner in the
// winner's colour, a draw, a pause), and under it the score since the
// program started between the keys that matter now.
void draw_panel_centre(const match_state &m)
{
    char line[BANNER_CHARS + 1] = "";
    int colour = TEXT_WHITE;
    if (m.result == RESULT_P1_WINS || m.result == RESULT_P2_WINS) {
        const int winner = m.result == RESULT_P1_WINS ? 0 : 1;
        winner_line(winner, line, sizeof line);
        colour = winner == 0 ? P1_NAME_COLOR : P2_NAME_COLOR;
    } else if (m.result == RESULT_DRAW) {
        std::snprintf(line, sizeof line, "DRAW");
        colour = PANEL_DRAW_COLOR;
    } else if (match_paused) {
        std::snprintf(line, sizeof line, "PAUSED");
    } else if (match_status) {
        std::snprintf(line, sizeof line, "%s", match_status);
    }
    const int ground = centre_ground();
    if (line[0]) {
        rectfill(back_buffer, PANEL_CENTRE_X1, PANEL_TITLE_Y1, PANEL_CENTRE_X2, PANEL_TITLE_Y2, ground);
        draw_big_text(line, colour);
    }

    rectfill(back_buffer, PANEL_CENTRE_X1, PANEL_HINT_Y1, PANEL_CENTRE_X2, PANEL_HINT_Y2, ground);
    const int left = PANEL_CENTRE_X1 + PANEL_HINT_MARGIN, right = PANEL_CENTRE_X2 - PANEL_HINT_MARGIN;
    text_mode(-1);
    if (match_panel == panel_mode::replay) {
        draw_hint("Replay", left, false);
        draw_hint("Esc: stop", right, true);
    } else {
        char score[24];
        std::snprintf(score, sizeof score, "%d : %d", match_wins[0], match_wins[1]);
        const int sx = PANEL_CENTRE_X - text_length(font, score) / 2;
        textout(back_buffer, font, score, sx + 1, PANEL_HINT_TEXT_Y + 1, MESSAGE_SHADOW_COLOR);
        textout(back_buffer, font, score, sx, PANEL_HINT_TEXT_Y, TEXT_WHITE);
        draw_hint("Esc: leave", left, false);
        // Online there is no pause: the other player's game would stop too.
        if (match_panel == panel_mode::online) {
            if (m.result != RESULT_NONE)
                draw_hint("Enter: again", right, true);
            text_mode(0);
            return;
        }
        const char *pause_key = p_pauses() ? "P" : "Pause";
        char right_hint[24];
        if (match_paused)
            std::snprintf(right_hint, sizeof right_hint, "%s: go on", pause_key);
        else if (m.result != RESULT_NONE)
            std::snprintf(right_hint, sizeof right_hint, "Enter: again");
        else
            std::snprintf(right_hint, sizeof right_hint, "%s: pause", pause_key);
        draw_hint(right_hint, right, true);
    }
    text_mode(0);
}

// "CPU" and its level over the name of a side the computer plays.
void draw_computer_marks()
{
    static const int NAME_X[2] = {P1_NAME_X, P2_NAME_X};
    text_mode(-1);
    for (int p = 0; p < 2; p++) {
        if (match_kinds[p] < COMPUTER_EASY || match_kinds[p] > COMPUTER_HARD)
            continue;
        char mark[16];
        std::snprintf(mark, sizeof mark, "CPU %s", computer_level_name(match_kinds[p]));
        for (char *c = mark; *c; c++)
            if (*c >= 'a' && *c <= 'z')
                *c = char(*c - 'a' + 'A');
        const int x = NAME_X[p] + COMPUTER_MARK_RIGHT - text_length(font, mark);
        textout(back_buffer, font, mark, x + 1, COMPUTER_MARK_Y + 1, MESSAGE_SHADOW_COLOR);
        textout(back_buffer, font, mark, x, COMPUTER_MARK_Y, COMPUTER_MARK_COLOR);
    }
    text_mode(0);
}

}  // namespace

// Bombs and missiles over the board; all missiles share the animated tiles'
// clock, so they show the same picture at any moment.
void draw_bombs(BITMAP *target, const match_state &m)
{
    for (const bomb &b : m.bombs) {
        if (b.active != 1)
            continue;
        int picture;
        if (b.type == WEAPON_MISSILE)
            picture = OBJ_MISSILE_FIRST + static_cast<int>(m.anim_clock);
        else if (b.type == WEAPON_BIG_BOMB)
            picture = OBJ_BIG_BOMB_FIRST + static_cast<int>(b.frame);
        else
            picture = OBJ_BOMB_FIRST + static_cast<int>(b.frame);
        masked_blit(game_bitmap(picture), target, 0, 0, cell_x(b.col), cell_y(b.row),
                    CELL_SIZE, CELL_SIZE);
    }
}

// Opaque, in slot order: explosions cover whatever lies on their cells, and
// later slots cover earlier ones. Off-board cells are clipped by the target.
void draw_explosions(BITMAP *target, const match_state &m)
{
    for (const explosion &e : m.explosions) {
        if (e.active != 1)
            continue;
        blit(game_bitmap(OBJ_EXPLOSION_FIRST + static_cast<int>(e.frame)), target, 0, 0,
             cell_x(e.col), cell_y(e.row), CELL_SIZE, CELL_SIZE);
    }
}

// The back buffer is not cleared first: pixels no step draws (the column at
// x 638 between the frame lines) keep what the buffer held.
void render_match_frame(const match_state &m)
{
    const int magenta = makecol(MAGENTA_R, MAGENTA_G, MAGENTA_B);
    clear_to_color(player_sprites[0], magenta);
    clear_to_color(player_sprites[1], magenta);
    build_sprite(player_sprites[0], m.players[0], OBJ_P1_WALK_FIRST);
    build_sprite(player_sprites[1], m.players[1], OBJ_P2_WALK_FIRST);

    acquire_bitmap(back_buffer);

    draw_board(back_buffer, m);

    // Drawn in the standing text mode; the panel covers it afterwards.
    std::sprintf(fps_text, "fps = %u", static_cast<unsigned>(fps.load()));
    textout_centre(back_buffer, menu_font(), fps_text, FPS_X, FPS_Y, FPS_COLOR);

    draw_player(m, 0);
    draw_player(m, 1);

    // Explosions cover bombs, missiles and players on their cells.
    draw_bombs(back_buffer, m);
    draw_explosions(back_buffer, m);
    for (int i = 0; i < 2; i++)
        if (flashing(m, i))
            draw_flash(m, i);

    // Lines on x 0, 1, 639 and y 0, 1, 409; the one on y 410 goes under the
    // panel and the one on x 640 off the bitmap.
    rect(back_buffer, 0, 0, SCREEN_WIDTH, PANEL_TOP, FRAME_COLOR);
    rect(back_buffer, 1, 1, SCREEN_WIDTH - 1, PANEL_TOP - 1, FRAME_COLOR);

    blit(game_bitmap(OBJ_STATUS_PANEL), back_buffer, 0, 0, 0, PANEL_TOP, SCREEN_WIDTH, PANEL_HEIGHT);

    masked_blit(game_bitmap(weapon_icon(m.players[0].weapon)), back_buffer, 0, 0, P1_ICON_X,
                ICON_Y, CELL_SIZE, CELL_SIZE);
    masked_blit(game_bitmap(weapon_icon(m.players[1].weapon)), back_buffer, 0, 0, P2_ICON_X,
                ICON_Y, CELL_SIZE, CELL_SIZE);

    draw_energy_bar(m.players[0].energy, P1_BAR_X, RED_BAND);
    draw_energy_bar(m.players[1].energy, P2_BAR_X, GREEN_BAND);

    text_mode(-1);
    textout_centre(back_buffer, font, profiles[0].name, P1_NAME_X, NAME_Y, P1_NAME_COLOR);
    textout_centre(back_buffer, font, profiles[1].name, P2_NAME_X, NAME_Y, P2_NAME_COLOR);
    text_mode(0);

    draw_computer_marks();
    draw_panel_centre(m);

    release_bitmap(back_buffer);

    present(WITHOUT_POINTER);
}
