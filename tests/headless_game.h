// The game's resources as its start-up leaves them, without a screen: for
// the unit tests, the soak, the fuzzers and the programs that count a
// match's heap calls or time its loop, so that none carries its own copy.
#pragma once

#include <allegro.h>
#include <cerrno>
#include <cstdlib>
#include <string>

#include "app.h"
#include "editor.h"
#include "match_loop.h"
#include "match_render.h"

// 16 bpp, both datafiles from data_dir, memory bitmaps standing in for the
// back buffer and the screen, the players' sprites and the energy colours.
// Returns what went wrong, or nullptr.
inline const char *load_game_resources(const std::string &data_dir)
{
    set_color_depth(16);
    if (!(level_data = load_datafile((data_dir + "/level.dat").c_str())))
        return "level.dat would not load";
    if (!(game_data = load_datafile((data_dir + "/data.dat").c_str())))
        return "data.dat would not load";
    back_buffer = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
    screen = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
    create_player_sprites();
    build_energy_colors();
    return nullptr;
}

// The same after Allegro starts without a system driver. Never add
// install_timer here: under SYSTEM_NONE it crashes, and rest() returning at
// once is what lets the game's waiting loops run flat out.
inline const char *start_headless_game(const std::string &data_dir)
{
    set_uformat(U_ASCII);
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0)
        return "Allegro would not start";
    return load_game_resources(data_dir);
}
