// What the computer player's thinking costs: hard against hard for a minute of
// match time on each bundled arena and the empty board, every word timed on
// the thread's own clock. A word that takes long is asked for twice more
// from the same mind and the quickest kept, so the worst is the thinking's
// and not a moment when the machine looked elsewhere.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <string>
#include <vector>

#include "bench_env.h"
#include "computer.h"

namespace {

double thread_us()
{
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e6 + double(t.tv_nsec) * 1e-3;
}

std::vector<std::string> arena_paths()
{
    std::vector<std::string> paths;
    const std::string dir = BLAST_SOURCE_DIR "/levels";
    if (DIR *d = opendir(dir.c_str())) {
        while (dirent *e = readdir(d))
            if (e->d_name[0] != '.')
                paths.push_back(dir + "/" + e->d_name);
        closedir(d);
    }
    std::sort(paths.begin(), paths.end());
    paths.push_back("");   // the empty board
    return paths;
}

computer_mind minds[2], again;

void BM_ComputerThinking(benchmark::State &state)
{
    constexpr int TICKS = 60 * TICKS_PER_SECOND;
    constexpr double LONG_US = 50;
    static match_state m;
    double total = 0, worst = 0;
    long words = 0;
    for (auto _ : state) {
        for (const std::string &path : arena_paths()) {
            clear_board(0);
            if (!path.empty())
                read_level(path.c_str());
            start_match_state(m, board, 0.0f);
            for (int i = 0; i < 2; i++)
                reset_computer(minds[i], COMPUTER_HARD, uint32_t(i + 1));
            for (int t = 0; t < TICKS && m.result == RESULT_NONE; t++) {
                control_word w[2];
                for (int i = 0; i < 2; i++) {
                    std::memcpy(static_cast<void *>(&again), &minds[i], sizeof again);
                    double start = thread_us();
                    w[i] = computer_controls(m, i, &minds[i]);
                    double spent = thread_us() - start;
                    for (int retry = 0; retry < 2 && spent > LONG_US; retry++) {
                        static computer_mind copy;
                        std::memcpy(static_cast<void *>(&copy), &again, sizeof copy);
                        start = thread_us();
                        benchmark::DoNotOptimize(computer_controls(m, i, &copy));
                        spent = std::min(spent, thread_us() - start);
                    }
                    total += spent;
                    worst = std::max(worst, spent);
                    words++;
                }
                match_tick(m, w[0], w[1]);
            }
        }
    }
    state.counters["avg_us"] = words ? total / double(words) : 0;
    state.counters["worst_us"] = worst;
    state.counters["words"] = double(words);
}
BENCHMARK(BM_ComputerThinking)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
