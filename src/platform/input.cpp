// What each pass of a loop sees of the keyboard and the mouse.
//
// Allegro's callbacks only record what happened, in order; input_pass(), at
// the top of every pass, decides what key[] and mouse_b read until the next:
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
// - The mouse buttons follow the same rules in mouse_b.
#include "input.h"
#include "pads.h"

#include <atomic>

namespace {

// Keys are their key[] index; the three buttons follow them.
constexpr int BUTTON_FIRST = KEY_MAX;
constexpr int BUTTON_COUNT = 3;
constexpr int INPUT_CODES = BUTTON_FIRST + BUTTON_COUNT;
constexpr int BUTTON_BITS[BUTTON_COUNT] = {1, 2, 4};   // as mouse_b has them

// ---- written by the callbacks' thread -----------------------------------
// Events in the order they came: one producer (the callbacks), one consumer
// (input_pass). An event is its code, plus EVENT_PRESS for a press.
constexpr int EVENT_PRESS = 0x1000;
constexpr unsigned RING_SIZE = 512;
int ring[RING_SIZE];
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
int shown_buttons = 0;

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
    bool buttons_changed = false;
    if (ring_overflowed.exchange(false)) {
        resync();
        buttons_changed = true;
    }
    unsigned tail = ring_tail.load(std::memory_order_relaxed);
    unsigned head = ring_head.load(std::memory_order_acquire);
    for (; tail != head; tail++) {
        int event = ring[tail % RING_SIZE];
        int code = event & ~EVENT_PRESS;
        bool press = event & EVENT_PRESS;
        if (stop_at_tap && !press && pressed_this_pass[code])
            break;
        apply(code, press);
        buttons_changed |= code >= BUTTON_FIRST;
    }
    ring_tail.store(tail, std::memory_order_release);
    // Only when a button changed: tests and the fuzzers set mouse_b directly.
    if (buttons_changed)
        mouse_b = shown_buttons;
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
        if (head - ring_tail.load(std::memory_order_acquire) < RING_SIZE) {
            ring[head % RING_SIZE] = code | (press ? EVENT_PRESS : 0);
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

void input_pass()
{
    if (keyboard_driver && keyboard_needs_poll())
        poll_keyboard();
    apply_events(true);
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

int pointer_x() { return game_coordinate(mouse_x, pointer_left, pointer_factor); }
int pointer_y() { return game_coordinate(mouse_y, pointer_top, pointer_factor); }
int pointer_buttons() { return mouse_b; }
