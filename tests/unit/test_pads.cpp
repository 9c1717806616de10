// Gamepads: Allegro's joy[] set the way its driver would, read through the
// controls the tick asks for, the menus and the browser.
#include <cstring>
#include <filesystem>
#include <string>

#include "match_fixture.h"
#include "scratch_dir.h"

namespace {

constexpr int LEFT_STICK = 0, TRIGGERS = 1, D_PAD = 2;
constexpr int FIRE = DEFAULT_PAD_FIRE, CHANGE = DEFAULT_PAD_CHANGE;

// n pads of a common shape: a left stick, a pair of triggers resting at
// one end of their travel, a D-pad, ten buttons; all at rest.
void plug_pads(int n)
{
    std::memset(joy, 0, sizeof(JOYSTICK_INFO) * MAX_JOYSTICKS);
    num_joysticks = n;
    for (int i = 0; i < n; i++) {
        JOYSTICK_INFO &j = joy[i];
        j.flags = JOYFLAG_ANALOGUE;
        j.num_sticks = 3;
        j.num_buttons = 10;
        for (int s = 0; s < 3; s++) {
            j.stick[s].flags = JOYFLAG_ANALOGUE | JOYFLAG_SIGNED;
            j.stick[s].num_axis = 2;
        }
        j.stick[TRIGGERS].axis[0].pos = -128;
        j.stick[TRIGGERS].axis[1].pos = -128;
    }
    look_at_pads();
}

void stick(int pad, int s, int x, int y)
{
    joy[pad].stick[s].axis[0].pos = x;
    joy[pad].stick[s].axis[1].pos = y;
}

void button(int pad, int b, bool down) { joy[pad].button[b].b = down; }

class Pads : public MatchTest {
protected:
    void SetUp() override
    {
        MatchTest::SetUp();
        pad_bindings[0] = {0, FIRE, CHANGE};
        pad_bindings[1] = {1, FIRE, CHANGE};
        plug_pads(2);
    }
    void TearDown() override { plug_pads(0); }

    // Player 1 alone in a free arena, away from the walls of the border.
    static void centre_player_1() { place(0, 20, 15); }

    // Whether player i's next control word from the keys and pad holds bit.
    static bool holds(int i, control_word bit)
    {
        return (keyboard_controls(live_match, i, nullptr) & bit) != 0;
    }
};

}  // namespace

// ---- what a player holds --------------------------------------------------

TEST_F(Pads, TheStickWalksOnlyPastTheDeadZone)
{
    centre_player_1();
    const int x = players[0].x, y = players[0].y;
    for (int edge : {PAD_DEAD_ZONE, -PAD_DEAD_ZONE}) {
        stick(0, LEFT_STICK, edge, -edge);
        ticks(1);
        EXPECT_EQ(players[0].x, x) << edge;
        EXPECT_EQ(players[0].y, y) << edge;
        EXPECT_EQ(players[0].frame, 0.0) << edge;
    }

    // Pushed right and a little up: right only.
    stick(0, LEFT_STICK, 128, -40);
    ticks(1);
    EXPECT_EQ(players[0].x, x + 2);
    EXPECT_EQ(players[0].y, y);
    EXPECT_EQ(players[0].facing, FACING_RIGHT);

    // Diagonal: both ways, in the game's own order (right, then up).
    stick(0, LEFT_STICK, 100, -100);
    ticks(1);
    EXPECT_EQ(players[0].x, x + 4);
    EXPECT_EQ(players[0].y, y - 2);
    EXPECT_EQ(players[0].facing, FACING_UP);
}

// The triggers rest at one end and must not walk; the D-pad does.
TEST_F(Pads, TheDPadWalksAndTriggersAtRestDoNot)
{
    centre_player_1();
    const int x = players[0].x, y = players[0].y;
    ticks(3);
    EXPECT_EQ(players[0].x, x);
    EXPECT_EQ(players[0].y, y);
    stick(0, D_PAD, 0, 128);
    ticks(2);
    EXPECT_EQ(players[0].y, y + 4);
    EXPECT_EQ(holds(0, CONTROL_DOWN), true);
    EXPECT_EQ(holds(1, CONTROL_DOWN), false);   // player 2's pad is pad 1
}

TEST_F(Pads, KeysAndPadPlayTogether)
{
    centre_player_1();
    const int x = players[0].x, y = players[0].y;
    hold(profiles[0].keys[KEY_SLOT_LEFT]);
    stick(0, D_PAD, 0, -128);
    ticks(1);
    EXPECT_EQ(players[0].x, x - 2);
    EXPECT_EQ(players[0].y, y - 2);

    // Player 2's keys and player 1's pad in the same tick.
    let_go(profiles[0].keys[KEY_SLOT_LEFT]);
    stick(0, D_PAD, 0, 0);
    button(0, FIRE, true);
    hold(profiles[1].keys[KEY_SLOT_FIRE]);
    ticks(1);
    EXPECT_EQ(active_bombs(), 2);
}

TEST_F(Pads, ConfigChoosesThePadAndItsButtons)
{
    // Player 2 on the first pad with other buttons; player 1 on none.
    pad_bindings[0].pad = PAD_NONE;
    pad_bindings[1] = {0, 5, 7};
    button(0, FIRE, true);
    EXPECT_FALSE(holds(0, CONTROL_FIRE));
    EXPECT_FALSE(holds(1, CONTROL_FIRE));
    button(0, 5, true);
    button(0, 7, true);
    // One word: the change it carries is used up as it is read.
    EXPECT_EQ(keyboard_controls(live_match, 1, nullptr) & (CONTROL_FIRE | CONTROL_CHANGE),
              CONTROL_FIRE | CONTROL_CHANGE);

    // Numbers that name nothing are never held and read nothing outside joy[].
    pad_bindings[1] = {0, 40, -3};
    EXPECT_FALSE(holds(1, CONTROL_FIRE));
    EXPECT_FALSE(holds(1, CONTROL_CHANGE));
    for (int pad : {2, MAX_JOYSTICKS, 1000, -7}) {
        pad_bindings[1] = {pad, FIRE, CHANGE};
        EXPECT_FALSE(holds(1, CONTROL_FIRE)) << "pad " << pad;
    }
}

// ---- the change button ---------------------------------------------------

TEST_F(Pads, TheChangeButtonChangesOncePerPress)
{
    button(0, CHANGE, true);
    ticks(5);
    EXPECT_EQ(players[0].weapon, WEAPON_MISSILE);
    button(0, CHANGE, false);
    ticks(1);
    button(0, CHANGE, true);
    ticks(3);
    EXPECT_EQ(players[0].weapon, WEAPON_BIG_BOMB);

    // The key and the button held together are one change, and the key's
    // entry in key[] is used up as it always was.
    button(0, CHANGE, false);
    ticks(1);
    button(0, CHANGE, true);
    hold(profiles[0].keys[KEY_SLOT_CHANGE]);
    ticks(2);
    EXPECT_EQ(players[0].weapon, WEAPON_BOMB);
    EXPECT_EQ(key[profiles[0].keys[KEY_SLOT_CHANGE]], 0);
}

// One pad for both players: the first to act takes the press, as with a
// shared change key.
TEST_F(Pads, APadSharedByBothPlayersChangesPlayer1First)
{
    pad_bindings[1].pad = 0;
    button(0, CHANGE, true);
    ticks(2);
    EXPECT_EQ(players[0].weapon, WEAPON_MISSILE);
    EXPECT_EQ(players[1].weapon, WEAPON_BOMB);
}

// ---- a pad that goes away --------------------------------------------------

TEST_F(Pads, APadThatVanishesMidMatchLetsGoOfEverything)
{
    centre_player_1();
    stick(0, LEFT_STICK, 128, 0);
    button(0, FIRE, true);
    ticks(1);
    ASSERT_EQ(active_bombs(), 1);
    const int x = players[0].x;

    num_joysticks = 0;           // unplugged, driver gone: joy[] keeps its last state
    poll_pads();
    ticks(40);
    EXPECT_EQ(players[0].x, x);
    EXPECT_EQ(active_bombs(), 1);

    // The keyboard plays on.
    hold(profiles[0].keys[KEY_SLOT_RIGHT]);
    ticks(1);
    EXPECT_EQ(players[0].x, x + 2);
}

// ---- menus and the browser -------------------------------------------------

namespace {

class PadMenus : public Pads {};

}  // namespace

TEST_F(PadMenus, UpAndDownMoveOncePerPressAndFireChooses)
{
    stick(1, D_PAD, 0, 128);     // either player's pad works the menus
    menu_turn();
    menu_turn();
    EXPECT_EQ(menu_cursor, 2);
    stick(1, D_PAD, 0, 0);
    menu_turn();
    stick(1, LEFT_STICK, 0, 128);
    menu_turn();
    EXPECT_EQ(menu_cursor, 3);
    menu_turn();
    EXPECT_EQ(menu_cursor, 3);
    stick(1, LEFT_STICK, 0, -128);   // straight from down to up: a new press
    menu_turn();
    EXPECT_EQ(menu_cursor, 2);

    button(0, FIRE, true);       // "Options"
    menu_turn();
    EXPECT_EQ(menu_choice, 2);
    menu_turn();                 // still held: the options menu does not choose
    EXPECT_EQ(options_choice, 0);
    EXPECT_EQ(quit_requested, 0);
}

// Pushed down and fire pressed in one pass: the menu moves, then chooses.
TEST_F(PadMenus, DownAndFireInOnePassMoveThenChoose)
{
    stick(0, D_PAD, 0, 128);
    button(0, FIRE, true);
    menu_turn();
    EXPECT_EQ(menu_cursor, 2);
    EXPECT_EQ(menu_choice, 2);
}

TEST_F(PadMenus, TheChangeButtonIsEsc)
{
    button(1, CHANGE, true);
    menu_turn();
    EXPECT_EQ(quit_requested, -1);
}

TEST_F(PadMenus, TheBrowserMovesWithThePadAndItsButtonsCloseIt)
{
    scratch_dir dir;
    std::memset(level_list, 0, sizeof level_list);
    std::filesystem::create_directory("levels");
    for (const char *name : {"a", "b", "c"})
        write_bytes(std::string("levels/") + name, {});

    browser_state s = open_browser();
    stick(0, D_PAD, 0, 128);
    browser_pass(s, nullptr);
    browser_pass(s, nullptr);      // held: steps again, at the held-arrow pace
    EXPECT_EQ(s.selected, 2);
    stick(0, D_PAD, 0, 0);
    button(0, CHANGE, true);
    browser_pass(s, nullptr);
    EXPECT_EQ(s.result, BROWSER_CANCEL);

    s = open_browser();
    button(0, CHANGE, false);
    button(1, FIRE, true);
    browser_pass(s, nullptr);
    EXPECT_EQ(s.result, BROWSER_ACCEPT);
}

// The fire button that chose the level is held as the match begins; it must
// not drop a bomb until pressed again.
TEST_F(PadMenus, TheButtonThatClosedTheBrowserDoesNotActInTheMatch)
{
    scratch_dir dir;
    std::filesystem::create_directory("levels");
    button(0, FIRE, true);
    button(0, CHANGE, true);
    choose_level(nullptr);
    ticks(2);
    EXPECT_EQ(active_bombs(), 0);
    EXPECT_EQ(players[0].weapon, WEAPON_BOMB);
    button(0, FIRE, false);
    ticks(1);
    button(0, FIRE, true);
    ticks(1);
    EXPECT_EQ(active_bombs(), 1);
}

// ---- config.ini ------------------------------------------------------------

TEST(PadConfig, FirstPadPlaysPlayer1AndSecondPlayer2UnlessConfigured)
{
    set_config_data("", 0);
    read_config();
    EXPECT_EQ(pad_bindings[0].pad, 0);
    EXPECT_EQ(pad_bindings[1].pad, 1);
    EXPECT_EQ(pad_bindings[0].fire, DEFAULT_PAD_FIRE);
    EXPECT_EQ(pad_bindings[1].change, DEFAULT_PAD_CHANGE);

    const std::string text =
        "pl1joy = -1\npl2joy = 0\npl1joyfire = 3\npl1joychange = 4\n"
        "pl2joyfire = 2\npl2joychange = 9\n";
    set_config_data(text.c_str(), static_cast<int>(text.size()));
    read_config();
    EXPECT_EQ(pad_bindings[0].pad, PAD_NONE);
    EXPECT_EQ(pad_bindings[1].pad, 0);
    EXPECT_EQ(pad_bindings[0].fire, 3);
    EXPECT_EQ(pad_bindings[0].change, 4);
    EXPECT_EQ(pad_bindings[1].fire, 2);
    EXPECT_EQ(pad_bindings[1].change, 9);
}
