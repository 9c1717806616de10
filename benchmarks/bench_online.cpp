// What online play costs: the re-run after a wrong guess at its worst (the
// heaviest ticks, the whole prediction window), and the bytes a match sends
// each way over the real network module on loopback.
#include <benchmark/benchmark.h>

#include <chrono>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "bench_env.h"
#include "net.h"
#include "rollback.h"

namespace {

constexpr control_word EVERY_KEY =
    CONTROL_UP | CONTROL_DOWN | CONTROL_LEFT | CONTROL_RIGHT | CONTROL_FIRE;

// A guess found wrong MAX_PREDICTION_TICKS ticks back: the snapshot is
// restored and the ticks are run again, each with both pools full and every
// key held, as in the worst-case tick.
void BM_RollbackWorstCase(benchmark::State &state)
{
    static match_state m;
    static rollback_session s;
    int32_t busy[LEVEL_COLUMNS][LEVEL_ROWS];
    for (int c = 0; c < LEVEL_COLUMNS; c++)
        for (int r = 0; r < LEVEL_ROWS; r++)
            busy[c][r] = (c * 7 + r * 3) % TILE_COUNT;
    busy[0][0] = busy[LEVEL_COLUMNS - 1][LEVEL_ROWS - 1] = 0;
    start_match_state(m, busy, 0.0f);
    for (int i = 0; i < BOMB_POOL_SIZE; i++)
        m.bombs[i] = bomb{1, i % 2 ? WEAPON_BIG_BOMB : WEAPON_BOMB, 2 + i % 48, 1 + i / 48, 0, 0, 1 << 30, 0, 0.0};
    for (int i = 0; i < EXPLOSION_POOL_SIZE; i++)
        m.explosions[i] = explosion{1, i % LEVEL_COLUMNS, 10 + (i / LEVEL_COLUMNS) % 20, 1 << 30, 0.0};
    rollback_start(s, &m, 0, 1, 0);
    s.remote_words[INPUT_DELAY_TICKS - 1] = EVERY_KEY;   // guessed held all along
    for (int i = 0; i < INPUT_DELAY_TICKS + MAX_PREDICTION_TICKS; i++)
        rollback_advance(s, EVERY_KEY | CONTROL_CHANGE);
    for (auto _ : state) {
        s.rewind_from = s.ticks - MAX_PREDICTION_TICKS;
        rollback_settle(s);
        benchmark::DoNotOptimize(m.players[0].energy);
    }
    state.counters["ticks"] = MAX_PREDICTION_TICKS;
}
BENCHMARK(BM_RollbackWorstCase)->Unit(benchmark::kMicrosecond);

// One side of a match over the network module for `seconds`: a beat every
// 25 ms as the loop has them, words held a while as people hold keys.
void play_side(int local, double seconds)
{
    static match_state m;
    static rollback_session s;
    int32_t open[LEVEL_COLUMNS][LEVEL_ROWS] = {};
    start_match_state(m, open, 0.0f);
    auto now_ms = [] {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    };
    rollback_start(s, &m, local, 9, now_ms());
    std::mt19937 rng(local + 1);
    control_word held = 0;
    const auto start = std::chrono::steady_clock::now();
    auto next = start;
    while (std::chrono::steady_clock::now() - start < std::chrono::duration<double>(seconds)) {
        for (net_event e = net_poll(0); e.kind != net_event_kind::none; e = net_poll(0))
            if (e.kind == net_event_kind::received)
                rollback_receive(s, e.bytes, e.size, now_ms());
        rollback_settle(s);
        if (rng() % 15 == 0)
            held = control_word(rng() & EVERY_KEY);
        if (rollback_beat(s) == beat::advance)
            rollback_advance(s, held);
        uint8_t bytes[MAX_INPUT_PACKET];
        net_send(bytes, rollback_packet(s, bytes, sizeof bytes), false);
        next += std::chrono::milliseconds(25);
        std::this_thread::sleep_until(next);
    }
}

// Bytes each way per second of a match: ENet's own headers and
// acknowledgements included, and with the IP and UDP headers (28 bytes a
// datagram) counted as well.
void BM_OnlineBytesPerSecond(benchmark::State &state)
{
    constexpr double SECONDS = 10;
    const int port = 40000 + int(getpid() % 20000);
    for (auto _ : state) {
        int pipe_fds[2];
        if (pipe(pipe_fds) != 0)
            return state.SkipWithError("no pipe");
        pid_t host = fork();
        if (host == 0) {
            char why[128];
            uint64_t sent[2] = {0, 0};
            if (net_listen(port, why, sizeof why)) {
                for (int i = 0; i < 500 && net_poll(10).kind != net_event_kind::connected; i++) {
                }
                play_side(0, SECONDS);
                sent[0] = net_bytes_sent();
                sent[1] = net_packets_sent();
            }
            if (write(pipe_fds[1], sent, sizeof sent) != sizeof sent)
                _exit(1);
            _exit(0);
        }
        char why[128];
        net_connect("127.0.0.1", port, ONLINE_VERSION, why, sizeof why);
        for (int i = 0; i < 500 && net_poll(10).kind != net_event_kind::connected; i++) {
        }
        play_side(1, SECONDS);
        const double joiner_bytes = double(net_bytes_sent()), joiner_packets = double(net_packets_sent());
        uint64_t host_sent[2] = {0, 0};
        if (read(pipe_fds[0], host_sent, sizeof host_sent) != sizeof host_sent)
            state.SkipWithError("the host side did not report");
        waitpid(host, nullptr, 0);
        net_close();
        close(pipe_fds[0]);
        close(pipe_fds[1]);
        state.counters["host_Bps"] = double(host_sent[0]) / SECONDS;
        state.counters["joiner_Bps"] = joiner_bytes / SECONDS;
        state.counters["host_ip_Bps"] = (double(host_sent[0]) + 28.0 * double(host_sent[1])) / SECONDS;
        state.counters["joiner_ip_Bps"] = (joiner_bytes + 28.0 * joiner_packets) / SECONDS;
    }
}
BENCHMARK(BM_OnlineBytesPerSecond)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
