// The menu loop and the main and options menus.
#include "app.h"
#include "level.h"
#include "match.h"

int menu_cursor = 1;
int menu_choice = 0;
int options_cursor = 1;
int options_choice = 0;

namespace {

const char *const MAIN_ITEMS[MENU_ITEMS] = {"New Game", "Options", "Editor", "Credits", "Quit"};
const char *const OPTIONS_ITEMS[MENU_ITEMS] = {"Names", "Keys", "Energy", "Money", "Back"};

// Steps shared by both menus: move the highlight, choose, draw.
void menu_input_and_draw(int &cursor, int &choice, const char *const items[])
{
    const int was = cursor;
    if (key[KEYNUM_UP]) {
        if (cursor > 1)
            cursor--;
        clear_keys();
    }
    if (key[KEYNUM_DOWN]) {
        if (cursor < MENU_ITEMS)
            cursor++;
        clear_keys();
    }
    if (cursor != was)
        note_sound(SOUND_MENU_MOVE, SOUND_CENTRE_X);
    if (key[KEYNUM_ENTER] || key[KEYNUM_SPACE]) {
        choice = cursor;
        note_sound(SOUND_MENU_CHOOSE, SOUND_CENTRE_X);
        clear_keys();
    }
    // Now, before a chosen mode takes over the turn.
    play_sounds();

    ellipsefill(back_buffer, MENU_X, MENU_ELLIPSE_Y[cursor - 1], MENU_ELLIPSE_RX, MENU_ELLIPSE_RY,
                makecol(250, 0, 0));
    text_mode(-1);
    for (int i = 0; i < MENU_ITEMS; i++)
        textout_centre(back_buffer, menu_font(), items[i], MENU_X, MENU_TEXT_Y[i], TEXT_WHITE);
    text_mode(0);
}

}  // namespace

void reset_players()
{
    static const int32_t start_x[2] = {2, 626};
    static const int32_t start_y[2] = {2, 398};
    for (int p = 0; p < 2; p++) {
        players[p].x = start_x[p];
        players[p].y = start_y[p];
        players[p].speed = 2;
        players[p].facing = FACING_DOWN;
        players[p].energy = START_ENERGY;
        players[p].frame = 0.0;
        players[p].fire_delay = 0;
    }
}

void main_menu_frame()
{
    menu_input_and_draw(menu_cursor, menu_choice, MAIN_ITEMS);

    if (menu_choice == 3) {
        run_editor();
        // The Esc that confirmed leaving must not also end the program at
        // the menu's next turn; quitting takes a new press.
        release_key(KEYNUM_ESC);
        leave_mode = 0;
        menu_choice = 0;
    } else if (menu_choice == 1) {
        run_match();
        release_key(KEYNUM_ESC);
        leave_mode = 0;
        menu_choice = 0;
    } else if (menu_choice == 5) {
        quit_requested = -1;
    }
    // 2 (Options) stays set and switches menus; 4 (Credits) does nothing.
}

void options_menu_frame()
{
    menu_input_and_draw(options_cursor, options_choice, OPTIONS_ITEMS);

    if (options_choice == 1) {
        names_dialog();
        leave_mode = 0;
        options_choice = 0;
    } else if (options_choice == 2) {
        keys_dialog();
        leave_mode = 0;
        options_choice = 0;
    } else if (options_choice == 5) {
        menu_choice = 0;
    }
    options_choice = 0;   // Energy and Money do nothing
}

namespace {

// A message under the menu box, on a dark strip of the menu's own kind.
void draw_menu_message()
{
    if (!current_message())
        return;
    rectfill(back_buffer, 70, MENU_MESSAGE_Y - 5, 569, MENU_MESSAGE_Y + 21, makecol(18, 14, 30));
    rect(back_buffer, 70, MENU_MESSAGE_Y - 5, 569, MENU_MESSAGE_Y + 21, makecol(120, 110, 160));
    draw_message(back_buffer, MENU_X, MENU_MESSAGE_Y, MENU_MESSAGE_CHARS, 11);
}

}  // namespace

void menu_turn()
{
    pump_input_taps();
    reset_players();
    if (key[KEYNUM_ESC])
        quit_requested = -1;
    if (menu_choice == 2)
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
    while (!quit_requested) {
        menu_turn();
        wait_for_retrace();
    }
}
