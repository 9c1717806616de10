// The match loop: a fixed 40 ticks per second fed by a timer, drawing as fast
// as the machine allows in between; and the set-up every match starts from.
#include "platform.h"
#include "match.h"

// The only state the timer callbacks share with the main flow. The tick
// callback's increment must never be lost against the loop's decrement, so
// both are atomic read-modify-writes.
std::atomic<int32_t> pending_ticks{0};
std::atomic<int32_t> frames_drawn{0};
std::atomic<int32_t> fps{0};

namespace {
constexpr int TICK_MS = 25;
constexpr int FPS_MS = 1000;
}  // namespace

// Every 25 ms, in the timer service's own context: keep these bodies this small.
void tick_timer_callback()
{
    pending_ticks.fetch_add(1);
}

// Every second: the frames drawn in the last second become the shown rate.
void fps_timer_callback()
{
    fps.store(frames_drawn.exchange(0));
}

void start_match()
{
    static const int START_COL[2] = {P1_START_COL, P2_START_COL};
    static const int START_ROW[2] = {P1_START_ROW, P2_START_ROW};
    for (int i = 0; i < 2; i++) {
        player &p = players[i];
        p.x = cell_x(START_COL[i]);
        p.y = cell_y(START_ROW[i]);
        p.speed = START_SPEED;
        p.facing = FACING_DOWN;
        p.energy = START_ENERGY;
        p.frame = 0.0;
        p.fire_delay = 0;
        p.weapon = WEAPON_BOMB;
    }
    clear_bombs();
    clear_explosions();
    clear_sounds();
    pending_ticks.store(0);
}

// A slow frame only makes the next pass simulate several ticks in a row.
int match_loop_pass()
{
    // Most passes run no tick; a quick tap is shown to the ticks of the next
    // pass that runs any, or it would come and go unseen between two ticks.
    if (pending_ticks.load() > 0)
        input_pass();
    int ticks = 0;
    while (pending_ticks.load() > 0) {
        match_tick();
        pending_ticks.fetch_sub(1);
        ticks++;
    }
    // Ticks run back to back behind a slow frame are heard together.
    play_sounds();
    render_match_frame();
    frames_drawn.fetch_add(1);
    return ticks;
}

void run_match(void (*before_play)())
{
    start_timer(fps_timer_callback, FPS_MS);
    start_timer(tick_timer_callback, TICK_MS);
    // The tick timer is already running: the time before_play takes is
    // simulated back to back before the first frame. Nothing before_play may
    // do (choosing the level) touches what start_match sets.
    start_match();
    if (before_play)
        before_play();

    // leave_mode is tested only between passes: the ticks still pending when
    // Esc was seen run, and one more frame is drawn.
    while (leave_mode == 0 && !quit_asked())
        match_loop_pass();

    stop_timer(fps_timer_callback);
    stop_timer(tick_timer_callback);
    leave_mode = 0;
    pause_ms(PAUSE_AFTER_DIALOG_MS);
}
