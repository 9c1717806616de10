// The level editor. (Placeholder until the editor lands.)
#include "level.h"

int fill_mode = PEN_MODE;
int left_tile = 1;
int right_tile = 0;
int hover_col = NO_HOVER_COL;
int hover_row = NO_HOVER_ROW;
int flood_target = 0;

void run_editor() {}
void editor_frame() {}
void draw_editor_screen() {}
void update_hover_cell(int, int) {}
void flood_fill(int, int, int) {}
