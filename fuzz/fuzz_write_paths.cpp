// The paths by which typed keys reach the disk: keys typed into the names
// dialog go to config.ini, keys typed into the save box name a level file.
// The file written is a plain one, or one the write must get past or be
// refused by: a disk that fills up, a file without write permission, a link
// out of its directory (to a file that is there or not yet), a link to a
// pipe. Whatever is typed, a write that goes through reads back as stored
// (names with no control character in them, the board cell for cell), the
// rest of config.ini survives and a link stays a link; a write that fails
// leaves the file as it was and tells the player; and nothing may land
// outside the intended file.
#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "fuzz_env.h"

namespace {

fuzz_input keys_in{nullptr, 0};

// readkey for the names dialog: two bytes a key, index and character.
// Index 0 stands for Enter, so both entries end however the input runs out.
int next_key()
{
    if (keys_in.empty())
        return KEY_ENTER << 8 | '\r';
    int index = keys_in.byte() % KEY_MAX;
    int ch = keys_in.byte();
    if (index == 0)
        index = KEY_ENTER;
    return index << 8 | ch;
}

const char *const CONFIG_BEFORE =
    "# the player's own comment\n"
    "bpp = 16\r\n"
    "volume = 7\n"
    "plr1name = old one\n"
    "[pads]\n"
    "plr2name = not mine\n";

std::string file_text(const char *path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> entries(const char *dir)
{
    std::vector<std::string> names;
    if (DIR *d = opendir(dir)) {
        while (dirent *e = readdir(d))
            if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
                names.push_back(e->d_name);
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

void write_text(const std::string &path, const std::string &text)
{
    std::ofstream(path, std::ios::binary) << text;
}

bool is_kind(const std::string &path, mode_t kind, bool follow = false)
{
    struct stat st;
    return (follow ? stat(path.c_str(), &st) : lstat(path.c_str(), &st)) == 0 &&
           (st.st_mode & S_IFMT) == kind;
}

// How the file a write replaces stands when the write comes.
enum fault : uint8_t { PLAIN, DISK_FULL, READ_ONLY, LINK_OUT, LINK_NOWHERE, LINK_TO_PIPE, FAULTS };

struct target {
    fault kind;
    std::string path;   // what the game writes to
    std::string real;   // where its bytes are: path itself, or what it links to
    bool had_old;       // real held old before the write
    std::string old;
};

// Sets up `path` as `kind` says. The file holds `old` if has_old, or
// always for a file that must be there to be read-only or linked to. Links
// lead into away/, beside config.ini and levels/.
target arrange(fault kind, const std::string &path, bool has_old, const std::string &old,
               fuzz_input &in)
{
    target t{kind, path, path, has_old || kind == READ_ONLY || kind == LINK_OUT, old};
    const std::string up = path.find('/') == std::string::npos ? "" : "../";
    if (kind == LINK_OUT || kind == LINK_NOWHERE)
        t.real = "away/file";
    if (kind == LINK_TO_PIPE) {
        t.real = "away/pipe";
        t.had_old = false;
        mkfifo(t.real.c_str(), 0644);
    }
    if (t.had_old)
        write_text(t.real, old);
    if (t.real != path)
        symlink((up + t.real).c_str(), path.c_str());
    if (kind == READ_ONLY)
        chmod(path.c_str(), 0444);
    if (kind == DISK_FULL)
        file_write_limit = long(in.byte()) * 8;
    return t;
}

// Whatever the fault: a failure only where one can come, never where none
// can, and then the file as it was and the player told; a link still a
// link to what it was, a pipe still a pipe.
void check_outcome(const target &t, bool failed)
{
    bool may_fail = t.kind == DISK_FULL || t.kind == READ_ONLY || t.kind == LINK_TO_PIPE;
    FUZZ_CHECK(!failed || may_fail);
    // Root writes through permission bits, as a plain open would.
    FUZZ_CHECK(failed || t.kind != LINK_TO_PIPE);
    FUZZ_CHECK(failed || t.kind != READ_ONLY || geteuid() == 0);
    if (failed) {
        FUZZ_CHECK(current_message() != nullptr && current_message_is_failure());
        if (t.had_old)
            FUZZ_CHECK(file_text(t.real.c_str()) == t.old);
        else if (t.kind != LINK_TO_PIPE)
            FUZZ_CHECK(access(t.real.c_str(), F_OK) != 0);
    }
    if (t.real != t.path)
        FUZZ_CHECK(is_kind(t.path, S_IFLNK));
    if (t.kind == LINK_TO_PIPE)
        FUZZ_CHECK(is_kind(t.real, S_IFIFO));
    else if (!failed)
        FUZZ_CHECK(is_kind(t.real, S_IFREG));
    file_write_limit = -1;
    chmod(t.path.c_str(), 0644);
}

// away/ holds nothing but what a link led to.
void check_away(const target &t)
{
    std::vector<std::string> want;
    if (t.real != t.path && (t.kind == LINK_TO_PIPE || access(t.real.c_str(), F_OK) == 0))
        want.push_back(t.real.substr(t.real.find('/') + 1));
    FUZZ_CHECK(entries("away") == want);
}

// Allegro gives a value back without the blanks around it.
std::string trimmed(const char *s)
{
    std::string t = s;
    size_t b = t.find_first_not_of(' '), e = t.find_last_not_of(' ');
    return b == std::string::npos ? "" : t.substr(b, e - b + 1);
}

void names_round_trip(fuzz_input &in, fault kind)
{
    target t = arrange(kind, "config.ini", true, CONFIG_BEFORE, in);
    use_config_file("config.ini");
    keys_in = in;
    clear_message();
    names_dialog();
    in = keys_in;
    const std::string name_message = current_message() ? current_message() : "";
    const bool failed = name_message.rfind("Could not write config.ini: ", 0) == 0;
    check_outcome(t, failed);
    check_away(t);
    FUZZ_CHECK(entries(".") == (std::vector<std::string>{"away", "config.ini"}));

    for (const player_profile &p : profiles) {
        FUZZ_CHECK(std::strlen(p.name) <= 8);
        for (const char *c = p.name; *c; c++)
            FUZZ_CHECK(!is_control_char(static_cast<unsigned char>(*c)));
        FUZZ_CHECK(std::strchr(p.name, '\n') == nullptr);
    }
    if (failed)
        return;
    std::string after = file_text("config.ini");
    // Every line the file had that is not one of the names is still there,
    // in its order, and the section's own plr2name was not touched.
    if (t.had_old) {
        size_t from = 0;
        for (const char *line : {"# the player's own comment\n", "bpp = 16\r\n", "volume = 7\n",
                                 "[pads]\n", "plr2name = not mine\n"}) {
            size_t at = after.find(line, from);
            FUZZ_CHECK(at != std::string::npos);
            from = at + std::strlen(line);
        }
        FUZZ_CHECK(from == after.size());   // nothing after the section
    }

    char typed[2][NAME_SIZE];
    std::memcpy(typed[0], profiles[0].name, NAME_SIZE);
    std::memcpy(typed[1], profiles[1].name, NAME_SIZE);
    use_config_file("config.ini");
    start_options opts = read_config();
    if (t.had_old) {
        FUZZ_CHECK(opts.bpp == 16);
        FUZZ_CHECK(get_config_int(nullptr, "volume", 0) == 7);
    }
    for (int p = 0; p < 2; p++) {
        // Allegro's reader drops blanks and "=" before a value and blanks
        // after it (its own writer had the same limits); an empty value
        // reads back as the default.
        std::string want = trimmed(typed[p]);
        want.erase(0, want.find_first_not_of(" ="));
        if (want.empty())
            want = p == 0 ? "Player 1" : "Player 2";
        FUZZ_CHECK(trimmed(profiles[p].name) == want);
    }
}

// Keys of the save box, one a pass: the typing keys, Backspace, Enter, Esc.
const int SAVE_KEYS[] = {KEY_A, KEY_A + 1, KEY_Z, KEY_0, KEY_1, KEY_9,
                         KEY_MINUS, KEY_SLASH, KEY_BACKSPACE, KEY_BACKSPACE,
                         KEY_SPACE, KEY_TAB, KEY_ENTER, KEY_ESC};

void save_round_trip(fuzz_input &in, fault kind, bool level_there)
{
    {
        std::ofstream(std::string("config.ini"), std::ios::binary) << CONFIG_BEFORE;
    }
    // Any values, negative ones and ones past the tile ids too.
    uint32_t seed = in.byte() * 0x9e3779b9u;
    for (int c = 0; c < LEVEL_COLUMNS; c++)
        for (int r = 0; r < LEVEL_ROWS; r++)
            board[c][r] = int32_t(seed ^ uint32_t(c * 131 + r * 7919) * 2654435761u);

    save_name_state s;
    save_name_open(s);
    while (s.state == SAVE_NAME_OPEN) {
        int k = in.empty() ? (s.n > 0 ? KEY_ENTER : KEY_ESC)
                           : SAVE_KEYS[in.byte() % (sizeof SAVE_KEYS / sizeof SAVE_KEYS[0])];
        key[k] = 1;
        save_name_pass(s, draw_editor_screen);
        key[k] = 0;
    }
    if (s.state == SAVE_NAME_ACCEPTED) {
        // The name is what was typed, up to the blanks Backspace left.
        std::string name = trimmed(s.name);
        FUZZ_CHECK(!name.empty() && name.size() <= 8);
        for (char c : name)
            FUZZ_CHECK((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '+' ||
                       c == '-');
        std::string path = "levels/" + name;
        target t = arrange(kind, path, level_there, std::string(LEVEL_FILE_SIZE, '\x11'), in);
        std::vector<std::string> before = entries("levels");

        int32_t saved[LEVEL_COLUMNS][LEVEL_ROWS];
        std::memcpy(saved, board, sizeof board);
        clear_message();
        int outcome = save_level(s.name);
        FUZZ_CHECK(outcome == SAVE_DONE || outcome == SAVE_FAILED);
        FUZZ_CHECK(path == level_path);
        check_outcome(t, outcome == SAVE_FAILED);
        check_away(t);
        if (outcome == SAVE_DONE) {
            FUZZ_CHECK(file_text(path.c_str()).size() == size_t(LEVEL_FILE_SIZE));
            clear_board(0);
            read_level(path.c_str());
            FUZZ_CHECK(std::memcmp(saved, board, sizeof board) == 0);
            if (std::find(before.begin(), before.end(), name) == before.end())
                before.push_back(name);
            std::sort(before.begin(), before.end());
        }
        FUZZ_CHECK(entries("levels") == before);
    } else {
        FUZZ_CHECK(entries("levels").empty());
        FUZZ_CHECK(entries("away").empty());
    }
    FUZZ_CHECK(entries(".") == (std::vector<std::string>{"away", "config.ini", "levels"}));
    FUZZ_CHECK(file_text("config.ini") == CONFIG_BEFORE);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz_start_allegro();
    fuzz_enter_scratch_dir("write");
    read_key_source = next_key;
    return 0;
}

// The first byte: bit 0 the names (1) or a level (0), bits 1..3 the fault,
// bit 4 whether the level is there before it is saved.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz_input in{data, size};
    uint8_t mode = in.byte();
    fault kind = fault((mode >> 1 & 7) % FAULTS);
    mkdir("away", 0755);
    if (mode & 1) {
        names_round_trip(in, kind);
    } else {
        mkdir("levels", 0755);
        save_round_trip(in, kind, mode >> 4 & 1);
    }
    std::error_code ignored;
    std::filesystem::remove_all("levels", ignored);
    std::filesystem::remove_all("away", ignored);
    set_config_data("", 0);
    std::remove("config.ini");
    return 0;
}
