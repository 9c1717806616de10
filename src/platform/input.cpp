// Key state helpers: safe access to key[] for arbitrary bindings, the
// release-everything buffer clear and quick taps.
#include "input.h"

#include <atomic>
#include <chrono>

namespace {

// Presses in the order they came, written by the keyboard handler's thread
// (the one producer) and taken by the main flow (the one consumer).
constexpr int PRESS_QUEUE_SIZE = 64;
int press_queue[PRESS_QUEUE_SIZE];
std::atomic<unsigned> press_head{0};   // next slot the handler writes
std::atomic<unsigned> press_tail{0};   // next slot the main flow reads
constexpr int SKIPPED = -1;

std::atomic<bool> really_down[KEYNUM_COUNT];
int shown_key = SKIPPED;   // a tap shown as held for the current pass
bool hidden[KEYNUM_COUNT]; // held, but pressed after this pass's press
int taken_key = SKIPPED;   // the press this pass began with
unsigned pumped_head = 0;  // presses from here on came in during the pass

// The same for the mouse buttons, as mouse_b bits.
std::atomic<int> buttons_down{0};
std::atomic<int> clicks_pending{0};
int clicks_shown = 0;

}  // namespace

namespace {

// Allegro's X11 keyboard reports a right-hand modifier (Shift, Control, Alt,
// Windows key) as its left twin first and then itself, in the same instant,
// and lets both go together. Left alone, player 1's right Control would also
// fire for player 2 on left Control. Such a pair is told from two real
// presses by coming within a couple of milliseconds.
bool is_right_twin(int k)
{
    return k == KEYNUM_RSHIFT || k == KEYNUM_RCONTROL || k == KEYNUM_ALTGR || k == KEYNUM_RWIN;
}

struct key_event_record {
    int key = -1;
    bool press = false;
    bool was_down = false;   // the key's state before this event
    std::chrono::steady_clock::time_point when;
};
key_event_record last_event;   // keyboard handler's thread only
constexpr auto TWIN_WINDOW = std::chrono::milliseconds(2);

}  // namespace

void key_event(int scancode)
{
    int k = scancode & 0x7f;
    if (k >= KEYNUM_COUNT)
        return;
    bool press = !(scancode & 0x80);
    auto now = std::chrono::steady_clock::now();

    bool twin = is_right_twin(k) && last_event.key == k - 1 && last_event.press == press &&
                now - last_event.when < TWIN_WINDOW;
    if (twin && press && !last_event.was_down) {
        really_down[k - 1] = false;   // the left key was never pressed
        key[k - 1] = 0;
    } else if (twin && !press && last_event.was_down) {
        really_down[k - 1] = true;    // the left key is still held
        key[k - 1] = 1;
    }
    last_event = {k, press, really_down[k], now};

    really_down[k] = press;
    if (!press)
        return;
    unsigned head = press_head.load(std::memory_order_relaxed);
    if (head - press_tail.load(std::memory_order_acquire) < PRESS_QUEUE_SIZE) {
        press_queue[head % PRESS_QUEUE_SIZE] = k;
        press_head.store(head + 1, std::memory_order_release);
    }
}

void mouse_event(int flags)
{
    static constexpr struct { int down, up, bit; } BUTTONS[] = {
        {MOUSE_FLAG_LEFT_DOWN, MOUSE_FLAG_LEFT_UP, 1},
        {MOUSE_FLAG_RIGHT_DOWN, MOUSE_FLAG_RIGHT_UP, 2},
        {MOUSE_FLAG_MIDDLE_DOWN, MOUSE_FLAG_MIDDLE_UP, 4},
    };
    for (const auto &b : BUTTONS) {
        if (flags & b.down) {
            buttons_down |= b.bit;
            clicks_pending |= b.bit;
        }
        if (flags & b.up)
            buttons_down &= ~b.bit;
    }
}

// Taps are replayed one per pass in the order they were pressed, so quick
// Down, Down, Enter moves a menu twice and then chooses, as slow presses would.
void pump_input_taps()
{
    int clicked = clicks_pending.exchange(0);
    if (clicks_shown) {
        mouse_b &= ~(clicks_shown & ~clicked & ~buttons_down);
        clicks_shown = 0;
    }
    int add = clicked & ~mouse_b & ~buttons_down;
    if (add) {
        mouse_b |= add;
        clicks_shown = add;
    }

    if (shown_key != SKIPPED) {
        if (!really_down[shown_key])
            key[shown_key] = 0;
        shown_key = SKIPPED;
    }
    unsigned tail = press_tail.load(std::memory_order_relaxed);
    unsigned head = press_head.load(std::memory_order_acquire);
    int taken = SKIPPED;
    pumped_head = head;
    // This pass's press: the first one queued. A left twin reported just
    // before its right-hand key was never pressed.
    for (; tail != head; tail++) {
        int k = press_queue[tail % PRESS_QUEUE_SIZE];
        if (k == SKIPPED)
            continue;
        if (!really_down[k] && tail + 1 != head && is_right_twin(k + 1) &&
            press_queue[(tail + 1) % PRESS_QUEUE_SIZE] == k + 1)
            continue;
        hidden[k] = false;
        taken = k;
        if (really_down[k]) {
            key[k] = 1;          // still held: the loop sees it as held
        } else {
            key[k] = 1;          // already over: shown as held for this pass
            shown_key = k;
        }
        tail++;
        break;
    }
    // Keys pressed after it wait for their own pass, so that a loop acting on
    // one key and clearing the rest does not lose them.
    for (unsigned t = tail; t != head; t++) {
        int k = press_queue[t % PRESS_QUEUE_SIZE];
        if (k != SKIPPED && k != taken && key[k]) {
            key[k] = 0;
            hidden[k] = true;
        }
    }
    taken_key = taken;
    press_tail.store(tail, std::memory_order_release);
}

void forget_key_taps()
{
    pumped_head = press_head.load(std::memory_order_acquire);
    press_tail.store(pumped_head, std::memory_order_release);
    for (bool &h : hidden)
        h = false;
}

bool key_down(int index)
{
    return index >= 0 && index < KEYNUM_COUNT && key[index];
}

namespace {

// Releasing a key uses up what the loop saw of it. A key that went down
// during the pass (after the pump) may have been read and acted on already,
// so the presses it queued meanwhile go with it; presses the loop has not
// been shown yet (hidden behind this pass's press) stay for later passes.
void consume(int k)
{
    if (key[k] && k != shown_key && k != taken_key && !hidden[k]) {
        unsigned head = press_head.load(std::memory_order_acquire);
        for (unsigned t = pumped_head; t != head; t++)
            if (press_queue[t % PRESS_QUEUE_SIZE] == k)
                press_queue[t % PRESS_QUEUE_SIZE] = SKIPPED;
    }
    if (k == shown_key)
        shown_key = SKIPPED;
    hidden[k] = false;
    key[k] = 0;
}

}  // namespace

void release_key(int index)
{
    if (index >= 0 && index < KEYNUM_COUNT)
        consume(index);
}

void clear_keys()
{
    clear_keybuf();
    // Allegro 4.4 keeps a held key in key[] after clear_keybuf; the menus and
    // dialogs count on a cleared key reading as released until the keyboard
    // reports it again (a new press or the keyboard's own auto-repeat).
    for (int i = 0; i < KEYNUM_COUNT; i++)
        consume(i);
}

int pointer_x() { return mouse_x; }
int pointer_y() { return mouse_y; }
int pointer_buttons() { return mouse_b; }
