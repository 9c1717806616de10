// The command line. No option: the game. --replay FILE shows a recorded
// match; --verify-replay FILE re-runs one without a display; --host [PORT]
// and --join HOST[:PORT] play another machine; --version and --help say
// what the game is. Anything else is a mistake, told with the help on
// standard error.
#include "command_line.h"

#include <cerrno>
#include <cinttypes>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "net.h"
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
    command_line c{command::bad, nullptr, {}, 0, {}};
    std::snprintf(c.problem, sizeof c.problem, format, what);
    return c;
}

// 1 to 65535 in plain digits, or 0.
int parse_port(const char *s)
{
    long v = 0;
    if (!*s)
        return 0;
    for (; *s; s++) {
        if (*s < '0' || *s > '9')
            return 0;
        v = v * 10 + (*s - '0');
        if (v > 65535)
            return 0;
    }
    return int(v);
}

// --host [PORT] and --join HOST[:PORT], with or without "=". Returns the
// arguments used, or -1 after setting the problem.
int parse_online(command_line &c, int argc, char **argv, int i)
{
    const char *arg = argv[i];
    const bool join = std::strncmp(arg, "--join", 6) == 0;
    const char *value = nullptr;
    int used = 1;
    const char *eq = std::strchr(arg, '=');
    if (eq) {
        value = eq + 1;
    } else if (i + 1 < argc && argv[i + 1][0] != '-') {
        value = argv[i + 1];
        used = 2;
    }
    c.port = DEFAULT_ONLINE_PORT;
    if (!join) {
        c.what = command::host;
        if (value && !(c.port = parse_port(value))) {
            c = bad("--host takes a port from 1 to 65535, not %s", value);
            return -1;
        }
        return used;
    }
    c.what = command::join;
    if (!value || !*value) {
        c = bad("%s needs the host to join, as HOST or HOST:PORT", "--join");
        return -1;
    }
    const char *colon = std::strrchr(value, ':');
    size_t host_len = colon ? size_t(colon - value) : std::strlen(value);
    if (colon && !(c.port = parse_port(colon + 1))) {
        c = bad("--join takes a port from 1 to 65535 after the colon: %s", value);
        return -1;
    }
    if (host_len == 0 || host_len >= sizeof c.host) {
        c = bad("--join needs the host's name or address: %s", value);
        return -1;
    }
    std::memcpy(c.host, value, host_len);
    c.host[host_len] = '\0';
    return used;
}

}  // namespace

command_line parse_command_line(int argc, char **argv)
{
    command_line c{command::play, nullptr, {}, 0, {}};
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
        if (std::strcmp(arg, "--host") == 0 || std::strncmp(arg, "--host=", 7) == 0 ||
            std::strcmp(arg, "--join") == 0 || std::strncmp(arg, "--join=", 7) == 0) {
            int used = parse_online(c, argc, argv, i);
            if (used < 0)
                return c;
            i += used - 1;
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
                 "  --host [PORT]          wait for a player on another machine to join (UDP\n"
                 "                         port %d unless given); you play player 1\n"
                 "  --join HOST[:PORT]     join a game waiting on HOST; you play player 2\n"
                 "  --version              print the version\n"
                 "  --help                 show this help\n"
                 "\n"
                 "Every match is recorded to replays/last.replay in the working directory.\n",
                 DEFAULT_ONLINE_PORT);
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
