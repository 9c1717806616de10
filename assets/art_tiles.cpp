// The 30 board tiles and the eight frames of the animated light plate.
// Walls are raised blocks: a lit top edge and left side, a shadowed right
// side and a dark front face along the bottom, the same on every wall so one
// glance sorts the board into what stops you and what does not. Floors are
// flat: no edge of a floor tile is lit or shadowed against the opposite one,
// their seams sit away from the tile's border, and every floor is light
// enough for the players' dark outline to show on it.
#include "art.h"

#include <cmath>

namespace art {

namespace {

constexpr float TAU = 6.2831853f;

BITMAP *new_tile() { return create_bitmap(12, 12); }

// Flat floor: base colour with grain of +-spread.
void grain(BITMAP *b, rgb base, int spread, int seed)
{
    for (int y = 0; y < 12; y++)
        for (int x = 0; x < 12; x++)
            putpixel(b, x, y, col(shade(base, static_cast<int>((tile_noise(x, y, seed) - 0.5f) * 2 * spread))));
}

void speckle(BITMAP *b, rgb c, float chance, int seed)
{
    for (int y = 0; y < 12; y++)
        for (int x = 0; x < 12; x++)
            if (tile_noise(x, y, seed) < chance)
                putpixel(b, x, y, col(c));
}

// The raised-block edge every wall shares, so all walls read as one kind:
// light falls from the top left, the block's front face shows as two dark
// rows along the bottom and its right side is in shade.
void block_edge(BITMAP *b, rgb face)
{
    hline(b, 0, 0, 11, col(shade(face, 75)));
    vline(b, 0, 1, 9, col(shade(face, 40)));
    vline(b, 11, 1, 9, col(shade(face, -55)));
    hline(b, 0, 10, 11, col(shade(face, -65)));
    hline(b, 0, 11, 11, col(shade(face, -100)));
    putpixel(b, 11, 0, col(shade(face, 20)));
}

// ---- walls --------------------------------------------------------------------

BITMAP *brick_wall()
{
    BITMAP *b = new_tile();
    rgb mortar{70, 52, 44};
    clear_to_color(b, col(mortar));
    for (int row = 0; row < 3; row++) {
        int y1 = row * 4, off = row % 2 ? 3 : 0;
        for (int x0 = off - 6; x0 < 12; x0 += 6) {
            rgb brick = shade(rgb{170, 62, 44}, static_cast<int>(noise(x0 + 5, row, 11) * 30) - 15);
            int xa = x0 < 0 ? 0 : x0, xb = x0 + 4 > 11 ? 11 : x0 + 4;
            rectfill(b, xa, y1, xb, y1 + 2, col(brick));
            hline(b, xa, y1, xb, col(shade(brick, 35)));
        }
    }
    block_edge(b, {150, 60, 45});
    return b;
}

BITMAP *stone_block()
{
    BITMAP *b = new_tile();
    grain(b, {128, 128, 134}, 10, 31);
    bevel(b, 1, 1, 10, 10, {165, 165, 172}, {92, 92, 100});
    putpixel(b, 4, 6, col(95, 95, 102));
    putpixel(b, 5, 7, col(95, 95, 102));
    putpixel(b, 7, 4, col(150, 150, 158));
    block_edge(b, {120, 120, 128});
    return b;
}

BITMAP *steel_plate()
{
    BITMAP *b = new_tile();
    for (int y = 0; y < 12; y++)
        for (int x = 0; x < 12; x++) {
            float sheen = std::fabs(float(x - y)) < 2.5f ? 22.0f : 0.0f;
            putpixel(b, x, y, col(shade(rgb{96, 112, 132}, static_cast<int>(sheen + (x + y) * -1.5f + 8))));
        }
    for (int c = 0; c < 4; c++) {
        int x = c % 2 ? 8 : 2, y = c / 2 ? 8 : 2;
        putpixel(b, x, y, col(205, 215, 230));
        putpixel(b, x + 1, y + 1, col(45, 52, 66));
        putpixel(b, x + 1, y, col(140, 150, 168));
        putpixel(b, x, y + 1, col(140, 150, 168));
    }
    block_edge(b, {96, 112, 132});
    return b;
}

BITMAP *crate()
{
    BITMAP *b = new_tile();
    rgb wood{176, 122, 62};
    for (int y = 0; y < 12; y++)
        for (int x = 0; x < 12; x++)
            putpixel(b, x, y, col(shade(wood, static_cast<int>(tile_noise(x / 3, y, 41) * 20) - 10)));
    rgb frame{112, 72, 34};
    rect(b, 1, 1, 10, 10, col(frame));
    rect(b, 2, 2, 9, 9, col(frame));
    for (int i = 2; i <= 9; i++) {
        putpixel(b, i, i, col(frame));
        putpixel(b, i, 11 - i, col(frame));
        putpixel(b, i + 1 > 9 ? 9 : i + 1, i, col(shade(frame, -15)));
    }
    block_edge(b, wood);
    return b;
}

BITMAP *boulder()
{
    BITMAP *b = new_tile();
    for (int y = 0; y < 12; y++)
        for (int x = 0; x < 12; x++) {
            float light = (12 - x - y) * 2.5f;
            float n = tile_noise(x / 2, y / 2, 51) * 24;
            putpixel(b, x, y, col(shade(rgb{76, 66, 60}, static_cast<int>(light + n - 12))));
        }
    // Cracks run across the face; the shadowed side keeps the block round.
    int crack[][2] = {{3, 2}, {4, 3}, {4, 4}, {5, 5}, {7, 5}, {8, 6}, {8, 7}, {2, 8}, {3, 8}, {4, 9}};
    for (auto &p : crack)
        putpixel(b, p[0], p[1], col(34, 28, 26));
    block_edge(b, {80, 70, 64});
    return b;
}

BITMAP *hedge()
{
    BITMAP *b = new_tile();
    for (int y = 0; y < 12; y++)
        for (int x = 0; x < 12; x++) {
            float n = tile_noise(x, y, 61);
            rgb leaf = n < 0.3f ? rgb{22, 70, 30} : n < 0.75f ? rgb{38, 104, 42} : rgb{70, 146, 62};
            putpixel(b, x, y, col(leaf));
        }
    for (int i = 0; i < 4; i++) {
        int x = 2 + (i % 2) * 5, y = 2 + (i / 2) * 5;
        putpixel(b, x, y, col(120, 190, 96));
        putpixel(b, x + 1, y, col(96, 170, 80));
    }
    block_edge(b, {44, 110, 46});
    return b;
}

BITMAP *ice_block()
{
    BITMAP *b = new_tile();
    for (int y = 0; y < 12; y++)
        for (int x = 0; x < 12; x++)
            putpixel(b, x, y, col(mix(rgb{196, 236, 250}, rgb{96, 170, 214}, float(x + y) / 22.0f)));
    line(b, 2, 7, 7, 2, col(250, 255, 255));
    line(b, 3, 8, 8, 3, col(226, 246, 255));
    line(b, 6, 9, 9, 6, col(236, 250, 255));
    block_edge(b, {140, 200, 232});
    return b;
}

BITMAP *hazard_block()
{
    BITMAP *b = new_tile();
    for (int y = 0; y < 12; y++)
        for (int x = 0; x < 12; x++)
            putpixel(b, x, y, ((x + y) / 3) % 2 ? col(36, 34, 30) : col(238, 190, 40));
    rect(b, 1, 1, 10, 10, col(60, 56, 48));
    block_edge(b, {200, 160, 40});
    return b;
}

// ---- floors -------------------------------------------------------------------

// Slabs whose joints run through the middle of the tile: a joint on the
// tile's border would be lit on one side and shadowed on the other.
BITMAP *slate_plates()
{
    BITMAP *b = new_tile();
    grain(b, {88, 94, 106}, 4, 71);
    hline(b, 0, 5, 11, col(72, 77, 88));
    vline(b, 5, 0, 4, col(72, 77, 88));
    vline(b, 11, 6, 11, col(76, 81, 92));
    return b;
}

BITMAP *grass()
{
    BITMAP *b = new_tile();
    grain(b, {64, 118, 52}, 8, 81);
    speckle(b, {48, 96, 40}, 0.18f, 82);
    speckle(b, {88, 144, 66}, 0.10f, 83);
    return b;
}

BITMAP *sand()
{
    BITMAP *b = new_tile();
    grain(b, {194, 168, 114}, 7, 91);
    speckle(b, {170, 144, 96}, 0.10f, 92);
    speckle(b, {214, 192, 140}, 0.06f, 93);
    return b;
}

// Rounded setts in running bond; the joints lie inside the tile, so the
// stones that cross its border continue on the next tile.
BITMAP *cobbles()
{
    BITMAP *b = new_tile();
    for (int y = 0; y < 12; y++)
        for (int x = 0; x < 12; x++) {
            int band = ((y + 3) % 12) / 6;  // joints on rows 2 and 8
            int bx = (x + (band ? 3 : 0)) % 6;
            bool joint = y == 2 || y == 8 || bx == 0;
            rgb s = shade(rgb{140, 132, 118}, static_cast<int>(tile_noise((x + (band ? 3 : 0)) / 6, band, 101, 2) * 18) - 9);
            putpixel(b, x, y, joint ? col(104, 98, 88) : col(shade(s, static_cast<int>(tile_noise(x, y, 102) * 8) - 4)));
        }
    return b;
}

BITMAP *planks()
{
    BITMAP *b = new_tile();
    for (int y = 0; y < 12; y++)
        for (int x = 0; x < 12; x++) {
            int board = y / 4;
            rgb wood = shade(rgb{140, 100, 62}, board * 6 - 6);
            int streak = static_cast<int>(tile_noise(x / 4 + board * 3, y, 111) * 12) - 6;
            putpixel(b, x, y, col(shade(wood, streak)));
        }
    // Gaps between boards on rows 1, 5 and 9, never on the tile's border.
    for (int r = 0; r < 3; r++) {
        hline(b, 0, r * 4 + 1, 11, col(104, 74, 48));
        putpixel(b, (r * 5 + 2) % 12, r * 4 + 3, col(112, 80, 50));
    }
    return b;
}

BITMAP *dirt()
{
    BITMAP *b = new_tile();
    grain(b, {112, 84, 58}, 9, 121);
    speckle(b, {140, 112, 84}, 0.07f, 122);
    speckle(b, {86, 62, 42}, 0.10f, 123);
    return b;
}

// A walkway grate seen from above: a light steel deck pierced by short dark
// slots. Bright bars on black read as a cage; slots in a plate read as floor.
BITMAP *grating()
{
    BITMAP *b = new_tile();
    grain(b, {124, 130, 140}, 3, 105);
    for (int row = 0; row < 4; row++) {
        int y = row * 3 + 1, off = row % 2 ? 3 : 0;
        for (int x0 = off - 6; x0 < 12; x0 += 6)
            for (int x = x0 + 1; x <= x0 + 4; x++)
                if (x >= 0 && x < 12)
                    putpixel(b, x, y, col(58, 62, 70));
    }
    return b;
}

BITMAP *checker()
{
    BITMAP *b = new_tile();
    for (int y = 0; y < 12; y++)
        for (int x = 0; x < 12; x++)
            putpixel(b, x, y, ((x / 6) + (y / 6)) % 2 ? col(176, 170, 156) : col(120, 116, 108));
    return b;
}

BITMAP *mossy_stone()
{
    BITMAP *b = new_tile();
    grain(b, {112, 114, 110}, 8, 131);
    for (int y = 0; y < 12; y++)
        for (int x = 0; x < 12; x++)
            if (tile_noise(x / 3, y / 3, 132, 4) > 0.55f)
                putpixel(b, x, y, col(shade(rgb{82, 112, 62}, static_cast<int>(tile_noise(x, y, 133) * 14) - 7)));
    return b;
}

// A violet runner with a small woven lattice: no wall is violet, so a
// doorway laid with it never reads as part of the wall around it.
BITMAP *carpet()
{
    BITMAP *b = new_tile();
    for (int y = 0; y < 12; y++)
        for (int x = 0; x < 12; x++) {
            int d = std::abs((x % 6) - 2) + std::abs((y % 6) - 2);
            rgb c = d == 2 ? rgb{186, 150, 210} : d == 0 ? rgb{226, 196, 110} : rgb{122, 74, 156};
            putpixel(b, x, y, col(shade(c, static_cast<int>(tile_noise(x, y, 141) * 8) - 4)));
        }
    return b;
}

BITMAP *gravel()
{
    BITMAP *b = new_tile();
    for (int y = 0; y < 12; y++)
        for (int x = 0; x < 12; x++) {
            float n = tile_noise(x, y, 151);
            int v = 100 + static_cast<int>(n * 50);
            putpixel(b, x, y, col(v, v - 4, v - 10));
        }
    return b;
}

BITMAP *snow()
{
    BITMAP *b = new_tile();
    grain(b, {226, 232, 240}, 5, 161);
    speckle(b, {200, 212, 230}, 0.10f, 162);
    return b;
}

BITMAP *meadow()
{
    BITMAP *b = new_tile();
    grain(b, {76, 128, 58}, 7, 171);
    putpixel(b, 2, 3, col(250, 226, 80));
    putpixel(b, 8, 2, col(250, 250, 250));
    putpixel(b, 5, 8, col(236, 120, 160));
    putpixel(b, 10, 9, col(250, 226, 80));
    return b;
}

// Sandstone herringbone; kept pale and grey so it never passes for brick.
BITMAP *paving()
{
    BITMAP *b = new_tile();
    clear_to_color(b, col(150, 140, 124));
    for (int y = 0; y < 12; y++)
        for (int x = 0; x < 12; x++) {
            // Herringbone of 2x6 bricks laid in 6x6 squares turning each time,
            // shifted a pixel so the tile's borders cut it alike.
            int u = (x + 1) % 12, v = (y + 1) % 12;
            bool flip = ((u / 6) + (v / 6)) % 2;
            int along = flip ? v % 6 : u % 6, across = flip ? u % 6 : v % 6;
            if (across % 3 != 2 && along != 5)
                putpixel(b, x, y, col(shade(rgb{190, 176, 150}, static_cast<int>(tile_noise(x, y, 181) * 10) - 5)));
        }
    return b;
}

BITMAP *marble()
{
    BITMAP *b = new_tile();
    grain(b, {214, 212, 206}, 4, 191);
    static const int vein[][2] = {{0, 3}, {1, 3}, {2, 4}, {3, 5}, {4, 5}, {5, 6}, {6, 6}, {7, 7},
                                  {8, 8}, {9, 8}, {10, 9}, {11, 9}, {5, 7}, {4, 8}, {4, 9}};
    for (auto &p : vein)
        putpixel(b, p[0], p[1], col(168, 166, 170));
    return b;
}

// Blue tread plate: a flat deck with a lattice of small lighter studs, none
// of them shaded, so the floor stays level with its neighbours.
BITMAP *blue_plates()
{
    BITMAP *b = new_tile();
    grain(b, {78, 100, 132}, 3, 201);
    for (int y = 1; y < 12; y += 3)
        for (int x = (y / 3) % 2 ? 3 : 1; x < 12; x += 4) {
            putpixel(b, x, y, col(112, 136, 170));
            putpixel(b, x + 1 < 12 ? x + 1 : 0, y, col(104, 128, 160));
        }
    return b;
}

BITMAP *mud()
{
    BITMAP *b = new_tile();
    grain(b, {100, 80, 60}, 6, 211);
    putpixel(b, 3, 4, col(122, 104, 84));
    putpixel(b, 4, 4, col(102, 84, 66));
    putpixel(b, 8, 9, col(122, 104, 84));
    putpixel(b, 9, 2, col(98, 80, 62));
    return b;
}

BITMAP *dunes()
{
    BITMAP *b = new_tile();
    for (int y = 0; y < 12; y++)
        for (int x = 0; x < 12; x++) {
            float wave = std::sin(TAU * (y / 6.0f + x / 12.0f));
            putpixel(b, x, y, col(shade(rgb{206, 178, 120}, static_cast<int>(wave * 9))));
        }
    return b;
}

BITMAP *dry_earth()
{
    BITMAP *b = new_tile();
    grain(b, {168, 126, 72}, 5, 221);
    static const int crack[][2] = {{0, 5}, {1, 5}, {2, 6}, {3, 6}, {4, 5}, {5, 4}, {6, 4}, {7, 5},
                                   {8, 5}, {9, 6}, {10, 6}, {11, 5}, {5, 3}, {5, 2}, {4, 1}, {4, 0},
                                   {8, 6}, {8, 7}, {7, 8}, {7, 9}, {8, 10}, {8, 11}};
    for (auto &p : crack)
        putpixel(b, p[0], p[1], col(116, 82, 46));
    return b;
}

// Tesserae of three pixels with grout on rows and columns 1, 5 and 9: the
// stones at the border run on into the next tile.
BITMAP *mosaic()
{
    BITMAP *b = new_tile();
    for (int y = 0; y < 12; y++)
        for (int x = 0; x < 12; x++) {
            if (x % 4 == 1 || y % 4 == 1) {
                putpixel(b, x, y, col(56, 96, 98));
                continue;
            }
            int tx = ((x + 2) % 12) / 4, ty = ((y + 2) % 12) / 4;
            putpixel(b, x, y, col(shade(rgb{82, 156, 152}, static_cast<int>(noise(tx, ty, 231) * 24) - 12)));
        }
    return b;
}

BITMAP *rusty_floor()
{
    BITMAP *b = new_tile();
    grain(b, {108, 82, 66}, 6, 241);
    for (int y = 0; y < 12; y++)
        for (int x = 0; x < 12; x++)
            if (tile_noise(x, y, 242) * 0.5f + tile_noise(x / 3, y / 3, 244, 4) * 0.5f > 0.62f)
                putpixel(b, x, y, col(shade(rgb{150, 84, 44}, static_cast<int>(tile_noise(x, y, 243) * 12))));
    return b;
}

}  // namespace

// Frame `frame` (0..7) of tile 19, a floor of light plates: four lamps set
// in a flat deck glow up and fade in a wave that runs diagonally across the
// field, one eighth of a turn per frame, so frame 7 leads back to frame 0.
// Warm white on grey steel: not water, not lava, and no dark pit.
BITMAP *light_plate(int frame)
{
    BITMAP *b = new_tile();
    grain(b, {104, 100, 112}, 3, 251);
    float phase = TAU * static_cast<float>(frame) / 8.0f;
    // Lamps of 2x2 with a ring of glow, on rows and columns 1..4 and 7..10:
    // the tile's border rows are plain deck like any other floor's.
    for (int ly = 2; ly < 12; ly += 6)
        for (int lx = 2; lx < 12; lx += 6) {
            float glow = 0.5f + 0.5f * std::sin(phase - TAU * (lx + ly) / 12.0f);
            rgb lamp = mix(rgb{150, 150, 120}, rgb{255, 250, 190}, glow);
            rgb halo = mix(rgb{118, 114, 118}, rgb{210, 200, 140}, glow);
            for (int dy = -1; dy <= 2; dy++)
                for (int dx = -1; dx <= 2; dx++) {
                    bool edge_x = dx == -1 || dx == 2, edge_y = dy == -1 || dy == 2;
                    if (edge_x && edge_y)
                        continue;
                    putpixel(b, lx + dx, ly + dy, col(edge_x || edge_y ? halo : lamp));
                }
        }
    return b;
}

BITMAP *tile(int id)
{
    switch (id) {
    case 0: return slate_plates();
    case 1: return brick_wall();
    case 2: return grass();
    case 3: return stone_block();
    case 4: return sand();
    case 5: return steel_plate();
    case 6: return cobbles();
    case 7: return crate();
    case 8: return planks();
    case 9: return boulder();
    case 10: return dirt();
    case 11: return grating();
    case 12: return hedge();
    case 13: return checker();
    case 14: return mossy_stone();
    case 15: return carpet();
    case 16: return gravel();
    case 17: return ice_block();
    case 18: return snow();
    case 19: return light_plate(0);
    case 20: return hazard_block();
    case 21: return meadow();
    case 22: return paving();
    case 23: return marble();
    case 24: return blue_plates();
    case 25: return mud();
    case 26: return dunes();
    case 27: return dry_earth();
    case 28: return mosaic();
    default: return rusty_floor();
    }
}

}  // namespace art
