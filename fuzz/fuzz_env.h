// What every fuzz target needs before its first input: Allegro without a
// system driver, the built datafiles, and memory bitmaps standing in for the
// screen, set up the way the game's start-up leaves them.
#pragma once

#include <allegro.h>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "app.h"
#include "headless_game.h"
#include "editor.h"
#include "match_loop.h"
#include "match_render.h"

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
    if (const char *failed = start_headless_game(BLAST_BUILD_DIR)) {
        std::fprintf(stderr, "%s from %s\n", failed, BLAST_BUILD_DIR);
        std::abort();
    }
    std::snprintf(profiles[0].name, NAME_SIZE, "Player 1");
    std::snprintf(profiles[1].name, NAME_SIZE, "Player 2");
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
    match_sources[0] = match_sources[1] = KEYBOARD_SOURCE;
}

// What must hold after every tick whatever the board or the keys.
inline void check_match_invariants()
{
    for (const player &p : live_match.players) {
        FUZZ_CHECK(p.x >= 2 && p.x <= 626 && p.y >= 2 && p.y <= 398);
        FUZZ_CHECK(p.col >= 0 && p.col < LEVEL_COLUMNS && p.row >= 0 && p.row < LEVEL_ROWS);
        FUZZ_CHECK(p.frame >= 0.0 && p.frame <= 7.0);
        FUZZ_CHECK(p.weapon >= WEAPON_BOMB && p.weapon <= WEAPON_BIG_BOMB);
    }
}
