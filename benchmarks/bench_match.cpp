// The match at its heaviest: a tick with both pools full (every bomb scans
// all 1000 explosions for a chain reaction) and a frame drawing all of it,
// beside a bare loop of the same blits to show what the game adds.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <iterator>

#include "bench_env.h"

namespace {

match_state &m = live_match;

// Both pools full; no bomb stands on an explosion, so every chain-reaction
// scan runs the whole pool, and nothing goes off or expires.
void fill_pools_for_ticks()
{
    for (int i = 0; i < BOMB_POOL_SIZE; i++)
        m.bombs[i] = bomb{1, i % 2 ? WEAPON_BIG_BOMB : WEAPON_BOMB, 2 + i % 48, 1 + i / 48, 0, 0, 1 << 30, 0, 0.0};
    for (int i = 0; i < EXPLOSION_POOL_SIZE; i++)
        m.explosions[i] = explosion{1, i % LEVEL_COLUMNS, 10 + (i / LEVEL_COLUMNS) % 20, 1 << 30, 0.0};
}

// A busy board: walls, animated tiles and floor mixed.
void busy_board()
{
    for (int c = 0; c < LEVEL_COLUMNS; c++)
        for (int r = 0; r < LEVEL_ROWS; r++)
            m.board[c][r] = (c * 7 + r * 3) % TILE_COUNT;
    m.board[0][0] = m.board[LEVEL_COLUMNS - 1][LEVEL_ROWS - 1] = 0;
}

// Both players walking every direction and holding fire and change: the
// most a turn can do.
void hold_every_key()
{
    for (int i = 0; i < KEY_MAX; i++)
        key[i] = 0;
    for (const player_profile &p : profiles)
        for (int s = 0; s < KEY_SLOT_SPECIAL; s++)
            key[p.keys[s]] = 1;
}

void setup_match()
{
    bench_setup();
    use_default_bindings();
    start_match();
    copy_name(profiles[0].name, "Player 1");
    copy_name(profiles[1].name, "Player 2");
    busy_board();
    fill_pools_for_ticks();
}

void BM_MatchTickWorstCase(benchmark::State &state)
{
    setup_match();
    for (auto _ : state) {
        hold_every_key();
        run_one_tick();
        benchmark::DoNotOptimize(m.players[0].energy);
    }
}
BENCHMARK(BM_MatchTickWorstCase);

long bench_sounds_started = 0;
void count_start(int, int, int)
{
    bench_sounds_started++;
}

// A tick of the worst case above with every kind of sound in it: besides
// the full pools' scans, a small bomb, a big bomb and a missile go off (their
// explosions search the full pool and are dropped), both players stand in
// blasts, player 2 is wrecked by them, both change weapon and fire. Then the
// recorded effects are played, to a stand-in for the device. With `all`,
// every one of the 100 bombs goes off in the tick instead of three: the
// most a tick can do, most of it spent searching the full explosion pool.
// Restoring the pools between rounds is not timed.
void BM_MatchTickWithSounds(benchmark::State &state)
{
    const bool all = state.range(0) != 0;
    setup_match();
    static bomb bomb_start[BOMB_POOL_SIZE];
    static explosion explosion_start[EXPLOSION_POOL_SIZE];
    std::copy(std::begin(m.bombs), std::end(m.bombs), bomb_start);
    std::copy(std::begin(m.explosions), std::end(m.explosions), explosion_start);
    for (int i = 0; i < BOMB_POOL_SIZE; i++) {
        if (!all && i >= 3)
            break;
        int type = i % 3 == 0 ? WEAPON_BOMB : i % 3 == 1 ? WEAPON_BIG_BOMB : WEAPON_MISSILE;
        bomb_start[i] = bomb{1, type, 2 + i % 48, 1 + i / 48, type == WEAPON_MISSILE, 0, 1, 0, 0.0};
    }
    // The players' cells are in the blasts' way.
    explosion_start[0] = explosion{1, 20, 20, 1 << 30, 0.0};
    explosion_start[1] = explosion{1, 40, 25, 1 << 30, 0.0};
    auto saved_output = sound_output;
    sound_output = count_start;
    sound_volume = DEFAULT_VOLUME;
    bench_sounds_started = 0;
    for (auto _ : state) {
        state.PauseTiming();
        start_match();
        std::copy(std::begin(bomb_start), std::end(bomb_start), m.bombs);
        std::copy(std::begin(explosion_start), std::end(explosion_start), m.explosions);
        m.players[0].x = cell_x(20);
        m.players[0].y = cell_y(20);
        m.players[1].x = cell_x(40);
        m.players[1].y = cell_y(25);
        m.players[1].energy = 1;
        hold_every_key();
        state.ResumeTiming();
        run_one_tick();
        play_sounds();
    }
    state.counters["starts_per_tick"] =
        benchmark::Counter(double(bench_sounds_started) / double(state.iterations()));
    sound_output = saved_output;
}
BENCHMARK(BM_MatchTickWithSounds)->ArgName("all")->Arg(0)->Arg(1);

// The same primitive calls render_match_frame makes, without reading the game.
void bare_blits()
{
    BITMAP *tile = level_bitmap(0), *anim = level_bitmap(OBJ_ANIM_TILE_FIRST);
    clear_to_color(player_sprites[0], 0);
    clear_to_color(player_sprites[1], 0);
    rotate_sprite(player_sprites[0], game_bitmap(OBJ_P1_WALK_FIRST), 0, 0, 0);
    rotate_sprite(player_sprites[1], game_bitmap(OBJ_P2_WALK_FIRST), 0, 0, 0);
    for (int c = 0; c < LEVEL_COLUMNS; c++)
        for (int r = 0; r < LEVEL_ROWS; r++)
            blit(r % 10 == 3 ? anim : tile, back_buffer, 0, 0, cell_x(c), cell_y(r), 12, 12);
    textout_centre(back_buffer, menu_font(), "fps = 100", FPS_X, FPS_Y, 255);
    masked_blit(player_sprites[0], back_buffer, 0, 0, 2, 2, 12, 12);
    masked_blit(player_sprites[1], back_buffer, 0, 0, 626, 398, 12, 12);
    for (int i = 0; i < BOMB_POOL_SIZE; i++)
        masked_blit(game_bitmap(OBJ_BOMB_FIRST), back_buffer, 0, 0, cell_x(i % 48), cell_y(i / 48), 12, 12);
    for (int i = 0; i < EXPLOSION_POOL_SIZE; i++)
        blit(game_bitmap(OBJ_EXPLOSION_FIRST), back_buffer, 0, 0, cell_x(i % LEVEL_COLUMNS),
             cell_y(10 + (i / LEVEL_COLUMNS) % 20), 12, 12);
    rect(back_buffer, 0, 0, 640, 410, 0);
    rect(back_buffer, 1, 1, 639, 409, 0);
    blit(game_bitmap(OBJ_STATUS_PANEL), back_buffer, 0, 0, 0, PANEL_TOP, SCREEN_WIDTH, PANEL_HEIGHT);
    masked_blit(game_bitmap(OBJ_ICON_BOMB), back_buffer, 0, 0, P1_ICON_X, ICON_Y, 12, 12);
    masked_blit(game_bitmap(OBJ_ICON_BOMB), back_buffer, 0, 0, P2_ICON_X, ICON_Y, 12, 12);
    for (int n = 0; n < START_ENERGY; n++) {
        vline(back_buffer, P1_BAR_X + n, BAR_TOP, BAR_BOTTOM, energy_colors[0]);
        vline(back_buffer, P2_BAR_X + n, BAR_TOP, BAR_BOTTOM, energy_colors[51]);
    }
    text_mode(-1);
    textout_centre(back_buffer, font, "Player 1", P1_NAME_X, NAME_Y, makecol(250, 0, 0));
    textout_centre(back_buffer, font, "Player 2", P2_NAME_X, NAME_Y, makecol(0, 250, 0));
    text_mode(0);
    blit(back_buffer, screen, 0, 0, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT);
}

// The frame drawn on a full match: 1802 cells (every tenth row animated),
// 100 bombs, 1000 explosions on the board, both panels' items; at the
// colour depth given.
void setup_frame(int bpp)
{
    setup_match();
    bench_use_depth(bpp);
    for (int c = 0; c < LEVEL_COLUMNS; c++)
        for (int r = 0; r < LEVEL_ROWS; r++)
            m.board[c][r] = r % 10 == 3 ? ANIMATED_TILE : 0;
    for (int i = 0; i < BOMB_POOL_SIZE; i++)
        m.bombs[i].type = WEAPON_BOMB;
}

void BM_MatchFrameCompose(benchmark::State &state)
{
    setup_frame(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        render_match_frame(m);
        benchmark::DoNotOptimize(screen->line[0][0]);
    }
}
BENCHMARK(BM_MatchFrameCompose)->ArgName("bpp")->Arg(16)->Arg(32);

void BM_MatchFrameBareBlits(benchmark::State &state)
{
    setup_frame(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        bare_blits();
        benchmark::DoNotOptimize(screen->line[0][0]);
    }
}
BENCHMARK(BM_MatchFrameBareBlits)->ArgName("bpp")->Arg(16)->Arg(32);

// An ordinary moment: a busy board, both players, a few bombs and one blast;
// most of it is the board, which is what the real program's frame rate
// turns on.
void BM_MatchFrameOrdinary(benchmark::State &state)
{
    setup_match();
    bench_use_depth(static_cast<int>(state.range(0)));
    clear_bombs(m);
    clear_explosions(m);
    for (int i = 0; i < 4; i++)
        m.bombs[i] = bomb{1, WEAPON_BOMB, 10 + i * 5, 10, 0, 0, 40, 0, 0.0};
    for (int i = 0; i < 29; i++)
        m.explosions[i] = explosion{1, 30 + i % 5, 20 + i / 5, 10, 0.0};
    for (auto _ : state) {
        render_match_frame(m);
        benchmark::DoNotOptimize(screen->line[0][0]);
    }
}
BENCHMARK(BM_MatchFrameOrdinary)->ArgName("bpp")->Arg(16)->Arg(32);

// The last step of every frame alone, the copy of the whole back buffer to
// a memory screen: what the ordinary frame costs beyond composing.
void BM_FullScreenCopy(benchmark::State &state)
{
    setup_match();
    bench_use_depth(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        blit(back_buffer, screen, 0, 0, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT);
        benchmark::DoNotOptimize(screen->line[0][0]);
    }
}
BENCHMARK(BM_FullScreenCopy)->ArgName("bpp")->Arg(16)->Arg(32);

// Both in one run, interleaved so that a busy machine weighs on them alike;
// the ratio is the cost of the game's own work over the drawing it asks for.
void BM_MatchFrameComposeOverBare(benchmark::State &state)
{
    using clock = std::chrono::steady_clock;
    setup_frame(static_cast<int>(state.range(0)));
    clock::duration compose{}, bare{};
    for (auto _ : state) {
        auto t0 = clock::now();
        render_match_frame(m);
        auto t1 = clock::now();
        bare_blits();
        auto t2 = clock::now();
        compose += t1 - t0;
        bare += t2 - t1;
    }
    auto us = [&](clock::duration d) {
        return std::chrono::duration<double, std::micro>(d).count() / state.iterations();
    };
    state.counters["compose_us"] = us(compose);
    state.counters["bare_us"] = us(bare);
    state.counters["ratio"] = us(compose) / us(bare);
}
BENCHMARK(BM_MatchFrameComposeOverBare)->ArgName("bpp")->Arg(16)->Arg(32);

}  // namespace
