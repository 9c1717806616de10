// SIGTERM, SIGINT and SIGHUP ask the game to quit, as Esc in the menu does:
// every loop leaves at its next pass and the program ends through its own
// shutdown with status 0. A save under way is never cut short: the handler
// only raises a flag, and the file calls restart after it. Allegro's own
// handlers shut the library down inside the signal, which could deadlock
// against its drawing thread and end in SIGABRT.
#include "platform.h"

#include <atomic>
#include <csignal>

namespace {

constexpr int QUIT_SIGNALS[] = {SIGTERM, SIGINT, SIGHUP};
constexpr int QUIT_SIGNAL_COUNT = sizeof QUIT_SIGNALS / sizeof QUIT_SIGNALS[0];

std::atomic<int> quit_flag{0};
static_assert(std::atomic<int>::is_always_lock_free, "raised from a signal handler");

// Which of them the game was started with ignored (nohup, a background
// job): those stay ignored.
bool ignored[QUIT_SIGNAL_COUNT];
bool dispositions_read = false;

void on_quit_signal(int) { quit_flag.store(1); }

}  // namespace

void note_inherited_signals()
{
    for (int i = 0; i < QUIT_SIGNAL_COUNT; i++) {
        struct sigaction old;
        ignored[i] = sigaction(QUIT_SIGNALS[i], nullptr, &old) == 0 && old.sa_handler == SIG_IGN;
    }
    dispositions_read = true;
}

void install_quit_signals()
{
    if (!dispositions_read)
        note_inherited_signals();
    struct sigaction sa = {};
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int i = 0; i < QUIT_SIGNAL_COUNT; i++) {
        sa.sa_handler = ignored[i] ? SIG_IGN : on_quit_signal;
        sigaction(QUIT_SIGNALS[i], &sa, nullptr);
    }
}

bool quit_asked() { return quit_flag.load() != 0; }
void ask_to_quit() { quit_flag.store(1); }
void forget_quit_request() { quit_flag.store(0); }
