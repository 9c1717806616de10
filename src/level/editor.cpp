// The level editor: painting the board with pen or flood fill from the
// palette, and the panel's tool, Clear, Load, Save and Quit controls.
#include <array>
#include <cstdlib>
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
int mirror_mode = 0;
void (*play_test_match)() = nullptr;

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

// The cell each button painted in the last frame with the pen, so a drag
// paints the whole line the pointer travelled however far it moved between
// two frames. Forgotten when the button is let go, the pointer leaves the
// board, the fill is used or anything opens over the editor.
struct stroke_end {
    int col = -1, row = -1;
};
stroke_end stroke[2];

void forget_strokes()
{
    stroke[0] = stroke[1] = stroke_end{};
}

// Pen or fill on the hovered cell with one button's tile (0 left, 1 right).
void paint_hovered(int button, int tile)
{
    update_hover_cell(pointer_x(), pointer_y());
    stroke_end &last = stroke[button];
    if (!hover_valid()) {
        last = stroke_end{};
        return;
    }
    if (fill_mode == PEN_MODE) {
        if (last.col >= 0)
            paint_stroke(last.col, last.row, hover_col, hover_row, tile);
        else
            paint_cell(hover_col, hover_row, tile);
        last = {hover_col, hover_row};
    } else {
        fill_region(hover_col, hover_row, tile);
        last = stroke_end{};
    }
}

// The dialogs and the browser over the editor. A drag does not go on across
// them: the next frame paints from wherever the pointer is then.
bool ask(const char *question)
{
    forget_strokes();
    return confirm_dialog(question, draw_editor_screen) == 1;
}

void save_over_editor()
{
    forget_strokes();
    save_level_dialog(draw_editor_screen);
}

void load_over_editor()
{
    forget_strokes();
    choose_level(draw_editor_screen);
    // The Esc that cancelled the browser, still held, must not ask to leave
    // the editor too. (A match started from the menu does see it: a held Esc
    // ends that match at once, as it always has.)
    release_key(KEY_ESC);
}

bool is_start_cell(int col, int row)
{
    return (col == P1_START_COL && row == P1_START_ROW) ||
           (col == P2_START_COL && row == P2_START_ROW);
}

// Lit over the lamp's dark socket in the panel picture: the two
// point-symmetric corners that mirror painting joins.
void draw_mirror_lamp()
{
    if (!mirror_mode)
        return;
    const int x1 = MIRROR_LAMP_X1 + 2, y1 = MIRROR_LAMP_Y1 + 2;
    const int x2 = MIRROR_LAMP_X2 - 2, y2 = MIRROR_LAMP_Y2 - 2;
    const int lit = makecol(120, 255, 140), glow = makecol(40, 120, 60);
    rectfill(back_buffer, x1 - 1, y1 - 1, x2 + 1, y2 + 1, glow);
    triangle(back_buffer, x1, y1, x1 + 6, y1, x1, y1 + 6, lit);
    triangle(back_buffer, x2, y2, x2 - 6, y2, x2, y2 - 6, lit);
}

// Each player's figure over its start cell, so a designer sees where the
// two begin; the cells' tiles stay as they are.
void draw_start_marks()
{
    draw_sprite(back_buffer, game_bitmap(OBJ_P1_WALK_FIRST), cell_x(P1_START_COL), cell_y(P1_START_ROW));
    draw_sprite(back_buffer, game_bitmap(OBJ_P2_WALK_FIRST), cell_x(P2_START_COL), cell_y(P2_START_ROW));
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
    draw_message(back_buffer, PANEL_HELP_CENTRE_X, PANEL_HELP_Y1 + 2, PANEL_MESSAGE_CHARS);
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
    if (is_start_cell(hover_col, hover_row)) {
        hover_col = NO_HOVER_COL;
        hover_row = NO_HOVER_ROW;
    }
    board[P1_START_COL][P1_START_ROW] = 0;
    board[P2_START_COL][P2_START_ROW] = 0;
}

void paint_cell(int col, int row, int tile)
{
    if (col < 0 || col >= LEVEL_COLUMNS || row < 0 || row >= LEVEL_ROWS)
        return;
    if (!is_start_cell(col, row))
        board[col][row] = tile;
    if (mirror_mode && !is_start_cell(mirror_col(col), mirror_row(row)))
        board[mirror_col(col)][mirror_row(row)] = tile;
}

// Sequential fills give the same picture as two fills of the board as it
// was: the first recolours only its own region, so the mirror's region is
// either untouched or already part of it (then the second finds its tile
// and does nothing).
void fill_region(int col, int row, int tile)
{
    flood_fill(col, row, tile);
    if (mirror_mode)
        flood_fill(mirror_col(col), mirror_row(row), tile);
}

// Bresenham's line over cells: each step moves to one of the eight
// neighbours, so the painted line has no gaps.
void paint_stroke(int col0, int row0, int col1, int row1, int tile)
{
    int dc = std::abs(col1 - col0), dr = -std::abs(row1 - row0);
    int sc = col0 < col1 ? 1 : -1, sr = row0 < row1 ? 1 : -1;
    int err = dc + dr;
    for (;;) {
        paint_cell(col0, row0, tile);
        if (col0 == col1 && row0 == row1)
            return;
        int e2 = 2 * err;
        if (e2 >= dr) {
            err += dr;
            col0 += sc;
        }
        if (e2 <= dc) {
            err += dc;
            row0 += sr;
        }
    }
}

void test_play()
{
    // Nothing in a match writes the board today; keeping a copy makes
    // "exactly as it was" independent of that.
    static int32_t kept[LEVEL_COLUMNS][LEVEL_ROWS];
    std::memcpy(kept, board, sizeof board);
    bool joined = start_cells_joined();
    release_key(KEY_T);
    if (play_test_match)
        play_test_match();
    std::memcpy(board, kept, sizeof board);
    // The Esc that ended the match must not ask to leave the editor too.
    release_key(KEY_ESC);
    forget_strokes();
    // Played all the same; the panel says why nobody met, back in the editor
    // where messages show.
    if (!joined)
        show_warning("%s", UNREACHABLE_WARNING);
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
    draw_start_marks();

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
    draw_mirror_lamp();

    if (key[KEY_ESC] && ask(QUIT_QUESTION))
        leave_mode = FLAG_RAISED;

    update_hover_cell(pointer_x(), pointer_y());
    draw_editor_screen();
    if (hover_valid())
        draw_sprite(back_buffer, level_bitmap(OBJ_HOVER_MARK), cell_x(hover_col),
                    cell_y(hover_row));

    if (pointer_buttons() & 1) {
        paint_hovered(0, left_tile);
        int x = pointer_x(), y = pointer_y();
        if (in_area(PEN_BUTTON_AREA, x, y))
            fill_mode = PEN_MODE;
        if (in_area(FILL_BUTTON_AREA, x, y))
            fill_mode = FILL_MODE;
        if (in_area(QUIT_BUTTON_AREA, x, y) && ask(QUIT_QUESTION))
            leave_mode = FLAG_RAISED;
        if (in_area(CLEAR_BUTTON_AREA, x, y) && ask(CLEAR_QUESTION))
            clear_board(right_tile);
        if (in_area(SAVE_BUTTON_AREA, x, y))
            save_over_editor();
        if (in_area(LOAD_BUTTON_AREA, x, y))
            load_over_editor();
        int picked = palette_tile_at(x, y);
        if (picked >= 0)
            left_tile = picked;
    }

    // Handled after the left button, so with both held the right one wins.
    if (pointer_buttons() & 2) {
        paint_hovered(1, right_tile);
        int picked = palette_tile_at(pointer_x(), pointer_y());
        if (picked >= 0)
            right_tile = picked;
    }

    if (!(pointer_buttons() & 1))
        stroke[0] = stroke_end{};
    if (!(pointer_buttons() & 2))
        stroke[1] = stroke_end{};

    if (key[KEY_PLUS_PAD]) {
        if (fill_mode < FILL_MODE)
            fill_mode++;
        pause_ms(PAUSE_HELD_TOOL_KEY_MS);
    }
    if (key[KEY_MINUS_PAD]) {
        if (fill_mode > PEN_MODE)
            fill_mode--;
        pause_ms(PAUSE_HELD_TOOL_KEY_MS);
    }
    if (key[KEY_C] && ask(CLEAR_QUESTION_FI))
        clear_board(right_tile);
    if (key[KEY_S])
        save_over_editor();
    if (key[KEY_L])
        load_over_editor();
    // Unlike the keys above, M and T act once per press: a held M would
    // flicker the mirror on and off, a held T start match after match.
    if (key_down(KEY_M)) {
        release_key(KEY_M);
        mirror_mode = !mirror_mode;
    }
    if (key_down(KEY_T) && !leave_mode)
        test_play();
}

// The editor mode: an empty board, then frames until leaving is confirmed.
void run_editor()
{
    clear_board(0);
    // Blank names for the browser's unused rows; the last two bytes of an
    // entry are the listing's and stay as they are.
    for (auto &entry : level_list)
        std::memset(entry, ' ', 8);

    forget_strokes();
    while (!leave_mode && !quit_asked()) {
        editor_frame();
        present(WITH_POINTER);
    }
}
