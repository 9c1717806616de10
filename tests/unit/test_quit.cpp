// A request to quit (SIGTERM, SIGINT or SIGHUP) ends every loop at its next
// pass: a question as if answered No, the save box and the browser as if
// cancelled, the prompts without their answer and without touching
// config.ini, the editor and the menu at once.
#include <algorithm>
#include <csignal>
#include <filesystem>

#include "harness.h"
#include "scratch_dir.h"

namespace fs = std::filesystem;

namespace {

class QuitRequest : public GameTest {
protected:
    scratch_dir dir;
    int (*saved_source)() = read_key_source;
    void (*saved_poll)() = key_wait_poll;
    void TearDown() override
    {
        read_key_source = saved_source;
        key_wait_poll = saved_poll;
        forget_quit_request();
        set_config_data("", 0);
        release_input();
    }
};

int typed_then_quit()
{
    static int calls = 0;
    if (calls++ % 2 == 1)
        ask_to_quit();
    return KEY_A << 8 | 'a';
}

}  // namespace

TEST_F(QuitRequest, SignalsAskToQuitUnlessTheGameWasStartedIgnoringThem)
{
    const int sigs[] = {SIGTERM, SIGINT, SIGHUP};
    struct sigaction saved[3];
    for (int i = 0; i < 3; i++) {
        sigaction(sigs[i], nullptr, &saved[i]);
        signal(sigs[i], SIG_DFL);
    }
    signal(SIGHUP, SIG_IGN);   // as nohup starts a program
    note_inherited_signals();
    install_quit_signals();
    for (int s : {SIGTERM, SIGINT}) {
        forget_quit_request();
        raise(s);              // the test goes on: the signal only asked
        EXPECT_TRUE(quit_asked()) << s;
    }
    forget_quit_request();
    raise(SIGHUP);
    EXPECT_FALSE(quit_asked());
    for (int i = 0; i < 3; i++)
        sigaction(sigs[i], &saved[i], nullptr);
    note_inherited_signals();
}

TEST_F(QuitRequest, DialogsAndTheBrowserLeaveAsIfDeclined)
{
    fs::create_directory("levels");
    clear_board(7);
    write_level("levels/ONE");
    clear_board(3);
    ask_to_quit();

    key[KEY_Y] = 1;            // a Yes in the same pass starts nothing
    confirm_state c{false, 1};
    confirm_pass(c);
    EXPECT_TRUE(c.done);
    EXPECT_EQ(c.answer, 0);
    key[KEY_Y] = 0;

    EXPECT_EQ(save_level_dialog(nullptr), SAVE_DECLINED);
    EXPECT_EQ(names_in("levels"), std::vector<std::string>{"ONE"});

    browser_state b = open_browser();
    key[KEY_ENTER] = 1;        // Enter would load ONE
    browser_pass(b, nullptr);
    EXPECT_EQ(b.result, BROWSER_CANCEL);
    key[KEY_ENTER] = 0;
    choose_level(nullptr);
    EXPECT_EQ(board[10][10], 3);

    run_editor();              // returns at once
    menu_loop();
    EXPECT_EQ(leave_mode, 0);
}

TEST_F(QuitRequest, PromptsLeaveWithoutAnswerAndConfigIniKeepsItsLines)
{
    write_bytes("config.ini", {'p', 'l', 'r', '1', 'n', 'a', 'm', 'e', '=', 'K', '\n'});
    use_config_file("config.ini");
    read_config();
    const auto before = read_bytes("config.ini");

    read_key_source = typed_then_quit;
    names_dialog();            // one letter typed, then the request
    EXPECT_STREQ(players[0].name, "K");

    forget_quit_request();
    std::array<int, KEY_SLOTS> keys_before;
    std::copy(players[0].keys, players[0].keys + KEY_SLOTS, keys_before.begin());
    key_wait_poll = [] { ask_to_quit(); };
    keys_dialog();
    EXPECT_TRUE(bindings_are(0, keys_before));

    EXPECT_EQ(read_bytes("config.ini"), before);
    EXPECT_EQ(names_in("."), std::vector<std::string>{"config.ini"});

    // The game's own key source does not wait on for a key that never comes.
    char dest[12] = "unchanged";
    read_key_source = saved_source;
    EXPECT_FALSE(input_text(screen, menu_font(), 0, 0, TEXT_WHITE, dest, 9));
    EXPECT_STREQ(dest, "unchanged");
}
