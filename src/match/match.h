// The match around the simulation: who plays (names and keys), where each
// tick's control words come from, the loop that runs a match at 40 ticks a
// second, and its drawing. The simulation itself is match_state.h.
#pragma once

#include <allegro.h>
#include <cstdint>

#include "game_state.h"
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

// ---- the running match -----------------------------------------------------
// The match being played or shown, owned by the loop; the drawing reads it.
extern match_state live_match;
// Where the two players' words come from in the running match.
extern controls_source match_sources[2];
// Each side as its profile says: this keyboard for a person, the computer
// at its level otherwise (Esc still ends the match for both).
void choose_match_sources();
// Who played each side of the running match, as its replay says it: 0 a
// person, 1..3 the computer's level. The panel marks a computer player.
extern uint8_t match_kinds[2];

// A new match on the level board as it stands: start_match_state on
// live_match (the animation clock goes on), no tick owed, no sound waiting,
// the recording begun (marked online for a match against another machine).
void start_match(bool online = false);
// One match until Esc, with both players on this keyboard: starts the timers,
// sets the match up, runs before_play (New Game's choice of level, whose
// time is then played back tick by tick before the first frame) and loops
// until a tick raises leave; then stops the timers, keeps the replay and
// lowers the flag.
void run_match(void (*before_play)() = nullptr);
void tick_timer_callback();
void fps_timer_callback();
// One pass of the match loop: every pending tick, then one frame. Returns the
// number of ticks it simulated.
int match_loop_pass();
// One tick of the running match: both words from their sources (and Esc),
// recorded, then match_tick, whose sounds are queued.
void run_one_tick();

// ---- around the match: the score, the pause, the rematch -------------------
// Wins of each player since the program started; a draw counts for nobody.
extern int match_wins[2];
// The running match is paused: no tick runs and none is owed for the time.
extern bool match_paused;
// What the panel's centre is showing: a match being played here, one shown
// again from its replay, or one played against another machine.
enum class panel_mode { play, replay, online };
extern panel_mode match_panel;
// A line for the panel's centre while there is no result ("WAITING FOR
// ANN"), or nullptr. The online loop sets it.
extern const char *match_status;
// Whether P pauses: it does unless a player has P bound (Pause always does).
bool p_pauses();
// The running match goes on: no leave word yet, and not left while paused.
bool match_running();

// ---- drawing ----------------------------------------------------------------
// The players' 12 x 12 pictures, rebuilt every frame from the walk frames.
extern BITMAP *player_sprites[2];
void create_player_sprites();
void destroy_player_sprites();
// The energy bars' colours: 0..50 the red band, 51..101 the green band.
extern int energy_colors[102];
void build_energy_colors();
void render_match_frame(const match_state &m);
void draw_bombs(BITMAP *target, const match_state &m);
void draw_explosions(BITMAP *target, const match_state &m);

// ---- replays ------------------------------------------------------------------
struct replay_view;
// Shows a recorded match at 40 ticks a second, under the names it was played
// with, until its last tick (held a moment) or Esc.
void show_replay(const replay_view &r);
