// Directory contents: levels/ filled with whatever a player's disk may hold
// (long names, spaces and foreign bytes, sub-directories, links that lead
// nowhere or back to levels/ itself, fifos, more files than the list has
// room for), then listed, browsed with keys and mouse, and loaded.
#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <vector>

#include "fuzz_env.h"

namespace fs = std::filesystem;

namespace {

// A name a directory can hold: no '/' or NUL, not "." or "..", 1..255 bytes.
std::string file_name(fuzz_input &in)
{
    uint8_t len = in.byte();
    size_t length = len >= 200 ? 255 : len % 40 + 1;
    std::string name;
    for (size_t i = 0; i < length; i++) {
        char c = char(in.byte());
        name += (c == '/' || c == '\0') ? '_' : c;
    }
    if (name == "." || name == "..")
        name += "x";
    return name;
}

void make_file(const std::string &path, const std::vector<uint8_t> &bytes)
{
    // O_NONBLOCK: a fifo of the same name must not wait for a reader.
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK, 0644);
    if (fd < 0)
        return;
    if (!bytes.empty() && write(fd, bytes.data(), bytes.size()) < 0) {
        // a full scratch disk only makes the file shorter
    }
    close(fd);
}

void fill_directory(fuzz_input &in)
{
    int ops = in.byte() % 12;
    for (int op = 0; op < ops && !in.empty(); op++) {
        uint8_t kind = in.byte() % 7;
        std::string path = std::string("levels/") + file_name(in);
        switch (kind) {
        case 0: {   // a plain file: a whole level, or a few bytes
            uint8_t len = in.byte();
            std::vector<uint8_t> bytes;
            if (len == 255)
                bytes.assign(LEVEL_FILE_SIZE, in.byte());
            else
                for (int i = 0; i < len && !in.empty(); i++)
                    bytes.push_back(in.byte());
            make_file(path, bytes);
            break;
        }
        case 1:   // a sub-directory, with a file in it
            mkdir(path.c_str(), 0755);
            make_file(path + "/inner", {1, 0, 0, 0});
            break;
        case 2:
            symlink("no/such/level", path.c_str());
            break;
        case 3:   // a link back to levels/ itself
            symlink(".", path.c_str());
            break;
        case 4: {   // a crowd of files, often more than the list holds
            int count = (in.byte() << 8 | in.byte()) % 700;
            for (int i = 0; i < count; i++)
                make_file(path.substr(0, 200) + std::to_string(i), {});
            break;
        }
        case 5:
            mkfifo(path.c_str(), 0644);
            break;
        case 6:   // a link to a level that is there
            make_file("levels/.target", std::vector<uint8_t>(LEVEL_FILE_SIZE, 3));
            symlink(".target", path.c_str());
            break;
        }
    }
}

// The files the browser should offer: everything stat() finds that is not a
// directory (a fifo is listed too; loading it leaves the board alone),
// hidden ones (a leading dot) and links that lead nowhere left out.
int expected_levels()
{
    int count = 0;
    DIR *d = opendir("levels");
    if (!d)
        return 0;
    while (dirent *e = readdir(d)) {
        if (e->d_name[0] == '.')
            continue;
        struct stat st;
        std::string path = std::string("levels/") + e->d_name;
        if (stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode))
            count++;
    }
    closedir(d);
    return count;
}

void check_list(int files)
{
    FUZZ_CHECK(level_count == files);
    for (int i = 0; i < LEVEL_LIST_SIZE; i++)
        FUZZ_CHECK(std::memchr(level_list[i], '\0', LEVEL_ENTRY_SIZE) != nullptr);
    // Names are kept as the bytes they are on disk: one that fits its entry
    // whole names a file that is there, whatever bytes it holds.
    for (int i = 0; i < std::min(files, LEVEL_LIST_SIZE); i++) {
        FUZZ_CHECK(level_list[i][0] == '/');
        struct stat st;
        if (std::strlen(level_list[i]) < LEVEL_ENTRY_SIZE - 1)
            FUZZ_CHECK(stat((std::string("levels") + level_list[i]).c_str(), &st) == 0 &&
                       !S_ISDIR(st.st_mode));
    }
}

void check_browser(const browser_state &s)
{
    FUZZ_CHECK(s.entries == std::min(level_count, LEVEL_LIST_SIZE));
    FUZZ_CHECK(s.first_row >= 0 && s.first_row <= s.max_first_row);
    FUZZ_CHECK(s.max_first_row == std::max(s.entries - LIST_ROWS, 0));
    FUZZ_CHECK(s.selected >= 0 && s.selected < std::max(s.entries, 1));
    FUZZ_CHECK(s.result >= BROWSER_RUNNING && s.result <= BROWSER_CANCEL);
}

// Three bytes a pass: keys and button, pointer x over the list box, pointer y.
void browse(fuzz_input &in, bool in_editor)
{
    browser_state s = open_browser();
    check_browser(s);
    for (int pass = 0; pass < 64 && s.result == BROWSER_RUNNING && !in.empty(); pass++) {
        uint8_t keys = in.byte();
        key[KEY_ESC] = keys & 1;
        key[KEY_ENTER] = (keys >> 1) & 1;
        key[KEY_UP] = (keys >> 2) & 1;
        key[KEY_DOWN] = (keys >> 3) & 1;
        input_event(INPUT_BUTTON_FIRST, (keys >> 4) & 1);
        mouse_x = 200 + in.byte();
        mouse_y = in.byte() * 2;
        browser_pass(s, in_editor ? draw_editor_screen : nullptr);
        check_browser(s);
    }
    if (s.result == BROWSER_RUNNING)
        s.result = BROWSER_ACCEPT;
    close_browser(s);
    FUZZ_CHECK(std::memchr(level_path, '\0', sizeof level_path) != nullptr);
    for (int k : {KEY_ESC, KEY_ENTER, KEY_UP, KEY_DOWN})
        key[k] = 0;
    input_event(INPUT_BUTTON_FIRST, false);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz_start_allegro();
    fuzz_enter_scratch_dir("dir");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz_input in{data, size};
    std::error_code ignored;
    fs::remove_all("levels", ignored);
    uint8_t flags = in.byte();
    // Sometimes there is no levels/ at all, or a file in its place.
    if (flags & 2)
        make_file("levels", {1, 2, 3});
    else if (!(flags & 4))
        mkdir("levels", 0755);
    fill_directory(in);

    // A listing never clears the list, so slots past this one's files keep
    // the names of an earlier, longer listing; that is fine as long as every
    // slot stays terminated.
    int files = expected_levels();
    list_levels();
    check_list(files);
    browse(in, flags & 1);
    return 0;
}
