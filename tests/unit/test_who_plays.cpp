// Who plays each side, over the level browser that New Game opens: F1 and F2
// step through a person and the computer's three levels, once a press; the
// choice is drawn beside the list and written to config.ini at once, and a
// write that fails is said under the list.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "computer.h"
#include "harness.h"
#include "scratch_dir.h"

namespace {

class WhoPlays : public GameTest {
protected:
    scratch_dir dir;
    void SetUp() override
    {
        GameTest::SetUp();
        std::ofstream("config.ini") << "plr2name = Bob\n";
        use_config_file("config.ini");
        read_config();
        blit(game_bitmap(OBJ_MENU_BACKGROUND), back_buffer, 0, 0, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT);
    }
    void TearDown() override
    {
        set_config_data("", 0);
        clear_message();
        file_write_limit = -1;
    }

    static std::string file()
    {
        std::ifstream in("config.ini");
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    // A fingerprint of player p's label.
    static uint64_t label(int p)
    {
        uint64_t sum = 0;
        for (int y = WHO_PLAYS_Y; y < WHO_PLAYS_Y + 2 * WHO_PLAYS_LINE; y++)
            for (int x = WHO_PLAYS_X[p] - WHO_PLAYS_HALF_WIDTH; x <= WHO_PLAYS_X[p] + WHO_PLAYS_HALF_WIDTH; x++)
                sum = sum * 31 + uint64_t(getpixel(back_buffer, x, y));
        return sum;
    }
};

}  // namespace

TEST_F(WhoPlays, F2StepsPlayerTwoOnceAPressAndEachStepIsWrittenAndDrawn)
{
    new_game_backdrop();
    const uint64_t person = label(1), one = label(0);
    key[KEY_F2] = 1;
    new_game_backdrop();
    new_game_backdrop();   // still held: no second step
    EXPECT_EQ(profiles[1].computer, COMPUTER_EASY);
    EXPECT_EQ(file(), "plr2name = Bob\npl2cpu = 1\n");
    EXPECT_NE(label(1), person);
    EXPECT_EQ(label(0), one);
    for (int want : {COMPUTER_NORMAL, COMPUTER_HARD, COMPUTER_NONE}) {
        key[KEY_F2] = 1;
        new_game_backdrop();
        read_config();
        EXPECT_EQ(profiles[1].computer, want);
    }
    EXPECT_EQ(label(1), person) << "back to a person, drawn as before";
    EXPECT_EQ(profiles[0].computer, COMPUTER_NONE);
}

TEST_F(WhoPlays, AChoiceThatCannotBeWrittenHoldsAndIsSaidUnderTheList)
{
    auto strip = [] {
        uint64_t sum = 0;
        for (int x = MENU_STRIP_X1; x <= MENU_STRIP_X2; x++)
            sum = sum * 31 + uint64_t(getpixel(back_buffer, x, BROWSER_MESSAGE_Y + 4));
        return sum;
    };
    new_game_backdrop();
    const uint64_t quiet = strip();
    file_write_limit = 0;
    key[KEY_F1] = 1;
    new_game_backdrop();
    EXPECT_EQ(profiles[0].computer, COMPUTER_EASY);
    EXPECT_EQ(file(), "plr2name = Bob\n");
    ASSERT_NE(current_message(), nullptr);
    EXPECT_NE(strip(), quiet);
}
