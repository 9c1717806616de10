// The program-wide state a newcomer looks for: the flags that end the loops.
// Each global is declared in the header of the file that defines it: the
// menu's end (quit_requested) in app.h, the counters the timers share with
// the match in match_loop.h, the running match and who plays in
// match_loop.h and controls.h, the board in level.h, the level list in
// browser.h, the back buffer and the datafiles in platform.h. Everything
// lives for the whole run.
#pragma once

// The value a raised flag holds; anything non-zero counts as raised.
constexpr int FLAG_RAISED = -1;

// Ends the editor's loop: set by its confirmed Quit; the menu lowers it
// again. (A match ends on the leave its control words carry.)
extern int leave_mode;
