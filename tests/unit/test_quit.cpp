// A request to quit (SIGTERM, SIGINT or SIGHUP) ends every loop at its next
// pass: a question as if answered No, the save box and the browser as if
// cancelled, the editor and the menu at once. The end-to-end test sends the
// signals to the game in its modes and prompts.
#include <csignal>
#include <filesystem>

#include "harness.h"
#include "scratch_dir.h"

namespace fs = std::filesystem;

namespace {

class QuitRequest : public GameTest {
protected:
    scratch_dir dir;
    void TearDown() override
    {
        forget_quit_request();
        release_input();
    }
};

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
