// Levels: the board, level files, the level browser, the editor and its
// dialogs.
#pragma once

#include <cstdint>

constexpr int LEVEL_COLUMNS = 53;
constexpr int LEVEL_ROWS = 34;
constexpr int LEVEL_CELLS = LEVEL_COLUMNS * LEVEL_ROWS;  // 1802
constexpr int LEVEL_FILE_SIZE = LEVEL_CELLS * 4;         // 7208 bytes

// [column][row], laid out column by column exactly as a level file is.
extern int32_t board[LEVEL_COLUMNS][LEVEL_ROWS];
extern int32_t level_buffer[LEVEL_CELLS];
extern char level_path[36];

constexpr const char *LEVEL_DIR = "levels";

// Wall tiles stop walking players and flying missiles. Any value that is
// not a tile id 0..29 is floor and is drawn as tile 0.
bool is_wall_tile(int32_t tile);
int tile_picture(int32_t tile);   // level.dat object number to draw the cell with

void clear_board(int32_t tile);
// Whether a player could walk from one start cell to the other, through
// cells that share an edge and hold no wall; the start cells count as floor.
bool start_cells_joined();
constexpr const char *UNREACHABLE_WARNING = "Players cannot reach each other";
void read_level(const char *path);
// 0 once the level is on disk, otherwise the errno that stopped the save
// (the file, if there was one, is then as it was).
int write_level(const char *path);

// ---- level browser -------------------------------------------------------
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

// ---- editor --------------------------------------------------------------
constexpr int PEN_MODE = 0;
constexpr int FILL_MODE = 1;
constexpr int NO_HOVER_COL = LEVEL_COLUMNS;  // 53
constexpr int NO_HOVER_ROW = LEVEL_ROWS;     // 34

extern int fill_mode;
extern int left_tile;
extern int right_tile;
extern int hover_col;
extern int hover_row;
extern int flood_target;
// Mirror painting: every pen cell and fill also happens at the cell
// point-symmetric about the board's centre, as the two start corners are.
extern int mirror_mode;

// The editor's painting, with the mirror when it is on. The start cells are
// never painted by the pen.
constexpr int mirror_col(int col) { return LEVEL_COLUMNS - 1 - col; }
constexpr int mirror_row(int row) { return LEVEL_ROWS - 1 - row; }
void paint_cell(int col, int row, int tile);
void fill_region(int col, int row, int tile);
// Every cell of the straight line from one cell to another, both included.
void paint_stroke(int col0, int row0, int col1, int row1, int tile);
// T in the editor: a match on the board as it stands, through the match the
// shell hands over in play_test_match (the levels do not reach into the
// match room); the editor gets its board back exactly as it was.
extern void (*play_test_match)();
void test_play();

void run_editor();
void editor_frame();
void draw_editor_screen();
void update_hover_cell(int x, int y);
void flood_fill(int col, int row, int tile);

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
