// Start-up, the shared drawing resources and the orderly shutdown.
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "app.h"
#include "command_line.h"
#include "editor.h"
#include "match_loop.h"
#include "match_render.h"
#include "replay.h"

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

int run_game(int argc, char **argv)
{
    const command_line cmd = parse_command_line(argc, argv);
    switch (cmd.what) {
    case command::help:
        print_help(stdout);
        return 0;
    case command::version:
        print_version(stdout);
        return 0;
    case command::bad:
        std::fprintf(stderr, "blastarena: %s\n\n", cmd.problem);
        print_help(stderr);
        return 2;
    case command::verify_replay:
        return verify_replay_file(cmd.file);
    case command::play:
    case command::replay:
    case command::host:
    case command::join:
        break;
    }
    // Read before anything opens, so a bad file costs no window.
    static std::vector<uint8_t> replay_bytes;
    static replay_view replay;
    if (cmd.what == command::replay && !load_replay_file(cmd.file, replay_bytes, replay))
        return 1;

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
    remove_stale_temporaries(REPLAY_DIR, nullptr);
    remove_stale_temporaries(".", "config.ini");

    use_config_file("config.ini");
    start_options opts = read_config();

    if (!open_screen(opts.bpp, driver_id(opts.driver), opts.scale)) {
        stop_platform();
        std::printf("Error loading gfxmode");
        std::fflush(stdout);
        std::exit(1);
    }
    watch_focus();
    // After the window exists, which some joystick drivers need.
    start_pads();
    quit_requested = 0;

    if (const char *failed = load_datafiles(argv[0]))
        fail("Error loading %s!\n", failed);

    create_back_buffer();
    create_player_sprites();
    build_energy_colors();
    // Only once the game is sure to start, so a failed start-up prints its
    // own message alone.
    char path[PATH_MAX];
    datafile_path(path, sizeof path, argv[0], "sound.dat");
    start_sound(path);

    if (cmd.what == command::replay) {
        show_replay(replay);
    } else {
        if (cmd.what == command::host)
            host_online(cmd.port);
        else if (cmd.what == command::join)
            join_online(cmd.host, cmd.port);
        menu_loop();
    }

    stop_sound();

    destroy_player_sprites();
    destroy_back_buffer();
    unload_datafiles();
    stop_platform();
    return 0;
}
