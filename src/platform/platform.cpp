// Allegro's start and stop, the screen, the datafiles, the back buffer and
// the timers.
#include "platform.h"

BITMAP *back_buffer = nullptr;
DATAFILE *level_data = nullptr;
DATAFILE *game_data = nullptr;
int leave_mode = 0;

bool start_platform()
{
    if (allegro_init() != 0)
        return false;
    install_keyboard();
    keyboard_lowlevel_callback = key_event;
    install_mouse();
    mouse_callback = mouse_event;
    install_timer();
    clear_keys();
    return true;
}

bool open_screen(int bpp, int driver_id)
{
    set_color_depth(bpp);
    // A driver value of -1 is Allegro's text mode, which "succeeds" without
    // a screen to draw on; it fails here like a mode that cannot be set.
    if (set_gfx_mode(driver_id, SCREEN_WIDTH, SCREEN_HEIGHT, 0, 0) != 0 || !screen)
        return false;
    clear_keys();
    return true;
}

void stop_platform()
{
    stop_pads();
    allegro_exit();
}

const char *load_datafiles(const char *argv0)
{
    static char path[256];
    replace_filename(path, argv0, "level.dat", sizeof path);
    level_data = load_datafile(path);
    if (!level_data)
        return path;
    replace_filename(path, argv0, "data.dat", sizeof path);
    game_data = load_datafile(path);
    if (!game_data) {
        unload_datafile(level_data);
        level_data = nullptr;
        return path;
    }
    return nullptr;
}

void unload_datafiles()
{
    if (game_data)
        unload_datafile(game_data);
    if (level_data)
        unload_datafile(level_data);
    game_data = level_data = nullptr;
}

void create_back_buffer()
{
    back_buffer = create_bitmap(SCREEN_W, SCREEN_H);
    clear_to_color(back_buffer, 0);
}

void destroy_back_buffer()
{
    destroy_bitmap(back_buffer);
    back_buffer = nullptr;
}

void present(bool with_pointer)
{
    if (with_pointer)
        show_mouse(back_buffer);
    blit(back_buffer, screen, 0, 0, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT);
    if (with_pointer)
        show_mouse(nullptr);
}

void set_pointer(BITMAP *sprite, int focus_x, int focus_y)
{
    set_mouse_sprite(sprite);
    set_mouse_sprite_focus(focus_x, focus_y);
}

void wait_for_retrace()
{
    vsync();
}

void start_timer(void (*callback)(), int ms)
{
    install_int(callback, ms);
}

void stop_timer(void (*callback)())
{
    remove_int(callback);
}

void pause_ms(int ms)
{
    rest(ms);
}
