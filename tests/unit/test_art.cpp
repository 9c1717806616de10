// The pictures do what the game needs of them: sprites are see-through around
// their shape and opaque pictures have no holes, hot spots and buttons sit on
// their places, the status panel leaves its items a clear ground, and the
// animations run the way the eye expects.
#include "harness.h"

#include <cstdlib>

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
    // Every wall shares the raised edge: a lit top row over a shadowed bottom.
    for (int w : WALLS) {
        BITMAP *b = level_bitmap(w);
        int top = 0, bottom = 0;
        for (int x = 1; x < 11; x++) {
            top += brightness(b, x, 0);
            bottom += brightness(b, x, 11);
        }
        EXPECT_GT(top, bottom + 10 * 40) << "wall " << w;
    }
}

TEST(Art, WaterLoopsWithoutAJump)
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
        << "the editor's still water is the first frame";
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
    for (int f = 0; f < 7; f++)
        EXPECT_GT(average_brightness(game_bitmap(OBJ_EXPLOSION_FIRST + f)),
                  average_brightness(game_bitmap(OBJ_EXPLOSION_FIRST + f + 1)))
            << "explosion frame " << f << " is not brighter than the next";
}

TEST(Art, StatusPanelLeavesAClearGroundForItsItems)
{
    BITMAP *panel = game_bitmap(OBJ_STATUS_PANEL);
    auto dark_and_even = [&](int x1, int y1, int x2, int y2, const char *what) {
        rgb first = pixel_rgb(panel, x1, y1 - PANEL_TOP);
        for (int y = y1; y <= y2; y++)
            for (int x = x1; x <= x2; x++) {
                ASSERT_EQ(pixel_rgb(panel, x, y - PANEL_TOP), first) << what << " at " << x << "," << y;
            }
        EXPECT_LT(brightness(panel, x1, y1 - PANEL_TOP), 40) << what;
    };
    dark_and_even(P1_BAR_X, BAR_TOP, P1_BAR_X + 129, BAR_BOTTOM, "player 1's bar");
    dark_and_even(P2_BAR_X, BAR_TOP, P2_BAR_X + 129, BAR_BOTTOM, "player 2's bar");
    dark_and_even(P1_ICON_X, ICON_Y, P1_ICON_X + 11, ICON_Y + 11, "player 1's icon");
    dark_and_even(P2_ICON_X, ICON_Y, P2_ICON_X + 11, ICON_Y + 11, "player 2's icon");
    // Names of up to twelve 8-pixel characters, centred.
    dark_and_even(P1_NAME_X - 48, NAME_Y - 2, P1_NAME_X + 47, NAME_Y + 9, "player 1's name");
    dark_and_even(P2_NAME_X - 48, NAME_Y - 2, P2_NAME_X + 47, NAME_Y + 9, "player 2's name");
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
