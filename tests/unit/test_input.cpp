// What each pass of a loop sees of the keyboard and the mouse, fed with
// events exactly as Allegro's keyboard and mouse callbacks receive them.
#include <algorithm>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

#include "match_fixture.h"

namespace {

// Allegro's keyboard handler writes the live state into key[] and then calls
// the low-level callback; so do these.
void press(int k)
{
    key[k] = -1;
    key_event(k);
}

void lift(int k)
{
    key[k] = 0;
    key_event(k | 0x80);
}

void tap(int k)
{
    press(k);
    lift(k);
}

// The keyboard's auto-repeat: more presses, no release.
void repeat(int k, int times)
{
    for (int i = 0; i < times; i++)
        press(k);
}

class Input : public MatchTest {};

browser_state browser_of(int entries)
{
    browser_state s{};
    s.entries = entries;
    s.max_first_row = std::max(entries - LIST_ROWS, 0);
    s.result = BROWSER_RUNNING;
    return s;
}

}  // namespace

// ---- held keys: seen on every pass, and together ------------------------

TEST_F(Input, AHeldKeyReadsHeldOnEveryPassThroughItsRepeats)
{
    press(KEY_LEFT);
    for (int i = 0; i < 4; i++) {
        input_pass();
        EXPECT_TRUE(key[KEY_LEFT]) << "pass " << i;
        repeat(KEY_LEFT, 2);
    }
    lift(KEY_LEFT);
    input_pass();
    EXPECT_FALSE(key[KEY_LEFT]);
}

TEST_F(Input, KeyIsNotChangedInTheMiddleOfAPass)
{
    input_pass();
    press(KEY_ESC);
    EXPECT_FALSE(key[KEY_ESC]) << "a press during a pass shows only from the next";
    input_pass();
    EXPECT_TRUE(key[KEY_ESC]);
    lift(KEY_ESC);
    EXPECT_TRUE(key[KEY_ESC]);
}

TEST_F(Input, EscPressedAfterEnterStillCancelsTheSaveBox)
{
    save_name_state s;
    save_name_open(s);
    tap(KEY_A);
    save_name_pass(s, nullptr);
    save_name_pass(s, nullptr);
    ASSERT_EQ(s.n, 1);
    press(KEY_ENTER);
    press(KEY_ESC);
    save_name_pass(s, nullptr);
    EXPECT_EQ(s.state, SAVE_NAME_CANCELLED);
}

TEST_F(Input, EnterPressedAfterEscStillAcceptsInTheBrowser)
{
    browser_state s = browser_of(3);
    press(KEY_ESC);
    press(KEY_ENTER);
    browser_pass(s, nullptr);
    EXPECT_EQ(s.result, BROWSER_ACCEPT);
}

TEST_F(Input, NPressedAfterYStillAnswersNo)
{
    confirm_state s{false, 0};
    press(KEY_Y);
    press(KEY_N);
    confirm_pass(s);
    EXPECT_TRUE(s.done);
    EXPECT_EQ(s.answer, 0);
}

// A and left Control pressed as one chord answer one prompt, with the
// higher key; the next prompt waits for a fresh press.
TEST_F(Input, AChordAnswersOneKeyPromptWithItsHighestKey)
{
    std::string config = ::testing::TempDir() + "blast_input_config." + std::to_string(getpid());
    use_config_file(config.c_str());
    void (*saved)() = key_wait_poll;
    static int polls;
    polls = 0;
    key_wait_poll = [] {
        polls++;
        if (polls == 1) {
            press(KEY_A);
            press(KEY_LCONTROL);
        } else if (polls == 3) {
            lift(KEY_A);
            lift(KEY_LCONTROL);
            tap(KEY_Z);
        } else if (polls > 3) {
            tap(KEY_W);
        }
        input_pass();
    };
    keys_dialog();
    key_wait_poll = saved;
    set_config_data("", 0);
    std::remove(config.c_str());

    EXPECT_EQ(profiles[0].keys[KEY_SLOT_LEFT], KEY_LCONTROL);
    EXPECT_EQ(profiles[0].keys[KEY_SLOT_RIGHT], KEY_Z);
    EXPECT_EQ(polls, 3 + 12);
}

// ---- taps: each seen on exactly one pass, in order -----------------------

TEST_F(Input, ATapBetweenTwoPassesIsSeenOnExactlyOne)
{
    tap(KEY_DOWN);
    menu_turn();
    EXPECT_EQ(menu_cursor, 2);
    menu_turn();
    menu_turn();
    EXPECT_EQ(menu_cursor, 2);
}

TEST_F(Input, TapsInARowAreSeenOnePerPassInTheirOrder)
{
    for (int k : {KEY_DOWN, KEY_DOWN, KEY_DOWN, KEY_ENTER})
        tap(k);
    for (int i = 0; i < 6; i++)
        menu_turn();
    EXPECT_EQ(menu_cursor, 4);
    EXPECT_EQ(menu_choice, 4);   // "Credits", chosen after the moves
}

TEST_F(Input, OneTapInTheBrowserMovesOneRowAndFiveTapsFive)
{
    browser_state s = browser_of(10);
    tap(KEY_DOWN);
    for (int i = 0; i < 3; i++)
        browser_pass(s, nullptr);
    EXPECT_EQ(s.selected, 1);

    for (int i = 0; i < 5; i++)
        tap(KEY_DOWN);
    for (int i = 0; i < 8; i++)
        browser_pass(s, nullptr);
    EXPECT_EQ(s.selected, 6);
}

TEST_F(Input, KeysTappedTogetherAreSeenTogetherOnce)
{
    press(KEY_Y);
    press(KEY_N);
    lift(KEY_Y);
    lift(KEY_N);
    input_pass();
    EXPECT_TRUE(key[KEY_Y] && key[KEY_N]);
    input_pass();
    EXPECT_FALSE(key[KEY_Y] || key[KEY_N]);
}

TEST_F(Input, ATapDuringAPassIsSeenOnTheNextOnly)
{
    input_pass();
    tap(KEY_UP);
    EXPECT_FALSE(key[KEY_UP]);
    input_pass();
    EXPECT_TRUE(key[KEY_UP]);
    input_pass();
    EXPECT_FALSE(key[KEY_UP]);
}

// ---- keys arriving in one pass: each acted on, in the screen's order -----

TEST_F(Input, ArrowsAndEnterHeldInOnePassEachAct)
{
    menu_cursor = 3;
    press(KEY_UP);
    press(KEY_DOWN);
    menu_turn();
    EXPECT_EQ(menu_cursor, 3) << "up, then down again";
    lift(KEY_UP);
    lift(KEY_DOWN);
    press(KEY_DOWN);
    press(KEY_ENTER);
    menu_turn();
    EXPECT_EQ(menu_cursor, 4);
    EXPECT_EQ(menu_choice, 4) << "moved, then chose";
}

TEST_F(Input, TwoTypingKeysInOnePassBothType)
{
    save_name_state s;
    save_name_open(s);
    press(KEY_Q);
    press(KEY_W);
    save_name_pass(s, nullptr);
    lift(KEY_Q);
    lift(KEY_W);
    for (int k : {KEY_E, KEY_R})
        tap(k);
    for (int i = 0; i < 4; i++)
        save_name_pass(s, nullptr);
    EXPECT_STREQ(s.name, "QWER");
}

// ---- through the match loop ----------------------------------------------

// Most passes of the match loop run no tick; a tap between two of them
// moves the player in the first tick of the next pass that runs one.
TEST_F(Input, ATapReachesTheMatchThroughTheLoopsNextTick)
{
    const int x = players[0].x;
    tap(profiles[0].keys[KEY_SLOT_RIGHT]);
    pending_ticks = 0;
    EXPECT_EQ(match_loop_pass(), 0);
    pending_ticks = 1;
    EXPECT_EQ(match_loop_pass(), 1);
    EXPECT_EQ(players[0].x, x + 2);
}

// ---- keys the program released -----------------------------------------

TEST_F(Input, EscHeldOutOfAMatchDoesNotQuitTheMenu)
{
    press(KEY_ESC);
    input_pass();
    ticks(1);
    ASSERT_EQ(live_match.leave_tick, 0);
    release_key(KEY_ESC);    // what the menu does when the match returns
    for (int i = 0; i < 5; i++) {
        repeat(KEY_ESC, 3);
        menu_turn();
    }
    EXPECT_EQ(quit_requested, 0);

    lift(KEY_ESC);
    menu_turn();
    press(KEY_ESC);
    menu_turn();
    EXPECT_NE(quit_requested, 0) << "a new press quits";
}

TEST_F(Input, EnterHeldIntoTheKeyDialogAnswersNoPrompt)
{
    press(KEY_ENTER);
    input_pass();
    clear_keys();               // the options menu acted on it
    repeat(KEY_ENTER, 10);
    input_pass();
    EXPECT_EQ(held_key(), 0);
    lift(KEY_ENTER);
    press(KEY_ENTER);
    input_pass();
    EXPECT_EQ(held_key(), KEY_ENTER);
}

TEST_F(Input, AChangeKeyOnALetterChangesTheWeaponOncePerPress)
{
    constexpr int KEY_Q = 17;
    profiles[0].keys[KEY_SLOT_CHANGE] = KEY_Q;
    press(KEY_Q);
    for (int i = 0; i < 6; i++) {
        input_pass();
        ticks(1);
        repeat(KEY_Q, 1);
    }
    EXPECT_EQ(players[0].weapon, WEAPON_MISSILE);
    lift(KEY_Q);
    press(KEY_Q);
    input_pass();
    ticks(1);
    EXPECT_EQ(players[0].weapon, WEAPON_BIG_BOMB);
}

TEST_F(Input, APressDuringAPassThatClearsKeysIsSeenOnTheNext)
{
    tap(KEY_DOWN);
    input_pass();
    press(KEY_ENTER);        // while the pass acts on Down
    clear_keys();
    input_pass();
    EXPECT_TRUE(key[KEY_ENTER]);
    EXPECT_FALSE(key[KEY_DOWN]);
}

TEST_F(Input, ATapReleasedByTheProgramIsNotSeenAgain)
{
    tap(KEY_S);
    input_pass();
    release_key(KEY_S);
    input_pass();
    input_pass();
    EXPECT_FALSE(key[KEY_S]);
    tap(KEY_S);
    input_pass();
    EXPECT_TRUE(key[KEY_S]) << "a new tap counts";
}

// ---- the two players' modifiers ------------------------------------------

TEST_F(Input, BothFireKeysInTheSameInstantBothFire)
{
    press(profiles[0].keys[KEY_SLOT_FIRE]);
    press(profiles[1].keys[KEY_SLOT_FIRE]);
    input_pass();
    ticks(1);
    EXPECT_EQ(active_bombs(), 2);
    EXPECT_GT(players[0].fire_delay, 0);
    EXPECT_GT(players[1].fire_delay, 0);
}

// Every order in which left and right Control can go down and up, with a
// pass after each event and then all in one go: each reads as its own key.
TEST_F(Input, EveryInterleavingOfBothControlsReadsAsThePhysicalKeys)
{
    const int keys[2] = {KEY_LCONTROL, KEY_RCONTROL};
    std::vector<int> order = {0, 0, 1, 1};   // whose event comes next; first one is the press
    int sequences = 0;
    do {
        bool down[2] = {false, false};
        for (int who : order) {
            down[who] = !down[who];
            down[who] ? press(keys[who]) : lift(keys[who]);
            input_pass();
            EXPECT_EQ(bool(key[keys[0]]), down[0]) << "sequence " << sequences;
            EXPECT_EQ(bool(key[keys[1]]), down[1]) << "sequence " << sequences;
        }
        for (int who : order) {
            down[who] = !down[who];
            down[who] ? press(keys[who]) : lift(keys[who]);
        }
        for (int i = 0; i < 4; i++)
            input_pass();
        EXPECT_FALSE(key[keys[0]] || key[keys[1]]) << "stuck after sequence " << sequences;
        sequences++;
    } while (std::next_permutation(order.begin(), order.end()));
    EXPECT_EQ(sequences, 6);
}

TEST_F(Input, PlayerTwosHeldControlOutlastsPlayerOnesTap)
{
    press(KEY_LCONTROL);
    input_pass();
    tap(KEY_RCONTROL);
    input_pass();
    EXPECT_TRUE(key[KEY_LCONTROL] && key[KEY_RCONTROL]);
    input_pass();
    EXPECT_TRUE(key[KEY_LCONTROL]);
    EXPECT_FALSE(key[KEY_RCONTROL]);
    lift(KEY_LCONTROL);
    input_pass();
    EXPECT_FALSE(key[KEY_LCONTROL]);
}

// ---- mouse buttons ---------------------------------------------------------

TEST_F(Input, AClickShorterThanAPassIsSeenOnceAndAHeldButtonStays)
{
    mouse_event(MOUSE_FLAG_LEFT_DOWN);
    mouse_event(MOUSE_FLAG_RIGHT_DOWN);
    mouse_event(MOUSE_FLAG_LEFT_UP);
    input_pass();
    EXPECT_EQ(pointer_buttons(), 3);
    for (int i = 0; i < 3; i++) {
        input_pass();
        EXPECT_EQ(pointer_buttons(), 2);
    }
    mouse_event(MOUSE_FLAG_RIGHT_UP);
    input_pass();
    EXPECT_EQ(pointer_buttons(), 0);
}

// Allegro rewrites its mouse globals on every motion, buttons included; a
// pass reads the pointer and the buttons as they were when it began.
TEST_F(Input, ThePointerAndButtonsHoldStillForTheWholePass)
{
    mouse_x = 100;
    mouse_y = 50;
    mouse_event(MOUSE_FLAG_MOVE | MOUSE_FLAG_LEFT_DOWN);
    input_pass();
    mouse_x = 300;
    mouse_y = 200;
    mouse_b = 0;
    mouse_event(MOUSE_FLAG_MOVE);
    EXPECT_EQ(pointer_x(), 100);
    EXPECT_EQ(pointer_y(), 50);
    EXPECT_EQ(pointer_buttons(), 1);
    input_pass();
    EXPECT_EQ(pointer_x(), 300);
    EXPECT_EQ(pointer_buttons(), 1) << "the button was never let go";
}

// ---- more events than the queue holds -----------------------------------

TEST_F(Input, AFloodOfTapsLeavesNoKeyStuckAndAHeldKeyHeld)
{
    press(KEY_LSHIFT);
    for (int i = 0; i < 2000; i++)
        tap(KEY_A + i % 26);
    for (int i = 0; i < 600; i++)
        input_pass();
    EXPECT_TRUE(key[KEY_LSHIFT]);
    for (int i = 0; i < 26; i++)
        EXPECT_FALSE(key[KEY_A + i]) << "key " << KEY_A + i;
}

// A press and 512 more events: one past what the queue holds. The press
// must survive as the physical state, not be written over.
TEST_F(Input, OneEventPastTheQueuesSizeKeepsAHeldKeyHeld)
{
    press(KEY_LSHIFT);
    for (unsigned i = 0; i < INPUT_RING_SIZE / 2; i++)
        tap(KEY_A + i % 26);
    for (unsigned i = 0; i < INPUT_RING_SIZE; i++)
        input_pass();
    EXPECT_TRUE(key[KEY_LSHIFT]);
}

// ---- the keyboard taken away and given back ------------------------------

// Another client grabs the keyboard, and releases made meanwhile never
// come. Everything held is let go at once, also a key the menu had used up;
// what is physically down when the focus comes back is held again, keys and
// buttons alike.
TEST_F(Input, TheFocusTakenLetsGoOfAllAndItsReturnTakesTheKeysAsTheyAre)
{
    press(KEY_DOWN);
    menu_turn();
    ASSERT_EQ(menu_cursor, 2);
    press(KEY_RIGHT);
    press(KEY_LCONTROL);
    mouse_event(MOUSE_FLAG_RIGHT_DOWN);
    input_pass();
    input_focus_lost();
    input_pass();
    EXPECT_FALSE(key[KEY_RIGHT] || key[KEY_LCONTROL]);
    EXPECT_EQ(pointer_buttons(), 0);

    bool down[INPUT_CODES] = {};
    down[KEY_RIGHT] = true;
    down[INPUT_BUTTON_FIRST] = true;   // the left button
    input_focus_returned(down);
    input_pass();
    EXPECT_TRUE(key[KEY_RIGHT]);
    EXPECT_FALSE(key[KEY_LCONTROL]);
    EXPECT_EQ(pointer_buttons(), 1);
    lift(KEY_RIGHT);
    press(KEY_DOWN);
    menu_turn();
    EXPECT_FALSE(key[KEY_RIGHT]);
    EXPECT_EQ(menu_cursor, 3) << "Down, let go while away, presses anew";
}

// ---- over the editor: what closed a dialog does not act again --------------

namespace {

// The level's own board, not a match's.
class InputInEditor : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        fill_mode = PEN_MODE;
        left_tile = 1;
        right_tile = 0;
        mirror_mode = 0;
        play_test_match = nullptr;
    }
    void TearDown() override { mirror_mode = 0; }
};

}  // namespace

// C asks to clear; a click on Yes, held on after the question has gone, is
// over: the cell under Yes and its mirror keep the cleared tile until the
// button is pressed again.
TEST_F(InputInEditor, AClickThatAnsweredYesDoesNotPaintUnderTheButton)
{
    constexpr int YES_X = 280, YES_Y = 220;          // over cell (23, 18)
    mirror_mode = 1;
    right_tile = 4;
    tap(KEY_C);
    set_mouse(YES_X, YES_Y, 1);
    editor_frame();                                  // the question, answered
    ASSERT_EQ(board[23][18], 4);
    for (int i = 0; i < 3; i++)
        editor_frame();
    EXPECT_EQ(board[23][18], 4);
    EXPECT_EQ(board[mirror_col(23)][mirror_row(18)], 4);

    set_mouse(YES_X, YES_Y, 0);
    editor_frame();
    set_mouse(YES_X, YES_Y, 1);
    editor_frame();
    EXPECT_EQ(board[23][18], left_tile) << "a new press paints";
}

// Esc held on after it cancelled the Load browser does not also ask to leave
// the editor: the Y held next would have answered that question yes.
TEST_F(InputInEditor, EscThatCancelledTheLoadBrowserDoesNotAskToQuit)
{
    tap(KEY_L);
    press(KEY_ESC);
    editor_frame();
    press(KEY_Y);
    for (int i = 0; i < 3; i++)
        editor_frame();
    EXPECT_EQ(leave_mode, 0);
    lift(KEY_ESC);
    editor_frame();
    press(KEY_ESC);
    editor_frame();
    EXPECT_NE(leave_mode, 0) << "a new Esc asks";
}
