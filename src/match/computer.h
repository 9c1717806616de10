// The computer as a player: one more source of control words. It sees what a
// person sees (the board, every weapon and its fuse, every blast, both
// players) and answers with the word a person's keys would make; it never
// writes the match. All it remembers lives in its mind, which the loop owns
// and resets when a match starts, and its only chance is a random stream of
// its own seeded there: the same match gets the same words.
#pragma once

#include <cstdint>

#include "danger_map.h"
#include "walking.h"

// Who plays a side: a person, or the computer at one of three levels.
constexpr int COMPUTER_NONE = 0;
constexpr int COMPUTER_EASY = 1;
constexpr int COMPUTER_NORMAL = 2;
constexpr int COMPUTER_HARD = 3;
constexpr int COMPUTER_LEVELS = 4;
// "person", "easy", "normal", "hard"; a level outside them is a person.
const char *computer_level_name(int level);

// What the mind is doing with its legs.
enum class computer_goal : uint8_t { none, escape, hunt, shoot, wander };

struct computer_mind {
    int level;
    uint32_t random;
    int32_t think_tick;          // the tick of its next thought
    uint32_t weapons_seen;       // the bomb pool when it last thought
    int cells_seen;              // both players' cells then
    computer_goal goal;
    walk_path path;
    int want_weapon;
    control_word fire_word;      // 0, or the word that fires as soon as it may
    // Loops: where it has stayed since when, and the way out it takes.
    int home_col, home_row;
    int32_t home_tick;
    int32_t fire_delay_seen;
    int32_t detour_until;
    int detour_col, detour_row;
    // The other player standing still since this tick: a sitting target.
    int32_t other_x, other_y, other_still_since;
    // Working space of a thought, kept here so thinking never allocates.
    danger_map map, trial;
    walk_grid mine, theirs, scratch;
    int theirs_key;              // the other's cell when `theirs` was planned
};

// A fresh mind for a match: no plans, the stream seeded. A level outside
// easy..hard plays hard.
void reset_computer(computer_mind &mind, int level, uint32_t seed);
// The controls source: context is the player's computer_mind.
control_word computer_controls(const match_state &m, int player, void *context);
