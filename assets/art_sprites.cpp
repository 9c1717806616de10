// Bombs, missiles, explosions, the two players, the wreck and the editor's
// pointers, tool buttons and hover mark. Transparent parts are magenta.
#include "art.h"

#include <cmath>

namespace art {

namespace {

constexpr float TAU = 6.2831853f;

BITMAP *new_sprite(int w = 12, int h = 12)
{
    BITMAP *b = create_bitmap(w, h);
    clear_to_color(b, magenta());
    return b;
}

bool is_clear(BITMAP *b, int x, int y)
{
    return x < 0 || y < 0 || x >= b->w || y >= b->h || getpixel(b, x, y) == magenta();
}

// Dark rim around everything drawn so far, so a sprite stands out on any tile.
void outline(BITMAP *b, rgb c)
{
    BITMAP *copy = create_bitmap(b->w, b->h);
    blit(b, copy, 0, 0, 0, 0, b->w, b->h);
    for (int y = 0; y < b->h; y++)
        for (int x = 0; x < b->w; x++)
            if (is_clear(copy, x, y) &&
                (!is_clear(copy, x - 1, y) || !is_clear(copy, x + 1, y) || !is_clear(copy, x, y - 1) ||
                 !is_clear(copy, x, y + 1)))
                putpixel(b, x, y, col(c));
    destroy_bitmap(copy);
}

// Shaded ball lit from the upper left.
void ball(BITMAP *b, float cx, float cy, float r, rgb dark, rgb lit)
{
    for (int y = 0; y < b->h; y++)
        for (int x = 0; x < b->w; x++) {
            float dx = x + 0.5f - cx, dy = y + 0.5f - cy;
            if (dx * dx + dy * dy > r * r)
                continue;
            float lx = dx + r * 0.45f, ly = dy + r * 0.45f;
            float t = std::sqrt(lx * lx + ly * ly) / (r * 1.4f);
            putpixel(b, x, y, col(mix(lit, dark, t > 1 ? 1 : t)));
        }
}

// A ball glowing from within: white-hot in the middle, through yellow and
// orange to a red rim, as metal looks just before it gives way. A larger
// `heat` widens the white-hot middle.
void glowing_ball(BITMAP *b, float cx, float cy, float r, float heat)
{
    static const rgb stops[] = {{255, 255, 236}, {255, 238, 120}, {255, 170, 30}, {244, 96, 16}};
    for (int y = 0; y < b->h; y++)
        for (int x = 0; x < b->w; x++) {
            float dx = x + 0.5f - cx, dy = y + 0.5f - cy;
            float t = std::sqrt(dx * dx + dy * dy) / r;
            if (t > 1.0f)
                continue;
            t = std::pow(t, heat);
            float p = t * 3.0f;
            int i = p >= 3.0f ? 2 : static_cast<int>(p);
            putpixel(b, x, y, col(mix(stops[i], stops[i + 1], p - i)));
        }
}

void spark(BITMAP *b, int x, int y, bool big)
{
    putpixel(b, x, y, col(255, 255, 200));
    rgb glow = big ? rgb{255, 200, 40} : rgb{255, 140, 20};
    if (!is_clear(b, x, y - 1) && !big)
        return;
    if (y > 0)
        putpixel(b, x, y - 1, col(glow));
    if (x > 0)
        putpixel(b, x - 1, y, col(glow));
    if (x < b->w - 1)
        putpixel(b, x + 1, y, col(glow));
    if (big && y < b->h - 1)
        putpixel(b, x, y + 1, col(glow));
}

// Fuse from the bomb's top towards the upper right; it burns down with the
// frame counter, so the six frames show the bomb's time running out.
void fuse(BITMAP *b, int x, int y, int length, int frame)
{
    static const int path[][2] = {{0, 0}, {1, -1}, {2, -1}, {3, -2}, {3, -3}};
    int n = length > 5 ? 5 : length;
    for (int i = 0; i < n; i++)
        putpixel(b, x + path[i][0], y + path[i][1], col(i % 2 ? 170 : 200, i % 2 ? 150 : 170, 110));
    int end = n > 0 ? n - 1 : 0;
    spark(b, x + path[end][0], y + path[end][1] - 1 < 0 ? 0 : y + path[end][1] - 1, frame % 2 == 0);
}

// Fire from its coolest to its hottest. The coolest is still a glowing
// red: a blast hurts until its last frame, so no frame may look like smoke.
rgb heat_colour(float h)
{
    static const rgb stops[] = {{150, 26, 14}, {196, 44, 14}, {232, 84, 18},
                                {255, 150, 30}, {255, 220, 90}, {255, 252, 220}};
    const int n = 6;
    if (h <= 0)
        return stops[0];
    if (h >= 1)
        return stops[n - 1];
    float p = h * (n - 1);
    int i = static_cast<int>(p);
    return mix(stops[i], stops[i + 1], p - i);
}

// The front of a player, where its missiles go: a wedge of bright yellow
// pointing ahead, one pixel proud of the outline, with `tip` its top row.
// Yellow is kept apart from the blue-white of a missile and from the orange
// of fire, so a screenshot tells a face from a missile or a blast.
constexpr rgb FACING_MARK{255, 244, 0};

void facing_mark(BITMAP *b, int tip)
{
    hline(b, 5, tip, 6, col(FACING_MARK));
    hline(b, 4, tip + 1, 7, col(FACING_MARK));
}

// The walk cycle both players share: feet step and hands swing in
// opposition over eight frames.
void limbs(BITMAP *b, int frame, rgb hands)
{
    float s = std::sin(TAU * frame / 8.0f);
    int step = static_cast<int>(std::lround(s * 2.0f));
    rgb boot{40, 40, 50};
    rectfill(b, 3, 5 - step, 4, 7 - step, col(boot));
    rectfill(b, 7, 5 + step, 8, 7 + step, col(boot));
    int hand = static_cast<int>(std::lround(s * 2.0f));
    rectfill(b, 1, 6 + hand, 2, 7 + hand, col(hands));
    rectfill(b, 9, 6 - hand, 10, 7 - hand, col(hands));
}

// The launcher on the right shoulder, beside the facing mark.
void launcher(BITMAP *b, int x)
{
    vline(b, x, 2, 5, col(176, 178, 190));
    putpixel(b, x, 2, col(240, 240, 246));
}

// Player 1: a round body under a round white helmet with one dark stripe
// from front to back.
void round_player(BITMAP *b, int frame)
{
    rgb body{226, 60, 50};
    limbs(b, frame, {255, 150, 130});
    for (int y = 0; y < 12; y++)
        for (int x = 0; x < 12; x++) {
            float dx = x + 0.5f - 6.0f, dy = y + 0.5f - 6.5f;
            if (dx * dx + dy * dy <= 4.4f * 4.4f)
                putpixel(b, x, y, col(dy > 2.0f ? shade(body, -50) : body));
        }
    launcher(b, 9);
    circlefill(b, 6, 6, 2, col(236, 238, 244));
    vline(b, 6, 5, 8, col(40, 30, 36));
    facing_mark(b, 1);
    outline(b, {12, 10, 14});
}

// Player 2: a square-shouldered body with two pale pads and a square dark
// helmet split by a light band across it, so it differs from player 1 in
// outline and in light and shade as well as in colour.
void square_player(BITMAP *b, int frame)
{
    rgb body{76, 198, 76};
    limbs(b, frame, {170, 240, 150});
    rectfill(b, 2, 4, 9, 9, col(body));
    hline(b, 2, 9, 9, col(shade(body, -50)));
    hline(b, 3, 10, 8, col(shade(body, -50)));
    rectfill(b, 1, 4, 2, 6, col(214, 236, 200));
    rectfill(b, 9, 4, 10, 6, col(214, 236, 200));
    launcher(b, 9);
    rectfill(b, 4, 4, 7, 8, col(30, 46, 34));
    hline(b, 4, 6, 7, col(214, 236, 200));
    facing_mark(b, 2);
    outline(b, {12, 10, 14});
}

// Pencil along the diagonal from its tip at (0, 16) to the upper right.
void pencil(BITMAP *b, int tip_x, int tip_y, int length)
{
    for (int y = 0; y < b->h; y++)
        for (int x = 0; x < b->w; x++) {
            int u2 = (x - tip_x) - (y - tip_y);  // twice the distance along
            int v = (x - tip_x) + (y - tip_y);   // across, in diagonal steps
            if (u2 < 0 || u2 > length * 2)
                continue;
            float u = u2 / 2.0f;
            int half = u < 4 ? static_cast<int>(u / 1.5f) : 2;
            if (std::abs(v) > half)
                continue;
            rgb c;
            if (u < 1.5f)
                c = {40, 40, 48};
            else if (u < 4)
                c = {226, 190, 140};
            else if (u < length - 3)
                c = v < 0 ? rgb{250, 210, 50} : v > 0 ? rgb{200, 140, 20} : rgb{240, 180, 30};
            else if (u < length - 2)
                c = {190, 196, 206};
            else
                c = {236, 130, 150};
            putpixel(b, x, y, col(c));
        }
}

// Paint bucket tipped with its mouth to the lower left; the paint it pours
// ends at (drop_x, drop_y), the pointer's hot spot.
void bucket(BITMAP *b, int drop_x, int drop_y)
{
    const float mx = drop_x + 3.0f, my = drop_y - 4.0f;  // centre of the mouth
    const float dx = 0.7071f, dy = -0.7071f;             // towards the bottom
    for (int y = 0; y < b->h; y++)
        for (int x = 0; x < b->w; x++) {
            float rx = x + 0.5f - mx, ry = y + 0.5f - my;
            float u = rx * dx + ry * dy, v = rx * -dy + ry * dx;
            float w = 3.6f - u * 0.15f;
            if (u < 0 || u > 7.2f || std::fabs(v) > w)
                continue;
            rgb c = v < -1.2f ? rgb{206, 214, 228} : v > 1.6f ? rgb{96, 104, 122} : rgb{150, 160, 178};
            if (u < 1.0f)
                c = {232, 236, 244};
            else if (u < 2.4f && std::fabs(v) < w - 1.2f)
                c = v < 0 ? rgb{120, 180, 250} : rgb{46, 112, 214};
            else if (u > 4.6f && u < 5.4f)
                c = shade(c, -30);
            putpixel(b, x, y, col(c));
        }
    static const int stream[][2] = {{1, -3}, {2, -3}, {1, -2}, {0, -2}, {0, -1}, {1, -1}, {0, 0}};
    for (auto &p : stream)
        putpixel(b, drop_x + p[0], drop_y + p[1], col(46, 112, 214));
    putpixel(b, drop_x, drop_y - 2, col(120, 180, 250));
}

}  // namespace

// The last two frames of each bomb (its last 0.4 s, or 0.8 s of a big one):
// the whole shell glows white-hot, hotter still in the very last, so a bomb
// about to go off is told from a cold one at a glance, even in a still
// picture.
constexpr int HOT_FRAME = 4;

BITMAP *small_bomb(int frame)
{
    BITMAP *b = new_sprite();
    bool hot = frame >= HOT_FRAME;
    if (hot)
        glowing_ball(b, 5.5f, 7.0f, 3.8f, 1.0f + 0.4f * (frame - HOT_FRAME));
    else
        ball(b, 5.5f, 7.0f, 3.8f, {16, 16, 22}, {120, 124, 140});
    fuse(b, 6, 3, 5 - frame, frame);
    outline(b, {10, 10, 14});
    return b;
}

BITMAP *big_bomb(int frame)
{
    BITMAP *b = new_sprite();
    bool hot = frame >= HOT_FRAME;
    if (hot)
        glowing_ball(b, 6.0f, 6.8f, 5.3f, 1.0f + 0.4f * (frame - HOT_FRAME));
    else
        ball(b, 6.0f, 6.8f, 5.3f, {50, 8, 8}, {220, 90, 80});
    // The band shows through the glow, so the big bomb stays itself.
    hline(b, 2, 7, 10, hot ? col(220, 84, 16) : col(30, 20, 20));
    hline(b, 2, 8, 10, hot ? col(255, 248, 200) : col(200, 170, 60));
    fuse(b, 7, 1, 3 - frame / 2, frame);
    outline(b, {20, 6, 6});
    return b;
}

// A spiked steel orb round a white-hot core. Four spikes turn through a
// quarter turn over the eight frames; a quarter turn brings the orb back to
// itself, so frame 7 leads into frame 0. Cold steel and blue-white light on a
// see-through ground: nothing like the opaque fire of a blast.
BITMAP *missile(int frame)
{
    BITMAP *b = new_sprite();
    const float turn = TAU / 4.0f * static_cast<float>(frame) / 8.0f;
    for (int y = 0; y < 12; y++)
        for (int x = 0; x < 12; x++) {
            float dx = x + 0.5f - 6.0f, dy = y + 0.5f - 6.0f, d = std::sqrt(dx * dx + dy * dy);
            float a = std::atan2(dy, dx) - turn;
            // Distance in angle to the nearest of the four spikes.
            float off = std::fabs(std::remainder(a, TAU / 4.0f));
            float spike_width = 0.55f * (1.0f - (d - 3.0f) / 3.0f);
            if (d < 1.5f)
                putpixel(b, x, y, col(250, 252, 255));
            else if (d < 2.3f)
                putpixel(b, x, y, col(130, 220, 255));
            else if (d < 3.4f)
                putpixel(b, x, y, col(mix(rgb{150, 166, 196}, rgb{62, 72, 98}, (dx + dy + 4.0f) / 8.0f)));
            else if (d < 5.6f && off < spike_width)
                putpixel(b, x, y, col(200, 214, 236));
        }
    outline(b, {10, 12, 22});
    return b;
}

// The fire cools from white-hot to deep red over the eight frames, with
// tongues of brighter flame to the end: the cell still drains energy while
// the last frame shows.
BITMAP *explosion(int frame)
{
    BITMAP *b = create_bitmap(12, 12);
    float life = 1.0f - frame / 9.0f;  // 1 when the blast is fresh
    for (int y = 0; y < 12; y++)
        for (int x = 0; x < 12; x++) {
            float dx = x + 0.5f - 6, dy = y + 0.5f - 6;
            float centre = 1.0f - std::sqrt(dx * dx + dy * dy) / 8.5f;
            float n = tile_noise(x, y, 300 + frame) * 0.5f + tile_noise(x / 2, y / 2, 400 + frame, 6) * 0.5f;
            float h = life * (0.45f + 0.4f * n + 0.35f * centre) - (1.0f - life) * 0.2f;
            putpixel(b, x, y, col(heat_colour(h)));
        }
    return b;
}

BITMAP *walker(int frame, int player)
{
    BITMAP *b = new_sprite();
    if (player == 0)
        round_player(b, frame);
    else
        square_player(b, frame);
    return b;
}

BITMAP *wreck()
{
    BITMAP *b = new_sprite();
    for (int y = 0; y < 12; y++)
        for (int x = 0; x < 12; x++) {
            float dx = (x + 0.5f - 6) / 5.2f, dy = (y + 0.5f - 6.5f) / 3.6f;
            float wob = tile_noise(x, y, 500) * 0.35f;
            if (dx * dx + dy * dy <= 1.0f - wob)
                putpixel(b, x, y, col(shade(rgb{58, 54, 52}, static_cast<int>(tile_noise(x, y, 501) * 30) - 15)));
        }
    line(b, 2, 5, 9, 8, col(24, 22, 22));
    line(b, 3, 9, 8, 4, col(24, 22, 22));
    putpixel(b, 4, 6, col(255, 140, 30));
    putpixel(b, 8, 7, col(230, 80, 20));
    putpixel(b, 6, 9, col(255, 190, 60));
    // smoke rising from the middle
    putpixel(b, 6, 2, col(150, 150, 156));
    putpixel(b, 7, 1, col(120, 120, 128));
    putpixel(b, 5, 3, col(170, 170, 176));
    outline(b, {16, 14, 14});
    return b;
}

BITMAP *pen_pointer()
{
    BITMAP *b = new_sprite(17, 17);
    pencil(b, 0, 16, 15);
    outline(b, {0, 0, 0});
    putpixel(b, 0, 16, col(20, 20, 24));  // the hot spot is the graphite tip
    return b;
}

BITMAP *bucket_pointer()
{
    BITMAP *b = new_sprite(16, 16);
    bucket(b, 2, 11);
    outline(b, {0, 0, 0});
    putpixel(b, 2, 11, col(30, 90, 180));  // the drop's end is the hot spot
    return b;
}

BITMAP *tool_button(bool fill, bool down)
{
    BITMAP *b = create_bitmap(20, 20);
    rgb face = down ? rgb{236, 196, 80} : rgb{128, 134, 150};
    for (int y = 0; y < 20; y++)
        hline(b, 0, y, 19, col(shade(face, down ? y - 10 : 10 - y)));
    if (down)
        bevel(b, 0, 0, 19, 19, shade(face, -90), shade(face, 40));
    else
        bevel(b, 0, 0, 19, 19, shade(face, 80), shade(face, -80));
    BITMAP *icon = new_sprite(17, 17);
    if (fill)
        bucket(icon, 2, 11);
    else
        pencil(icon, 1, 15, 14);
    outline(icon, {0, 0, 0});
    int off = down ? 2 : 1;
    masked_blit(icon, b, 0, 0, off + (fill ? 0 : 0), off, 17, 17);
    destroy_bitmap(icon);
    return b;
}

BITMAP *hover_mark()
{
    BITMAP *b = new_sprite();
    // Corner brackets only, so the tile under the pointer stays visible.
    rgb lit{255, 236, 80}, rim{40, 30, 0};
    const int corners[4][2] = {{0, 0}, {11, 0}, {0, 11}, {11, 11}};
    for (auto &c : corners) {
        int sx = c[0] ? -1 : 1, sy = c[1] ? -1 : 1;
        for (int i = 0; i < 4; i++) {
            putpixel(b, c[0] + sx * i, c[1], col(lit));
            putpixel(b, c[0], c[1] + sy * i, col(lit));
            if (i > 0 && i < 4) {
                putpixel(b, c[0] + sx * i, c[1] + sy, col(rim));
                putpixel(b, c[0] + sx, c[1] + sy * i, col(rim));
            }
        }
    }
    return b;
}

}  // namespace art
