// What every fuzz target needs before its first input: Allegro without a
// system driver, the built datafiles, and memory bitmaps standing in for the
// screen, set up the way the game's start-up leaves them.
#pragma once

#include <allegro.h>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "app.h"
#include "level.h"
#include "match.h"

// A broken invariant is a finding: stop here so libFuzzer keeps the input.
#define FUZZ_CHECK(cond)                                                          \
    do {                                                                          \
        if (!(cond)) {                                                            \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
            std::abort();                                                         \
        }                                                                         \
    } while (0)

inline void fuzz_start_allegro()
{
    // Never install_timer here: under SYSTEM_NONE it crashes, and rest()
    // returning at once is what lets the browser's loops run flat out.
    set_uformat(U_ASCII);
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0)
        std::abort();
    set_color_depth(16);
    level_data = load_datafile(BLAST_BUILD_DIR "/level.dat");
    game_data = load_datafile(BLAST_BUILD_DIR "/data.dat");
    if (!level_data || !game_data) {
        std::fprintf(stderr, "datafiles not found in %s\n", BLAST_BUILD_DIR);
        std::abort();
    }
    back_buffer = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
    screen = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
    for (player &p : players)
        p.sprite = create_bitmap(CELL_SIZE, CELL_SIZE);
    build_energy_colors();
    std::snprintf(players[0].name, NAME_SIZE, "Player 1");
    std::snprintf(players[1].name, NAME_SIZE, "Player 2");
    use_default_bindings();
}

// A private working directory on a memory file system where there is one:
// the targets write files on every input. Removed again when the run ends
// normally; a crash leaves it for a look.
inline std::string fuzz_scratch_dir(const char *what)
{
    static std::string made;
    std::string base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    made = base + "/blast-fuzz-" + what + ".XXXXXX";
    if (!mkdtemp(&made[0]))
        std::abort();
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(made, ignored);
    });
    return made;
}

// The same, made the working directory: for targets whose files are found
// relative to it, as the game finds levels/ and config.ini.
inline void fuzz_enter_scratch_dir(const char *what)
{
    if (chdir(fuzz_scratch_dir(what).c_str()) != 0)
        std::abort();
}

// The input read a byte at a time; once it runs out every byte reads 0, so a
// target never needs to check the length before it asks.
struct fuzz_input {
    const uint8_t *p;
    size_t n;
    bool empty() const { return n == 0; }
    uint8_t byte()
    {
        if (n == 0)
            return 0;
        n--;
        return *p++;
    }
};

// A fresh match as the game starts one.
inline void fresh_match()
{
    start_match();
    leave_mode = 0;
}

// What must hold after every tick whatever the board or the keys.
inline void check_match_invariants()
{
    for (const player &p : players) {
        FUZZ_CHECK(p.x >= 2 && p.x <= 626 && p.y >= 2 && p.y <= 398);
        FUZZ_CHECK(p.col >= 0 && p.col < LEVEL_COLUMNS && p.row >= 0 && p.row < LEVEL_ROWS);
        FUZZ_CHECK(p.frame >= 0.0 && p.frame <= 7.0);
        FUZZ_CHECK(p.weapon >= WEAPON_BOMB && p.weapon <= WEAPON_BIG_BOMB);
    }
}
