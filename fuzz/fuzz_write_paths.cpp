// The paths by which typed keys reach the disk: keys typed into the names
// dialog go to config.ini, keys typed into the save box name a level file.
// Whatever is typed, what is read back must be what was stored (names with
// no control character in them, the board cell for cell), the rest of
// config.ini must survive, and nothing may land outside the intended file.
#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <string>
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

// Allegro gives a value back without the blanks around it.
std::string trimmed(const char *s)
{
    std::string t = s;
    size_t b = t.find_first_not_of(' '), e = t.find_last_not_of(' ');
    return b == std::string::npos ? "" : t.substr(b, e - b + 1);
}

void names_round_trip(fuzz_input &in)
{
    {
        std::ofstream(std::string("config.ini"), std::ios::binary) << CONFIG_BEFORE;
    }
    use_config_file("config.ini");
    keys_in = in;
    names_dialog();
    in = keys_in;

    for (const player_profile &p : profiles) {
        FUZZ_CHECK(std::strlen(p.name) <= 8);
        for (const char *c = p.name; *c; c++)
            FUZZ_CHECK(!is_control_char(static_cast<unsigned char>(*c)));
    }
    std::string after = file_text("config.ini");
    // Every line of the file that is not one of the names is still there,
    // in its order, and the section's own plr2name was not touched.
    size_t from = 0;
    for (const char *line : {"# the player's own comment\n", "bpp = 16\r\n", "volume = 7\n",
                             "[pads]\n", "plr2name = not mine\n"}) {
        size_t at = after.find(line, from);
        FUZZ_CHECK(at != std::string::npos);
        from = at + std::strlen(line);
    }
    FUZZ_CHECK(from == after.size());   // nothing after the section

    char typed[2][NAME_SIZE];
    std::memcpy(typed[0], profiles[0].name, NAME_SIZE);
    std::memcpy(typed[1], profiles[1].name, NAME_SIZE);
    use_config_file("config.ini");
    start_options opts = read_config();
    FUZZ_CHECK(opts.bpp == 16);
    FUZZ_CHECK(get_config_int(nullptr, "volume", 0) == 7);
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
    FUZZ_CHECK(entries(".") == std::vector<std::string>{"config.ini"});
    for (const player_profile &p : profiles)
        FUZZ_CHECK(std::strchr(p.name, '\n') == nullptr);
}

// Keys of the save box, one a pass: the typing keys, Backspace, Enter, Esc.
const int SAVE_KEYS[] = {KEY_A, KEY_A + 1, KEY_Z, KEY_0, KEY_1, KEY_9,
                         KEY_MINUS, KEY_SLASH, KEY_BACKSPACE, KEY_BACKSPACE,
                         KEY_SPACE, KEY_TAB, KEY_ENTER, KEY_ESC};

void save_round_trip(fuzz_input &in)
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
    std::vector<std::string> before = entries("levels");
    if (s.state == SAVE_NAME_ACCEPTED) {
        int32_t saved[LEVEL_COLUMNS][LEVEL_ROWS];
        std::memcpy(saved, board, sizeof board);
        FUZZ_CHECK(save_level(s.name) == SAVE_DONE);
        // The name is what was typed, up to the blanks Backspace left.
        std::string name = trimmed(s.name);
        FUZZ_CHECK(!name.empty() && name.size() <= 8);
        for (char c : name)
            FUZZ_CHECK((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '+' ||
                       c == '-');
        std::string path = "levels/" + name;
        FUZZ_CHECK(path == level_path);
        FUZZ_CHECK(file_text(path.c_str()).size() == size_t(LEVEL_FILE_SIZE));
        clear_board(0);
        read_level(path.c_str());
        FUZZ_CHECK(std::memcmp(saved, board, sizeof board) == 0);
        if (std::find(before.begin(), before.end(), name) == before.end())
            before.push_back(name);
        std::sort(before.begin(), before.end());
    }
    FUZZ_CHECK(entries("levels") == before);
    FUZZ_CHECK(entries(".") == (std::vector<std::string>{"config.ini", "levels"}));
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

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz_input in{data, size};
    uint8_t mode = in.byte();
    if (mode & 1) {
        names_round_trip(in);
    } else {
        mkdir("levels", 0755);
        save_round_trip(in);
    }
    std::error_code ignored;
    std::filesystem::remove_all("levels", ignored);
    set_config_data("", 0);
    std::remove("config.ini");
    return 0;
}
