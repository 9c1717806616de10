// The real match loop for a while with real timers, drawing into a memory
// bitmap that stands in for the screen; reports the simulated tick rate
// (due 40 per second) and the drawing rate. Allegro's timers need a system
// driver, so run it where one starts (under Xvfb: xvfb-run match_loop_run 30).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "app.h"
#include "headless_game.h"
#include "editor.h"
#include "match_loop.h"
#include "match_render.h"

// Counts the main flow's heap calls while the match runs: there should be none.
extern "C" void *__libc_malloc(size_t);
extern "C" void *__libc_calloc(size_t, size_t);
extern "C" void *__libc_realloc(void *, size_t);
static thread_local bool counting = false;
static long heap_calls = 0;
extern "C" void *malloc(size_t n)
{
    heap_calls += counting;
    return __libc_malloc(n);
}
extern "C" void *calloc(size_t n, size_t size)
{
    heap_calls += counting;
    return __libc_calloc(n, size);
}
extern "C" void *realloc(void *p, size_t n)
{
    heap_calls += counting;
    return __libc_realloc(p, n);
}

int main(int argc, char **argv)
{
    const double seconds = argc > 1 ? std::atof(argv[1]) : 30.0;
    set_uformat(U_ASCII);
    if (install_allegro(SYSTEM_AUTODETECT, &errno, atexit) != 0 || install_timer() != 0) {
        std::printf("no system driver with timers: %s\n", allegro_error);
        return 1;
    }
    char dir[256];
    replace_filename(dir, argv[0], "..", sizeof dir);   // the build, above benchmarks/
    if (const char *failed = load_game_resources(dir)) {
        std::printf("%s from %s\n", failed, dir);
        return 1;
    }
    read_config();                   // default names and bindings

    // A walled arena with animated tiles; both players walk and fire all
    // along, so the pools stay busy.
    for (int c = 0; c < LEVEL_COLUMNS; c++)
        for (int r = 0; r < LEVEL_ROWS; r++)
            board[c][r] = (c % 6 == 3 && r % 6 == 3) ? 1 : (r % 8 == 5 ? ANIMATED_TILE : 0);
    key[profiles[0].keys[KEY_SLOT_RIGHT]] = 1;
    key[profiles[0].keys[KEY_SLOT_DOWN]] = 1;
    key[profiles[0].keys[KEY_SLOT_FIRE]] = 1;
    key[profiles[1].keys[KEY_SLOT_LEFT]] = 1;
    key[profiles[1].keys[KEY_SLOT_UP]] = 1;
    key[profiles[1].keys[KEY_SLOT_FIRE]] = 1;

    // run_match's own steps, without the level browser.
    install_int(fps_timer_callback, 1000);
    install_int(tick_timer_callback, 25);
    start_match();

    using clock = std::chrono::steady_clock;
    const auto start = clock::now();
    long ticks = 0, frames = 0;
    int fps_min = 1 << 30, fps_max = 0, last_fps = -1;
    double elapsed = 0.0;
    counting = true;
    while (elapsed < seconds) {
        ticks += match_loop_pass();
        frames++;
        elapsed = std::chrono::duration<double>(clock::now() - start).count();
        if (elapsed > 1.5 && fps.load() != last_fps) {
            last_fps = fps.load();
            fps_min = std::min(fps_min, last_fps);
            fps_max = std::max(fps_max, last_fps);
        }
    }
    counting = false;
    if (last_fps < 0)
        fps_min = fps_max = fps.load();
    remove_int(fps_timer_callback);
    remove_int(tick_timer_callback);

    const double rate = ticks / elapsed;
    std::printf("%.1f s: %ld ticks, %.3f ticks/s (%+.2f %% from 40), %ld frames, %.0f frames/s "
                "(fps shown %d..%d), %ld heap calls\n",
                elapsed, ticks, rate, (rate / 40.0 - 1.0) * 100.0, frames, frames / elapsed,
                fps_min, fps_max, heap_calls);
    return 0;
}
