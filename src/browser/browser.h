// The level browser: the listing of levels/ and the screen that picks one
// and reads it onto the board.
#pragma once

#include "level.h"

constexpr int LEVEL_LIST_SIZE = 500;
constexpr int LEVEL_ENTRY_SIZE = 10;
extern char level_list[LEVEL_LIST_SIZE][LEVEL_ENTRY_SIZE];
// The whole name of each listed file, separator included, as the directory
// has it: what a chosen entry loads from.
constexpr int LEVEL_NAME_MAX = 258;   // "/", 255 bytes of name, the NUL, and slack
extern char level_file_names[LEVEL_LIST_SIZE][LEVEL_NAME_MAX];
extern int level_count;
extern int list_fill;

int list_levels();
int add_level_entry(const char *filename, int attrib, void *param);
// What a dialog or the browser floats over, drawn afresh on every pass by
// the room that opened it; nullptr leaves the back buffer's last picture.
using draw_backdrop_fn = void (*)();

// Lets the player pick a level and reads it onto the board; a cancel leaves
// the board as it was. Ends with the pause after a dialog.
void choose_level(draw_backdrop_fn draw_backdrop);

// One browser call, split so that tests can drive it a pass at a time.
constexpr int BROWSER_RUNNING = 0;
constexpr int BROWSER_ACCEPT = 1;
constexpr int BROWSER_CANCEL = 2;
struct browser_state {
    int first_row;      // entry shown in the top visible row
    int selected;
    int max_first_row;
    int entries;        // files that can be browsed: level_count, at most 500
    int result;         // BROWSER_*
};
browser_state open_browser();   // lists levels/ and starts at the first entry
void browser_pass(browser_state &state, draw_backdrop_fn draw_backdrop);
void close_browser(const browser_state &state);  // loads on accept
