// What each pass of a loop sees of the keyboard and the mouse.
//
// Allegro's callbacks only record what happened, in order; input_pass(), at
// the top of every pass, decides what key[] and the mouse read until the next:
// - A key held down reads held on every pass, and keys held together are
//   seen together. key[] never changes in the middle of a pass, so a loop's
//   order of tests decides between keys pressed at once.
// - A tap (pressed and released between two passes) reads held for exactly
//   one pass. Taps that follow one another are seen one per pass, in order.
// - A key the program released (release_key, clear_keys) reads released until
//   it is physically released and pressed again.
// - A press of a key that is already down is the keyboard's auto-repeat and
//   never a new press here; readkey still gets it, so text entry repeats.
// - Every key reads as the physical key: left and right modifiers are two
//   keys, whatever order or instant they go down and up in.
// - The mouse is one snapshot per pass too: the pointer where it was when the
//   pass began and the buttons by the rules above, so a click shorter than
//   a pass is seen for one pass and a button the program released
//   (release_button) reads released until pressed again.
// - When the window loses the keyboard (another window, or a grab such as
//   a window manager's Alt+Tab) everything held is let go: the releases
//   that happen meanwhile go to someone else. When it comes back, the keys
//   and buttons read as they physically are then.
#include "input.h"
#include "pads.h"

#include <atomic>

namespace {

constexpr int BUTTON_FIRST = INPUT_BUTTON_FIRST;
constexpr int BUTTON_COUNT = INPUT_CODES - INPUT_BUTTON_FIRST;
constexpr int BUTTON_BITS[BUTTON_COUNT] = {1, 2, 4};   // as mouse_b has them

// ---- written by the callbacks' thread -----------------------------------
// Events in the order they came: one producer (the callbacks, those of the
// focus included, all run by Allegro's input handling), one consumer
// (input_pass). An event is its code, plus EVENT_PRESS for a press.
constexpr int EVENT_PRESS = 0x1000;
int ring[INPUT_RING_SIZE];
std::atomic<unsigned> ring_head{0};   // next slot the callbacks write
std::atomic<unsigned> ring_tail{0};   // next slot input_pass reads
// Set when the ring was full: input_pass then starts over from the
// physical state rather than lose a release and leave a key stuck.
std::atomic<bool> ring_overflowed{false};
std::atomic<bool> physically_down[INPUT_CODES];

// ---- written by the main flow -------------------------------------------
bool applied_down[INPUT_CODES];   // the physical state as far as passes know
bool held_off[INPUT_CODES];       // released by the program, still held
bool pressed_this_pass[INPUT_CODES];
// What key[] shows for each key; the keyboard callback puts it back after
// Allegro wrote the live state into key[].
std::atomic<bool> shown[KEY_MAX];
// The pass's mouse: the buttons as the rules above show them, and where the
// pointer was when the pass began.
int shown_buttons = 0;
int pass_mouse_x = 0, pass_mouse_y = 0;

void show_key(int k, bool down)
{
    shown[k] = down;
    key[k] = down;
}

// Allegro has just written the live state into key[k]; the pass's view stands.
void restore_key(int k)
{
    bool v;
    do {
        v = shown[k];
        key[k] = v;
    } while (shown[k] != v);
}

void apply(int code, bool press)
{
    applied_down[code] = press;
    if (press)
        pressed_this_pass[code] = true;
    else
        held_off[code] = false;
    bool down = press && !held_off[code];
    if (code < BUTTON_FIRST) {
        show_key(code, down);
    } else {
        int bit = BUTTON_BITS[code - BUTTON_FIRST];
        shown_buttons = down ? shown_buttons | bit : shown_buttons & ~bit;
    }
}

// After an overflow: every code as the callbacks last saw it, no taps.
void resync()
{
    ring_tail.store(ring_head.load());
    for (int c = 0; c < INPUT_CODES; c++)
        if (applied_down[c] != physically_down[c])
            apply(c, physically_down[c]);
}

// Applies queued events in order. With stop_at_tap, a release of a key
// pressed in this same pass waits for the next pass, so the tap is seen.
void apply_events(bool stop_at_tap)
{
    for (bool &p : pressed_this_pass)
        p = false;
    if (ring_overflowed.exchange(false))
        resync();
    unsigned tail = ring_tail.load(std::memory_order_relaxed);
    unsigned head = ring_head.load(std::memory_order_acquire);
    for (; tail != head; tail++) {
        int event = ring[tail % INPUT_RING_SIZE];
        int code = event & ~EVENT_PRESS;
        bool press = event & EVENT_PRESS;
        if (stop_at_tap && !press && pressed_this_pass[code])
            break;
        apply(code, press);
    }
    ring_tail.store(tail, std::memory_order_release);
}

}  // namespace

void input_event(int code, bool press)
{
    if (code < 0 || code >= INPUT_CODES)
        return;
    // A press of a key already down is auto-repeat; a release of one already
    // up says nothing new.
    if (physically_down[code] != press) {
        physically_down[code] = press;
        unsigned head = ring_head.load(std::memory_order_relaxed);
        if (head - ring_tail.load(std::memory_order_acquire) < INPUT_RING_SIZE) {
            ring[head % INPUT_RING_SIZE] = code | (press ? EVENT_PRESS : 0);
            ring_head.store(head + 1, std::memory_order_release);
        } else {
            ring_overflowed = true;
        }
    }
    if (code < BUTTON_FIRST)
        restore_key(code);
}

void key_event(int scancode)
{
    input_event(scancode & 0x7f, !(scancode & 0x80));
}

void mouse_event(int flags)
{
    static constexpr int DOWN[BUTTON_COUNT] = {MOUSE_FLAG_LEFT_DOWN, MOUSE_FLAG_RIGHT_DOWN,
                                               MOUSE_FLAG_MIDDLE_DOWN};
    static constexpr int UP[BUTTON_COUNT] = {MOUSE_FLAG_LEFT_UP, MOUSE_FLAG_RIGHT_UP,
                                             MOUSE_FLAG_MIDDLE_UP};
    for (int b = 0; b < BUTTON_COUNT; b++) {
        if (flags & DOWN[b])
            input_event(BUTTON_FIRST + b, true);
        if (flags & UP[b])
            input_event(BUTTON_FIRST + b, false);
    }
}

void input_focus_lost()
{
    for (int c = 0; c < INPUT_CODES; c++)
        input_event(c, false);
}

void input_focus_returned(const bool (&down)[INPUT_CODES])
{
    for (int c = 0; c < INPUT_CODES; c++)
        input_event(c, down[c]);
}

void input_pass()
{
    if (keyboard_driver && keyboard_needs_poll())
        poll_keyboard();
    apply_events(true);
    // Allegro rewrites the mouse globals on every motion; the pass keeps
    // where the pointer was as it began.
    pass_mouse_x = mouse_x;
    pass_mouse_y = mouse_y;
    poll_pads();
}

void forget_typed_keys()
{
    apply_events(false);
    clear_keys();
}

bool key_down(int index)
{
    return index >= 0 && index < KEY_MAX && key[index];
}

void release_key(int index)
{
    if (index < 0 || index >= KEY_MAX)
        return;
    if (applied_down[index])
        held_off[index] = true;
    show_key(index, false);
}

void release_button(int bits)
{
    for (int b = 0; b < BUTTON_COUNT; b++)
        if (bits & BUTTON_BITS[b]) {
            if (applied_down[BUTTON_FIRST + b])
                held_off[BUTTON_FIRST + b] = true;
            shown_buttons &= ~BUTTON_BITS[b];
        }
}

void clear_keys()
{
    clear_keybuf();
    for (int i = 0; i < KEY_MAX; i++)
        release_key(i);
    release_pads();
}

void reset_input_model()
{
    ring_tail.store(ring_head.load());
    ring_overflowed = false;
    for (int c = 0; c < INPUT_CODES; c++) {
        physically_down[c] = false;
        applied_down[c] = false;
        held_off[c] = false;
        if (c < KEY_MAX)
            shown[c] = false;
    }
    shown_buttons = 0;
    pass_mouse_x = pass_mouse_y = 0;
}

namespace {
int pointer_factor = 1, pointer_left = 0, pointer_top = 0;
}

void map_pointer(int factor, int left, int top)
{
    pointer_factor = factor < 1 ? 1 : factor;
    pointer_left = left;
    pointer_top = top;
}

int game_coordinate(int screen_pos, int origin, int factor)
{
    int pos = screen_pos - origin;
    // Rounded down, not toward zero: a position just left of the picture
    // must not read as its first column.
    return pos >= 0 ? pos / factor : -((-pos + factor - 1) / factor);
}

int pointer_x() { return game_coordinate(pass_mouse_x, pointer_left, pointer_factor); }
int pointer_y() { return game_coordinate(pass_mouse_y, pointer_top, pointer_factor); }
int pointer_buttons() { return shown_buttons; }
