// One picture of a running match: the board, the players, the weapons and
// blasts, the frame lines and the status panel. Reads the game, never changes it.
#include <cstdio>
#include <cstring>

#include "platform.h"
#include "level.h"
#include "match.h"

int energy_colors[102];

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
void build_sprite(player &p, int first_walk_frame)
{
    rotate_sprite(p.sprite, game_bitmap(first_walk_frame + static_cast<int>(p.frame)), 0, 0,
                  itofix(p.facing * 64));
}

void draw_player(const player &p)
{
    BITMAP *picture = p.energy < 1 ? game_bitmap(OBJ_WRECK) : p.sprite;
    masked_blit(picture, back_buffer, 0, 0, p.x, p.y, CELL_SIZE, CELL_SIZE);
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
void draw_board(BITMAP *target)
{
    const int anim_tile = OBJ_ANIM_TILE_FIRST + static_cast<int>(anim_clock);
    const int depth = bitmap_color_depth(target);
    const int bytes = depth == 15 || depth == 16 ? 2 : depth == 32 ? 4 : 0;
    const bool straight_target =
        bytes && is_memory_bitmap(target) && cell_x(0) >= target->cl && cell_y(0) >= target->ct &&
        cell_x(LEVEL_COLUMNS) <= target->cr && cell_y(LEVEL_ROWS) <= target->cb;

    BITMAP *tiles[LEVEL_COLUMNS];
    bool straight[LEVEL_COLUMNS];
    for (int row = 0; row < LEVEL_ROWS; row++) {
        for (int col = 0; col < LEVEL_COLUMNS; col++) {
            int32_t tile = board[col][row];
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

// The back buffer is not cleared first: pixels no step draws (the column at
// x 638 between the frame lines) keep what the buffer held.
void render_match_frame()
{
    const int magenta = makecol(MAGENTA_R, MAGENTA_G, MAGENTA_B);
    clear_to_color(players[0].sprite, magenta);
    clear_to_color(players[1].sprite, magenta);
    build_sprite(players[0], OBJ_P1_WALK_FIRST);
    build_sprite(players[1], OBJ_P2_WALK_FIRST);

    acquire_bitmap(back_buffer);

    draw_board(back_buffer);

    // Drawn in the standing text mode; the panel covers it afterwards.
    std::sprintf(fps_text, "fps = %u", static_cast<unsigned>(fps.load()));
    textout_centre(back_buffer, menu_font(), fps_text, FPS_X, FPS_Y, FPS_COLOR);

    draw_player(players[0]);
    draw_player(players[1]);

    // Explosions cover bombs, missiles and players on their cells.
    draw_bombs(back_buffer);
    draw_explosions(back_buffer);

    // Lines on x 0, 1, 639 and y 0, 1, 409; the one on y 410 goes under the
    // panel and the one on x 640 off the bitmap.
    rect(back_buffer, 0, 0, SCREEN_WIDTH, PANEL_TOP, FRAME_COLOR);
    rect(back_buffer, 1, 1, SCREEN_WIDTH - 1, PANEL_TOP - 1, FRAME_COLOR);

    blit(game_bitmap(OBJ_STATUS_PANEL), back_buffer, 0, 0, 0, PANEL_TOP, SCREEN_WIDTH, PANEL_HEIGHT);

    masked_blit(game_bitmap(weapon_icon(players[0].weapon)), back_buffer, 0, 0, P1_ICON_X, ICON_Y,
                CELL_SIZE, CELL_SIZE);
    masked_blit(game_bitmap(weapon_icon(players[1].weapon)), back_buffer, 0, 0, P2_ICON_X, ICON_Y,
                CELL_SIZE, CELL_SIZE);

    draw_energy_bar(players[0].energy, P1_BAR_X, RED_BAND);
    draw_energy_bar(players[1].energy, P2_BAR_X, GREEN_BAND);

    text_mode(-1);
    textout_centre(back_buffer, font, players[0].name, P1_NAME_X, NAME_Y, P1_NAME_COLOR);
    textout_centre(back_buffer, font, players[1].name, P2_NAME_X, NAME_Y, P2_NAME_COLOR);
    text_mode(0);

    release_bitmap(back_buffer);

    present(WITHOUT_POINTER);
}
