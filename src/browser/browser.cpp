// The level browser: lists levels/, lets the player pick a file with the
// keys or the mouse, and loads it onto the board.
#include "browser.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>

#include "platform.h"

char level_list[LEVEL_LIST_SIZE][LEVEL_ENTRY_SIZE];
char level_file_names[LEVEL_LIST_SIZE][LEVEL_NAME_MAX];
int level_count = 0;
int list_fill = 0;

namespace {

// Slots of a full list, the one holding the name that sorts last on top:
// the one a name found later replaces if it sorts before it.
int kept_slots[LEVEL_LIST_SIZE];

bool sorts_before(int a, int b)
{
    return std::strcmp(level_file_names[a], level_file_names[b]) < 0;
}

// Writes a file name, with its leading separator, into slot `slot`: the
// entry cut to 9 bytes (the tenth is never written, so every entry stays
// terminated) and the whole name beside it.
void store_entry(int slot, const char *name)
{
    // strncpy's rule: a shorter tail padded with NULs, a longer one cut.
    size_t n = strnlen(name, LEVEL_ENTRY_SIZE - 1);
    std::memcpy(level_list[slot], name, n);
    std::memset(level_list[slot] + n, 0, LEVEL_ENTRY_SIZE - 1 - n);
    // A directory entry's name is at most 255 bytes, so the whole name
    // always fits and the file loads by its real name.
    size_t whole = strnlen(name, LEVEL_NAME_MAX - 1);
    std::memcpy(level_file_names[slot], name, whole);
    level_file_names[slot][whole] = '\0';
}

// Sorts the listed slots by their whole names, entries alongside.
void sort_listing(int count)
{
    static int order[LEVEL_LIST_SIZE];
    static char entries[LEVEL_LIST_SIZE][LEVEL_ENTRY_SIZE];
    static char names[LEVEL_LIST_SIZE][LEVEL_NAME_MAX];
    for (int i = 0; i < count; i++)
        order[i] = i;
    std::sort(order, order + count, sorts_before);
    for (int i = 0; i < count; i++) {
        std::memcpy(entries[i], level_list[order[i]], LEVEL_ENTRY_SIZE);
        std::memcpy(names[i], level_file_names[order[i]], LEVEL_NAME_MAX);
    }
    std::memcpy(level_list, entries, size_t(count) * LEVEL_ENTRY_SIZE);
    std::memcpy(level_file_names, names, size_t(count) * LEVEL_NAME_MAX);
}

}  // namespace

// Lists levels/ into level_list from slot 0 on; returns every file found,
// also those past the 500 slots. Names are taken from the directory as the
// bytes they are (Allegro's own listing turns every byte past 127 into "^",
// so such a level could be neither told apart nor loaded). Directories and
// links that lead nowhere are no levels; dot-files count as hidden, which
// keeps a save still being written out of the list; read-only files are
// levels too.
int list_levels()
{
    list_fill = 0;
    level_count = 0;
    if (DIR *dir = opendir(LEVEL_DIR)) {
        char path[sizeof "levels/" + NAME_MAX];
        while (dirent *e = readdir(dir)) {
            if (e->d_name[0] == '.')
                continue;
            std::snprintf(path, sizeof path, "%s/%s", LEVEL_DIR, e->d_name);
            struct stat st;
            if (stat(path, &st) != 0 || S_ISDIR(st.st_mode))
                continue;
            // The directory's order is arbitrary: a full list keeps the 500
            // names that sort first of all, not the first 500 found, so the
            // same arenas head the list however many files there are.
            if (list_fill < LEVEL_LIST_SIZE) {
                kept_slots[list_fill] = list_fill;
                add_level_entry(path, 0, nullptr);
                if (list_fill == LEVEL_LIST_SIZE)
                    std::make_heap(kept_slots, kept_slots + LEVEL_LIST_SIZE, sorts_before);
            } else {
                const char *name = std::strrchr(path, '/');
                int last = kept_slots[0];
                if (std::strcmp(name, level_file_names[last]) < 0) {
                    std::pop_heap(kept_slots, kept_slots + LEVEL_LIST_SIZE, sorts_before);
                    store_entry(last, name);
                    std::push_heap(kept_slots, kept_slots + LEVEL_LIST_SIZE, sorts_before);
                }
                list_fill++;
            }
            level_count++;
        }
        closedir(dir);
    }
    // Players expect the names sorted. Slots this listing did not write
    // keep what they held.
    sort_listing(std::min(level_count, LEVEL_LIST_SIZE));
    return level_count;
}

// Stores the file name with its leading separator in the next slot while
// there is one, and counts it either way.
int add_level_entry(const char *filename, int, void *)
{
    if (list_fill < LEVEL_LIST_SIZE) {
        const char *tail = std::strrchr(filename, '/');
        store_entry(list_fill, tail ? tail : filename);
    }
    list_fill++;
    return 0;
}

browser_state open_browser()
{
    browser_state s{};
    list_levels();
    s.entries = std::min(level_count, LEVEL_LIST_SIZE);
    s.max_first_row = std::max(s.entries - LIST_ROWS, 0);
    s.result = BROWSER_RUNNING;
    return s;
}

namespace {

void draw_browser(const browser_state &s)
{
    draw_sprite(back_buffer, level_bitmap(OBJ_LIST_BOX), LIST_BOX_X, LIST_BOX_Y);
    // Drawn even below the visible rows (after the scroll arrows moved the
    // view); the bitmap clips what falls outside.
    int k = s.selected - s.first_row;
    if (k >= 0)
        rectfill(back_buffer, LIST_BAR_X1, LIST_BAR_Y + LIST_ROW_HEIGHT * k, LIST_BAR_X2,
                 LIST_BAR_Y + LIST_ROW_HEIGHT * (k + 1), LIST_BAR_COLOR);
    text_mode(-1);
    for (int i = 0; i < LIST_ROWS; i++) {
        char shown[LEVEL_ENTRY_SIZE];
        printable_text(level_list[s.first_row + i], shown, sizeof shown);
        textout(back_buffer, font, shown, LIST_TEXT_X, LIST_TEXT_Y + LIST_ROW_HEIGHT * i,
                TEXT_WHITE);
    }
    // Files past the list's rows are not left out without a word.
    if (level_count > s.entries) {
        char note[40];
        std::snprintf(note, sizeof note, "%d more not shown", level_count - s.entries);
        int x = LIST_NOTE_CENTRE_X - text_length(font, note) / 2;
        textout(back_buffer, font, note, x + 1, LIST_NOTE_Y + 1, MESSAGE_SHADOW_COLOR);
        textout(back_buffer, font, note, x, LIST_NOTE_Y, TEXT_WHITE);
    }
    text_mode(0);
}

// Held keys act on every pass; the rests keep a held arrow to a sane pace.
// A pad works like the keys: up and down, fire for Enter, change for Esc.
void browser_keys(browser_state &s)
{
    const pad_hold pad = either_pad();
    if (key_down(KEY_ESC) || pad.change)
        s.result = BROWSER_CANCEL;
    if (key_down(KEY_ENTER) || pad.fire)
        s.result = BROWSER_ACCEPT;     // after Esc, so Enter wins

    if (key_down(KEY_UP) || pad.up) {
        if (s.selected > 0)
            s.selected--;
        if (s.first_row == s.selected && s.first_row > 0)
            s.first_row--;
        pause_ms(PAUSE_HELD_ARROW_MS);
    }
    if (key_down(KEY_DOWN) || pad.down) {
        if (s.selected < s.entries - 1)
            s.selected++;
        if (s.selected == s.first_row + LIST_ROWS - 1 && s.first_row < s.max_first_row)
            s.first_row++;
        pause_ms(PAUSE_HELD_ARROW_MS);
    }
}

hit_area row_area(int i)
{
    return {LIST_BAR_X1, LIST_BAR_Y + LIST_ROW_HEIGHT * i, LIST_BAR_X2,
            LIST_BAR_Y + LIST_ROW_HEIGHT * (i + 1)};
}

void browser_mouse(browser_state &s)
{
    if (!(pointer_buttons() & 1))
        return;
    int x = pointer_x(), y = pointer_y();
    if (in_area(OK_BUTTON_AREA, x, y))
        s.result = BROWSER_ACCEPT;
    if (in_area(CANCEL_BUTTON_AREA, x, y))
        s.result = BROWSER_CANCEL;
    if (in_area(SCROLL_DOWN_AREA, x, y) && s.first_row < s.max_first_row)
        s.first_row++;
    if (in_area(SCROLL_UP_AREA, x, y) && s.first_row > 0)
        s.first_row--;
    // Each row is tested against the view as the rows before it left it; a
    // pointer on the line two rows share is decided by the lower one.
    for (int i = 0; i < LIST_ROWS; i++) {
        if (!in_area(row_area(i), x, y))
            continue;
        if (s.first_row + i < s.entries)
            s.selected = s.first_row + i;
        if (s.first_row == s.selected && s.first_row > 0) {
            s.first_row--;
            pause_ms(PAUSE_MOUSE_SCROLL_MS);
        }
        if (s.selected == s.first_row + LIST_ROWS - 1 && s.first_row < s.max_first_row) {
            s.first_row++;
            pause_ms(PAUSE_MOUSE_SCROLL_MS);
        }
    }
}

}  // namespace

// One pass of the browser loop: draw, read the keys, then the mouse, then
// show the picture with the pointer in it.
void browser_pass(browser_state &s, draw_backdrop_fn draw_backdrop)
{
    input_pass();
    if (draw_backdrop)
        draw_backdrop();
    draw_browser(s);
    browser_keys(s);
    browser_mouse(s);
    if (quit_asked())
        s.result = BROWSER_CANCEL;
    present(WITH_POINTER);
}

void close_browser(const browser_state &s)
{
    if (s.result == BROWSER_ACCEPT) {
        std::snprintf(level_path, sizeof level_path, "%s%s", LEVEL_DIR, level_list[s.selected]);
        // The entry holds at most eight letters of the name; a longer name
        // would load another level, or none, by its cut form. A file of this
        // listing loads by its whole name.
        if (s.selected < s.entries) {
            char path[sizeof "levels" + LEVEL_NAME_MAX];
            std::snprintf(path, sizeof path, "%s%s", LEVEL_DIR, level_file_names[s.selected]);
            read_level(path);
        } else {
            read_level(level_path);
        }
    }
}

void choose_level(draw_backdrop_fn draw_backdrop)
{
    browser_state s = open_browser();
    do
        browser_pass(s, draw_backdrop);
    while (s.result == BROWSER_RUNNING);
    close_browser(s);
    // A click on OK or Cancel is over for the caller too: the editor would
    // paint the board cell under OK once the pause is over.
    if ((pointer_buttons() & 1) &&
        (in_area(OK_BUTTON_AREA, pointer_x(), pointer_y()) ||
         in_area(CANCEL_BUTTON_AREA, pointer_x(), pointer_y())))
        release_button(1);
    // The key that closed the browser must not act again at once.
    pause_ms(PAUSE_AFTER_DIALOG_MS);
    // A pad's fire and change buttons are match controls too: the press
    // that chose the level must not drop a bomb or change the weapon.
    release_pads();
}
