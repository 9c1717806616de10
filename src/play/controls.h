// Who plays (names, keys, the computer's level) and where each tick's
// control words come from: the keyboard and the pads here, read once per
// tick (controls.cpp).
#pragma once

#include <cstdint>

#include "match_state.h"

// Slots of a player's keys table.
constexpr int KEY_SLOT_UP = 0;
constexpr int KEY_SLOT_DOWN = 1;
constexpr int KEY_SLOT_LEFT = 2;
constexpr int KEY_SLOT_RIGHT = 3;
constexpr int KEY_SLOT_FIRE = 4;
constexpr int KEY_SLOT_CHANGE = 5;
constexpr int KEY_SLOT_SPECIAL = 6;
constexpr int KEY_SLOTS = 7;

constexpr int NAME_SIZE = 12;   // 11 characters and the NUL

// Who plays, as the options set it: kept for the whole run, outside any match.
struct player_profile {
    char name[NAME_SIZE];
    int32_t keys[KEY_SLOTS];   // Allegro 4.4 key numbers
    int32_t computer;          // COMPUTER_* (computer.h): 0 a person, 1..3 its level
};
extern player_profile profiles[2];

// ---- where control words come from -----------------------------------------
// A source gives one player's word for the next tick of m. It may read the
// match (a computer player does, and the keyboard asks whether a player's
// turn will run), never change it. Player 1's word is asked for first.
struct controls_source {
    control_word (*next)(const match_state &m, int player, void *context);
    void *context;
    bool hears_esc;   // this machine's Esc rides on this player's words
};
// This keyboard and the player's pad, as the game always played: a change
// key acts once per press, and only for a player whose turn will run.
control_word keyboard_controls(const match_state &m, int player, void *context);
constexpr controls_source KEYBOARD_SOURCE = {keyboard_controls, nullptr, true};
// A change that acted: the key and the pad's button read as released until
// pressed anew.
void use_up_change(int player_index);
