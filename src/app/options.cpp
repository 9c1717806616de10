// The option dialogs: both players' names and all fourteen key bindings,
// asked for one prompt at a time and written back to config.ini.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "app.h"
#include "match_loop.h"
#include "match_render.h"

const char key_prompt_labels[14][12] = {
    "PL1 left", "PL1 right", "PL1 up", "PL1 down", "PL1 fire", "PL1 change", "PL1 special",
    "PL2 left", "PL2 right", "PL2 up", "PL2 down", "PL2 fire", "PL2 change", "PL2 special",
};

namespace {

constexpr unsigned TEXT_BUFFER = 12;
constexpr unsigned NAME_ENTRY_LENGTH = 9;   // eight characters and the NUL
constexpr int PROMPTS = 14;

// Where each prompt's answer goes: player, then slot of the keys table. The
// prompts ask left, right, up, down; the tables keep up, down, left, right.
struct binding {
    int player;
    int slot;
};
const binding PROMPT_BINDINGS[PROMPTS] = {
    {0, KEY_SLOT_LEFT}, {0, KEY_SLOT_RIGHT}, {0, KEY_SLOT_UP}, {0, KEY_SLOT_DOWN},
    {0, KEY_SLOT_FIRE}, {0, KEY_SLOT_CHANGE}, {0, KEY_SLOT_SPECIAL},
    {1, KEY_SLOT_LEFT}, {1, KEY_SLOT_RIGHT}, {1, KEY_SLOT_UP}, {1, KEY_SLOT_DOWN},
    {1, KEY_SLOT_FIRE}, {1, KEY_SLOT_CHANGE}, {1, KEY_SLOT_SPECIAL},
};

// False when the game is asked to quit before Enter: dest is then as it was.
bool ask_name(const char *label, char *dest)
{
    // Drawn on the back buffer and presented like every other screen, so
    // the prompt is enlarged with the rest of the game.
    clear(back_buffer);
    clear_keys();
    textout(back_buffer, menu_font(), label, NAMES_LABEL_X, NAMES_Y, TEXT_WHITE);
    present(WITHOUT_POINTER);
    return input_text(back_buffer, menu_font(), NAMES_ENTRY_X, NAMES_Y, TEXT_WHITE, dest,
                      NAME_ENTRY_LENGTH);
}

// Shows one prompt and waits for a fresh press; 0 when the game is asked to
// quit first.
int ask_key(const char (&label)[12])
{
    char text[sizeof "Press a key for " + sizeof label];
    std::snprintf(text, sizeof text, "Press a key for %.*s", int(sizeof label - 1), label);
    clear(back_buffer);
    textout_centre(back_buffer, menu_font(), text, SCREEN_WIDTH / 2, SCREEN_HEIGHT / 2,
                   KEY_PROMPT_COLOR);
    present(WITHOUT_POINTER);
    // Releasing every key here keeps the press that chose "Keys", or the one
    // that answered the previous prompt, from answering this one too.
    clear_keys();
    pause_ms(PAUSE_BEFORE_KEY_PROMPT_MS);
    int answer = 0;
    while (answer == 0) {
        if (quit_asked())
            return 0;
        key_wait_poll();
        answer = held_key();
    }
    // The keys of a chord reach us a moment apart: look again once the
    // press has settled, so that the highest key of the chord wins.
    pause_ms(PAUSE_CHORD_SETTLE_MS);
    input_pass();
    return std::max(answer, held_key());
}

// readkey, whose wait a request to quit ends: 0 then.
int read_key_or_quit()
{
    while (!keypressed()) {
        if (quit_asked())
            return 0;
        pause_ms(1);
    }
    return readkey();
}

}  // namespace

int (*read_key_source)() = read_key_or_quit;
void (*key_wait_poll)() = input_pass;

int held_key()
{
    int answer = 0;
    for (int i = 1; i < KEY_MAX; i++)
        if (key[i])
            answer = i;
    return answer;
}

// One-line text entry on a field of length - 1 characters, pre-filled with
// spaces; blocks until Enter. On the back buffer each key is presented.
// False, with dest untouched, when the game is asked to quit first.
bool input_text(BITMAP *bmp, FONT *f, int x, int y, int color, char *dest, unsigned length)
{
    if (length < 1)
        length = 1;
    if (length > TEXT_BUFFER)
        length = TEXT_BUFFER;
    const unsigned field = length - 1;

    char buffer[TEXT_BUFFER];
    std::memset(buffer, ' ', field);
    buffer[field] = '\0';

    unsigned typed = 0;
    int drawn_width = 0;
    int index;
    do {
        int k = read_key_source();
        if (quit_asked())
            return false;
        index = k >> 8;
        // Control characters (Ctrl+J, Tab, keypad Enter, Esc) never go into
        // the text: a line break in a name would break config.ini apart. Nor
        // does a key without a character (an arrow, an F-key): its 0 would
        // end the name there.
        unsigned char ch = static_cast<unsigned char>(k & 0xff);
        if (index != KEY_ENTER && index != KEY_BACKSPACE && typed < field && ch != 0 &&
            !is_control_char(ch)) {
            buffer[typed] = static_cast<char>(ch);
            typed++;
        }
        if (index == KEY_BACKSPACE && typed > 0) {
            typed--;
            buffer[typed] = ' ';
        }
        // The glyph background of text mode 0 paints over a deleted letter;
        // in a proportional font the space is narrower than the letter it
        // replaced, so the strip the longer text covered is blanked as well.
        textout(bmp, f, buffer, x, y, color);
        int width = text_length(f, buffer);
        if (width < drawn_width)
            rectfill(bmp, x + width, y, x + drawn_width - 1, y + text_height(f) - 1, 0);
        drawn_width = std::max(drawn_width, width);
        if (bmp == back_buffer)
            present(WITHOUT_POINTER);
    } while (index != KEY_ENTER);
    forget_typed_keys();

    std::strcpy(dest, buffer);
    return true;
}

void names_dialog()
{
    // Asked to quit half-way, the file keeps the names it had.
    if (!ask_name("Player 1 name:", profiles[0].name) ||
        !ask_name("Player 2 name:", profiles[1].name))
        return;
    clear_keys();

    // Written at once and in one step, so a crash, a killed process or a
    // full disk never leaves half a config.ini.
    const config_value names[2] = {{name_config_key(0), profiles[0].name},
                                   {name_config_key(1), profiles[1].name}};
    write_config_values(names, 2);
}

void keys_dialog()
{
    int answers[PROMPTS] = {};
    for (int i = 0; i < PROMPTS; i++) {
        answers[i] = ask_key(key_prompt_labels[i]);
        if (quit_asked())
            return;   // no binding changes unless all fourteen were given
    }

    for (int i = 0; i < PROMPTS; i++)
        profiles[PROMPT_BINDINGS[i].player].keys[PROMPT_BINDINGS[i].slot] = answers[i];

    char numbers[2][KEY_SLOTS][12];
    config_value bindings[2 * KEY_SLOTS];
    for (int p = 0; p < 2; p++)
        for (int slot = 0; slot < KEY_SLOTS; slot++) {
            std::snprintf(numbers[p][slot], sizeof numbers[p][slot], "%d",
                          key_to_config(profiles[p].keys[slot]));
            bindings[p * KEY_SLOTS + slot] = {binding_config_key(p, slot), numbers[p][slot]};
        }
    write_config_values(bindings, 2 * KEY_SLOTS);
    clear_keys();
}
