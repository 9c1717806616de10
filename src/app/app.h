// The application shell: start-up, configuration, the menus and the option
// dialogs, and the program-wide state every mode shares.
#pragma once

#include <cstddef>
#include <cstdint>

#include "catalogue.h"
#include "platform.h"

// config.ini stores key numbers in the older numbering, where the modifier
// keys sit at 99..110. Translate at the file boundary, losslessly both ways.
int key_from_config(int stored);
int key_to_config(int index);

// ---- configuration and start-up ------------------------------------------
constexpr int DEFAULT_BPP = 16;
struct start_options {
    int bpp;
    int driver;   // as stored in config.ini
    int scale;    // the picture's whole factor; 1 (the default) is 640x480
};

// Selects the configuration file that read_config reads and the option
// dialogs write; one larger than CONFIG_SIZE_LIMIT is ignored (with a line
// on standard error) and the game runs on the defaults.
constexpr long CONFIG_SIZE_LIMIT = 1L << 20;
void use_config_file(const char *path);
// Reads the selected configuration into the player records; returns the
// colour depth, driver value and scale.
start_options read_config();
// Sets keys in the configuration file, keeping its comments, unknown keys
// and order; the file is replaced in one step. Returns 0 or an errno, and
// tells the player when the file could not be written.
struct config_value {
    const char *key;
    const char *value;
};
int write_config_values(const config_value *values, int count);
// The names of the config.ini keys the option dialogs write.
const char *binding_config_key(int player, int slot);
const char *name_config_key(int player);
const char *computer_config_key(int player);   // pl1cpu, pl2cpu
void use_default_bindings();           // the bindings of a fresh config.ini
int driver_id(int driver);             // config value -> set_gfx_mode driver id
// Cut to the 11 characters a name holds, control characters left out.
void copy_name(char *dest, const char *src);

int run_game(int argc, char **argv);   // the whole program; returns exit status

// ---- playing another machine ---------------------------------------------
// --host: waits on port for a player, lets the host choose the arena and
// plays; --join: joins a host and plays. Both return for the menu, with
// what happened on the message line.
void host_online(int port);
void join_online(const char *host, int port);

// ---- menus ---------------------------------------------------------------
extern int menu_cursor;     // 1..5
extern int menu_choice;     // 0 none; 2 shows the options menu
extern int options_cursor;  // 1..5
extern int options_choice;

void menu_loop();
void menu_turn();           // one turn of menu_loop, without the vsync
void main_menu_frame();
void options_menu_frame();

// ---- who plays ---------------------------------------------------------------
// Over the level browser that New Game opens: F1 and F2 step player 1 and
// player 2 through a person and the computer's three levels, each step
// written to config.ini; the choice is drawn beside the list.
void step_who_plays(int player);
void draw_who_plays();
void new_game_backdrop();   // the keys and the drawing, once per browser pass

// ---- option dialogs ------------------------------------------------------
extern const char key_prompt_labels[14][12];
bool input_text(BITMAP *bmp, FONT *f, int x, int y, int color, char *dest, unsigned length);
void names_dialog();
void keys_dialog();

// Seams of the dialogs' blocking waits. input_text takes its keys from
// read_key_source (readkey, whose wait a request to quit ends); the key wait
// calls key_wait_poll (input_pass) and then held_key on every pass.
extern int (*read_key_source)();
extern void (*key_wait_poll)();
int held_key();             // highest-numbered key held in key[], 0 if none
