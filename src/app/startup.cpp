// Start-up, the shared drawing resources and the orderly shutdown.
#include <cstdio>
#include <cstdlib>

#include "app.h"
#include "match.h"

BITMAP *back_buffer = nullptr;
DATAFILE *level_data = nullptr;
DATAFILE *game_data = nullptr;
int quit_requested = 0;
int leave_mode = 0;
int energy_colors[102];

void build_energy_colors()
{
    for (int i = 0; i <= 50; i++)
        energy_colors[i] = makecol(255 - 5 * i, 0, 0);
    for (int i = 51; i <= 101; i++)
        energy_colors[i] = makecol(0, 255 - 5 * (i - 51), 0);
}

namespace {

[[noreturn]] void fail(const char *message, const char *path)
{
    allegro_exit();
    std::printf(message, path);
    std::fflush(stdout);
    std::exit(1);
}

}  // namespace

int run_game(int /*argc*/, char **argv)
{
    char path[256];
    replace_filename(path, argv[0], "level.dat", sizeof path);

    // Level files and the editor's Finnish question are 8-bit ISO 8859-1
    // text; Allegro 4.4 would read them as UTF-8 and count letters, not bytes.
    set_uformat(U_ASCII);
    // Without any system driver Allegro cannot start at all, and
    // installing the keyboard on top of that would crash. On a desktop that
    // means no X server was reachable (Allegro leaves allegro_error empty
    // then), which a player can mend, so say how.
    if (allegro_init() != 0) {
        std::fprintf(stderr, "no display: set DISPLAY or run under X\n");
        std::exit(1);
    }
    install_keyboard();
    keyboard_lowlevel_callback = key_event;
    install_mouse();
    mouse_callback = mouse_event;
    install_timer();
    clear_keys();

    use_config_file("config.ini");
    start_options opts = read_config();

    set_color_depth(opts.bpp);
    // A driver value of -1 is Allegro's text mode, which "succeeds" without
    // a screen to draw on; it fails here like a mode that cannot be set.
    if (set_gfx_mode(driver_id(opts.driver), SCREEN_WIDTH, SCREEN_HEIGHT, 0, 0) != 0 || !screen) {
        allegro_exit();
        std::printf("Error loading gfxmode");
        std::fflush(stdout);
        std::exit(1);
    }
    clear_keys();
    quit_requested = 0;

    level_data = load_datafile(path);
    if (!level_data)
        fail("Error loading %s!\n", path);
    replace_filename(path, argv[0], "data.dat", sizeof path);
    game_data = load_datafile(path);
    if (!game_data) {
        unload_datafile(level_data);
        level_data = nullptr;
        fail("Error loading %s!\n", path);
    }

    back_buffer = create_bitmap(SCREEN_W, SCREEN_H);
    clear_to_color(back_buffer, 0);
    for (int p = 1; p >= 0; p--) {
        players[p].sprite = create_bitmap(12, 12);
        clear_bitmap(players[p].sprite);
    }
    build_energy_colors();
    // Only once the game is sure to start, so a failed start-up prints its
    // own message alone.
    replace_filename(path, argv[0], "sound.dat", sizeof path);
    start_sound(path);

    menu_loop();

    stop_sound();

    destroy_bitmap(back_buffer);
    back_buffer = nullptr;
    unload_datafile(game_data);
    unload_datafile(level_data);
    game_data = level_data = nullptr;
    allegro_exit();
    return 0;
}
