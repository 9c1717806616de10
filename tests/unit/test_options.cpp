// The option dialogs: the text entry, the names dialog, the key bindings.
#include <cstdio>
#include <cstring>
#include <deque>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>
#include <vector>

#include "harness.h"

namespace {

// readkey() value of a key: index in the high byte, character in the low.
int typed(char c)
{
    if (c >= 'a' && c <= 'z')
        return ((KEY_A + (c - 'a')) << 8) | c;
    if (c == ' ')
        return (KEY_SPACE << 8) | c;
    ADD_FAILURE() << "no scripted key for '" << c << "'";
    return 0;
}
const int ENTER = (KEY_ENTER << 8) | '\r';
const int BACKSPACE = (KEY_BACKSPACE << 8) | 8;
const int F1 = KEY_F1 << 8;   // keys that yield no character
const int LEFT = KEY_LEFT << 8;

std::deque<int> typed_keys;
int next_typed_key()
{
    if (typed_keys.empty()) {
        ADD_FAILURE() << "the entry read past the scripted keys";
        return ENTER;
    }
    int k = typed_keys.front();
    typed_keys.pop_front();
    return k;
}

// Keys pressed on each pass of the key wait; a pass may press none or several.
std::deque<std::vector<int>> pressed_keys;
void press_scripted_keys()
{
    if (pressed_keys.empty()) {
        ADD_FAILURE() << "the key wait ran past the scripted presses";
        key[KEY_Z] = 1;
        return;
    }
    for (int k : pressed_keys.front())
        key[k] = 1;
    pressed_keys.pop_front();
}

std::string read_file(const std::string &path)
{
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Whether bitmap a shows exactly the texts drawn on black, in order.
struct text_at {
    const char *text;
    int x, y, color;
    bool centred;
};
bool shows_texts(BITMAP *a, std::initializer_list<text_at> texts)
{
    BITMAP *want = create_bitmap(a->w, a->h);
    clear_to_color(want, 0);
    for (const text_at &t : texts)
        (t.centred ? textout_centre : textout)(want, menu_font(), t.text, t.x, t.y, t.color);
    bool same = true;
    for (int py = 0; py < a->h && same; py++)
        for (int px = 0; px < a->w && same; px++)
            same = getpixel(a, px, py) == getpixel(want, px, py);
    destroy_bitmap(want);
    return same;
}
bool shows_entry(const char *text)
{
    return shows_texts(screen, {{text, NAMES_ENTRY_X, NAMES_Y, TEXT_WHITE, false}});
}

class OptionDialogs : public GameTest {
protected:
    std::string config_path;
    int (*saved_source)() = nullptr;
    void (*saved_poll)() = nullptr;

    void SetUp() override
    {
        GameTest::SetUp();
        typed_keys.clear();
        pressed_keys.clear();
        saved_source = read_key_source;
        saved_poll = key_wait_poll;
        read_key_source = next_typed_key;
        key_wait_poll = press_scripted_keys;
        // One file per process: ctest runs these cases side by side.
        config_path = ::testing::TempDir() + "blast_options_config." + std::to_string(getpid()) + ".ini";
        std::remove(config_path.c_str());
        use_config_file(config_path.c_str());
    }

    void TearDown() override
    {
        read_key_source = saved_source;
        key_wait_poll = saved_poll;
        set_config_data("", 0);   // detach before the file goes
        std::remove(config_path.c_str());
        release_input();
    }

    std::string entry(std::initializer_list<int> keys, unsigned length = 9)
    {
        typed_keys.assign(keys);
        char dest[12];
        std::memset(dest, 'X', sizeof dest);
        input_text(screen, menu_font(), NAMES_ENTRY_X, NAMES_Y, TEXT_WHITE, dest, length);
        EXPECT_TRUE(typed_keys.empty()) << "keys left after Enter";
        return dest;
    }
};

}  // namespace

TEST_F(OptionDialogs, EntryFillsTheFieldWithSpaces)
{
    EXPECT_EQ(entry({typed('a'), typed('b'), typed('c'), ENTER}), "abc     ");
    EXPECT_EQ(entry({ENTER}), "        ");
    EXPECT_EQ(entry({typed('x'), ENTER}, 12), "x          ");
}

TEST_F(OptionDialogs, EntryIgnoresExtraCharactersAndBackspaceMends)
{
    EXPECT_EQ(entry({typed('a'), typed('b'), typed('c'), typed('d'), typed('e'), typed('f'),
                     typed('g'), typed('h'), typed('i'), typed('j'), BACKSPACE, ENTER}),
              "abcdefg ");
    EXPECT_EQ(entry({BACKSPACE, BACKSPACE, typed('q'), ENTER}), "q       ");
    EXPECT_EQ(entry({typed('a'), typed('b'), BACKSPACE, BACKSPACE, BACKSPACE, typed('z'), ENTER}),
              "z       ");
}

// An arrow or an F-key has no character: it neither ends the name nor takes
// a place in it.
TEST_F(OptionDialogs, KeysWithoutACharacterTypeNothing)
{
    EXPECT_EQ(entry({typed('a'), typed('b'), LEFT, typed('c'), typed('d'), ENTER}), "abcd    ");
    EXPECT_EQ(entry({typed('a'), F1, typed('b'), typed('c'), typed('d'), typed('e'), typed('f'),
                     typed('g'), typed('h'), ENTER}),
              "abcdefgh");
    EXPECT_EQ(entry({F1, BACKSPACE, typed('k'), ENTER}), "k       ");
}

// Ctrl+J, Ctrl+M, keypad Enter, Tab, Esc and Delete type nothing: a line
// break in a name would have ended its line of config.ini.
TEST_F(OptionDialogs, EntryStoresNoControlCharacters)
{
    const int ctrl_j = (KEY_A + 9) << 8 | '\n', ctrl_m = (KEY_A + 12) << 8 | '\r';
    const int pad_enter = KEY_ENTER_PAD << 8 | '\r', tab = KEY_TAB << 8 | '\t';
    const int esc = KEY_ESC << 8 | 27, del = KEY_DEL << 8 | 127, ctrl_a = KEY_A << 8 | 1;
    EXPECT_EQ(entry({typed('a'), ctrl_j, ctrl_m, pad_enter, tab, esc, del, ctrl_a, typed('b'),
                     ENTER}),
              "ab      ");
}

TEST_F(OptionDialogs, EntryRedrawsOverDeletedLetters)
{
    entry({typed('w'), typed('m'), BACKSPACE, ENTER});
    EXPECT_TRUE(shows_entry("w       "));
    // A full field taken back by one: the space is narrower than the letter.
    clear_to_color(screen, 0);
    entry({typed('m'), typed('m'), typed('m'), typed('m'), typed('m'), typed('m'), typed('m'),
           typed('w'), BACKSPACE, ENTER});
    EXPECT_TRUE(shows_entry("mmmmmmm "));
}

TEST_F(OptionDialogs, NamesGoToThePlayersAndToTheFileAtOnce)
{
    typed_keys = {typed('a'), typed('n'), typed('n'), ENTER,
                  typed('b'), typed('o'), typed('b'), typed('b'), typed('y'), typed('j'),
                  typed('o'), typed('e'), typed('x'), BACKSPACE, ENTER};
    names_dialog();
    EXPECT_TRUE(typed_keys.empty());
    EXPECT_STREQ(profiles[0].name, "ann     ");
    EXPECT_STREQ(profiles[1].name, "bobbyjo ");

    // Written to disk by the dialog itself, with no later flush.
    std::string file = read_file(config_path);
    EXPECT_NE(file.find("plr1name = ann"), std::string::npos) << file;
    EXPECT_NE(file.find("plr2name = bobbyjo"), std::string::npos) << file;
    // The next start-up has the names back; Allegro drops trailing spaces.
    set_config_file(config_path.c_str());
    read_config();
    EXPECT_STREQ(profiles[0].name, "ann");
    EXPECT_STREQ(profiles[1].name, "bobbyjo");

    // The second entry is what the screen is left with.
    EXPECT_TRUE(shows_texts(screen, {{"Player 2 name:", NAMES_LABEL_X, NAMES_Y, TEXT_WHITE, false},
                                     {"bobbyjo ", NAMES_ENTRY_X, NAMES_Y, TEXT_WHITE, false}}));
}

TEST_F(OptionDialogs, HighestHeldKeyIndexWins)
{
    EXPECT_EQ(held_key(), 0);
    key[KEY_A] = 1;
    key[KEY_LCONTROL] = 1;
    key[KEY_ENTER] = 1;
    EXPECT_EQ(held_key(), KEY_LCONTROL);
    key[KEY_MAX - 1] = 1;     // the array's last index is scanned too
    EXPECT_EQ(held_key(), KEY_MAX - 1);
}

TEST_F(OptionDialogs, FourteenPromptsBindInTheirOrder)
{
    // Left, right, up, down, fire, change, special for each player; Esc and
    // Enter are keys like any other, and a wait without a key goes on.
    pressed_keys = {{KEY_L}, {}, {}, {KEY_Y}, {KEY_W}, {KEY_S},
                    {KEY_A, KEY_RCONTROL}, {KEY_C}, {KEY_ESC},
                    {KEY_LEFT}, {KEY_RIGHT}, {KEY_UP}, {KEY_DOWN},
                    {KEY_ENTER}, {KEY_LSHIFT}, {KEY_ENTER}};
    keys_dialog();
    EXPECT_TRUE(pressed_keys.empty());

    const std::array<int, KEY_SLOTS> p1 = {KEY_W, KEY_S, KEY_L, KEY_Y, KEY_RCONTROL, KEY_C, KEY_ESC};
    const std::array<int, KEY_SLOTS> p2 = {KEY_UP, KEY_DOWN, KEY_LEFT, KEY_RIGHT,
                                           KEY_ENTER, KEY_LSHIFT, KEY_ENTER};
    EXPECT_TRUE(bindings_are(0, p1));
    EXPECT_TRUE(bindings_are(1, p2));
    for (int i = 1; i < KEY_MAX; i++)
        EXPECT_EQ(key[i], 0) << "key " << i << " still held after the dialog";

    // On disk at once, in the file's numbering.
    std::string file = read_file(config_path);
    const char *const lines[] = {
        "pl1keyup = 23", "pl1keydown = 19", "pl1keyleft = 12", "pl1keyright = 25",
        "pl1keyfire = 102", "pl1keychange = 3", "pl1keyspecial = 59",
        "pl2keyup = 84", "pl2keydown = 85", "pl2keyleft = 82", "pl2keyright = 83",
        "pl2keyfire = 67", "pl2keychange = 99", "pl2keyspecial = 67"};
    for (const char *line : lines)
        EXPECT_NE(file.find(std::string(line) + "\n"), std::string::npos) << line << " not in\n" << file;

    // The next start-up reads the same keys back.
    set_config_file(config_path.c_str());
    read_config();
    EXPECT_TRUE(bindings_are(0, p1));
    EXPECT_TRUE(bindings_are(1, p2));
}

TEST_F(OptionDialogs, EachPromptTakesAFreshPress)
{
    // Enter still held from choosing "Keys", and every answer held on: none
    // of them may answer a later prompt. Each later key has a lower index.
    key[KEY_ENTER] = 1;
    pressed_keys = {{KEY_Z}};
    for (int k = KEY_Y; k > KEY_Y - 13; k--)
        pressed_keys.push_back({k});
    keys_dialog();
    EXPECT_EQ(profiles[0].keys[KEY_SLOT_LEFT], KEY_Z);
    EXPECT_EQ(profiles[0].keys[KEY_SLOT_RIGHT], KEY_Y);
    EXPECT_EQ(profiles[1].keys[KEY_SLOT_SPECIAL], KEY_Y - 12);
}

TEST_F(OptionDialogs, PromptsNameTheirActionCentred)
{
    static int prompt;
    prompt = 0;
    key_wait_poll = [] {
        char text[40];
        std::snprintf(text, sizeof text, "Press a key for %s", key_prompt_labels[prompt]);
        EXPECT_TRUE(shows_texts(screen, {{text, SCREEN_WIDTH / 2, SCREEN_HEIGHT / 2,
                                          makecol(254, 254, 254), true}}))
            << "prompt " << prompt + 1;
        prompt++;
        key[KEY_ESC] = 1;
    };
    keys_dialog();
    EXPECT_EQ(prompt, 14);
    EXPECT_STREQ(key_prompt_labels[0], "PL1 left");
    EXPECT_STREQ(key_prompt_labels[13], "PL2 special");
}

// The presses typed into a name were read from the key buffer; the menu the
// dialog returns to must not see them again as quick taps (an Enter among
// them would open the dialog once more).
TEST_F(OptionDialogs, TypedPressesAreNotReplayedToTheMenu)
{
    clear_keys();
    input_pass();
    for (int k : {KEY_A, KEY_ENTER}) {
        key_event(k);
        key_event(k | 0x80);
    }
    entry({typed('a'), ENTER});
    input_pass();
    EXPECT_FALSE(key[KEY_A]);
    EXPECT_FALSE(key[KEY_ENTER]);
}
