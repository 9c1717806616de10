// Placeholders until level files, the browser and the editor land.
#include "level.h"

int32_t level_buffer[LEVEL_CELLS];
char level_path[36];
char level_list[LEVEL_LIST_SIZE][LEVEL_ENTRY_SIZE];
int level_count = 0;
int list_fill = 0;
int fill_mode = PEN_MODE;
int left_tile = 1;
int right_tile = 0;
int hover_col = NO_HOVER_COL;
int hover_row = NO_HOVER_ROW;
int flood_target = 0;

void read_level(const char *) {}
void write_level(const char *) {}
int list_levels() { return 0; }
int add_level_entry(const char *, int, void *) { return 0; }
void choose_level() {}
void choose_level_in_editor() {}
void run_editor() {}
void editor_frame() {}
void draw_editor_screen() {}
void update_hover_cell(int, int) {}
void flood_fill(int, int, int) {}
int confirm_dialog(const char *) { return 0; }
void save_level_dialog() {}
