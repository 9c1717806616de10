// The application shell: start-up, configuration, the menus and the option
// dialogs, and the program-wide state every mode shares.
#pragma once

#include <allegro.h>
#include <cstddef>
#include <cstdint>

#include "catalogue.h"
#include "sound.h"

// ---- program-wide state (alive for the whole run) ------------------------
extern BITMAP *back_buffer;     // every screen is composed here, then copied
extern DATAFILE *level_data;    // level.dat
extern DATAFILE *game_data;     // data.dat
extern int quit_requested;      // non-zero ends the menu loop
extern int leave_mode;          // non-zero ends the match or the editor loop
extern int energy_colors[102];  // 0..50 red band, 51..101 green band

#define TEXT_WHITE makecol(250, 250, 250)

// Datafile objects by number, typed.
inline BITMAP *level_bitmap(int n) { return static_cast<BITMAP *>(level_data[n].dat); }
inline BITMAP *game_bitmap(int n) { return static_cast<BITMAP *>(game_data[n].dat); }
inline FONT *menu_font() { return static_cast<FONT *>(level_data[OBJ_MENU_FONT].dat); }

// ---- keyboard ------------------------------------------------------------
// Key numbers as Allegro 4.4 numbers them.
constexpr int KEYNUM_A = 1, KEYNUM_C = 3, KEYNUM_D = 4, KEYNUM_L = 12, KEYNUM_N = 14;
constexpr int KEYNUM_S = 19, KEYNUM_W = 23, KEYNUM_Y = 25, KEYNUM_Z = 26;
constexpr int KEYNUM_0 = 27, KEYNUM_1 = 28, KEYNUM_9 = 36;
constexpr int KEYNUM_ESC = 59, KEYNUM_MINUS = 61, KEYNUM_BACKSPACE = 63, KEYNUM_TAB = 64;
constexpr int KEYNUM_ENTER = 67, KEYNUM_SLASH = 74, KEYNUM_SPACE = 75;
constexpr int KEYNUM_LEFT = 82, KEYNUM_RIGHT = 83, KEYNUM_UP = 84, KEYNUM_DOWN = 85;
constexpr int KEYNUM_MINUS_PAD = 88, KEYNUM_PLUS_PAD = 89;
constexpr int KEYNUM_LSHIFT = 115, KEYNUM_RSHIFT = 116, KEYNUM_LCONTROL = 117, KEYNUM_RCONTROL = 118;
constexpr int KEYNUM_ALT = 119, KEYNUM_ALTGR = 120, KEYNUM_LWIN = 121, KEYNUM_RWIN = 122;
constexpr int KEYNUM_COUNT = 127;  // size of Allegro's key[]

// A binding can hold any integer config.ini supplied; anything outside key[]
// reads as never held and is never written.
bool key_down(int index);
void release_key(int index);

// clear_keybuf() as the game means it: empties the key buffer AND makes every
// key read as released until the keyboard reports it pressed again. Allegro
// 4.4's own clear_keybuf leaves key[] alone, which would let one press act
// on every pass of a menu or dialog.
void clear_keys();

// A press and release that both fall between two polls of key[] or mouse_b
// (a quick tap or click, or one sent by a program) would never be seen by a
// loop that reads held state. key_event and mouse_event, installed as
// Allegro's low-level keyboard and mouse callbacks, remember such presses;
// pump_input_taps, called at the top of every polling pass, shows a press
// that is already over as held for that one pass.
void key_event(int scancode);
void mouse_event(int flags);
void pump_input_taps();
// Text entry reads every press from the key buffer; the presses it took must
// not be shown again to the next polling loop.
void forget_key_taps();

// config.ini stores key numbers in the older numbering, where the modifier
// keys sit at 99..110. Translate at the file boundary, losslessly both ways.
int key_from_config(int stored);
int key_to_config(int index);

// ---- files and messages --------------------------------------------------
// Replaces the file at path with the given bytes in one step: a fresh
// temporary beside the file's real place, synced, then renamed over it. A
// path that is a symbolic link stays one; its target is replaced. A file
// without write permission is refused. Returns 0, or the errno that stopped
// it, in which case the old file is exactly as it was.
int replace_file(const char *path, const void *bytes, size_t size);
// Tests only: the bytes a write may put down before the disk "fills up";
// negative means no limit.
extern long file_write_limit;

// One line for the player, shown for about two seconds where the current
// screen keeps its messages (the editor's panel, the bottom of the menu).
// A failure goes to standard error as well.
constexpr int MESSAGE_SIZE = 96;
constexpr int MESSAGE_MS = 2000;
void show_failure(const char *format, ...) __attribute__((format(printf, 1, 2)));
void show_note(const char *format, ...) __attribute__((format(printf, 1, 2)));
const char *current_message();   // nullptr once it has been shown long enough
bool current_message_is_failure();
void clear_message();
extern long long (*message_clock_ms)();   // a steady clock; tests move it
int draw_message(BITMAP *b, int centre_x, int top, int max_chars, int line_height);
// A file name made drawable in the built-in font (see messages.cpp).
void printable_text(const char *in, char *out, size_t size);

// ---- configuration and start-up ------------------------------------------
constexpr int DEFAULT_BPP = 16;
struct start_options {
    int bpp;
    int driver;   // as stored in config.ini
};

// Selects the configuration file that read_config reads and the option
// dialogs write; one larger than CONFIG_SIZE_LIMIT is ignored (with a line
// on standard error) and the game runs on the defaults.
constexpr long CONFIG_SIZE_LIMIT = 1L << 20;
void use_config_file(const char *path);
// Reads the selected configuration into the player records; returns the
// colour depth and driver value.
start_options read_config();
// Sets keys in the configuration file, keeping its comments, unknown keys
// and order; the file is replaced in one step. Returns 0 or an errno, and
// tells the player when the file could not be written.
struct config_value {
    const char *key;
    const char *value;
};
int write_config_values(const config_value *values, int count);
void use_default_bindings();           // the bindings of a fresh config.ini
int driver_id(int driver);             // config value -> set_gfx_mode driver id
// Cut to the 11 characters a name holds, control characters left out.
void copy_name(char *dest, const char *src);
bool is_control_char(unsigned char c);   // 1..31 and 127: never part of a name
void build_energy_colors();
void reset_players();                  // start-of-match values, every menu turn

int run_game(int argc, char **argv);   // the whole program; returns exit status

// ---- menus ---------------------------------------------------------------
extern int menu_cursor;     // 1..5
extern int menu_choice;     // 0 none; 2 shows the options menu
extern int options_cursor;  // 1..5
extern int options_choice;

void menu_loop();
void menu_turn();           // one turn of menu_loop, without the vsync
void main_menu_frame();
void options_menu_frame();

// ---- option dialogs ------------------------------------------------------
extern const char key_prompt_labels[14][12];
void input_text(BITMAP *bmp, FONT *f, int x, int y, int color, char *dest, unsigned length);
void names_dialog();
void keys_dialog();

// Seams of the dialogs' blocking waits. input_text takes its keys from
// read_key_source (readkey); the key wait calls key_wait_poll (polls the
// keyboard where Allegro needs it, pumps the taps) and then held_key on
// every pass.
extern int (*read_key_source)();
extern void (*key_wait_poll)();
int held_key();             // highest-numbered key held in key[], 0 if none
