// Start-up, the shared drawing resources and the orderly shutdown.
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "app.h"
#include "level.h"
#include "match.h"

int quit_requested = 0;

namespace {

[[noreturn]] void fail(const char *message, const char *path)
{
    stop_platform();
    std::printf(message, path);
    std::fflush(stdout);
    std::exit(1);
}

}  // namespace

int run_game(int /*argc*/, char **argv)
{
    // Level files and the editor's Finnish question are 8-bit ISO 8859-1
    // text; Allegro 4.4 would read them as UTF-8 and count letters, not bytes.
    set_uformat(U_ASCII);
    // Without any system driver Allegro cannot start at all, and
    // installing the keyboard on top of that would crash. On a desktop that
    // means no X server was reachable (Allegro leaves allegro_error empty
    // then), which a player can mend, so say how.
    if (!start_platform()) {
        std::fprintf(stderr, "no display: set DISPLAY or run under X\n");
        std::exit(1);
    }

    // A save killed between its write and its rename leaves a temporary
    // that nothing else would ever remove.
    remove_stale_temporaries(LEVEL_DIR, nullptr);
    remove_stale_temporaries(".", "config.ini");

    use_config_file("config.ini");
    start_options opts = read_config();

    if (!open_screen(opts.bpp, driver_id(opts.driver), opts.scale)) {
        stop_platform();
        std::printf("Error loading gfxmode");
        std::fflush(stdout);
        std::exit(1);
    }
    // After the window exists, which some joystick drivers need.
    start_pads();
    quit_requested = 0;

    if (const char *failed = load_datafiles(argv[0]))
        fail("Error loading %s!\n", failed);

    create_back_buffer();
    for (int p = 1; p >= 0; p--) {
        players[p].sprite = create_bitmap(12, 12);
        clear_bitmap(players[p].sprite);
    }
    build_energy_colors();
    // Only once the game is sure to start, so a failed start-up prints its
    // own message alone.
    char path[PATH_MAX];
    datafile_path(path, sizeof path, argv[0], "sound.dat");
    start_sound(path);

    menu_loop();

    stop_sound();

    destroy_back_buffer();
    unload_datafiles();
    stop_platform();
    return 0;
}
