// The menu loop's turn and both menus.
#include "harness.h"

namespace {

class Menus : public GameTest {
protected:
    // One menu turn with one key held, as a player's press would show.
    void turn_with(int k)
    {
        key[k] = 1;
        menu_turn();
    }
};

}  // namespace

TEST_F(Menus, UpAndDownStopAtTheEnds)
{
    turn_with(KEY_UP);
    EXPECT_EQ(menu_cursor, 1);
    for (int i = 0; i < 7; i++)
        turn_with(KEY_DOWN);
    EXPECT_EQ(menu_cursor, 5);
    turn_with(KEY_UP);
    EXPECT_EQ(menu_cursor, 4);
}

TEST_F(Menus, AnActedOnKeyReadsAsReleased)
{
    key[KEY_DOWN] = 1;
    menu_turn();
    EXPECT_EQ(key[KEY_DOWN], 0);
    menu_turn();                       // no new press: the cursor stays
    EXPECT_EQ(menu_cursor, 2);
}

TEST_F(Menus, OptionsAndBackKeepBothCursors)
{
    turn_with(KEY_DOWN);
    turn_with(KEY_ENTER);           // "Options"
    EXPECT_EQ(menu_choice, 2);
    turn_with(KEY_DOWN);
    turn_with(KEY_DOWN);
    EXPECT_EQ(options_cursor, 3);
    EXPECT_EQ(menu_cursor, 2);
    turn_with(KEY_DOWN);
    turn_with(KEY_DOWN);
    turn_with(KEY_SPACE);           // "Back"
    EXPECT_EQ(menu_choice, 0);
    EXPECT_EQ(menu_cursor, 2);
    turn_with(KEY_ENTER);           // "Options" again: its cursor remembered
    EXPECT_EQ(options_cursor, 5);
}

TEST_F(Menus, CreditsEnergyAndMoneyDoNothing)
{
    menu_cursor = 4;
    turn_with(KEY_ENTER);
    EXPECT_EQ(menu_choice, 4);
    EXPECT_EQ(quit_requested, 0);
    menu_choice = 2;
    for (int item : {3, 4}) {
        options_cursor = item;
        turn_with(KEY_ENTER);
        EXPECT_EQ(options_choice, 0);
        EXPECT_EQ(menu_choice, 2);
    }
}

TEST_F(Menus, QuitAndEscEndTheLoop)
{
    menu_cursor = 5;
    turn_with(KEY_ENTER);
    EXPECT_NE(quit_requested, 0);

    quit_requested = 0;
    menu_choice = 2;                   // Esc works from the options menu too
    turn_with(KEY_ESC);
    EXPECT_NE(quit_requested, 0);
}

TEST_F(Menus, HighlightIsDrawnUnderTheCursorItem)
{
    menu_cursor = 3;
    clear_to_color(back_buffer, 0);
    main_menu_frame();
    // Inside the ellipse of item 3 (centre y 275) but clear of its text.
    EXPECT_EQ(getpixel(back_buffer, 320 - 90, 275), makecol(250, 0, 0));
    EXPECT_EQ(getpixel(back_buffer, 320 - 90, 200), 0);
}
