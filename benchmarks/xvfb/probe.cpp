// Linked into blastarena_probe: the game's own main and code, with three
// calls wrapped by the linker (--wrap) so that the real program can be timed
// without a line of the game knowing about it. At exit it prints to stderr:
//   first_screen_ns  CLOCK_REALTIME when the first blit to the screen (the
//                    first menu frame) returned
//   frames, ticks    frames drawn and ticks simulated in matches
//   span_s, span_ticks  from the first to the last match frame, and the
//                    ticks simulated in between (the tick rate's basis)
//   span_cpu_s       CPU time the process used in that span, all threads
#include <allegro.h>

#include "match_state.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

long long now_ns(clockid_t clock)
{
    timespec ts;
    clock_gettime(clock, &ts);
    return ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

long long first_screen_ns = 0;
long frames = 0, ticks = 0, ticks_at_first_frame = 0, ticks_at_last_frame = 0;
long long first_frame_ns = 0, last_frame_ns = 0, first_frame_cpu_ns = 0, last_frame_cpu_ns = 0;

void report()
{
    double span = (last_frame_ns - first_frame_ns) / 1e9;
    double cpu = (last_frame_cpu_ns - first_frame_cpu_ns) / 1e9;
    std::fprintf(stderr,
                 "probe: first_screen_ns=%lld frames=%ld ticks=%ld span_s=%.6f span_ticks=%ld "
                 "span_cpu_s=%.6f\n",
                 first_screen_ns, frames, ticks, span, ticks_at_last_frame - ticks_at_first_frame, cpu);
}

struct reporter {
    reporter() { std::atexit(report); }
} reporter_instance;

}  // namespace

extern "C" {

void __real_blit(BITMAP *, BITMAP *, int, int, int, int, int, int);
void __wrap_blit(BITMAP *source, BITMAP *dest, int sx, int sy, int dx, int dy, int w, int h)
{
    __real_blit(source, dest, sx, sy, dx, dy, w, h);
    if (dest == screen && !first_screen_ns)
        first_screen_ns = now_ns(CLOCK_REALTIME);
}

// render_match_frame() and match_tick(), by their mangled names.
void __real__Z18render_match_frameRK11match_state(const match_state &m);
void __wrap__Z18render_match_frameRK11match_state(const match_state &m)
{
    __real__Z18render_match_frameRK11match_state(m);
    long long t = now_ns(CLOCK_MONOTONIC), cpu = now_ns(CLOCK_PROCESS_CPUTIME_ID);
    if (frames++ == 0) {
        first_frame_ns = t;
        first_frame_cpu_ns = cpu;
        ticks_at_first_frame = ticks;
    }
    last_frame_ns = t;
    last_frame_cpu_ns = cpu;
    ticks_at_last_frame = ticks;
}

void __real__Z10match_tickR11match_statehh(match_state &m, control_word p1, control_word p2);
void __wrap__Z10match_tickR11match_statehh(match_state &m, control_word p1, control_word p2)
{
    __real__Z10match_tickR11match_statehh(m, p1, p2);
    ticks++;
}

}  // extern "C"
