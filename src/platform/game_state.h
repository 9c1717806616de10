// The program-wide state a newcomer looks for: the flags that end the loops,
// the clock the pictures animate by and the counters the timers share with
// the match. The records have their rooms' headers: the players and the pools
// in match.h, the board and the level list in level.h, the back buffer and
// the datafiles in platform.h. Everything here lives for the whole run.
#pragma once

#include <atomic>
#include <cstdint>

// The value a raised flag holds; anything non-zero counts as raised.
constexpr int FLAG_RAISED = -1;

// Ends the menu loop, and with it the program. Defined in startup.cpp.
extern int quit_requested;
// Ends the running mode's loop (the match or the editor): set by the match
// tick on Esc and by the editor's confirmed Quit; the menu lowers it again.
// Defined in platform.cpp.
extern int leave_mode;

// 0.0 .. 7.75 in steps of 0.25, advanced by the match tick and never reset:
// the frame of the animated tile and of the missiles. Defined in tick.cpp.
extern float anim_clock;

// Shared with the timer callbacks; nothing else crosses that boundary.
// Defined in match_loop.cpp.
extern std::atomic<int32_t> pending_ticks;   // 25 ms periods not yet simulated
extern std::atomic<int32_t> frames_drawn;    // since the last fps callback
extern std::atomic<int32_t> fps;             // frames drawn in the last second
