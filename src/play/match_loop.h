// The match as played here: the set-up every match starts from, the loop
// that runs it at 40 ticks a second, the pause, the score and what the panel
// shows, and replays shown again. The simulation is match_state.h; the
// picture is match_render.h.
#pragma once

#include <atomic>
#include <cstdint>

#include "controls.h"
#include "match_setup.h"
#include "match_state.h"

// Shared with the timer callbacks; nothing else crosses that boundary.
extern std::atomic<int32_t> pending_ticks;   // 25 ms periods not yet simulated
extern std::atomic<int32_t> frames_drawn;    // since the last fps callback
extern std::atomic<int32_t> fps;             // frames drawn in the last second

// ---- the running match -----------------------------------------------------
// The match being played or shown, owned by the loop; the drawing reads it.
extern match_state live_match;
// Where the two players' words come from in the running match.
extern controls_source match_sources[2];
// Who played each side of the running match, as its replay says it: 0 a
// person, 1..3 the computer's level. The panel marks a computer player.
extern uint8_t match_kinds[2];

// What start_match (match_setup.h) does to the loop: nothing owed, not
// paused, no result counted, the focus and the Pause key read afresh.
void restart_loop();
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

// ---- replays ------------------------------------------------------------------
struct replay_view;
// Shows a recorded match at 40 ticks a second, under the names it was played
// with, until its last tick (held a moment) or Esc.
void show_replay(const replay_view &r);
