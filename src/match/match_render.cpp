// One picture of a running match: the board, the players, the weapons and
// blasts, the frame lines and the status panel. Reads the match, never
// changes it; the players' sprite bitmaps are the drawing's own.
#include <cstdio>
#include <cstring>

#include "platform.h"
#include "level.h"
#include "match.h"

int energy_colors[102];
BITMAP *player_sprites[2] = {nullptr, nullptr};

namespace {
BITMAP *flash_picture = nullptr;   // a hurt player's picture, lightened
}

// Made once at start-up, never during a match.
void create_player_sprites()
{
    for (int p = 1; p >= 0; p--) {
        player_sprites[p] = create_bitmap(CELL_SIZE, CELL_SIZE);
        clear_bitmap(player_sprites[p]);
    }
    flash_picture = create_bitmap(CELL_SIZE, CELL_SIZE);
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

    release_bitmap(back_buffer);

    present(WITHOUT_POINTER);
}
