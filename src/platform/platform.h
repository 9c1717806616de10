// The platform: the one place that talks to Allegro's screen, timers and
// datafiles (this header) and to its keyboard and mouse (input.h). Every
// room above it composes on the back buffer and calls present(); nothing
// above it blits to the screen, shows the mouse or installs a timer.
//
// Seams for work that builds on this layer:
// - present() is the only function that shows a frame. Anything that changes
//   how the 640x480 picture reaches the screen (scaling, a border) goes in it.
// - pointer_x(), pointer_y() and pointer_buttons() (input.h) are the only
//   reads of the mouse; present() draws the pointer where they say it is.
// - Gamepads (pads.h) never write key[]: a loop asks for the keys and the
//   pads side by side, and clear_keys() releases both.
// - key[] is written only by the input model (input.cpp); any other source
//   of presses feeds it through input_event().
#pragma once

#include <allegro.h>

#include "catalogue.h"
#include "program_state.h"
#include "input.h"
#include "messages.h"
#include "pads.h"
#include "sound.h"

// ---- start and stop ------------------------------------------------------
// Allegro with its keyboard, mouse and timer services and the input model's
// callbacks. False when Allegro cannot start at all (no display, no console).
bool start_platform();
// SIGTERM, SIGINT and SIGHUP ask the game to quit: quit_asked() turns true
// and every loop leaves at its next pass (a dialog as if answered No, a
// prompt without its answer). note_inherited_signals() reads, before
// Allegro installs its own handlers, which of them the game was started
// with ignored; those stay ignored. install_quit_signals() puts the game's
// handler in place of Allegro's; start_platform and stop_platform call it.
void note_inherited_signals();
void install_quit_signals();
bool quit_asked();
void ask_to_quit();             // what the signals do; tests call it
void forget_quit_request();     // tests only
// Opens the screen for the 640x480 picture enlarged scale times (config.ini's
// `scale`): 1 is the design's own 640x480 mode; 2 to SCALE_MAX a window that
// many times larger; SCALE_LARGEST the largest whole factor the display
// holds. A full screen (GFX_AUTODETECT_FULLSCREEN) at any other scale than 1
// takes the display at its own size with the picture centred on black, or
// falls back to a window. A factor that does not fit is lowered; both are
// told to the player. False when no mode at all can be set.
constexpr int SCALE_LARGEST = 0;
constexpr int SCALE_MAX = 4;
// Room the window manager takes around a window (title bar, task bar).
constexpr int WINDOW_FRAME_W = 0;
constexpr int WINDOW_FRAME_H = 64;
bool open_screen(int bpp, int driver_id, int scale);
// Where present() puts the picture: the whole factor and the top-left corner
// on the screen.
extern int picture_scale, picture_left, picture_top;
// The largest whole factor at which 640x480 fits in room_w x room_h (at
// least 1), and the factor a `scale` value asks for in that room.
int fitting_scale(int room_w, int room_h);
int chosen_scale(int wanted, int room_w, int room_h);
// Copies src into the top-left of dst with each pixel made a factor x factor
// block (sharp, no blending).
void scale_copy(BITMAP *src, BITMAP *dst, int factor);
void stop_platform();   // allegro_exit(); safe whatever has been started
// Whether the game's window lost the keyboard focus since the last ask
// (another window took it, or a client grabbed the keyboard). Watched once
// a screen is open; watch_focus() (focus.cpp) also tells the input model,
// which lets go of every key then and reads them afresh when it returns.
bool focus_was_lost();
void watch_focus();
// Removes the keyboard so that no key event can reach a driver that is gone
// (focus.cpp); allegro_exit then finds it removed.
void remove_keyboard_safely();
void note_focus_lost();   // what the window system's switch-out calls

// ---- datafiles and the back buffer ---------------------------------------
extern BITMAP *back_buffer;     // every screen is composed here, then presented
extern DATAFILE *level_data;    // level.dat
extern DATAFILE *game_data;     // data.dat

// Loads level.dat and data.dat from the datafiles' directory. On failure
// nothing stays loaded and the result is the path that failed (valid until
// the next call); nullptr on success.
const char *load_datafiles(const char *argv0);
// Where the datafile `name` is: beside the executable (argv0), unless the
// environment names the datafiles' directory, as the installed game's
// launcher does (the game's program and its data are installed apart).
constexpr const char *DATA_DIR_VARIABLE = "BLASTARENA_DATA_DIR";
void datafile_path(char *out, size_t size, const char *argv0, const char *name);
// What a datafile must hold: exactly `objects` objects, each of `kind`
// except the one at other_at (-1 for none), which is of other_kind.
struct datafile_layout {
    int objects;
    int kind;
    int other_at;
    int other_kind;
};
constexpr datafile_layout LEVEL_DAT_LAYOUT = {LEVEL_DAT_OBJECTS, DAT_BITMAP, OBJ_MENU_FONT, DAT_FONT};
constexpr datafile_layout GAME_DAT_LAYOUT = {GAME_DAT_OBJECTS, DAT_BITMAP, -1, 0};
constexpr datafile_layout SOUND_DAT_LAYOUT = {SOUND_COUNT, DAT_SAMPLE, -1, 0};
// Is the file at path, byte for byte, the one the build recorded in
// datafiles.sum beside it? Does a loaded datafile hold what the layout says?
bool datafile_as_built(const char *path);
bool datafile_holds(const DATAFILE *d, const datafile_layout &layout);
// load_datafile with both checks: nullptr for a missing, damaged or foreign
// file, which Allegro's loader is then never given or which is unloaded.
DATAFILE *load_checked_datafile(const char *path, const datafile_layout &layout);
void unload_datafiles();
void create_back_buffer();      // 640x480, cleared to black
void destroy_back_buffer();
// The buffer present() enlarges into, made with the back buffer when the
// picture is scaled, and the copy itself.
void create_scaled_buffer();
void destroy_scaled_buffer();
void show_back_buffer();

// Datafile objects by number, typed.
inline BITMAP *level_bitmap(int n) { return static_cast<BITMAP *>(level_data[n].dat); }
inline BITMAP *game_bitmap(int n) { return static_cast<BITMAP *>(game_data[n].dat); }
inline FONT *menu_font() { return static_cast<FONT *>(level_data[OBJ_MENU_FONT].dat); }

// ---- showing a frame -----------------------------------------------------
constexpr bool WITH_POINTER = true;
constexpr bool WITHOUT_POINTER = false;

// Copies the back buffer to the screen. With the pointer, the mouse sprite is
// drawn into the back buffer for the copy only and taken out again, so the
// next frame's drawing never finds it there.
void present(bool with_pointer);
// The pointer picture and its focus point, for the modes that show the mouse.
void set_pointer(BITMAP *sprite, int focus_x, int focus_y);
// The pointer last set, as present() draws it (also without a mouse driver).
struct pointer_look {
    BITMAP *sprite;
    int focus_x, focus_y;
};
pointer_look current_pointer();
void wait_for_retrace();        // the menus' pace: one turn per retrace

// ---- timers and pauses ---------------------------------------------------
// A callback run every ms milliseconds in the timer service's own context.
void start_timer(void (*callback)(), int ms);
void stop_timer(void (*callback)());

// The pauses the loops take. After a dialog or the browser closes, so the key
// or button that closed it is not taken again at once by the caller.
constexpr int PAUSE_AFTER_DIALOG_MS = 100;
// Before the browser opens over the menu, and between key prompts.
constexpr int PAUSE_BEFORE_BROWSER_MS = 50;
constexpr int PAUSE_BEFORE_KEY_PROMPT_MS = 100;
// A held arrow in the browser or a held +/- in the editor steps at this pace.
constexpr int PAUSE_HELD_ARROW_MS = 50;
constexpr int PAUSE_HELD_TOOL_KEY_MS = 100;
// The keys of a chord reach the program a moment apart; the key dialog looks
// again after this long, so the highest key of the chord wins.
constexpr int PAUSE_CHORD_SETTLE_MS = 30;
// The browser's view scrolling under a held button.
constexpr int PAUSE_MOUSE_SCROLL_MS = 10;

void pause_ms(int ms);

