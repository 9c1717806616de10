// The command line. No option: the game. --replay FILE shows a recorded
// match; --verify-replay FILE re-runs one without a display; --help lists
// them. Anything else is a mistake, told with the help on standard error.
#include "command_line.h"

#include <cerrno>
#include <cinttypes>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "replay.h"

namespace {

// A replay of the longest match kept is about 7.6 MB; nothing larger is read.
constexpr off_t REPLAY_FILE_LIMIT = 16L << 20;

struct option_with_file {
    const char *name;
    command what;
};
constexpr option_with_file FILE_OPTIONS[] = {
    {"--replay", command::replay},
    {"--verify-replay", command::verify_replay},
};

command_line bad(const char *format, const char *what)
{
    command_line c{command::bad, nullptr, {}};
    std::snprintf(c.problem, sizeof c.problem, format, what);
    return c;
}

}  // namespace

command_line parse_command_line(int argc, char **argv)
{
    command_line c{command::play, nullptr, {}};
    for (int i = 1; i < argc; i++) {
        const char *arg = argv[i];
        if (c.what != command::play)
            return bad("one option at a time: %s is one too many", arg);
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            c.what = command::help;
            continue;
        }
        if (std::strcmp(arg, "--version") == 0) {
            c.what = command::version;
            continue;
        }
        bool known = false;
        for (const option_with_file &o : FILE_OPTIONS) {
            size_t n = std::strlen(o.name);
            if (std::strncmp(arg, o.name, n) != 0)
                continue;
            if (arg[n] == '=') {
                c.file = arg + n + 1;
            } else if (arg[n] == '\0') {
                if (i + 1 >= argc)
                    return bad("%s needs the replay file to read", o.name);
                c.file = argv[++i];
            } else {
                continue;
            }
            if (!*c.file)
                return bad("%s needs the replay file to read", o.name);
            c.what = o.what;
            known = true;
            break;
        }
        if (!known)
            return bad("unknown option %s", arg);
    }
    return c;
}

void print_help(FILE *out)
{
    std::fprintf(out,
                 "Usage: blastarena [OPTION]\n"
                 "Blast Arena: two players, one keyboard, one arena. Without an option the\n"
                 "game starts at its menu.\n"
                 "\n"
                 "  --replay FILE          show a recorded match in the window (Esc stops it)\n"
                 "  --verify-replay FILE   re-run a recorded match without a display and say\n"
                 "                         whether it still ends on the same state\n"
                 "  --version              print the version\n"
                 "  --help                 show this help\n"
                 "\n"
                 "Every match is recorded to replays/last.replay in the working directory.\n");
}

void print_version(FILE *out)
{
    std::fprintf(out, "blastarena %s\n", BLAST_VERSION);
}

bool load_replay_file(const char *path, std::vector<uint8_t> &bytes, replay_view &view)
{
    // O_NONBLOCK: a named pipe must not hang the game; only a file is read.
    int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        std::fprintf(stderr, "Could not read %s: %s\n", path, std::strerror(errno));
        return false;
    }
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        std::fprintf(stderr, "Could not read %s: not a file\n", path);
        return false;
    }
    if (st.st_size > REPLAY_FILE_LIMIT) {
        close(fd);
        std::fprintf(stderr, "Could not read %s: too large for a replay\n", path);
        return false;
    }
    bytes.resize(size_t(st.st_size));
    size_t got = 0;
    while (got < bytes.size()) {
        ssize_t n = read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += size_t(n);
    }
    close(fd);
    bytes.resize(got);
    if (const char *why = read_replay(bytes.data(), bytes.size(), view)) {
        std::fprintf(stderr, "%s: %s\n", path, why);
        return false;
    }
    return true;
}

int verify_replay_file(const char *path)
{
    static std::vector<uint8_t> bytes;
    static replay_view view;
    if (!load_replay_file(path, bytes, view))
        return 1;
    replay_check check = verify_replay(view);
    if (!check.ok) {
        std::printf("replay diverges at tick %" PRId32 "\n", check.diverged_at);
        return 1;
    }
    std::printf("replay ok: %" PRId32 " ticks, state %016" PRIx64 "\n", view.ticks,
                check.final_hash);
    return 0;
}
