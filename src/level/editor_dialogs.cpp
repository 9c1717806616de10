// The editor's dialogs: the yes/no question and the save-name box. Both
// float over a fresh picture of what their caller draws behind them and end
// with a short pause, so the key or button that answered is not taken again
// at once.
#include <array>
#include <cstdio>
#include <cstring>

#include "platform.h"
#include "level.h"

namespace {

// Keys that type into a level name, in the order they are tested. "+" and
// "-" sit where a Nordic keyboard has them: right of 0, left of right Shift.
struct typing_key {
    int index;
    char ch;
};

constexpr int TYPING_KEYS = 26 + 2 + 9 + 1;

constexpr std::array<typing_key, TYPING_KEYS> make_typing_table()
{
    std::array<typing_key, TYPING_KEYS> t{};
    int k = 0;
    for (int i = 0; i < 26; i++)
        t[k++] = {KEY_A + i, static_cast<char>('A' + i)};
    t[k++] = {KEY_MINUS, '+'};
    t[k++] = {KEY_SLASH, '-'};
    for (int i = 0; i < 9; i++)
        t[k++] = {KEY_1 + i, static_cast<char>('1' + i)};
    t[k++] = {KEY_0, '0'};
    return t;
}

constexpr auto TYPING_TABLE = make_typing_table();

bool left_button_in(const hit_area &area)
{
    return (pointer_buttons() & 1) && in_area(area, pointer_x(), pointer_y());
}

bool answered_by_button()
{
    return left_button_in(YES_BUTTON_AREA) || left_button_in(NO_BUTTON_AREA);
}

}  // namespace

// One pass of the question: every test runs and a later one overrides an
// earlier one, so N beats Y and the No button beats the Yes button.
void confirm_pass(confirm_state &s)
{
    input_pass();
    if (key[KEY_Y]) {
        s.answer = 1;
        s.done = true;
    }
    if (left_button_in(YES_BUTTON_AREA)) {
        s.answer = 1;
        s.done = true;
    }
    if (left_button_in(NO_BUTTON_AREA)) {
        s.answer = 0;
        s.done = true;
    }
    if (key[KEY_N]) {
        s.answer = 0;
        s.done = true;
    }
    // A game asked to quit answers No: nothing starts on its way out.
    if (quit_asked()) {
        s.answer = 0;
        s.done = true;
    }
    present(WITH_POINTER);
}

// Asks a yes/no question; 1 for yes, 0 for no. The message is centred by
// its byte count for the 8-pixel built-in font.
int confirm_dialog(const char *message, draw_backdrop_fn draw_backdrop)
{
    int length = static_cast<int>(std::strlen(message));
    if (draw_backdrop)
        draw_backdrop();
    draw_sprite(back_buffer, level_bitmap(OBJ_YESNO_BOX), YESNO_BOX_X, YESNO_BOX_Y);
    text_mode(-1);
    const int left = CONFIRM_TEXT_CENTRE_X - FONT_CHAR_WIDTH * length / 2;
    textout(back_buffer, font, message, left, CONFIRM_TEXT_Y, TEXT_WHITE);
    text_mode(0);

    confirm_state s{false, 0};
    while (!s.done)
        confirm_pass(s);
    // A click that answered is over for the caller too: held on, the button
    // would paint the board cell under Yes or No, or press the editor's
    // button there, once the pause is over.
    if (answered_by_button())
        release_button(1);
    pause_ms(PAUSE_AFTER_DIALOG_MS);
    return s.answer;
}

// A fresh, empty name. The key or click that opened the box is still held;
// releasing every key keeps the S of the editor's save key from typing
// itself as the first character.
void save_name_open(save_name_state &s)
{
    std::memset(s.name, 0, sizeof s.name);
    s.n = 0;
    s.state = SAVE_NAME_OPEN;
    clear_keys();
}

// One pass of the save-name box: draw, type, then Backspace, Enter, Esc.
void save_name_pass(save_name_state &s, draw_backdrop_fn draw_backdrop)
{
    input_pass();
    if (draw_backdrop)
        draw_backdrop();
    draw_sprite(back_buffer, level_bitmap(OBJ_SAVE_BOX), SAVE_BOX_X, SAVE_BOX_Y);

    // Each key acted on is used up, so one press types one character, and
    // only that key: two typing keys in one pass both type, in the table's
    // order.
    for (const auto &t : TYPING_TABLE)
        if (s.n < SAVE_NAME_LENGTH && key[t.index]) {
            s.name[s.n++] = t.ch;
            release_key(t.index);
        }

    // Backspace blanks rather than shifts: the removed character and the
    // place after it become spaces.
    if (key[KEY_BACKSPACE] && s.n > 0 && s.n < SAVE_NAME_LENGTH + 1) {
        s.name[s.n] = ' ';
        s.n--;
        s.name[s.n] = ' ';
        release_key(KEY_BACKSPACE);
    }
    if (key[KEY_ENTER]) {
        release_key(KEY_ENTER);
        if (s.n > 0)
            s.state = SAVE_NAME_ACCEPTED;
    }
    // After Enter, so Esc wins when both are held.
    if (key[KEY_ESC]) {
        s.state = SAVE_NAME_CANCELLED;
        release_key(KEY_ESC);
    }
    if (quit_asked())
        s.state = SAVE_NAME_CANCELLED;

    text_mode(-1);
    textout(back_buffer, font, s.name, SAVE_TEXT_X, SAVE_TEXT_Y, TEXT_WHITE);
    if (s.state == SAVE_NAME_OPEN)
        textout(back_buffer, font, "_", SAVE_TEXT_X + FONT_CHAR_WIDTH * s.n, SAVE_TEXT_Y,
                TEXT_WHITE);
    text_mode(0);

    present(WITH_POINTER);
}

// The level's path, without the spaces Backspace may have left at the end
// of the name: a file name ending in blanks is a trap on most systems.
void build_save_path(const char *name)
{
    size_t length = std::strlen(name);
    while (length > 0 && name[length - 1] == ' ')
        length--;
    std::snprintf(level_path, sizeof level_path, "%s/%.*s", LEVEL_DIR, static_cast<int>(length),
                  name);
}

// Writes the board under a typed name and tells the player how it went.
int save_level(const char *name)
{
    build_save_path(name);
    const char *shown = level_path + std::strlen(LEVEL_DIR) + 1;
    int error = write_level(level_path);
    note_sound(error != 0 ? SOUND_SAVE_FAILED : SOUND_LEVEL_SAVED, SOUND_CENTRE_X);
    play_sounds();
    if (error != 0) {
        show_failure("Could not save %s: %s", shown, std::strerror(error));
        return SAVE_FAILED;
    }
    // Saved all the same: a board in the making may be saved half done.
    if (!start_cells_joined())
        show_warning("Saved %s. %s", shown, UNREACHABLE_WARNING);
    else
        show_note("Saved %s", shown);
    return SAVE_DONE;
}

// Asks for a name and, once the user confirms, writes the board under it.
int save_level_dialog(draw_backdrop_fn draw_backdrop)
{
    save_name_state s;
    save_name_open(s);
    while (s.state == SAVE_NAME_OPEN)
        save_name_pass(s, draw_backdrop);

    int outcome = SAVE_DECLINED;
    if (s.state == SAVE_NAME_ACCEPTED) {
        build_save_path(s.name);
        if (confirm_dialog("Are you sure Y/N", draw_backdrop) == 1)
            outcome = save_level(s.name);
    }
    pause_ms(PAUSE_AFTER_DIALOG_MS);
    return outcome;
}
