// The pictures do what the game needs of them: sprites are see-through around
// their shape and opaque pictures have no holes, hot spots and buttons sit on
// their places, the status panel leaves its items a clear ground, and the
// animations run the way the eye expects. And they read at a glance: walls
// stand raised and floors lie flat, blasts burn to the end, a missile is no
// blast, and the two players differ in more than red and green.
#include "harness.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

bool see_through(BITMAP *b, int x, int y) { return getpixel(b, x, y) == bitmap_mask_color(b); }

int brightness(BITMAP *b, int x, int y)
{
    rgb c = pixel_rgb(b, x, y);
    return (c.r * 3 + c.g * 6 + c.b) / 10;
}

int average_brightness(BITMAP *b)
{
    long sum = 0;
    for (int y = 0; y < b->h; y++)
        for (int x = 0; x < b->w; x++)
            sum += brightness(b, x, y);
    return static_cast<int>(sum / (b->w * b->h));
}

int shape_pixels(BITMAP *b)
{
    int n = 0;
    for (int y = 0; y < b->h; y++)
        for (int x = 0; x < b->w; x++)
            n += !see_through(b, x, y);
    return n;
}

int holes(BITMAP *b) { return b->w * b->h - shape_pixels(b); }

int difference(BITMAP *a, BITMAP *b)
{
    int d = 0;
    for (int y = 0; y < a->h; y++)
        for (int x = 0; x < a->w; x++) {
            rgb p = pixel_rgb(a, x, y), q = pixel_rgb(b, x, y);
            d += std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b);
        }
    return d;
}

int difference_at(BITMAP *b, int x1, int y1, int x2, int y2)
{
    rgb p = pixel_rgb(b, x1, y1), q = pixel_rgb(b, x2, y2);
    return std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b);
}

constexpr int WALLS[] = {1, 3, 5, 7, 9, 12, 17, 20};

bool is_wall(int tile)
{
    for (int w : WALLS)
        if (w == tile)
            return true;
    return false;
}

// Mean brightness of one border line of a 12x12 tile, corners left out.
enum side { TOP, BOTTOM, LEFT, RIGHT };
int edge_brightness(BITMAP *b, side s)
{
    int sum = 0;
    for (int i = 1; i < 11; i++)
        sum += s == TOP ? brightness(b, i, 0) : s == BOTTOM ? brightness(b, i, 11)
             : s == LEFT ? brightness(b, 0, i) : brightness(b, 11, i);
    return sum / 10;
}

int inner_brightness(BITMAP *b)
{
    int sum = 0;
    for (int y = 2; y < 10; y++)
        for (int x = 2; x < 10; x++)
            sum += brightness(b, x, y);
    return sum / 64;
}

// Every floor picture the match can show: the floor tiles and the moving
// frames of tile 19.
std::vector<BITMAP *> floor_pictures()
{
    std::vector<BITMAP *> floors;
    for (int t = 0; t < TILE_COUNT; t++)
        if (!is_wall(t))
            floors.push_back(level_bitmap(t));
    for (int f = 0; f < 8; f++)
        floors.push_back(level_bitmap(OBJ_ANIM_TILE_FIRST + f));
    return floors;
}

// One colour over the panel's rectangle x1,y1-x2,y2 given in screen pixels.
::testing::AssertionResult even(BITMAP *panel, int x1, int y1, int x2, int y2)
{
    rgb first = pixel_rgb(panel, x1, y1 - PANEL_TOP);
    for (int y = y1; y <= y2; y++)
        for (int x = x1; x <= x2; x++)
            if (!(pixel_rgb(panel, x, y - PANEL_TOP) == first))
                return ::testing::AssertionFailure() << "uneven at " << x << "," << y;
    return ::testing::AssertionSuccess();
}

bool is_shape(BITMAP *b, int x, int y)
{
    return x >= 0 && y >= 0 && x < b->w && y < b->h && getpixel(b, x, y) != bitmap_mask_color(b);
}

}  // namespace

TEST(Art, SpritesAreSeeThroughAroundTheirShape)
{
    for (int n = 0; n <= OBJ_MISSILE_FIRST + 7; n++) {
        BITMAP *b = game_bitmap(n);
        EXPECT_TRUE(see_through(b, 0, 0) && see_through(b, 0, 11)) << "data " << n;
        EXPECT_FALSE(see_through(b, 6, 7)) << "data " << n;
    }
    for (int n = OBJ_P1_WALK_FIRST; n < OBJ_P2_WALK_FIRST + 8; n++) {
        EXPECT_TRUE(see_through(game_bitmap(n), 0, 0)) << "walk frame " << n;
        EXPECT_FALSE(see_through(game_bitmap(n), 6, 6)) << "walk frame " << n;
    }
    EXPECT_TRUE(see_through(game_bitmap(OBJ_WRECK), 0, 0));
    EXPECT_FALSE(see_through(game_bitmap(OBJ_WRECK), 6, 7));
    // The hover mark frames the cell and leaves the tile under it visible.
    BITMAP *hover = level_bitmap(OBJ_HOVER_MARK);
    EXPECT_FALSE(see_through(hover, 0, 0));
    EXPECT_TRUE(see_through(hover, 6, 6));
    for (int n : {OBJ_YESNO_BOX, OBJ_LIST_BOX, OBJ_SAVE_BOX}) {
        BITMAP *box = level_bitmap(n);
        EXPECT_TRUE(see_through(box, 0, 0)) << "rounded corner of box " << n;
        EXPECT_EQ(holes(box), 12) << "box " << n << " is solid apart from its corners";
    }
}

TEST(Art, OpaquePicturesHaveNoHoles)
{
    for (int n = 0; n < TILE_COUNT; n++)
        EXPECT_EQ(holes(level_bitmap(n)), 0) << "tile " << n;
    for (int n = OBJ_ANIM_TILE_FIRST; n < OBJ_ANIM_TILE_FIRST + 8; n++)
        EXPECT_EQ(holes(level_bitmap(n)), 0) << "water frame " << n;
    for (int n = OBJ_PEN_UP; n <= OBJ_FILL_DOWN; n++)
        EXPECT_EQ(holes(level_bitmap(n)), 0) << "tool button " << n;
    for (int n = OBJ_EXPLOSION_FIRST; n < OBJ_EXPLOSION_FIRST + 8; n++)
        EXPECT_EQ(holes(game_bitmap(n)), 0) << "explosion " << n;
    EXPECT_EQ(holes(level_bitmap(OBJ_EDITOR_PANEL)), 0);
    EXPECT_EQ(holes(game_bitmap(OBJ_STATUS_PANEL)), 0);
    EXPECT_EQ(holes(game_bitmap(OBJ_MENU_BACKGROUND)), 0);
}

TEST(Art, PointerHotSpotsLieOnTheirPictures)
{
    EXPECT_FALSE(see_through(level_bitmap(OBJ_POINTER_PEN), POINTER_PEN_FOCUS_X, POINTER_PEN_FOCUS_Y));
    EXPECT_FALSE(see_through(level_bitmap(OBJ_POINTER_FILL), POINTER_FILL_FOCUS_X, POINTER_FILL_FOCUS_Y));
}

TEST(Art, EveryTileIsDistinctAndWallsAreLitFromAbove)
{
    for (int a = 0; a < TILE_COUNT; a++)
        for (int b = a + 1; b < TILE_COUNT; b++)
            EXPECT_GT(difference(level_bitmap(a), level_bitmap(b)), 12 * 12 * 20) << "tiles " << a << " and " << b;
}

TEST(Art, WallsStandRaisedAndFloorsLieFlat)
{
    // A wall has a lit top edge over a dark front face, and a lit left side
    // opposite a shadowed right one.
    for (int w : WALLS) {
        BITMAP *b = level_bitmap(w);
        EXPECT_GE(edge_brightness(b, TOP) - edge_brightness(b, BOTTOM), 80) << "wall " << w;
        EXPECT_GE(edge_brightness(b, LEFT) - edge_brightness(b, RIGHT), 50) << "wall " << w;
        EXPECT_GE(edge_brightness(b, TOP) - inner_brightness(b), 25) << "wall " << w << " has no lit top";
        EXPECT_GE(inner_brightness(b) - edge_brightness(b, BOTTOM), 40) << "wall " << w << " has no shadow";
    }
    // A floor has neither: its borders match each other and its middle, so
    // it cannot pass for a wall, however it is coloured.
    int n = 0;
    for (BITMAP *b : floor_pictures()) {
        EXPECT_LE(std::abs(edge_brightness(b, TOP) - edge_brightness(b, BOTTOM)), 15) << "floor picture " << n;
        EXPECT_LE(std::abs(edge_brightness(b, LEFT) - edge_brightness(b, RIGHT)), 15) << "floor picture " << n;
        EXPECT_LE(edge_brightness(b, TOP) - inner_brightness(b), 15) << "floor picture " << n << " has a lit rim";
        n++;
    }
}

TEST(Art, AnimatedFloorGlowsInALoopAndIsNeitherWaterNorLavaNorAHole)
{
    int largest = 0;
    for (int f = 0; f < 7; f++) {
        int d = difference(level_bitmap(OBJ_ANIM_TILE_FIRST + f), level_bitmap(OBJ_ANIM_TILE_FIRST + f + 1));
        EXPECT_GT(d, 0) << "frames " << f << " and " << f + 1 << " are the same";
        largest = d > largest ? d : largest;
    }
    int wrap = difference(level_bitmap(OBJ_ANIM_TILE_FIRST + 7), level_bitmap(OBJ_ANIM_TILE_FIRST));
    EXPECT_LE(wrap, largest * 3 / 2);
    EXPECT_EQ(difference(level_bitmap(ANIMATED_TILE), level_bitmap(OBJ_ANIM_TILE_FIRST)), 0)
        << "the editor's still tile is the first frame";
    for (int f = 0; f < 8; f++) {
        BITMAP *b = level_bitmap(OBJ_ANIM_TILE_FIRST + f);
        long r = 0, bl = 0;
        int darkest = 255;
        for (int y = 0; y < 12; y++)
            for (int x = 0; x < 12; x++) {
                r += pixel_rgb(b, x, y).r;
                bl += pixel_rgb(b, x, y).b;
                darkest = std::min(darkest, brightness(b, x, y));
            }
        EXPECT_LE(std::abs(r - bl) / 144, 40) << "frame " << f << " is tinted like water or lava";
        EXPECT_GE(darkest, 60) << "frame " << f << " has a dark pit";
    }
}

TEST(Art, WeaponsAndPlayersAreTellApart)
{
    for (int f = 0; f < 6; f++)
        EXPECT_GT(shape_pixels(game_bitmap(OBJ_BIG_BOMB_FIRST + f)),
                  shape_pixels(game_bitmap(OBJ_BOMB_FIRST + f)) * 5 / 4)
            << "frame " << f;
    for (int f = 0; f < 8; f++) {
        long red[2] = {0, 0}, green[2] = {0, 0};
        for (int p = 0; p < 2; p++) {
            BITMAP *b = game_bitmap((p ? OBJ_P2_WALK_FIRST : OBJ_P1_WALK_FIRST) + f);
            for (int y = 0; y < 12; y++)
                for (int x = 0; x < 12; x++)
                    if (!see_through(b, x, y)) {
                        red[p] += pixel_rgb(b, x, y).r;
                        green[p] += pixel_rgb(b, x, y).g;
                    }
        }
        EXPECT_GT(red[0], green[0]) << "player 1 reads red, frame " << f;
        EXPECT_GT(green[1], red[1]) << "player 2 reads green, frame " << f;
    }
}

TEST(Art, BlastsFadeAsFireAndNeverAsSmoke)
{
    for (int f = 0; f < 8; f++) {
        BITMAP *b = game_bitmap(OBJ_EXPLOSION_FIRST + f);
        if (f < 7) {
            EXPECT_GT(average_brightness(b), average_brightness(game_bitmap(OBJ_EXPLOSION_FIRST + f + 1)))
                << "explosion frame " << f << " is not brighter than the next";
        }
        for (int y = 0; y < 12; y++)
            for (int x = 0; x < 12; x++) {
                rgb c = pixel_rgb(b, x, y);
                // Smoke is dark and grey; fire is red at the least, and hot.
                ASSERT_GE(c.r, 130) << "frame " << f << " at " << x << "," << y;
                ASSERT_TRUE(c.r - c.b >= 100 || brightness(b, x, y) >= 200)
                    << "frame " << f << " at " << x << "," << y << " is neither red nor white-hot";
                ASSERT_GE(c.r, c.g) << "frame " << f << " at " << x << "," << y;
            }
    }
}

TEST(Art, MissileIsASpinningSpikedOrbWithABrightCoreUnlikeABlast)
{
    for (int f = 0; f < 8; f++) {
        BITMAP *b = game_bitmap(OBJ_MISSILE_FIRST + f);
        for (int y = 5; y <= 6; y++)
            for (int x = 5; x <= 6; x++)
                EXPECT_GE(brightness(b, x, y), 220) << "frame " << f << ": the core is not bright";
        // A blast fills its cell with warm fire; the missile leaves most of
        // the cell to the floor and is cold steel and blue-white light.
        EXPECT_LE(shape_pixels(b), 144 * 2 / 3) << "frame " << f;
        long r = 0, bl = 0;
        for (int y = 0; y < 12; y++)
            for (int x = 0; x < 12; x++)
                if (!see_through(b, x, y)) {
                    r += pixel_rgb(b, x, y).r;
                    bl += pixel_rgb(b, x, y).b;
                }
        EXPECT_GT(bl, r) << "frame " << f << " is warm like fire";
        // Shown unturned whichever way it flies, so it looks the same turned
        // a quarter round its centre.
        int asymmetric = 0;
        for (int y = 0; y < 12; y++)
            for (int x = 0; x < 12; x++)
                asymmetric += see_through(b, x, y) != see_through(b, 11 - y, x);
        EXPECT_LE(asymmetric, 4) << "frame " << f;
        // Spikes reach out beyond the orb in the frame's directions.
        int spikes = 0;
        for (int y = 0; y < 12; y++)
            for (int x = 0; x < 12; x++) {
                float dx = x + 0.5f - 6, dy = y + 0.5f - 6;
                spikes += !see_through(b, x, y) && dx * dx + dy * dy > 4.5f * 4.5f;
            }
        EXPECT_GE(spikes, 4) << "frame " << f;
    }
    for (int f = 0; f < 8; f++)
        EXPECT_GT(difference(game_bitmap(OBJ_MISSILE_FIRST + f), game_bitmap(OBJ_MISSILE_FIRST + (f + 1) % 8)), 0)
            << "frames " << f << " and the next are the same: the orb does not spin";
}

TEST(Art, PlayersDifferInShapeAndShadeAndHaveADarkRimThatShowsOnEveryFloor)
{
    for (int f = 0; f < 8; f++) {
        BITMAP *one = game_bitmap(OBJ_P1_WALK_FIRST + f), *two = game_bitmap(OBJ_P2_WALK_FIRST + f);
        int shape_apart = 0, shade_apart = 0;
        for (int y = 0; y < 12; y++)
            for (int x = 0; x < 12; x++) {
                shape_apart += is_shape(one, x, y) != is_shape(two, x, y);
                int a = is_shape(one, x, y) ? brightness(one, x, y) : 0;
                int b = is_shape(two, x, y) ? brightness(two, x, y) : 0;
                shade_apart += std::abs(a - b);
            }
        // Told apart by outline and by light and dark, as without colour.
        EXPECT_GE(shape_apart, 12) << "frame " << f;
        EXPECT_GE(shade_apart, 144 * 40) << "frame " << f;
        for (BITMAP *b : {one, two})
            for (int y = 0; y < 12; y++)
                for (int x = 0; x < 12; x++) {
                    bool rim = is_shape(b, x, y) && (!is_shape(b, x - 1, y) || !is_shape(b, x + 1, y) ||
                                                     !is_shape(b, x, y - 1) || !is_shape(b, x, y + 1));
                    if (rim && x > 0 && y > 0 && x < 11 && y < 11) {
                        EXPECT_LE(brightness(b, x, y), 30) << "frame " << f << " rim at " << x << "," << y;
                    }
                }
    }
    // The rim stands out on every floor: none is as dark as it.
    int n = 0;
    for (BITMAP *b : floor_pictures())
        EXPECT_GE(average_brightness(b), 70) << "floor picture " << n++;
}

TEST(Art, StatusPanelLeavesAClearGroundForItsItems)
{
    BITMAP *panel = game_bitmap(OBJ_STATUS_PANEL);
    auto dark_and_even = [&](int x1, int y1, int x2, int y2, const char *what) {
        ASSERT_TRUE(even(panel, x1, y1, x2, y2)) << what;
        EXPECT_LT(brightness(panel, x1, y1 - PANEL_TOP), 40) << what;
    };
    dark_and_even(P1_ICON_X, ICON_Y, P1_ICON_X + 11, ICON_Y + 11, "player 1's icon");
    dark_and_even(P2_ICON_X, ICON_Y, P2_ICON_X + 11, ICON_Y + 11, "player 2's icon");
    // Names of up to twelve 8-pixel characters, centred.
    dark_and_even(P1_NAME_X - 48, NAME_Y - 2, P1_NAME_X + 47, NAME_Y + 9, "player 1's name");
    dark_and_even(P2_NAME_X - 48, NAME_Y - 2, P2_NAME_X + 47, NAME_Y + 9, "player 2's name");
}

TEST(Art, EditorPaletteMarksTheWallSlots)
{
    BITMAP *panel = level_bitmap(OBJ_EDITOR_PANEL);
    for (int i = 0; i < PALETTE_COLUMNS; i++)
        for (int j = 0; j < PALETTE_ROWS; j++) {
            int tile = i * PALETTE_ROWS + j;
            int x = PALETTE_X + i * PALETTE_STEP, y = PALETTE_Y - PANEL_TOP + j * PALETTE_STEP;
            // Yellow pixels in the two-pixel frame round the slot.
            int yellow = 0;
            for (int py = y - 2; py <= y + CELL_SIZE + 1; py++)
                for (int px = x - 2; px <= x + CELL_SIZE + 1; px++) {
                    rgb c = pixel_rgb(panel, px, py);
                    yellow += c.r > 200 && c.g > 150 && c.b < 100;
                }
            if (is_wall(tile)) {
                EXPECT_GE(yellow, 20) << "wall tile " << tile << "'s slot is not marked";
            } else {
                EXPECT_EQ(yellow, 0) << "floor tile " << tile << "'s slot is marked";
            }
        }
}

TEST(Art, EditorPanelButtonsStandOnTheirHitAreas)
{
    BITMAP *panel = level_bitmap(OBJ_EDITOR_PANEL);
    for (const hit_area &a : {CLEAR_BUTTON_AREA, LOAD_BUTTON_AREA, SAVE_BUTTON_AREA, QUIT_BUTTON_AREA}) {
        int y = (a.y1 + a.y2) / 2 - PANEL_TOP;
        // Each edge of the area is the button's own edge: in and out differ.
        EXPECT_GT(difference_at(panel, a.x1, y, a.x1 - 1, y), 60) << "left edge at x " << a.x1;
        EXPECT_GT(difference_at(panel, a.x2, y, a.x2 + 1, y), 60) << "right edge at x " << a.x2;
        int x = a.x1 + 4;
        EXPECT_GT(difference_at(panel, x, a.y1 - PANEL_TOP, x, a.y1 - PANEL_TOP - 1), 60) << "top at y " << a.y1;
        EXPECT_GT(difference_at(panel, x, a.y2 - PANEL_TOP, x, a.y2 - PANEL_TOP + 1), 60) << "bottom at y " << a.y2;
    }
}

namespace {

// Relative luminance and contrast ratio as the web's accessibility rules
// define them.
double luminance(rgb c)
{
    auto linear = [](int v) {
        double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.r) + 0.7152 * linear(c.g) + 0.0722 * linear(c.b);
}

double contrast(rgb a, rgb b)
{
    double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

rgb colour_of(int c) { return {getr(c), getg(c), getb(c)}; }

// Mean brightness of a sprite's shape inside its dark rim.
int inner_glow(BITMAP *b)
{
    int sum = 0, n = 0;
    for (int y = 1; y < 11; y++)
        for (int x = 1; x < 11; x++)
            if (is_shape(b, x, y) && is_shape(b, x - 1, y) && is_shape(b, x + 1, y) && is_shape(b, x, y - 1) &&
                is_shape(b, x, y + 1)) {
                sum += brightness(b, x, y);
                n++;
            }
    return sum / n;
}

}  // namespace

// The bands fall to near black: their darkest colours keep 3:1 against the
// trough the bars lie in, and every colour stands apart from it by light or
// by hue, so the last points of energy show.
TEST(Art, EveryPointOfEnergyShowsAgainstItsTrough)
{
    BITMAP *panel = game_bitmap(OBJ_STATUS_PANEL);
    for (int bar_x : {P1_BAR_X, P2_BAR_X}) {
        ASSERT_TRUE(even(panel, bar_x - 1, BAR_TOP, bar_x + 130, BAR_BOTTOM + 1)) << "trough at x " << bar_x;
        rgb trough = pixel_rgb(panel, bar_x, BAR_TOP - PANEL_TOP);
        for (int darkest : {50, 101})
            EXPECT_GE(contrast(trough, colour_of(energy_colors[darkest])), 3.0) << "entry " << darkest;
        for (int k = 0; k <= 101; k++) {
            rgb c = colour_of(energy_colors[k]);
            EXPECT_GE(std::abs(c.r - trough.r) + std::abs(c.g - trough.g) + std::abs(c.b - trough.b), 200)
                << "entry " << k;
        }
    }
}

TEST(Art, ABombAboutToGoOffGlowsFarBrighterThanItsEarlierFrames)
{
    for (int first : {OBJ_BOMB_FIRST, OBJ_BIG_BOMB_FIRST}) {
        int hottest_early = 0;
        for (int f = 0; f < 4; f++)
            hottest_early = std::max(hottest_early, inner_glow(game_bitmap(first + f)));
        for (int f = 4; f < 6; f++)
            EXPECT_GE(inner_glow(game_bitmap(first + f)), hottest_early + 100) << "object " << first + f;
    }
}

namespace {

bool facing_mark_colour(rgb c) { return c.r >= 220 && c.g >= 200 && c.b <= 90; }

// How far pixel (x, y) lies behind the front edge of a sprite turned to face.
int behind_front(int facing, int x, int y)
{
    switch (facing) {
    case FACING_UP: return y;
    case FACING_RIGHT: return 11 - x;
    case FACING_DOWN: return 11 - y;
    default: return x;
    }
}

}  // namespace

// Turned as the match turns them, every walk frame of both players shows
// a mark at its front, and nowhere else, readable at the game's own size.
TEST(Art, EachPlayerShowsWhichWayItFacesByAMarkAtItsFront)
{
    BITMAP *turned = create_bitmap(12, 12);
    for (int first : {OBJ_P1_WALK_FIRST, OBJ_P2_WALK_FIRST})
        for (int f = 0; f < 8; f++)
            for (int facing : {FACING_UP, FACING_RIGHT, FACING_DOWN, FACING_LEFT}) {
                clear_to_color(turned, bitmap_mask_color(turned));
                rotate_sprite(turned, game_bitmap(first + f), 0, 0, itofix(facing * 64));
                int mark = 0, misplaced = 0;
                for (int y = 0; y < 12; y++)
                    for (int x = 0; x < 12; x++)
                        if (!see_through(turned, x, y) && facing_mark_colour(pixel_rgb(turned, x, y))) {
                            mark++;
                            misplaced += behind_front(facing, x, y) > 3;
                        }
                EXPECT_GE(mark, 3) << "object " << first + f << " facing " << facing;
                EXPECT_EQ(misplaced, 0) << "object " << first + f << " facing " << facing;
            }
    destroy_bitmap(turned);
}
