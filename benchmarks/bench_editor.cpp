// The editor: composing one frame (panel, 1802 cells, palette, hover mark)
// and the fill of a whole board, the deepest walk the flood fill can make.
#include <benchmark/benchmark.h>

#include "bench_env.h"

namespace {

void BM_EditorFrame(benchmark::State &state)
{
    bench_setup();
    clear_board(0);
    for (int c = 0; c < LEVEL_COLUMNS; c++)
        for (int r = 0; r < LEVEL_ROWS; r++)
            board[c][r] = (c * 7 + r * 3) % TILE_COUNT;
    for (int i = 0; i < KEY_MAX; i++)
        key[i] = 0;
    mouse_x = 300;
    mouse_y = 200;
    mouse_b = 0;
    for (auto _ : state) {
        editor_frame();
        benchmark::DoNotOptimize(back_buffer->line[0][0]);
    }
}
BENCHMARK(BM_EditorFrame);

void BM_FloodFillWholeBoard(benchmark::State &state)
{
    bench_setup();
    int tile = 0;
    clear_board(0);
    for (auto _ : state) {
        flood_fill(board, 20, 20, tile = 1 - tile);
        benchmark::DoNotOptimize(board[0][0]);
    }
}
BENCHMARK(BM_FloodFillWholeBoard);

// A one-cell corridor through every row: every filled cell nests one deeper.
void BM_FloodFillSnake(benchmark::State &state)
{
    bench_setup();
    int tile = 0;
    for (auto _ : state) {
        state.PauseTiming();
        clear_board(0);
        for (int r = 1; r < LEVEL_ROWS; r += 2)
            for (int c = 0; c < LEVEL_COLUMNS; c++)
                board[c][r] = (c == ((r / 2) % 2 ? 0 : LEVEL_COLUMNS - 1)) ? 0 : 3;
        state.ResumeTiming();
        flood_fill(board, 0, 0, tile = 2);
        benchmark::DoNotOptimize(board[0][0]);
    }
}
BENCHMARK(BM_FloodFillSnake);

}  // namespace
