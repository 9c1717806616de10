// Who plays each side: in the level browser that New Game opens, F1 and F2
// step player 1 and player 2 through a person and the computer's three
// levels. The choice shows under each player's picture and is written to
// config.ini at once, like the names.
#include <cstdio>

#include "app.h"
#include "computer.h"
#include "match.h"

namespace {

constexpr int STEP_KEYS[2] = {KEY_F1, KEY_F2};

// A press acts once, however long it is held.
bool take_key(int k)
{
    if (!key_down(k))
        return false;
    release_key(k);
    return true;
}

// The menu's picture under a part of the screen, so what is drawn there
// afresh on every pass never piles up.
void restore_background(int x1, int y1, int x2, int y2)
{
    blit(game_bitmap(OBJ_MENU_BACKGROUND), back_buffer, x1, y1, x1, y1, x2 - x1 + 1, y2 - y1 + 1);
}

void shadowed_text(const char *text, int centre_x, int y, int colour)
{
    const int x = centre_x - text_length(font, text) / 2;
    textout(back_buffer, font, text, x + 1, y + 1, MESSAGE_SHADOW_COLOR);
    textout(back_buffer, font, text, x, y, colour);
}

}  // namespace

void step_who_plays(int player)
{
    profiles[player].computer = (profiles[player].computer + 1) % COMPUTER_LEVELS;
    char value[8];
    std::snprintf(value, sizeof value, "%d", int(profiles[player].computer));
    const config_value v = {computer_config_key(player), value};
    write_config_values(&v, 1);   // a failure is told to the player
}

// Each player's name in its own colour, and under it the key and the choice:
// "F1: PERSON", "F2: CPU HARD", as the match panel marks a computer player.
void draw_who_plays()
{
    static const int COLOURS[2] = {P1_NAME_COLOR, P2_NAME_COLOR};
    text_mode(-1);
    for (int p = 0; p < 2; p++) {
        const int x = WHO_PLAYS_X[p];
        restore_background(x - WHO_PLAYS_HALF_WIDTH, WHO_PLAYS_Y - 2, x + WHO_PLAYS_HALF_WIDTH,
                           WHO_PLAYS_Y + 2 * WHO_PLAYS_LINE);
        char name[NAME_SIZE];
        printable_text(profiles[p].name, name, sizeof name);
        shadowed_text(name, x, WHO_PLAYS_Y, COLOURS[p]);
        const int level = profiles[p].computer;
        char choice[32];
        if (level > COMPUTER_NONE && level < COMPUTER_LEVELS)
            std::snprintf(choice, sizeof choice, "F%d: CPU %s", p + 1, computer_level_name(level));
        else
            std::snprintf(choice, sizeof choice, "F%d: PERSON", p + 1);
        for (char *c = choice; *c; c++)
            if (*c >= 'a' && *c <= 'z')
                *c = char(*c - 'a' + 'A');
        shadowed_text(choice, x, WHO_PLAYS_Y + WHO_PLAYS_LINE, TEXT_WHITE);
    }
    text_mode(0);
}

void new_game_backdrop()
{
    for (int p = 0; p < 2; p++)
        if (take_key(STEP_KEYS[p]))
            step_who_plays(p);
    draw_who_plays();
    // A settings file that cannot be written is said under the list.
    restore_background(MENU_STRIP_X1, BROWSER_MESSAGE_Y - 5, MENU_STRIP_X2,
                       BROWSER_MESSAGE_Y + MESSAGE_LINE_HEIGHT + 4);
    if (current_message()) {
        rectfill(back_buffer, MENU_STRIP_X1, BROWSER_MESSAGE_Y - 5, MENU_STRIP_X2,
                 BROWSER_MESSAGE_Y + MESSAGE_LINE_HEIGHT + 4, MENU_MESSAGE_FILL_COLOR);
        rect(back_buffer, MENU_STRIP_X1, BROWSER_MESSAGE_Y - 5, MENU_STRIP_X2,
             BROWSER_MESSAGE_Y + MESSAGE_LINE_HEIGHT + 4, MENU_MESSAGE_FRAME_COLOR);
        draw_message(back_buffer, SCREEN_WIDTH / 2, BROWSER_MESSAGE_Y, BROWSER_MESSAGE_CHARS);
    }
}
