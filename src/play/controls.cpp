// The keyboard and the pads as a source of control words: what a player
// holds this moment, the player's keys and pad together. The only place
// the match's input is read from the devices, so the tick never learns
// which device a press came from.
#include "platform.h"
#include "controls.h"

player_profile profiles[2];

control_word keyboard_controls(const match_state &m, int i, void *)
{
    const int32_t *keys = profiles[i].keys;
    const pad_hold pad = player_pad(i);
    control_word w = 0;
    if (key_down(keys[KEY_SLOT_UP]) || pad.up)
        w |= CONTROL_UP;
    if (key_down(keys[KEY_SLOT_DOWN]) || pad.down)
        w |= CONTROL_DOWN;
    if (key_down(keys[KEY_SLOT_LEFT]) || pad.left)
        w |= CONTROL_LEFT;
    if (key_down(keys[KEY_SLOT_RIGHT]) || pad.right)
        w |= CONTROL_RIGHT;
    if (key_down(keys[KEY_SLOT_FIRE]) || pad.fire)
        w |= CONTROL_FIRE;
    if (key_down(keys[KEY_SLOT_CHANGE]) || pad.change) {
        w |= CONTROL_CHANGE;
        // Used up only where the change will act: when both players share
        // the key, the first living player takes it and the other never
        // sees it; a player who is out leaves it to the other.
        if (m.players[i].energy > 0)
            use_up_change(i);
    }
    return w;
}

// The change key's entry in key[] goes to 0 as the game always did it, so
// it acts again only on a new press; the pad's button is held back the same
// way. A key or button not held is left alone: releasing a key that was
// never seen would drop a press still waiting for its own pass.
void use_up_change(int player_index)
{
    int k = profiles[player_index].keys[KEY_SLOT_CHANGE];
    if (key_down(k))
        release_key(k);
    release_pad_change(player_index);
}
