// Allegro's start and stop, the screen, the datafiles, the back buffer and
// the timers.
#include "platform.h"

#include <atomic>
#include <climits>

BITMAP *back_buffer = nullptr;
DATAFILE *level_data = nullptr;
DATAFILE *game_data = nullptr;

namespace {
BITMAP *pointer_under = nullptr;   // what the pointer covers on the back buffer
std::atomic<bool> focus_lost{false};
}  // namespace

// In Allegro's own thread: only a flag.
void note_focus_lost()
{
    focus_lost.store(true);
}

bool focus_was_lost()
{
    return focus_lost.exchange(false);
}

bool start_platform()
{
    note_inherited_signals();
    if (allegro_init() != 0)
        return false;
    // After allegro_init, which installs its own.
    install_quit_signals();
    install_keyboard();
    keyboard_lowlevel_callback = key_event;
    install_mouse();
    mouse_callback = mouse_event;
    install_timer();
    clear_keys();
    return true;
}

void stop_platform()
{
    stop_pads();
    remove_keyboard_safely();
    allegro_exit();
    // allegro_exit puts back what its handlers replaced; a signal during
    // the rest of the shutdown must still only ask to quit.
    install_quit_signals();
}

const char *load_datafiles(const char *argv0)
{
    static char path[PATH_MAX];
    datafile_path(path, sizeof path, argv0, "level.dat");
    level_data = load_checked_datafile(path, LEVEL_DAT_LAYOUT);
    if (!level_data)
        return path;
    datafile_path(path, sizeof path, argv0, "data.dat");
    game_data = load_checked_datafile(path, GAME_DAT_LAYOUT);
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
    // The picture's own size, whatever the screen's: present() enlarges it.
    back_buffer = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
    clear_to_color(back_buffer, 0);
    create_scaled_buffer();
}

void destroy_back_buffer()
{
    destroy_scaled_buffer();
    if (pointer_under)
        destroy_bitmap(pointer_under);
    pointer_under = nullptr;
    destroy_bitmap(back_buffer);
    back_buffer = nullptr;
}

void present(bool with_pointer)
{
    // The pointer is drawn in game pixels, like everything else, so it is
    // enlarged with the picture; what it covers is put back after the copy.
    // Without a mouse driver (headless tests) there is no pointer to draw.
    BITMAP *sprite = with_pointer && mouse_driver ? mouse_sprite : nullptr;
    int x = 0, y = 0;
    if (sprite) {
        if (!pointer_under || pointer_under->w < sprite->w || pointer_under->h < sprite->h) {
            if (pointer_under)
                destroy_bitmap(pointer_under);
            pointer_under = create_bitmap(sprite->w, sprite->h);
        }
        x = pointer_x() - mouse_x_focus;
        y = pointer_y() - mouse_y_focus;
        blit(back_buffer, pointer_under, x, y, 0, 0, sprite->w, sprite->h);
        draw_sprite(back_buffer, sprite, x, y);
    }
    show_back_buffer();
    if (sprite)
        blit(pointer_under, back_buffer, 0, 0, x, y, sprite->w, sprite->h);
}

namespace {
pointer_look pointer_set{nullptr, 0, 0};
}  // namespace

pointer_look current_pointer() { return pointer_set; }

void set_pointer(BITMAP *sprite, int focus_x, int focus_y)
{
    pointer_set = {sprite, focus_x, focus_y};
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
