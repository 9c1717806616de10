// The level editor's screen: the board painted from the palette with the
// pointer (the painting itself is painting.h), the panel's tools, and the
// yes/no and save-name dialogs.
#pragma once

#include "browser.h"
#include "level.h"
#include "painting.h"

constexpr int PEN_MODE = 0;
constexpr int FILL_MODE = 1;
constexpr int NO_HOVER_COL = LEVEL_COLUMNS;  // 53
constexpr int NO_HOVER_ROW = LEVEL_ROWS;     // 34

extern int fill_mode;
extern int left_tile;
extern int right_tile;
extern int hover_col;
extern int hover_row;
// Mirror painting (painting.h) is on: M toggles it.
extern int mirror_mode;

// T in the editor: a match on the board as it stands, through the match the
// shell hands over in play_test_match; the editor gets its board back
// exactly as it was.
extern void (*play_test_match)();
void test_play();

void run_editor();
void editor_frame();
void draw_editor_screen();
void update_hover_cell(int x, int y);

int confirm_dialog(const char *message, draw_backdrop_fn draw_backdrop);
// What became of a save: nothing was written (Esc or No), the level is on
// disk, or the write failed and the player has been told why.
constexpr int SAVE_DECLINED = 0, SAVE_DONE = 1, SAVE_FAILED = 2;
int save_level_dialog(draw_backdrop_fn draw_backdrop);
int save_level(const char *name);   // write_level under levels/name, with the message

// One pass of each dialog's loop, so the loops can be driven a pass at a time.
struct confirm_state {
    bool done;
    int answer;   // 1 yes, 0 no
};
void confirm_pass(confirm_state &s);

constexpr int SAVE_NAME_LENGTH = 8;
constexpr int SAVE_NAME_OPEN = 0, SAVE_NAME_ACCEPTED = 1, SAVE_NAME_CANCELLED = 2;
struct save_name_state {
    char name[12];   // typed characters, and spaces Backspace left behind
    int n;           // characters typed, 0..8
    int state;
};
void save_name_open(save_name_state &s);
void save_name_pass(save_name_state &s, draw_backdrop_fn draw_backdrop);
void build_save_path(const char *name);   // level_path = "levels/" + name
