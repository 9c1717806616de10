// The match loop: a fixed 40 ticks per second fed by a timer, drawing as fast
// as the machine allows in between; the set-up every match starts from; and
// the record of each match, kept when it ends.
#include <cstring>

#include "platform.h"
#include "computer.h"
#include "level.h"
#include "match.h"
#include "replay.h"

// The only state the timer callbacks share with the main flow. The tick
// callback's increment must never be lost against the loop's decrement, so
// both are atomic read-modify-writes.
std::atomic<int32_t> pending_ticks{0};
std::atomic<int32_t> frames_drawn{0};
std::atomic<int32_t> fps{0};

match_state live_match;
controls_source match_sources[2] = {KEYBOARD_SOURCE, KEYBOARD_SOURCE};
uint8_t match_kinds[2] = {REPLAY_PERSON, REPLAY_PERSON};
int match_wins[2] = {0, 0};
bool match_paused = false;
panel_mode match_panel = panel_mode::play;
const char *match_status = nullptr;

namespace {
constexpr int TICK_MS = 25;
constexpr int FPS_MS = 1000;

bool result_counted = false;   // this match's result is in match_wins
bool left_while_paused = false;
// The computer players' minds, one per side, fresh for every match.
computer_mind minds[2];

bool level_of_computer(int level) { return level >= COMPUTER_EASY && level <= COMPUTER_HARD; }

// The same start gives the same minds: the board and the animation clock,
// which runs on from match to match, so a rematch is played afresh.
uint32_t mind_seed(const match_state &m, int player)
{
    uint32_t h = 2166136261u;
    for (const auto &column : m.board)
        for (int32_t tile : column)
            h = (h ^ uint32_t(tile)) * 16777619u;
    uint32_t clock;
    static_assert(sizeof clock == sizeof m.anim_clock, "the clock's bits");
    std::memcpy(&clock, &m.anim_clock, sizeof clock);
    return (h ^ clock) * 16777619u + uint32_t(player);
}

// A key that acts once per press: read, then released until pressed anew.
bool take_key(int k)
{
    if (!key_down(k))
        return false;
    release_key(k);
    return true;
}

// Allegro turns each tap of Pause on X into one event, a press and a
// release by turns, so the key reads held from one tap until the next:
// every change of it is a tap.
bool pause_key_held = false;
bool pause_key_tapped()
{
    const bool now = key_down(KEY_PAUSE);
    const bool tapped = now != pause_key_held;
    pause_key_held = now;
    return tapped;
}

bool take_pause_key()
{
    bool pause = pause_key_tapped();
    if (p_pauses())
        pause = take_key(KEY_P) || pause;
    return pause;
}

void count_result()
{
    if (result_counted || live_match.result == RESULT_NONE)
        return;
    if (live_match.result == RESULT_P1_WINS)
        match_wins[0]++;
    else if (live_match.result == RESULT_P2_WINS)
        match_wins[1]++;
    result_counted = true;
}

void draw_frame()
{
    play_sounds();
    render_match_frame(live_match);
    frames_drawn.fetch_add(1);
}

}  // namespace

bool p_pauses()
{
    for (const player_profile &p : profiles)
        for (int32_t k : p.keys)
            if (k == KEY_P)
                return false;
    return true;
}

bool match_running()
{
    return live_match.leave_tick < 0 && !left_while_paused;
}

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

void start_match(bool online)
{
    // The animation clock is the program's, not the match's: it goes on.
    start_match_state(live_match, board, live_match.anim_clock);
    clear_sounds();
    pending_ticks.store(0);
    match_paused = false;
    left_while_paused = false;
    result_counted = false;
    focus_was_lost();   // a focus lost in the menus is no reason to pause
    pause_key_held = key_down(KEY_PAUSE);
    // A computer side starts with a fresh mind; the replay says who played.
    for (int i = 0; i < 2; i++) {
        match_kinds[i] = REPLAY_PERSON;
        if (match_sources[i].next != computer_controls)
            continue;
        auto *mind = static_cast<computer_mind *>(match_sources[i].context);
        if (mind == &minds[i])
            reset_computer(*mind, profiles[i].computer, mind_seed(live_match, i));
        match_kinds[i] = uint8_t(mind->level);
    }
    begin_recording(live_match, profiles[0].name, profiles[1].name, match_kinds, online);
}

void choose_match_sources()
{
    for (int i = 0; i < 2; i++)
        match_sources[i] = level_of_computer(profiles[i].computer)
                               ? controls_source{computer_controls, &minds[i], true}
                               : KEYBOARD_SOURCE;
}

namespace {

void next_words(control_word words[2])
{
    // Player 1 is asked first: a change key both share goes to the first
    // living player.
    for (int i = 0; i < 2; i++) {
        const controls_source &s = match_sources[i];
        words[i] = s.next ? s.next(live_match, i, s.context) : 0;
        if (s.hears_esc && key_down(KEY_ESC))
            words[i] |= CONTROL_LEAVE;
    }
}

// A recorded match shown again is not recorded again.
void run_recorded_tick()
{
    control_word words[2];
    next_words(words);
    match_tick(live_match, words[0], words[1]);
    note_sounds(live_match.sounds.effects);
}

}  // namespace

void run_one_tick()
{
    control_word words[2];
    next_words(words);
    match_tick(live_match, words[0], words[1]);
    record_tick(words[0], words[1], live_match);
    note_sounds(live_match.sounds.effects);
}

// A slow frame only makes the next pass simulate several ticks in a row.
int match_loop_pass()
{
    if (match_paused) {
        // Nothing is owed for the time paused: no burst of ticks after it.
        input_pass();
        pending_ticks.store(0);
        if (key_down(KEY_ESC))
            left_while_paused = true;
        else if (take_pause_key())
            match_paused = false;
        draw_frame();
        return 0;
    }
    // Most passes run no tick; a quick tap is shown to the ticks of the next
    // pass that runs any, or it would come and go unseen between two ticks.
    if (pending_ticks.load() > 0) {
        input_pass();
        // A window that lost the keyboard cannot be played: it waits.
        if (take_pause_key() || focus_was_lost()) {
            match_paused = true;
            pending_ticks.store(0);
            silence_sounds();
            draw_frame();
            return 0;
        }
        // Once there is a result, Enter plays the same arena again at once.
        if (live_match.result != RESULT_NONE && take_key(KEY_ENTER)) {
            keep_recording(live_match, LAST_REPLAY_PATH);
            start_match();
        }
    }
    int ticks = 0;
    while (pending_ticks.load() > 0) {
        run_one_tick();
        pending_ticks.fetch_sub(1);
        ticks++;
    }
    count_result();
    // Ticks run back to back behind a slow frame are heard together.
    draw_frame();
    return ticks;
}

void run_match(void (*before_play)())
{
    choose_match_sources();
    start_timer(fps_timer_callback, FPS_MS);
    start_timer(tick_timer_callback, TICK_MS);
    // The tick timer is already running: the time before_play takes is
    // simulated back to back before the first frame. before_play chooses the
    // board; the match is set up on it once it has.
    start_match();
    if (before_play) {
        before_play();
        // The browser may have changed who plays.
        choose_match_sources();
        const int32_t owed = pending_ticks.load();
        start_match();
        pending_ticks.store(owed);
    }

    // The leave word is seen only between passes: the ticks still pending
    // when Esc was seen run, and one more frame is drawn.
    while (match_running() && !quit_asked())
        match_loop_pass();

    stop_timer(fps_timer_callback);
    stop_timer(tick_timer_callback);
    keep_recording(live_match, LAST_REPLAY_PATH);
    leave_mode = 0;
    pause_ms(PAUSE_AFTER_DIALOG_MS);
}

namespace {

// The words of a recorded match, tick by tick; nothing once they run out.
control_word replay_controls(const match_state &m, int player, void *context)
{
    const replay_view &r = *static_cast<const replay_view *>(context);
    if (m.tick < 0 || m.tick >= r.ticks)
        return 0;
    return r.words[2 * size_t(m.tick) + size_t(player)];
}

constexpr int REPLAY_END_HOLD_MS = 1000;

}  // namespace

void show_replay(const replay_view &r)
{
    // The names the match was played under, for this showing only.
    player_profile kept[2] = {profiles[0], profiles[1]};
    for (int p = 0; p < 2; p++)
        std::memcpy(profiles[p].name, r.names[p], NAME_SIZE);
    for (controls_source &s : match_sources)
        s = {replay_controls, const_cast<replay_view *>(&r), false};
    match_panel = panel_mode::replay;
    for (int p = 0; p < 2; p++)
        match_kinds[p] = r.kinds[p];

    start_match_state(live_match, r.board, r.anim_clock);
    clear_sounds();
    pending_ticks.store(0);
    start_timer(fps_timer_callback, FPS_MS);
    start_timer(tick_timer_callback, TICK_MS);
    bool stopped = false;
    while (live_match.tick < r.ticks && !stopped) {
        input_pass();
        stopped = key_down(KEY_ESC) || quit_asked();
        while (pending_ticks.load() > 0 && live_match.tick < r.ticks) {
            run_recorded_tick();
            pending_ticks.fetch_sub(1);
        }
        draw_frame();
    }
    stop_timer(fps_timer_callback);
    stop_timer(tick_timer_callback);
    // The last picture stays a moment, so the end is seen.
    if (!stopped)
        pause_ms(REPLAY_END_HOLD_MS);
    profiles[0] = kept[0];
    profiles[1] = kept[1];
    for (controls_source &s : match_sources)
        s = KEYBOARD_SOURCE;
    match_kinds[0] = match_kinds[1] = REPLAY_PERSON;
    match_panel = panel_mode::play;
}
