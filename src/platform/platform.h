// The platform: the one place that talks to Allegro's screen, timers and
// datafiles (this header) and to its keyboard and mouse (input.h). Every
// room above it composes on the back buffer and calls present(); nothing
// above it blits to the screen, shows the mouse or installs a timer.
//
// Seams for work that builds on this layer:
// - present() is the only function that shows a frame. Anything that changes
//   how the 640x480 picture reaches the screen (scaling, a border) goes in it.
//   The option dialogs (names, keys) are the one exception: they still draw
//   straight on `screen`, a prompt at a time.
// - pointer_x(), pointer_y() and pointer_buttons() (input.h) are the only
//   reads of the mouse; present() draws the pointer where they say it is.
// - Gamepads (pads.h) never write key[]: a loop asks for the keys and the
//   pads side by side, and clear_keys() releases both.
// - key[] is written only by the input model (input.cpp); any other source
//   of presses feeds it through input_event().
#pragma once

#include <allegro.h>

#include "catalogue.h"
#include "game_state.h"
#include "input.h"
#include "messages.h"
#include "pads.h"
#include "sound.h"

// ---- start and stop ------------------------------------------------------
// Allegro with its keyboard, mouse and timer services and the input model's
// callbacks. False when Allegro cannot start at all (no display, no console).
bool start_platform();
// Opens the 640x480 mode; false when the mode cannot be set or has no screen.
bool open_screen(int bpp, int driver_id);
void stop_platform();   // allegro_exit(); safe whatever has been started

// ---- datafiles and the back buffer ---------------------------------------
extern BITMAP *back_buffer;     // every screen is composed here, then presented
extern DATAFILE *level_data;    // level.dat
extern DATAFILE *game_data;     // data.dat

// Loads level.dat and data.dat from the executable's directory. On failure
// nothing stays loaded and the result is the path that failed (valid until
// the next call); nullptr on success.
const char *load_datafiles(const char *argv0);
void unload_datafiles();
void create_back_buffer();      // screen-sized, cleared to black
void destroy_back_buffer();

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

