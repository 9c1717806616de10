// The enlarged picture's copy against a plain copy of the same destination
// size: the game's own whole-factor block copy and Allegro's stretch_blit,
// each measured interleaved with a blit of a bitmap as large as the result,
// so that a busy machine weighs on all three alike. Each part is timed on
// the thread's own CPU clock: on a shared machine a preemption in the middle
// of one part would otherwise land on that part alone.
#include <benchmark/benchmark.h>

#include <ctime>

#include "bench_env.h"

namespace {

void BM_ScaledCopyOverPlain(benchmark::State &state)
{
    const int depth = static_cast<int>(state.range(0));
    const int factor = static_cast<int>(state.range(1));
    bench_use_depth(depth);
    const int w = SCREEN_WIDTH * factor, h = SCREEN_HEIGHT * factor;
    BITMAP *scaled = create_bitmap(w, h);
    BITMAP *large = create_bitmap(w, h);
    BITMAP *plain = create_bitmap(w, h);
    for (int y = 0; y < SCREEN_HEIGHT; y++)
        for (int x = 0; x < SCREEN_WIDTH; x++)
            putpixel(back_buffer, x, y, makecol(x, y, x ^ y));
    clear_bitmap(large);
    auto now_ns = [] {
        timespec ts;
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
        return ts.tv_sec * 1000000000LL + ts.tv_nsec;
    };
    long long own = 0, stretch = 0, copy = 0;
    for (auto _ : state) {
        long long t0 = now_ns();
        scale_copy(back_buffer, scaled, factor);
        long long t1 = now_ns();
        stretch_blit(back_buffer, scaled, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, 0, 0, w, h);
        long long t2 = now_ns();
        blit(large, plain, 0, 0, 0, 0, w, h);
        long long t3 = now_ns();
        own += t1 - t0;
        stretch += t2 - t1;
        copy += t3 - t2;
        benchmark::DoNotOptimize(scaled->line[0][0]);
        benchmark::DoNotOptimize(plain->line[0][0]);
    }
    auto us = [&](long long ns) { return ns / 1000.0 / double(state.iterations()); };
    state.counters["own_us"] = us(own);
    state.counters["stretch_us"] = us(stretch);
    state.counters["plain_us"] = us(copy);
    state.counters["own_ratio"] = us(own) / us(copy);
    state.counters["stretch_ratio"] = us(stretch) / us(copy);
    destroy_bitmap(scaled);
    destroy_bitmap(large);
    destroy_bitmap(plain);
    bench_use_depth(16);
}
BENCHMARK(BM_ScaledCopyOverPlain)
    ->ArgNames({"bpp", "factor"})
    ->ArgsProduct({{16, 32}, {2, 3, 4}});

}  // namespace
