// Reading config.ini: colour depth, driver, the fourteen bindings and the
// two names, each with its default when the file or the key is missing.
#include <cstring>

#include "app.h"
#include "match.h"

namespace {

struct key_default {
    const char *name;
    int stored;   // in the file's own numbering
};

// Player 2's right key defaults to D, beside the W/S/A of the other moves.
const key_default KEY_DEFAULTS[2][KEY_SLOTS] = {
    {{"pl1keyup", 84}, {"pl1keydown", 85}, {"pl1keyleft", 82}, {"pl1keyright", 83},
     {"pl1keyfire", 102}, {"pl1keychange", 100}, {"pl1keyspecial", 67}},
    {{"pl2keyup", 23}, {"pl2keydown", 19}, {"pl2keyleft", 1}, {"pl2keyright", 4},
     {"pl2keyfire", 101}, {"pl2keychange", 99}, {"pl2keyspecial", 64}},
};

}  // namespace

void copy_name(char *dest, const char *src)
{
    std::strncpy(dest, src, NAME_SIZE - 1);
    dest[NAME_SIZE - 1] = '\0';
}

void use_default_bindings()
{
    for (int p = 0; p < 2; p++)
        for (int slot = 0; slot < KEY_SLOTS; slot++)
            players[p].keys[slot] = key_from_config(KEY_DEFAULTS[p][slot].stored);
}

start_options read_config()
{
    start_options opts;
    opts.bpp = get_config_int(nullptr, "bpp", DEFAULT_BPP);
    opts.driver = get_config_int(nullptr, "driver", 0);
    for (int p = 0; p < 2; p++)
        for (int slot = 0; slot < KEY_SLOTS; slot++) {
            const key_default &d = KEY_DEFAULTS[p][slot];
            players[p].keys[slot] = key_from_config(get_config_int(nullptr, d.name, d.stored));
        }
    copy_name(players[0].name, get_config_string(nullptr, "plr1name", "Player 1"));
    copy_name(players[1].name, get_config_string(nullptr, "plr2name", "Player 2"));
    return opts;
}

int driver_id(int driver)
{
    switch (driver) {
    case 0:
    case 1:
        return GFX_AUTODETECT;
    case 2:
        return GFX_AUTODETECT_FULLSCREEN;
    case 3:
        return GFX_AUTODETECT_WINDOWED;
    default:
        return driver;
    }
}
