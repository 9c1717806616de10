#include "harness.h"
#include "headless_game.h"

#include <cstring>
#include <ostream>
#include <sstream>

namespace {

class AllegroEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        const char *failed = start_headless_game(BLAST_BUILD_DIR);
        ASSERT_EQ(failed, nullptr) << failed << " from " << BLAST_BUILD_DIR;
    }
};

const auto *const environment = ::testing::AddGlobalTestEnvironment(new AllegroEnvironment);

}  // namespace

namespace {
int buttons_sent = 0;   // what the mouse callback last heard
}

void release_input()
{
    reset_input_model();
    for (int i = 0; i < KEY_MAX; i++)
        key[i] = 0;
    buttons_sent = 0;
    set_mouse(0, 0, 0);
}

// Allegro's driver writes the globals and then tells the callback what
// changed; the game reads the mouse only through what the callback heard.
void set_mouse(int x, int y, int buttons)
{
    static constexpr int BITS[3] = {1, 2, 4};
    static constexpr int DOWN[3] = {MOUSE_FLAG_LEFT_DOWN, MOUSE_FLAG_RIGHT_DOWN,
                                    MOUSE_FLAG_MIDDLE_DOWN};
    static constexpr int UP[3] = {MOUSE_FLAG_LEFT_UP, MOUSE_FLAG_RIGHT_UP, MOUSE_FLAG_MIDDLE_UP};
    mouse_x = x;
    mouse_y = y;
    mouse_b = buttons;
    int flags = MOUSE_FLAG_MOVE;
    for (int b = 0; b < 3; b++)
        if ((buttons ^ buttons_sent) & BITS[b])
            flags |= buttons & BITS[b] ? DOWN[b] : UP[b];
    buttons_sent = buttons;
    mouse_event(flags);
}

::testing::AssertionResult bindings_are(int p, const std::array<int, KEY_SLOTS> &want)
{
    std::ostringstream differ;
    for (int slot = 0; slot < KEY_SLOTS; slot++)
        if (profiles[p].keys[slot] != want[slot])
            differ << " player " << p + 1 << " slot " << slot << ": " << profiles[p].keys[slot]
                   << ", not " << want[slot] << ";";
    if (differ.str().empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << differ.str();
}

void GameTest::SetUp()
{
    release_input();
    clear_board(0);
    // Both sides people at this keyboard, whatever a test before chose.
    profiles[0].computer = profiles[1].computer = 0;
    choose_match_sources();
    start_match();
    leave_mode = 0;
    quit_requested = 0;
    forget_quit_request();
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
