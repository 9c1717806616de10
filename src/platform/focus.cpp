// The keyboard focus under X: when another window or a keyboard grab (a
// window manager's Alt+Tab) takes the keyboard, the keys let go meanwhile
// are never reported to us. Allegro's X driver tells the display-switch
// callbacks of every FocusOut and FocusIn, on the thread that runs the key
// callbacks, so the input model hears of the focus in order with the keys.
#include <allegro.h>
#include <xalleg.h>

#include "input.h"
#include "platform.h"

namespace {

void focus_lost()
{
    note_focus_lost();
    input_focus_lost();
}

// The keys and buttons as they physically are. Allegro already maps each X
// keycode to its key index for its own key events.
void focus_returned()
{
    bool down[INPUT_CODES] = {};
    if (!_xwin.display) {
        input_focus_returned(down);
        return;
    }
    char keys[32];
    Window root, child;
    int root_x, root_y, x, y;
    unsigned mask = 0;
    XLOCK();
    XQueryKeymap(_xwin.display, keys);
    bool pointer = XQueryPointer(_xwin.display, _xwin.window, &root, &child, &root_x, &root_y,
                                 &x, &y, &mask);
    XUNLOCK();
    for (int code = 0; code < 256; code++) {
        int k = _xwin.keycode_to_scancode[code];
        if (k > 0 && k < KEY_MAX && (keys[code / 8] & (1 << (code % 8))))
            down[k] = true;
    }
    if (pointer) {
        // X numbers the middle button 2 and the right one 3.
        down[INPUT_BUTTON_FIRST + 0] = mask & Button1Mask;
        down[INPUT_BUTTON_FIRST + 1] = mask & Button3Mask;
        down[INPUT_BUTTON_FIRST + 2] = mask & Button2Mask;
    }
    input_focus_returned(down);
}

}  // namespace

void watch_focus()
{
    // The game goes on drawing behind another window. Setting the mode
    // drops every callback, so they come after it; a system without display
    // switching refuses them and the game plays on without.
    set_display_switch_mode(SWITCH_BACKGROUND);
    set_display_switch_callback(SWITCH_OUT, focus_lost);
    set_display_switch_callback(SWITCH_IN, focus_returned);
}

// Allegro's X thread answers every FocusOut (the window closing at exit
// sends one) by releasing each key whose key[] entry is set, through the
// keyboard driver, without asking whether a keyboard is still installed.
// Our own callbacks write key[] back from the input model's view, so a key
// held in the last pass came back after remove_keyboard had cleared it, and
// the release then read a driver that was gone: the game crashed on its way
// out. So the callbacks go first; then, under the X lock (recursive: the
// driver's own exit takes it too), no event is handled while the keyboard
// goes, and it goes with every entry clear. The window closes afterwards,
// with no key left to release.
void remove_keyboard_safely()
{
    remove_display_switch_callback(focus_lost);
    remove_display_switch_callback(focus_returned);
    keyboard_lowlevel_callback = nullptr;
    XLOCK();
    remove_keyboard();
    XUNLOCK();
}
