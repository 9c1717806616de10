// Key state helpers: safe access to key[] for arbitrary bindings, the
// release-everything buffer clear, and the config.ini key numbering.
#include "app.h"

bool key_down(int index)
{
    return index >= 0 && index < KEYNUM_COUNT && key[index];
}

void release_key(int index)
{
    if (index >= 0 && index < KEYNUM_COUNT)
        key[index] = 0;
}

void clear_keys()
{
    clear_keybuf();
    // Allegro 4.4 keeps a held key in key[] after clear_keybuf; the menus and
    // dialogs count on a cleared key reading as released until the keyboard
    // reports it again (a new press or the keyboard's own auto-repeat).
    for (int i = 0; i < KEYNUM_COUNT; i++)
        key[i] = 0;
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
