// The keyboard and the mouse as the game's loops see them. Allegro's key[]
// stays the game's view of the keys (tests drive the game by setting it);
// the mouse is read through pointer_x/y/buttons. This module decides what
// both read on each pass.
#pragma once

#include <allegro.h>

// A binding can hold any integer config.ini supplied; anything outside key[]
// reads as never held and is never written.
bool key_down(int index);
// The key the program acted on reads released from now until it is let go
// and pressed again; other keys of the same pass are still there to be read.
void release_key(int index);
// The same for mouse buttons (bits as pointer_buttons() has them).
void release_button(int bits);

// clear_keybuf() as the game means it: empties the key buffer AND makes every
// key read as released until it is let go and pressed again. Allegro 4.4's
// own clear_keybuf leaves key[] alone, which would let one press act on
// every pass of a menu or dialog. Every pad control held is released too.
// For a screen or dialog that opens: keys held into it were meant for the
// one before. Within a pass, release only the key acted on (release_key).
void clear_keys();

// Called at the top of every pass of every loop: key[] and the pointer
// reads take what this pass sees (the rules are at the top of input.cpp)
// and keep it until the next call. It is the one place key and mouse state
// come from. The pads are polled here too.
void input_pass();
// Text entry reads every press from the key buffer; the presses it took are
// dropped here so no later pass sees them again.
void forget_typed_keys();

// Where presses come in. key_event and mouse_event are installed as
// Allegro's low-level keyboard and mouse callbacks; input_event takes a key
// index (or INPUT_BUTTON_FIRST + 0..2 for the left, right and middle button)
// and is for any other source of presses. All of these may run on another
// thread, the one that runs Allegro's callbacks.
constexpr int INPUT_BUTTON_FIRST = KEY_MAX;
constexpr int INPUT_CODES = INPUT_BUTTON_FIRST + 3;
// Events waiting for their pass; past this many the next pass takes the
// physical state as it is instead.
constexpr unsigned INPUT_RING_SIZE = 512;
void key_event(int scancode);
void mouse_event(int flags);
void input_event(int code, bool press);
// The window lost the keyboard: everything held is let go, also keys the
// program released, whose release would otherwise never arrive. And it got
// the keyboard back: down[] is every key and button as it physically is.
void input_focus_lost();
void input_focus_returned(const bool (&down)[INPUT_CODES]);
// Tests only: every key and button up, nothing queued, nothing held off.
void reset_input_model();

// The pointer in game coordinates and the buttons held (bits: 1 left,
// 2 right, 4 middle), as this pass sees them. The only reads of the mouse in
// the game; Allegro's mouse_b is never read.
int pointer_x();
int pointer_y();
int pointer_buttons();
// The picture's place on the screen: whole factor and top-left corner. The
// pointer reads map the mouse's screen position back into it.
void map_pointer(int factor, int left, int top);
// A screen position on one axis as a game position: the picture starts at
// `origin` and each game pixel is `factor` screen pixels wide. The mouse's
// range is the picture, so the result is a game pixel of it.
int game_coordinate(int screen_pos, int origin, int factor);
