#include "harness.h"

#include <cstring>
#include <ostream>
#include <sstream>

namespace {

class AllegroEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        set_uformat(U_ASCII);
        ASSERT_EQ(install_allegro(SYSTEM_NONE, &errno, atexit), 0);
        set_color_depth(16);
        level_data = load_datafile(BLAST_BUILD_DIR "/level.dat");
        ASSERT_NE(level_data, nullptr) << "level.dat not built";
        game_data = load_datafile(BLAST_BUILD_DIR "/data.dat");
        ASSERT_NE(game_data, nullptr) << "data.dat not built";
        back_buffer = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
        screen = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
        for (auto &p : players)
            p.sprite = create_bitmap(12, 12);
        build_energy_colors();
    }
};

const auto *const environment = ::testing::AddGlobalTestEnvironment(new AllegroEnvironment);

}  // namespace

void release_input()
{
    reset_input_model();
    for (int i = 0; i < KEY_MAX; i++)
        key[i] = 0;
    set_mouse(0, 0, 0);
}

void set_mouse(int x, int y, int buttons)
{
    mouse_x = x;
    mouse_y = y;
    mouse_b = buttons;
}

::testing::AssertionResult bindings_are(int p, const std::array<int, KEY_SLOTS> &want)
{
    std::ostringstream differ;
    for (int slot = 0; slot < KEY_SLOTS; slot++)
        if (players[p].keys[slot] != want[slot])
            differ << " player " << p + 1 << " slot " << slot << ": " << players[p].keys[slot]
                   << ", not " << want[slot] << ";";
    if (differ.str().empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << differ.str();
}

void GameTest::SetUp()
{
    release_input();
    clear_board(0);
    start_match();
    leave_mode = 0;
    quit_requested = 0;
    menu_cursor = options_cursor = 1;
    menu_choice = options_choice = 0;
    file_write_limit = -1;
    clear_message();
    clear_to_color(back_buffer, 0);
    clear_to_color(screen, 0);
}

rgb pixel_rgb(BITMAP *bmp, int x, int y)
{
    int c = getpixel(bmp, x, y);
    int depth = bitmap_color_depth(bmp);
    return {getr_depth(depth, c), getg_depth(depth, c), getb_depth(depth, c)};
}

std::ostream &operator<<(std::ostream &os, const rgb &c)
{
    return os << "rgb(" << c.r << "," << c.g << "," << c.b << ")";
}
