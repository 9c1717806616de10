// What replays and rolling back cost: a snapshot of the match and its
// restore, the hash that names a state, and re-running a long match.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench_env.h"
#include "replay.h"

namespace {

// Both pools full, a busy board: the largest a state gets to be read.
void busy_state(match_state &m)
{
    int32_t busy[LEVEL_COLUMNS][LEVEL_ROWS];
    for (int c = 0; c < LEVEL_COLUMNS; c++)
        for (int r = 0; r < LEVEL_ROWS; r++)
            busy[c][r] = (c * 7 + r * 3) % TILE_COUNT;
    start_match_state(m, busy, 0.0f);
    for (int i = 0; i < BOMB_POOL_SIZE; i++)
        m.bombs[i] = bomb{1, WEAPON_BOMB, i % 48, i / 48, 0, 0, 1 << 30, 0, 0.0};
    for (int i = 0; i < EXPLOSION_POOL_SIZE; i++)
        m.explosions[i] = explosion{1, i % LEVEL_COLUMNS, i / LEVEL_COLUMNS, 1 << 30, 0.0};
}

void BM_SnapshotAndRestore(benchmark::State &state)
{
    static match_state live, saved;
    busy_state(live);
    for (auto _ : state) {
        saved = live;
        benchmark::ClobberMemory();
        live = saved;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SnapshotAndRestore);

void BM_StateHash(benchmark::State &state)
{
    static match_state live;
    busy_state(live);
    for (auto _ : state)
        benchmark::DoNotOptimize(match_hash(live));
}
BENCHMARK(BM_StateHash);

// A ten-minute match of busy play (both players walking, firing and
// changing weapon all along), recorded through the loop's tick and then
// verified from its bytes as --verify-replay does.
void BM_VerifyTenMinuteReplay(benchmark::State &state)
{
    bench_setup();
    for (int c = 0; c < LEVEL_COLUMNS; c++)
        for (int r = 0; r < LEVEL_ROWS; r++)
            board[c][r] = (c % 7 == 3 && r % 5 == 2) ? 1 : 0;
    board[0][0] = board[LEVEL_COLUMNS - 1][LEVEL_ROWS - 1] = 0;
    start_match();
    uint64_t s = 1;
    for (int t = 0; t < 10 * 60 * TICKS_PER_SECOND; t++) {
        s = s * 6364136223846793005ull + 1442695040888963407ull;
        control_word a = control_word((s >> 33) & 0x1f), b = control_word((s >> 41) & 0x1f);
        match_tick(live_match, a, b);
        record_tick(a, b, live_match);
    }
    static std::vector<uint8_t> bytes;
    recording_bytes(live_match, bytes);
    static replay_view view;
    read_replay(bytes.data(), bytes.size(), view);
    for (auto _ : state)
        benchmark::DoNotOptimize(verify_replay(view).ok);
    state.counters["kib"] = double(bytes.size()) / 1024.0;
}
BENCHMARK(BM_VerifyTenMinuteReplay)->Unit(benchmark::kMillisecond);

}  // namespace
