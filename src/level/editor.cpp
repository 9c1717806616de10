// The level editor: painting the board with pen or flood fill from the
// palette, and the panel's tool, Clear, Load, Save and Quit controls.
#include <array>
#include <cstring>

#include "platform.h"
#include "level.h"

// Kept from one run of the editor to the next: the user finds the tools as
// they were left.
int fill_mode = PEN_MODE;
int left_tile = 1;
int right_tile = 0;
int hover_col = NO_HOVER_COL;
int hover_row = NO_HOVER_ROW;
int flood_target = 0;

namespace {

const char *const QUIT_QUESTION = "Do you want to quit? Y/N";
const char *const CLEAR_QUESTION = "Do you want to clear Y/N";
// Stored in ISO 8859-1 (0xE4 is a-umlaut); the program runs with U_ASCII so
// the built-in font draws the byte as that letter and strlen counts it once.
const char *const CLEAR_QUESTION_FI = "Haluatko tyhjent\xE4\xE4" " radan? Y/N";

bool hover_valid()
{
    return hover_col < NO_HOVER_COL && hover_row < NO_HOVER_ROW;
}

void blit_tile(int tile, int x, int y)
{
    blit(level_bitmap(tile_picture(tile)), back_buffer, 0, 0, x, y, CELL_SIZE, CELL_SIZE);
}

// The palette is numbered column by column: tile 3*i + j sits at column i, row j.
int palette_tile_at(int x, int y)
{
    for (int i = 0; i < PALETTE_COLUMNS; i++)
        for (int j = 0; j < PALETTE_ROWS; j++) {
            int px = PALETTE_X + PALETTE_STEP * i;
            int py = PALETTE_Y + PALETTE_STEP * j;
            if (in_area({px, py, px + CELL_SIZE, py + CELL_SIZE}, x, y))
                return PALETTE_ROWS * i + j;
        }
    return -1;
}

// Pen or fill on the hovered cell with one button's tile.
void paint_hovered(int tile)
{
    update_hover_cell(pointer_x(), pointer_y());
    if (!hover_valid())
        return;
    if (fill_mode == PEN_MODE)
        board[hover_col][hover_row] = tile;
    else
        flood_fill(hover_col, hover_row, tile);
}

// A message takes the place of the key help in the middle of the panel,
// on the help box's own ground, for as long as it shows.
void draw_panel_message()
{
    if (!current_message())
        return;
    BITMAP *panel = level_bitmap(OBJ_EDITOR_PANEL);
    int ground = getpixel(panel, PANEL_HELP_X1 + 4, PANEL_HELP_Y2 - PANEL_TOP - 2);
    rectfill(back_buffer, PANEL_HELP_X1, PANEL_HELP_Y1, PANEL_HELP_X2, PANEL_HELP_Y2, ground);
    draw_message(back_buffer, PANEL_HELP_CENTRE_X, PANEL_HELP_Y1 + 2, PANEL_MESSAGE_CHARS, 11);
}

}  // namespace

// Which cell the pointer is over; the start cells are never hoverable and
// are forced back to floor on every call, whatever a fill or load did.
void update_hover_cell(int x, int y)
{
    hover_col = NO_HOVER_COL;
    hover_row = NO_HOVER_ROW;
    // Neighbouring ranges share their edge pixel and the later cell wins,
    // which is why x 638 still counts as the last column.
    for (int i = 0; i < LEVEL_COLUMNS; i++)
        if (x >= cell_x(i) && x <= cell_x(i) + CELL_SIZE)
            hover_col = i;
    for (int i = 0; i < LEVEL_ROWS; i++)
        if (y >= cell_y(i) && y <= cell_y(i) + CELL_SIZE)
            hover_row = i;
    if ((hover_col == 0 && hover_row == 0) ||
        (hover_col == LEVEL_COLUMNS - 1 && hover_row == LEVEL_ROWS - 1)) {
        hover_col = NO_HOVER_COL;
        hover_row = NO_HOVER_ROW;
    }
    board[0][0] = 0;
    board[LEVEL_COLUMNS - 1][LEVEL_ROWS - 1] = 0;
}

// Recolours the 4-connected region of equal tiles around (col, row).
// A depth-first walk visiting left, up, right, down in turn; the explicit
// stack holds one frame per recoloured cell, so even a fill of the whole
// board (1802 cells) fits in a fixed array.
void flood_fill(int col, int row, int tile)
{
    if (col < 0 || col >= LEVEL_COLUMNS || row < 0 || row >= LEVEL_ROWS)
        return;
    flood_target = board[col][row];
    if (flood_target == tile)
        return;

    struct frame {
        int16_t col, row;
        int16_t next;   // neighbour to visit next, 0..3; 4 when done
    };
    static constexpr int step_col[4] = {-1, 0, 1, 0};
    static constexpr int step_row[4] = {0, -1, 0, 1};
    // Every pushed cell is recoloured first and so can never be pushed
    // again: the depth never exceeds the board's cell count.
    std::array<frame, LEVEL_CELLS> stack;
    int depth = 0;

    auto enter = [&](int c, int r) {
        if (c < 0 || c >= LEVEL_COLUMNS || r < 0 || r >= LEVEL_ROWS)
            return;
        if (board[c][r] != flood_target)
            return;
        board[c][r] = tile;
        stack[depth++] = {static_cast<int16_t>(c), static_cast<int16_t>(r), 0};
    };

    enter(col, row);
    while (depth > 0) {
        frame &top = stack[depth - 1];
        if (top.next == 4) {
            depth--;
            continue;
        }
        int d = top.next++;
        enter(top.col + step_col[d], top.row + step_row[d]);
    }
}

// Everything of the editor screen but the panel and the hover mark, so the
// dialogs and the browser can float over a current picture of the board.
void draw_editor_screen()
{
    for (int c = 0; c < LEVEL_COLUMNS; c++)
        for (int r = 0; r < LEVEL_ROWS; r++)
            blit_tile(board[c][r], cell_x(c), cell_y(r));

    blit_tile(left_tile, LEFT_TILE_X, LEFT_TILE_Y);
    blit_tile(right_tile, RIGHT_TILE_X, RIGHT_TILE_Y);

    bool pen = fill_mode == PEN_MODE;
    blit(level_bitmap(pen ? OBJ_PEN_DOWN : OBJ_PEN_UP), back_buffer, 0, 0, PEN_BUTTON_X,
         TOOL_BUTTON_Y, TOOL_BUTTON_SIZE, TOOL_BUTTON_SIZE);
    blit(level_bitmap(pen ? OBJ_FILL_UP : OBJ_FILL_DOWN), back_buffer, 0, 0, FILL_BUTTON_X,
         TOOL_BUTTON_Y, TOOL_BUTTON_SIZE, TOOL_BUTTON_SIZE);
    if (pen)
        set_pointer(level_bitmap(OBJ_POINTER_PEN), POINTER_PEN_FOCUS_X, POINTER_PEN_FOCUS_Y);
    else
        set_pointer(level_bitmap(OBJ_POINTER_FILL), POINTER_FILL_FOCUS_X, POINTER_FILL_FOCUS_Y);

    for (int i = 0; i < PALETTE_COLUMNS; i++)
        for (int j = 0; j < PALETTE_ROWS; j++)
            blit_tile(PALETTE_ROWS * i + j, PALETTE_X + PALETTE_STEP * i,
                      PALETTE_Y + PALETTE_STEP * j);
}

// One frame: the board is drawn before this frame's input is handled, so
// a change shows in the next frame. Keys are held state: a key still held
// acts again next frame.
void editor_frame()
{
    input_pass();
    blit(level_bitmap(OBJ_EDITOR_PANEL), back_buffer, 0, 0, 0, PANEL_TOP, SCREEN_WIDTH,
         PANEL_HEIGHT);
    draw_panel_message();

    if (key[KEYNUM_ESC] && confirm_dialog(QUIT_QUESTION, draw_editor_screen) == 1)
        leave_mode = FLAG_RAISED;

    update_hover_cell(pointer_x(), pointer_y());
    draw_editor_screen();
    if (hover_valid())
        draw_sprite(back_buffer, level_bitmap(OBJ_HOVER_MARK), cell_x(hover_col),
                    cell_y(hover_row));

    if (pointer_buttons() & 1) {
        paint_hovered(left_tile);
        int x = pointer_x(), y = pointer_y();
        if (in_area(PEN_BUTTON_AREA, x, y))
            fill_mode = PEN_MODE;
        if (in_area(FILL_BUTTON_AREA, x, y))
            fill_mode = FILL_MODE;
        if (in_area(QUIT_BUTTON_AREA, x, y) &&
            confirm_dialog(QUIT_QUESTION, draw_editor_screen) == 1)
            leave_mode = FLAG_RAISED;
        if (in_area(CLEAR_BUTTON_AREA, x, y) &&
            confirm_dialog(CLEAR_QUESTION, draw_editor_screen) == 1)
            clear_board(right_tile);
        if (in_area(SAVE_BUTTON_AREA, x, y))
            save_level_dialog(draw_editor_screen);
        if (in_area(LOAD_BUTTON_AREA, x, y))
            choose_level(draw_editor_screen);
        int picked = palette_tile_at(x, y);
        if (picked >= 0)
            left_tile = picked;
    }

    // Handled after the left button, so with both held the right one wins.
    if (pointer_buttons() & 2) {
        paint_hovered(right_tile);
        int picked = palette_tile_at(pointer_x(), pointer_y());
        if (picked >= 0)
            right_tile = picked;
    }

    if (key[KEYNUM_PLUS_PAD]) {
        if (fill_mode < FILL_MODE)
            fill_mode++;
        pause_ms(PAUSE_HELD_TOOL_KEY_MS);
    }
    if (key[KEYNUM_MINUS_PAD]) {
        if (fill_mode > PEN_MODE)
            fill_mode--;
        pause_ms(PAUSE_HELD_TOOL_KEY_MS);
    }
    if (key[KEYNUM_C] && confirm_dialog(CLEAR_QUESTION_FI, draw_editor_screen) == 1)
        clear_board(right_tile);
    if (key[KEYNUM_S])
        save_level_dialog(draw_editor_screen);
    if (key[KEYNUM_L])
        choose_level(draw_editor_screen);
}

// The editor mode: an empty board, then frames until leaving is confirmed.
void run_editor()
{
    clear_board(0);
    // Blank names for the browser's unused rows; the last two bytes of an
    // entry are the listing's and stay as they are.
    for (auto &entry : level_list)
        std::memset(entry, ' ', 8);

    while (!leave_mode) {
        editor_frame();
        present(WITH_POINTER);
    }
}
