// Both datafiles hold every object at its number with its type and size.
#include "harness.h"

namespace {

void expect_bitmap(DATAFILE *d, int n, int w, int h)
{
    ASSERT_EQ(d[n].type, DAT_BITMAP) << "object " << n;
    BITMAP *b = static_cast<BITMAP *>(d[n].dat);
    if (w > 0) {
        EXPECT_EQ(b->w, w) << "object " << n;
        EXPECT_EQ(b->h, h) << "object " << n;
    }
}

int object_count(DATAFILE *d)
{
    int n = 0;
    while (d[n].type != DAT_END)
        n++;
    return n;
}

}  // namespace

TEST(Catalogue, LevelDatHoldsEveryObject)
{
    EXPECT_EQ(object_count(level_data), LEVEL_DAT_OBJECTS);
    for (int n = 0; n <= 30; n++)
        expect_bitmap(level_data, n, 12, 12);
    expect_bitmap(level_data, OBJ_POINTER_FILL, 0, 0);
    expect_bitmap(level_data, OBJ_POINTER_PEN, 0, 0);
    expect_bitmap(level_data, OBJ_EDITOR_PANEL, 640, 70);
    EXPECT_EQ(level_data[OBJ_MENU_FONT].type, DAT_FONT);
    expect_bitmap(level_data, OBJ_YESNO_BOX, 0, 0);
    expect_bitmap(level_data, OBJ_LIST_BOX, 0, 0);
    expect_bitmap(level_data, OBJ_SAVE_BOX, 0, 0);
    for (int n = OBJ_ANIM_TILE_FIRST; n < OBJ_ANIM_TILE_FIRST + 8; n++)
        expect_bitmap(level_data, n, 12, 12);
    for (int n = OBJ_PEN_UP; n <= OBJ_FILL_DOWN; n++)
        expect_bitmap(level_data, n, 20, 20);
    expect_bitmap(level_data, OBJ_HOVER_MARK, 12, 12);
}

TEST(Catalogue, DataDatHoldsEveryObject)
{
    EXPECT_EQ(object_count(game_data), GAME_DAT_OBJECTS);
    for (int n = 0; n < OBJ_STATUS_PANEL; n++)
        expect_bitmap(game_data, n, 12, 12);
    expect_bitmap(game_data, OBJ_STATUS_PANEL, 640, 70);
    for (int n = OBJ_P1_WALK_FIRST; n < OBJ_MENU_BACKGROUND; n++)
        expect_bitmap(game_data, n, 12, 12);
    expect_bitmap(game_data, OBJ_MENU_BACKGROUND, 640, 480);
    expect_bitmap(game_data, OBJ_WRECK, 12, 12);
}

TEST(Catalogue, DialogBoxesCoverTheirHitAreas)
{
    // A button drawn outside its box could never be seen where it is clicked.
    BITMAP *yesno = level_bitmap(OBJ_YESNO_BOX);
    EXPECT_GE(YESNO_BOX_X + yesno->w, NO_BUTTON_AREA.x2 + 1);
    EXPECT_GE(YESNO_BOX_Y + yesno->h, NO_BUTTON_AREA.y2 + 1);
    BITMAP *list = level_bitmap(OBJ_LIST_BOX);
    EXPECT_GE(LIST_BOX_X + list->w, SCROLL_UP_AREA.x2 + 1);
    EXPECT_GE(LIST_BOX_Y + list->h, CANCEL_BUTTON_AREA.y2 + 1);
}

TEST(Catalogue, MenuFontDrawsInTheColourAsked)
{
    clear_to_color(back_buffer, 0);
    textout_ex(back_buffer, menu_font(), "New Game", 10, 10, TEXT_WHITE, -1);
    int lit = 0;
    for (int y = 10; y < 10 + text_height(menu_font()); y++)
        for (int x = 10; x < 10 + text_length(menu_font(), "New Game"); x++)
            if (getpixel(back_buffer, x, y) == TEXT_WHITE)
                lit++;
    EXPECT_GT(lit, 50);
    EXPECT_GE(text_height(menu_font()), 14);
}

// Other tests place their probes by these constants, so a wrong constant
// would move the game and its tests together; here they meet the numbers
// the game's layout was designed with.
TEST(Catalogue, NumbersAreTheLayoutsOwn)
{
    struct { const char *what; int have, want; } numbers[] = {
        {"fill pointer", OBJ_POINTER_FILL, 31}, {"pen pointer", OBJ_POINTER_PEN, 32},
        {"editor panel", OBJ_EDITOR_PANEL, 33}, {"menu font", OBJ_MENU_FONT, 34},
        {"yes/no box", OBJ_YESNO_BOX, 35}, {"list box", OBJ_LIST_BOX, 36},
        {"save box", OBJ_SAVE_BOX, 37}, {"lamp frames", OBJ_ANIM_TILE_FIRST, 38},
        {"pen up", OBJ_PEN_UP, 46}, {"pen down", OBJ_PEN_DOWN, 47},
        {"fill up", OBJ_FILL_UP, 48}, {"fill down", OBJ_FILL_DOWN, 49},
        {"hover mark", OBJ_HOVER_MARK, 50}, {"animated tile", ANIMATED_TILE, 19},
        {"small bomb", OBJ_BOMB_FIRST, 0}, {"big bomb", OBJ_BIG_BOMB_FIRST, 6},
        {"missile", OBJ_MISSILE_FIRST, 12}, {"status panel", OBJ_STATUS_PANEL, 20},
        {"p1 walk", OBJ_P1_WALK_FIRST, 21}, {"p2 walk", OBJ_P2_WALK_FIRST, 29},
        {"explosion", OBJ_EXPLOSION_FIRST, 37}, {"menu background", OBJ_MENU_BACKGROUND, 45},
        {"wreck", OBJ_WRECK, 46},
        {"fill focus x", POINTER_FILL_FOCUS_X, 2}, {"fill focus y", POINTER_FILL_FOCUS_Y, 11},
        {"pen focus x", POINTER_PEN_FOCUS_X, 0}, {"pen focus y", POINTER_PEN_FOCUS_Y, 16},
        {"cell (52,33) x", cell_x(52), 626}, {"cell (52,33) y", cell_y(33), 398},
        {"panel", PANEL_TOP, 410},
        {"p1 icon x", P1_ICON_X, 23}, {"p2 icon x", P2_ICON_X, 515}, {"icon y", ICON_Y, 433},
        {"p1 name x", P1_NAME_X, 93}, {"p2 name x", P2_NAME_X, 585}, {"name y", NAME_Y, 445},
        {"p1 bar x", P1_BAR_X, 9}, {"p2 bar x", P2_BAR_X, 501},
        {"bar top", BAR_TOP, 462}, {"bar bottom", BAR_BOTTOM, 471},
        {"fps x", FPS_X, 320}, {"fps y", FPS_Y, 440},
        {"palette x", PALETTE_X, 13}, {"palette y", PALETTE_Y, 423}, {"palette step", PALETTE_STEP, 16},
        {"left tile x", LEFT_TILE_X, 181}, {"left tile y", LEFT_TILE_Y, 433},
        {"right tile x", RIGHT_TILE_X, 181}, {"right tile y", RIGHT_TILE_Y, 446},
        {"pen button x", PEN_BUTTON_X, 200}, {"fill button x", FILL_BUTTON_X, 222},
        {"tool button y", TOOL_BUTTON_Y, 450},
        {"yes/no x", YESNO_BOX_X, 170}, {"yes/no y", YESNO_BOX_Y, 160},
        {"list x", LIST_BOX_X, 220}, {"list y", LIST_BOX_Y, 40},
        {"save x", SAVE_BOX_X, 270}, {"save y", SAVE_BOX_Y, 220},
        {"menu x", MENU_X, 320}, {"first item y", MENU_TEXT_Y[0], 180},
        {"last item y", MENU_TEXT_Y[4], 340},
        {"names label x", NAMES_LABEL_X, 100}, {"names entry x", NAMES_ENTRY_X, 320},
        {"names y", NAMES_Y, 240},
        {"p1 start col", P1_START_COL, 0}, {"p1 start row", P1_START_ROW, 0},
        {"p2 start col", P2_START_COL, 52}, {"p2 start row", P2_START_ROW, 33},
        {"box near", PLAYER_BOX_NEAR, 1}, {"box far", PLAYER_BOX_FAR, 11},
        {"box centre", PLAYER_CENTRE, 6},
    };
    for (const auto &n : numbers)
        EXPECT_EQ(n.have, n.want) << n.what;

    const int walls[] = {1, 3, 5, 7, 9, 12, 17, 20};
    for (int t = 0; t < TILE_COUNT; t++)
        EXPECT_EQ(is_wall_tile_id(t), std::find(std::begin(walls), std::end(walls), t) != std::end(walls))
            << "tile " << t;

    EXPECT_EQ(TEXT_WHITE, makecol(250, 250, 250));
    EXPECT_EQ(KEY_PROMPT_COLOR, makecol(254, 254, 254));
    EXPECT_EQ(MENU_HIGHLIGHT_COLOR, makecol(250, 0, 0));
    EXPECT_EQ(P1_NAME_COLOR, makecol(250, 0, 0));
    EXPECT_EQ(P2_NAME_COLOR, makecol(0, 250, 0));
}
