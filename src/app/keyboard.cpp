// Key state helpers: safe access to key[] for arbitrary bindings, the
// release-everything buffer clear, and the config.ini key numbering.
#include "app.h"

#include <atomic>

namespace {

// Written by the keyboard handler's thread, read by the main flow.
std::atomic<bool> really_down[KEYNUM_COUNT];
std::atomic<int> presses[KEYNUM_COUNT];
// Main flow only: presses not shown yet, and keys shown as held this pass.
int backlog[KEYNUM_COUNT];
bool tap_shown[KEYNUM_COUNT];

// The same for the mouse buttons, as mouse_b bits.
std::atomic<int> buttons_down{0};
std::atomic<int> clicks_pending{0};
int clicks_shown = 0;

}  // namespace

void key_event(int scancode)
{
    int k = scancode & 0x7f;
    if (k >= KEYNUM_COUNT)
        return;
    if (scancode & 0x80) {
        really_down[k] = false;
    } else {
        really_down[k] = true;
        presses[k]++;
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

    // Every press counts once: one that is over before the loop looks is
    // shown as held for one pass, then released for a pass before the next
    // one, so three quick taps still move a menu three times.
    for (int k = 0; k < KEYNUM_COUNT; k++) {
        backlog[k] += presses[k].exchange(0);
        if (tap_shown[k]) {
            tap_shown[k] = false;
            if (!really_down[k])
                key[k] = 0;
            continue;
        }
        if (backlog[k] > 0) {
            backlog[k]--;
            if (!key[k] && !really_down[k]) {
                key[k] = 1;
                tap_shown[k] = true;
            }
        }
    }
}

bool key_down(int index)
{
    return index >= 0 && index < KEYNUM_COUNT && key[index];
}

namespace {

// A really pressed key that is being acted on and released takes every press
// counted for it so far with it; a tap shown for this pass leaves the presses
// that came after it for later passes.
void consume(int k)
{
    if (key[k] && !tap_shown[k]) {
        presses[k].exchange(0);
        backlog[k] = 0;
    }
    key[k] = 0;
    tap_shown[k] = false;
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

// The older numbering has no keys between 98 (No-convert) and the modifiers,
// which it numbers 99..110; Allegro 4.4 puts the modifiers at 115..126 and
// inserts 99..114 before them. Those newer keys are stored as 111..126 so
// that every key survives a round trip through the file.
int key_from_config(int stored)
{
    if (stored >= 99 && stored <= 110)
        return stored + 16;
    if (stored >= 111 && stored <= 126)
        return stored - 12;
    return stored;
}

int key_to_config(int index)
{
    if (index >= 115 && index <= 126)
        return index - 16;
    if (index >= 99 && index <= 114)
        return index + 12;
    return index;
}
