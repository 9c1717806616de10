// config.ini: reading the colour depth, driver, the fourteen bindings, the
// two names and who plays each side, each with its default when the file or
// the key is missing;
// and writing names and bindings back without losing anything else in it.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <strings.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "app.h"
#include "computer.h"
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

const char *const NAME_KEYS[2] = {"plr1name", "plr2name"};
const char *const COMPUTER_KEYS[2] = {"pl1cpu", "pl2cpu"};

char config_path[4096] = "config.ini";

// The file's text, or an errno. A missing file is empty text; one past the
// size limit is refused rather than read, so it is never rewritten either.
int read_config_text(std::string &text)
{
    text.clear();
    int fd = open(config_path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? 0 : errno;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return 0;   // not a file: the replace that follows says why it fails
    }
    if (st.st_size > CONFIG_SIZE_LIMIT) {
        close(fd);
        return EFBIG;
    }
    char chunk[4096];
    for (;;) {
        ssize_t n = read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            int error = errno;
            close(fd);
            return error;
        }
        if (n == 0)
            break;
        text.append(chunk, size_t(n));
    }
    close(fd);
    return 0;
}

// The key a line of the top level sets, as Allegro's reader finds it: the
// first word, ended by a blank or "="; comments and section heads set none.
std::string line_key(const std::string &line)
{
    size_t i = line.find_first_not_of(" \t");
    if (i == std::string::npos || line[i] == '#' || line[i] == '[')
        return "";
    size_t end = line.find_first_of(" \t=\r\n", i);
    return line.substr(i, end == std::string::npos ? std::string::npos : end - i);
}

bool is_section_head(const std::string &line)
{
    size_t i = line.find_first_not_of(" \t");
    return i != std::string::npos && line[i] == '[';
}

// "key = value", a value kept to one line whatever it was given. The game
// keeps text one byte a letter (Latin-1) while Allegro's reader takes the
// file as UTF-8, as its own writer made it: a letter past 127 is written as
// its two UTF-8 bytes, so that it reads back as the same letter.
std::string config_line(const config_value &v, const std::string &ending)
{
    std::string line = std::string(v.key) + " = ";
    for (const char *p = v.value; *p; p++) {
        unsigned char c = static_cast<unsigned char>(*p);
        if (is_control_char(c))
            continue;
        if (c < 0x80) {
            line += char(c);
        } else {
            line += char(0xC0 | c >> 6);
            line += char(0x80 | (c & 0x3F));
        }
    }
    return line + ending;
}

// Two games writing settings at once (two windows) must not each read the
// old file and keep only their own change: the read-modify-write holds an
// advisory lock on the directory config.ini is in. Not on config.ini
// itself, which every write replaces by a rename, so that a later writer
// would lock a file nobody opens any more; nor on a lock file, one more
// file beside the player's. A directory that cannot be opened goes
// unlocked: the write then fails or stands on its own.
int lock_config_directory()
{
    const char *slash = std::strrchr(config_path, '/');
    std::string dir = slash ? std::string(config_path, size_t(slash - config_path)) : ".";
    if (dir.empty())
        dir = "/";
    int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0)
        while (flock(fd, LOCK_EX) != 0 && errno == EINTR) {
        }
    return fd;
}

void unlock_config_directory(int fd)
{
    if (fd >= 0)
        close(fd);
}

// How a line ended: "\r\n", "\n", or "" for a last line without an end.
std::string line_ending(const std::string &line)
{
    if (line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0)
        return "\r\n";
    return !line.empty() && line.back() == '\n' ? "\n" : "";
}

}  // namespace

void copy_name(char *dest, const char *src)
{
    // A line break in a name would end its line of config.ini and start a
    // line of its own; no control character is ever part of a name.
    int n = 0;
    for (; *src && n < NAME_SIZE - 1; src++)
        if (!is_control_char(static_cast<unsigned char>(*src)))
            dest[n++] = *src;
    std::memset(dest + n, 0, NAME_SIZE - n);
}

void use_config_file(const char *path)
{
    std::snprintf(config_path, sizeof config_path, "%s", path);
    struct stat st;
    if (stat(path, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > CONFIG_SIZE_LIMIT) {
        std::fprintf(stderr, "%s is larger than 1 MB and is ignored: starting on the defaults\n",
                     path);
        set_config_data("", 0);
        return;
    }
    set_config_file(path);
}

int write_config_values(const config_value *values, int count)
{
    int lock = lock_config_directory();
    std::string text;
    int error = read_config_text(text);

    if (error == 0) {
        // Lines are kept as they are, ending included; a line that sets one
        // of these keys at the top level is rewritten in place (every such
        // line: Allegro would read the first), and keys not yet there go
        // at the end of the top level, before the first section. A line
        // the game writes ends as the file's lines before it do, so a file
        // with Windows line ends keeps them throughout.
        std::string out;
        std::vector<bool> written(size_t(count), false);
        size_t pos = 0;
        bool top = true;
        std::string ending_so_far = "\n";
        auto add_missing = [&] {
            if (!out.empty() && out.back() != '\n')
                out += ending_so_far;
            for (int i = 0; i < count; i++)
                if (!written[size_t(i)])
                    out += config_line(values[i], ending_so_far);
            top = false;
        };
        while (pos < text.size()) {
            size_t nl = text.find('\n', pos);
            size_t end = nl == std::string::npos ? text.size() : nl + 1;
            std::string line = text.substr(pos, end - pos);
            pos = end;
            if (top && is_section_head(line))
                add_missing();
            std::string ending = line_ending(line);
            if (!ending.empty())
                ending_so_far = ending;
            std::string key = top ? line_key(line) : "";
            int match = -1;
            for (int i = 0; i < count && !key.empty(); i++)
                if (strcasecmp(key.c_str(), values[i].key) == 0)
                    match = i;
            if (match < 0) {
                out += line;
                continue;
            }
            out += config_line(values[match], ending_so_far);
            written[size_t(match)] = true;
        }
        if (top)
            add_missing();
        error = replace_file(config_path, out.data(), out.size());
    }
    unlock_config_directory(lock);
    if (error != 0) {
        const char *slash = std::strrchr(config_path, '/');
        show_failure("Could not write %s: %s", slash ? slash + 1 : config_path,
                     std::strerror(error));
        return error;
    }
    // Allegro's copy of the settings follows the file; it never writes it.
    set_config_file(config_path);
    return 0;
}

void use_default_bindings()
{
    for (int p = 0; p < 2; p++)
        for (int slot = 0; slot < KEY_SLOTS; slot++)
            profiles[p].keys[slot] = key_from_config(KEY_DEFAULTS[p][slot].stored);
}

start_options read_config()
{
    start_options opts;
    opts.bpp = get_config_int(nullptr, "bpp", DEFAULT_BPP);
    opts.driver = get_config_int(nullptr, "driver", 0);
    opts.scale = get_config_int(nullptr, "scale", 1);
    for (int p = 0; p < 2; p++)
        for (int slot = 0; slot < KEY_SLOTS; slot++) {
            const key_default &d = KEY_DEFAULTS[p][slot];
            profiles[p].keys[slot] = key_from_config(get_config_int(nullptr, d.name, d.stored));
        }
    // The first pad plays player 1 and the second player 2. A pad or button
    // number that names nothing reads as never held.
    static const char *const PAD_KEYS[2][3] = {
        {"pl1joy", "pl1joyfire", "pl1joychange"},
        {"pl2joy", "pl2joyfire", "pl2joychange"},
    };
    for (int p = 0; p < 2; p++) {
        pad_bindings[p].pad = get_config_int(nullptr, PAD_KEYS[p][0], p);
        pad_bindings[p].fire = get_config_int(nullptr, PAD_KEYS[p][1], DEFAULT_PAD_FIRE);
        pad_bindings[p].change = get_config_int(nullptr, PAD_KEYS[p][2], DEFAULT_PAD_CHANGE);
    }
    copy_name(profiles[0].name, get_config_string(nullptr, NAME_KEYS[0], "Player 1"));
    copy_name(profiles[1].name, get_config_string(nullptr, NAME_KEYS[1], "Player 2"));
    // A level the game does not know is a person at the keys.
    for (int p = 0; p < 2; p++) {
        const int level = get_config_int(nullptr, COMPUTER_KEYS[p], COMPUTER_NONE);
        profiles[p].computer = level >= COMPUTER_NONE && level < COMPUTER_LEVELS ? level : COMPUTER_NONE;
    }
    sound_volume = get_config_int(nullptr, "volume", DEFAULT_VOLUME);
    if (sound_volume < 0)
        sound_volume = 0;
    if (sound_volume > 100)
        sound_volume = 100;
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

// The older numbering has no keys between 98 (No-convert) and the modifiers,
// which it numbers 99..110; Allegro 4.4 puts the modifiers at 115..126 and
// inserts 99..114 before them. Those newer keys are stored as 111..126 so
// that every key survives a round trip through the file.
static_assert(KEY_LSHIFT == 115 && KEY_CAPSLOCK == 126 && KEY_MAX == 127,
              "the translation below is from Allegro 4.4's key numbers");
int key_from_config(int stored)
{
    if (stored >= 99 && stored <= 110)
        return stored + 16;
    if (stored >= 111 && stored <= 126)
        return stored - 12;
    return stored;
}

int key_to_config(int index)
{
    if (index >= 115 && index <= 126)
        return index - 16;
    if (index >= 99 && index <= 114)
        return index + 12;
    return index;
}

const char *binding_config_key(int player, int slot) { return KEY_DEFAULTS[player][slot].name; }
const char *name_config_key(int player) { return NAME_KEYS[player]; }
const char *computer_config_key(int player) { return COMPUTER_KEYS[player]; }
