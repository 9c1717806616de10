// Headless Allegro for benchmarks: the same set-up as the unit tests, made
// once per process. Call bench_setup() at the top of every benchmark.
#pragma once

#include <allegro.h>

#include "app.h"
#include "level.h"
#include "match.h"

inline void bench_setup()
{
    static bool ready = false;
    if (ready)
        return;
    ready = true;
    set_uformat(U_ASCII);
    install_allegro(SYSTEM_NONE, &errno, atexit);
    set_color_depth(16);
    level_data = load_datafile(BLAST_BUILD_DIR "/level.dat");
    game_data = load_datafile(BLAST_BUILD_DIR "/data.dat");
    back_buffer = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
    screen = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
    for (auto &p : players)
        p.sprite = create_bitmap(12, 12);
    build_energy_colors();
}
