// Headless Allegro for benchmarks: the same set-up as the unit tests, made
// once per process. Call bench_setup() at the top of every benchmark; it
// leaves the game's resources at 16 bpp, the default depth.
// bench_use_depth(32) switches every resource the game draws with (both
// datafiles, the back buffer, the stand-in screen, the sprites and the
// energy colours) to a set loaded at that depth, so that both depths can be
// measured in one run.
#pragma once

#include <allegro.h>

#include <cstring>

#include "app.h"
#include "editor.h"
#include "match_loop.h"
#include "match_render.h"

struct bench_depth_set {
    int bpp = 0;
    DATAFILE *level = nullptr, *game = nullptr;
    BITMAP *back = nullptr, *scr = nullptr, *sprite[2] = {nullptr, nullptr};
    int colors[sizeof energy_colors / sizeof energy_colors[0]];
};

inline void bench_use_depth(int bpp)
{
    static bool allegro_ready = false;
    if (!allegro_ready) {
        allegro_ready = true;
        set_uformat(U_ASCII);
        install_allegro(SYSTEM_NONE, &errno, atexit);
    }
    static bench_depth_set sets[2];
    bench_depth_set &s = sets[bpp == 32 ? 1 : 0];
    set_color_depth(bpp);
    if (!s.bpp) {
        s.bpp = bpp;
        s.level = load_datafile(BLAST_BUILD_DIR "/level.dat");
        s.game = load_datafile(BLAST_BUILD_DIR "/data.dat");
        s.back = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
        s.scr = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
        clear_bitmap(s.back);
        clear_bitmap(s.scr);
        for (BITMAP *&b : s.sprite)
            b = create_bitmap(12, 12);
        build_energy_colors();
        std::memcpy(s.colors, energy_colors, sizeof s.colors);
    }
    level_data = s.level;
    game_data = s.game;
    back_buffer = s.back;
    screen = s.scr;
    player_sprites[0] = s.sprite[0];
    player_sprites[1] = s.sprite[1];
    std::memcpy(energy_colors, s.colors, sizeof s.colors);
}

inline void bench_setup()
{
    bench_use_depth(16);
}
