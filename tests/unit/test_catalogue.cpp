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
