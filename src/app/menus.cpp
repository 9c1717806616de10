// The menu loop and the main and options menus.
#include "app.h"
#include "level.h"
#include "match.h"

int menu_cursor = 1;
int menu_choice = 0;
int options_cursor = 1;
int options_choice = 0;

namespace {

// A menu is a table of items and the cursor and choice that run through it.
// An item without an action is chosen and then left alone.
struct menu_item {
    const char *text;
    void (*action)();
};
struct menu {
    const menu_item *items;   // MENU_ITEMS of them, top to bottom
    int *cursor;              // 1..MENU_ITEMS
    int *choice;              // 0 none, else the chosen item's number
    bool forget_choice;       // the choice is cleared once acted on
};

// The modes leave the key that ended them held: the Esc that confirmed
// leaving must not also end the program at the menu's next turn; quitting
// takes a new press. Nor may a pad's change button still held from the
// match, which is Esc here.
void back_to_menu()
{
    release_key(KEY_ESC);
    release_pads();
    leave_mode = 0;
    menu_choice = 0;
}

// New Game: the player picks the level over the menu's last picture, and
// who plays each side beside it, then plays it; a cancel plays the empty
// board.
void choose_arena()
{
    clear_board(0);
    pause_ms(PAUSE_BEFORE_BROWSER_MS);
    choose_level(new_game_backdrop);
}

void new_game()
{
    run_match(choose_arena);
    back_to_menu();
}

// T in the editor plays the board as it is: no level to choose.
void play_editor_board()
{
    run_match(nullptr);
}

void editor()
{
    play_test_match = play_editor_board;
    run_editor();
    back_to_menu();
}

void quit() { quit_requested = FLAG_RAISED; }

void names()
{
    names_dialog();
    leave_mode = 0;
}

void keys()
{
    keys_dialog();
    leave_mode = 0;
}

void back() { menu_choice = 0; }

// Options keeps its choice and so switches the menu loop to the options
// menu; Credits, Energy and Money do nothing.
const menu_item MAIN_ITEMS[MENU_ITEMS] = {
    {"New Game", new_game}, {"Options", nullptr}, {"Editor", editor},
    {"Credits", nullptr},   {"Quit", quit},
};
const menu_item OPTIONS_ITEMS[MENU_ITEMS] = {
    {"Names", names}, {"Keys", keys}, {"Energy", nullptr}, {"Money", nullptr}, {"Back", back},
};
const menu MAIN_MENU = {MAIN_ITEMS, &menu_cursor, &menu_choice, false};
const menu OPTIONS_MENU = {OPTIONS_ITEMS, &options_cursor, &options_choice, true};

// Move the highlight, choose, draw; then the chosen item's action runs the
// rest of the turn. A pad's up and down move and its fire button chooses.
// Each key acted on is used up, so one press acts once; only that key, so
// Down and Enter arriving in one pass move and then choose. The pads are
// read once, before any of their controls is used up.
void run_menu(const menu &m)
{
    int &cursor = *m.cursor;
    int &choice = *m.choice;
    const int was = cursor;
    const pad_hold pad = either_pad();
    if (key[KEY_UP] || pad.up) {
        if (cursor > 1)
            cursor--;
        release_key(KEY_UP);
        release_pads();
    }
    if (key[KEY_DOWN] || pad.down) {
        if (cursor < MENU_ITEMS)
            cursor++;
        release_key(KEY_DOWN);
        release_pads();
    }
    if (cursor != was)
        note_sound(SOUND_MENU_MOVE, SOUND_CENTRE_X);
    if (key[KEY_ENTER] || key[KEY_SPACE] || pad.fire) {
        choice = cursor;
        note_sound(SOUND_MENU_CHOOSE, SOUND_CENTRE_X);
        release_key(KEY_ENTER);
        release_key(KEY_SPACE);
        release_pads();
    }
    // Now, before a chosen mode takes over the turn.
    play_sounds();

    ellipsefill(back_buffer, MENU_X, MENU_ELLIPSE_Y[cursor - 1], MENU_ELLIPSE_RX, MENU_ELLIPSE_RY,
                MENU_HIGHLIGHT_COLOR);
    text_mode(-1);
    for (int i = 0; i < MENU_ITEMS; i++)
        textout_centre(back_buffer, menu_font(), m.items[i].text, MENU_X, MENU_TEXT_Y[i],
                       TEXT_WHITE);
    text_mode(0);

    if (choice >= 1 && choice <= MENU_ITEMS && m.items[choice - 1].action)
        m.items[choice - 1].action();
    if (m.forget_choice)
        choice = 0;
}

}  // namespace

void main_menu_frame() { run_menu(MAIN_MENU); }
void options_menu_frame() { run_menu(OPTIONS_MENU); }

namespace {

// A message under the menu box, on a dark strip of the menu's own kind.
void draw_menu_message()
{
    if (!current_message())
        return;
    rectfill(back_buffer, MENU_STRIP_X1, MENU_STRIP_Y1, MENU_STRIP_X2, MENU_STRIP_Y2,
             MENU_MESSAGE_FILL_COLOR);
    rect(back_buffer, MENU_STRIP_X1, MENU_STRIP_Y1, MENU_STRIP_X2, MENU_STRIP_Y2,
         MENU_MESSAGE_FRAME_COLOR);
    draw_message(back_buffer, MENU_X, MENU_MESSAGE_Y, MENU_MESSAGE_CHARS);
}

}  // namespace

void menu_turn()
{
    input_pass();
    // A pad's change button is the menus' Esc.
    if (key[KEY_ESC] || either_pad().change)
        quit_requested = FLAG_RAISED;
    if (menu_choice == MAIN_OPTIONS)
        options_menu_frame();
    else
        main_menu_frame();
    draw_menu_message();
    present(WITHOUT_POINTER);
    clear_to_color(back_buffer, 0);
    blit(game_bitmap(OBJ_MENU_BACKGROUND), back_buffer, 0, 0, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT);
}

void menu_loop()
{
    while (!quit_requested && !quit_asked()) {
        menu_turn();
        wait_for_retrace();
    }
}
