// Gamepads, through Allegro's joystick driver. Each player may have a pad
// (config.ini pl1joy/pl2joy); its stick and D-pad walk and two of its
// buttons fire and change weapon. A pad only adds to the keys: nothing here
// writes key[], and a player without a pad plays exactly as before.
//
// What a read sees: a control is held while the pad reports it held, except
// after release_pad_change or release_pads, which make a held control read
// as released until the pad reports it let go - the pad's twin of a key
// consumed in key[]. A pad that is gone (never there, unplugged, its number
// past num_joysticks, no driver at all) reads as nothing held.
#pragma once

constexpr int PAD_NONE = -1;
// Past this from the centre (the axes run -128..128) a stick counts as
// pushed that way: half the travel, so a stick pushed up a little off
// straight walks up and not sideways too.
constexpr int PAD_DEAD_ZONE = 64;
constexpr int DEFAULT_PAD_FIRE = 0;     // button numbers count from 0
constexpr int DEFAULT_PAD_CHANGE = 1;

struct pad_binding {
    int pad;      // Allegro's joystick number, PAD_NONE for no pad
    int fire;     // button numbers; any other number is never held
    int change;
};
extern pad_binding pad_bindings[2];     // per player, set from config.ini

struct pad_hold {
    bool up, down, left, right, fire, change;
};

// Installs Allegro's joystick driver. Never fails the start: without a pad
// or a driver the game plays on the keys.
void start_pads();
void stop_pads();
// Once per polling pass: the driver's latest state, and a pad that was
// unplugged is let go of for good.
void poll_pads();

pad_hold player_pad(int player);
pad_hold either_pad();                  // the menus and the browser
void release_pad_change(int player);    // the change button acts once per press
void release_pads();                    // everything held now, on every pad

// Which of a pad's sticks walk besides the first: one that rests centred
// (a D-pad), never a throttle or a pair of triggers that rests at one end.
// Run again whenever joy[] describes new pads.
void look_at_pads();
