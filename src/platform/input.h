// The keyboard and the mouse as the game's loops see them. Allegro's key[]
// and mouse globals stay the game's view of the input (tests drive the game
// by setting them); this module decides what they read on each pass.
#pragma once

#include <allegro.h>

// A binding can hold any integer config.ini supplied; anything outside key[]
// reads as never held and is never written.
bool key_down(int index);
void release_key(int index);

// clear_keybuf() as the game means it: empties the key buffer AND makes every
// key read as released until it is let go and pressed again. Allegro 4.4's
// own clear_keybuf leaves key[] alone, which would let one press act on
// every pass of a menu or dialog. Every pad control held is released too.
void clear_keys();

// Called at the top of every pass of every loop: key[] and mouse_b take what
// this pass sees (the rules are at the top of input.cpp) and keep it until
// the next call. It is the one place key state comes from. The pads are
// polled here too.
void input_pass();
// Text entry reads every press from the key buffer; the presses it took are
// dropped here so no later pass sees them again.
void forget_typed_keys();

// Where presses come in. key_event and mouse_event are installed as
// Allegro's low-level keyboard and mouse callbacks; input_event takes a key
// index (or KEY_MAX + 0..2 for the left, right and middle button) and
// is for any other source of presses. All three may run on another thread.
void key_event(int scancode);
void mouse_event(int flags);
void input_event(int code, bool press);
// Tests only: every key and button up, nothing queued, nothing held off.
void reset_input_model();

// The pointer in game coordinates and the buttons held (mouse_b bits: 1 left,
// 2 right, 4 middle). The only reads of the mouse in the game.
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
