// Level-file bytes: whatever a player drops into levels/ is read onto the
// board, played for a few ticks and drawn. Bytes past the 7208 of a level
// (which read_level ignores) choose the keys held in each tick.
#include <algorithm>
#include <cstring>
#include <fcntl.h>

#include "fuzz_env.h"

namespace {

std::string level_file;
constexpr int MAX_TICKS = 16;

// One byte per player per tick: left, right, up, down, fire, change.
void hold_keys(uint8_t p1, uint8_t p2)
{
    const uint8_t held[2] = {p1, p2};
    for (int i = 0; i < 2; i++) {
        const int32_t *k = profiles[i].keys;
        const int slots[6] = {KEY_SLOT_LEFT, KEY_SLOT_RIGHT, KEY_SLOT_UP,
                              KEY_SLOT_DOWN, KEY_SLOT_FIRE, KEY_SLOT_CHANGE};
        for (int b = 0; b < 6; b++)
            key[k[slots[b]]] = (held[i] >> b) & 1;
    }
}

void write_file(const uint8_t *data, size_t size)
{
    int fd = open(level_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    FUZZ_CHECK(fd >= 0);
    FUZZ_CHECK(write(fd, data, size) == ssize_t(size));
    close(fd);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz_start_allegro();
    // The closing copy to the screen is the same 600 KB whatever the level
    // holds; a tiny screen clips it away and doubles the inputs per second.
    destroy_bitmap(screen);
    screen = create_bitmap(16, 16);
    level_file = fuzz_scratch_dir("level") + "/level";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    write_file(data, size);
    // Each input stands alone: a short file must not inherit the last one.
    std::memset(level_buffer, 0, sizeof level_buffer);
    clear_board(0);
    read_level(level_file.c_str());

    fresh_match();
    live_match.anim_clock = 0.0f;
    if (size > LEVEL_FILE_SIZE) {
        const uint8_t *keys = data + LEVEL_FILE_SIZE;
        size_t ticks = std::min<size_t>((size - LEVEL_FILE_SIZE) / 2, MAX_TICKS);
        for (size_t t = 0; t < ticks; t++) {
            hold_keys(keys[2 * t], keys[2 * t + 1]);
            run_one_tick();
            check_match_invariants();
        }
    } else {
        // Both players walk towards each other dropping bombs.
        hold_keys(0x1a, 0x19);
        for (int t = 0; t < 4; t++) {
            run_one_tick();
            check_match_invariants();
        }
    }
    render_match_frame(live_match);
    hold_keys(0, 0);
    return 0;
}
