// The command line: without an option the game starts at its menu; the
// options show or check a recorded match, play one against another
// machine, or say what there is.
#pragma once

#include <cstdio>
#include <cstdint>
#include <vector>

struct replay_view;

enum class command { play, help, version, replay, verify_replay, host, join, bad };
struct command_line {
    command what;
    const char *file;      // the replay of --replay and --verify-replay
    char host[256];        // --join's machine
    int port;              // --host's and --join's port
    char problem[160];     // what was wrong with a bad command line
};
command_line parse_command_line(int argc, char **argv);
void print_help(FILE *out);
void print_version(FILE *out);

// Reads and checks a replay file; on failure says why on standard error.
bool load_replay_file(const char *path, std::vector<uint8_t> &bytes, replay_view &view);
// --verify-replay: re-runs the match without a display and prints the
// verdict; returns the exit status (0 ok, 1 anything else).
int verify_replay_file(const char *path);
