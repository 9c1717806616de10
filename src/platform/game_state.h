// The program-wide state a newcomer looks for: the flags that end the loops
// and the counters the timers share with the match. The records have their
// rooms' headers: the running match (live_match) and who plays (profiles)
// in match.h, the board and the level list in level.h, the back buffer and
// the datafiles in platform.h. Everything here lives for the whole run.
#pragma once

#include <atomic>
#include <cstdint>

// The value a raised flag holds; anything non-zero counts as raised.
constexpr int FLAG_RAISED = -1;

// Ends the menu loop, and with it the program. Defined in startup.cpp.
extern int quit_requested;
// Ends the editor's loop: set by its confirmed Quit; the menu lowers it
// again. (A match ends on the leave its control words carry.) Defined in
// platform.cpp.
extern int leave_mode;

// Shared with the timer callbacks; nothing else crosses that boundary.
// Defined in match_loop.cpp.
extern std::atomic<int32_t> pending_ticks;   // 25 ms periods not yet simulated
extern std::atomic<int32_t> frames_drawn;    // since the last fps callback
extern std::atomic<int32_t> fps;             // frames drawn in the last second
