// What a player holds this moment: the player's keys and the player's pad
// together. The tick asks here and nowhere else, so it never learns which
// device a press came from.
#include "platform.h"
#include "match.h"

controls player_controls(int player_index)
{
    const player &p = players[player_index];
    pad_hold pad = player_pad(player_index);
    controls c;
    c.up = key_down(p.keys[KEY_SLOT_UP]) || pad.up;
    c.down = key_down(p.keys[KEY_SLOT_DOWN]) || pad.down;
    c.left = key_down(p.keys[KEY_SLOT_LEFT]) || pad.left;
    c.right = key_down(p.keys[KEY_SLOT_RIGHT]) || pad.right;
    c.fire = key_down(p.keys[KEY_SLOT_FIRE]) || pad.fire;
    c.change = key_down(p.keys[KEY_SLOT_CHANGE]) || pad.change;
    return c;
}

// The change key's entry in key[] goes to 0 as the game always did it, so
// it acts again only on a new press; the pad's button is held back the same
// way. A key or button not held is left alone: releasing a key that was
// never seen would drop a press still waiting for its own pass.
void use_up_change(int player_index)
{
    int k = players[player_index].keys[KEY_SLOT_CHANGE];
    if (key_down(k))
        release_key(k);
    release_pad_change(player_index);
}
