// Quick taps and clicks that start and end between two polls still count,
// once, without disturbing keys and buttons that are really held.
#include "harness.h"

namespace {

class InputTaps : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        clear_keys();
        pump_input_taps();
        menu_cursor = 1;
        menu_choice = 0;
    }

    // What the keyboard handler does for a key pressed and let go at once.
    static void tap(int k)
    {
        key_event(k);
        key[k] = 1;
        key_event(k | 0x80);
        key[k] = 0;
    }
};

}  // namespace

TEST_F(InputTaps, ATapBetweenTwoMenuTurnsMovesTheHighlightOnce)
{
    tap(KEYNUM_DOWN);
    menu_turn();
    EXPECT_EQ(menu_cursor, 2);
    menu_turn();
    menu_turn();
    EXPECT_EQ(menu_cursor, 2);
}

TEST_F(InputTaps, ATapReadsAsHeldForOnePassOnly)
{
    tap(KEYNUM_A);
    pump_input_taps();
    EXPECT_TRUE(key[KEYNUM_A]);
    pump_input_taps();
    EXPECT_FALSE(key[KEYNUM_A]);
}

TEST_F(InputTaps, AReallyHeldKeyIsLeftAlone)
{
    key_event(KEYNUM_LEFT);
    key[KEYNUM_LEFT] = 1;
    for (int i = 0; i < 3; i++) {
        pump_input_taps();
        EXPECT_TRUE(key[KEYNUM_LEFT]);
    }
    key_event(KEYNUM_LEFT | 0x80);
    key[KEYNUM_LEFT] = 0;
    pump_input_taps();
    EXPECT_FALSE(key[KEYNUM_LEFT]);
}

TEST_F(InputTaps, ClearingAHeldKeyTakesItsPressWithIt)
{
    // The Enter that chose a menu item, still held into the next screen,
    // must not count there as a new press once it is let go.
    key_event(KEYNUM_ENTER);
    key[KEYNUM_ENTER] = 1;
    clear_keys();
    key_event(KEYNUM_ENTER | 0x80);
    pump_input_taps();
    pump_input_taps();
    EXPECT_FALSE(key[KEYNUM_ENTER]);
}

TEST_F(InputTaps, AQuickClickShowsForOnePass)
{
    mouse_event(MOUSE_FLAG_LEFT_DOWN);
    mouse_event(MOUSE_FLAG_LEFT_UP);
    pump_input_taps();
    EXPECT_EQ(mouse_b & 1, 1);
    pump_input_taps();
    EXPECT_EQ(mouse_b & 1, 0);

    // A button still held stays held.
    mouse_event(MOUSE_FLAG_RIGHT_DOWN);
    mouse_b = 2;
    pump_input_taps();
    pump_input_taps();
    EXPECT_EQ(mouse_b, 2);
    mouse_event(MOUSE_FLAG_RIGHT_UP);
    mouse_b = 0;
}

TEST_F(InputTaps, ThreeQuickTapsMoveTheMenuThreeTimes)
{
    tap(KEYNUM_DOWN);
    tap(KEYNUM_DOWN);
    tap(KEYNUM_DOWN);
    for (int i = 0; i < 8; i++)
        menu_turn();
    EXPECT_EQ(menu_cursor, 4);
}

TEST_F(InputTaps, APressSeenAsHeldIsNotCountedAgainAsATap)
{
    // Down is held when the pass begins, the pass acts on it, and it is let
    // go before the next pass.
    key_event(KEYNUM_DOWN);
    key[KEYNUM_DOWN] = 1;
    menu_turn();
    key_event(KEYNUM_DOWN | 0x80);
    menu_turn();
    menu_turn();
    EXPECT_EQ(menu_cursor, 2);
}

TEST_F(InputTaps, APressQueuedBehindAnotherWaitsForItsOwnPass)
{
    // Down, then Enter a few milliseconds later, both before the menu looks:
    // the pass that moves the highlight clears every key, and must not lose
    // the Enter that is still held.
    tap(KEYNUM_DOWN);
    key_event(KEYNUM_ENTER);
    key[KEYNUM_ENTER] = 1;
    menu_turn();
    EXPECT_EQ(menu_cursor, 2);
    EXPECT_EQ(menu_choice, 0);
    key_event(KEYNUM_ENTER | 0x80);
    key[KEYNUM_ENTER] = 0;
    menu_turn();
    EXPECT_EQ(menu_choice, 2);         // "Options" chosen by the Enter
}

TEST_F(InputTaps, TapsOfDifferentKeysArePlayedInTheirOrder)
{
    tap(KEYNUM_DOWN);
    tap(KEYNUM_DOWN);
    tap(KEYNUM_DOWN);
    tap(KEYNUM_ENTER);
    for (int i = 0; i < 4; i++)
        menu_turn();
    EXPECT_EQ(menu_cursor, 4);
    EXPECT_EQ(menu_choice, 4);   // "Credits", chosen after the moves
}

// Allegro's X11 keyboard reports right Control as left Control and right
// Control together; the left one must not read as held.
TEST_F(InputTaps, ARightModifierDoesNotHoldItsLeftTwin)
{
    key_event(KEYNUM_LCONTROL);
    key[KEYNUM_LCONTROL] = 1;
    key_event(KEYNUM_RCONTROL);
    key[KEYNUM_RCONTROL] = 1;
    EXPECT_FALSE(key[KEYNUM_LCONTROL]);
    pump_input_taps();
    EXPECT_FALSE(key[KEYNUM_LCONTROL]);
    EXPECT_TRUE(key[KEYNUM_RCONTROL]);

    key_event(KEYNUM_LCONTROL | 0x80);
    key[KEYNUM_LCONTROL] = 0;
    key_event(KEYNUM_RCONTROL | 0x80);
    key[KEYNUM_RCONTROL] = 0;
    pump_input_taps();
    EXPECT_FALSE(key[KEYNUM_LCONTROL]);
    EXPECT_FALSE(key[KEYNUM_RCONTROL]);
}

TEST_F(InputTaps, LettingGoOfARightModifierKeepsAHeldLeftTwin)
{
    // Player 2 holds left Control while player 1 taps right Control.
    key_event(KEYNUM_LCONTROL);
    key[KEYNUM_LCONTROL] = 1;
    rest(5);
    key_event(KEYNUM_LCONTROL);   // reported again with its twin
    key_event(KEYNUM_RCONTROL);
    key[KEYNUM_RCONTROL] = 1;
    EXPECT_TRUE(key[KEYNUM_LCONTROL]);
    key_event(KEYNUM_LCONTROL | 0x80);
    key[KEYNUM_LCONTROL] = 0;
    key_event(KEYNUM_RCONTROL | 0x80);
    key[KEYNUM_RCONTROL] = 0;
    EXPECT_TRUE(key[KEYNUM_LCONTROL]);
    key_event(KEYNUM_LCONTROL | 0x80);
    key[KEYNUM_LCONTROL] = 0;
}

TEST_F(InputTaps, AKeyThatWentDownDuringThePassAndWasClearedIsNotShownAgain)
{
    // The save box draws first and reads its keys after: a letter that goes
    // down while it draws is typed in that pass, and must not be typed again.
    pump_input_taps();
    key_event(KEYNUM_A);
    key[KEYNUM_A] = 1;
    clear_keys();                      // the pass typed it and cleared
    key_event(KEYNUM_A | 0x80);
    pump_input_taps();
    EXPECT_FALSE(key[KEYNUM_A]);
    pump_input_taps();
    EXPECT_FALSE(key[KEYNUM_A]);
}
