// The online match loop: the local loop's shape (every tick owed, then one
// frame), with the ticks run through the rollback session, the packets
// read before and sent after, and no pause: a pause on one side would stop
// the other player's game too.
#include "online.h"

#include <chrono>
#include <cstdio>
#include <cstring>

#include "match.h"
#include "net.h"
#include "platform.h"
#include "replay.h"
#include "rollback.h"

namespace {

// A wait this long for the peer's words is worth saying; shorter ones come
// and go with every bump of the network.
constexpr long long WAITING_SHOWN_MS = 500;
// After the end, this side's last words must still reach the peer, which
// may need them to reach the same end.
constexpr long long FAREWELL_MS = 1000;
constexpr long long TICK_MS = 25;

rollback_session session;   // 16 snapshots of the match: not for the stack
bool result_counted = false;

long long clock_ms()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// Only what both machines agree on is recorded and counted.
void confirmed(const match_state &before, control_word p1, control_word p2,
               const match_state &after, void *)
{
    if (((p1 | p2) & CONTROL_AGAIN) && before.result != RESULT_NONE) {
        keep_recording(before, LAST_REPLAY_PATH);
        const uint8_t kinds[2] = {REPLAY_PERSON, REPLAY_PERSON};
        begin_recording(after, profiles[0].name, profiles[1].name, kinds, true);
        result_counted = false;
        return;
    }
    record_tick(p1 & CONTROL_ALL, p2 & CONTROL_ALL, after);
    if (!result_counted && after.result != RESULT_NONE) {
        if (after.result == RESULT_P1_WINS)
            match_wins[0]++;
        else if (after.result == RESULT_P2_WINS)
            match_wins[1]++;
        result_counted = true;
    }
}

void send_packet()
{
    uint8_t bytes[MAX_INPUT_PACKET];
    if (size_t n = rollback_packet(session, bytes, sizeof bytes))
        net_send(bytes, n, false);
}

// This machine's player's word: the keys and pad, Esc, and Enter once a
// result is shown.
control_word local_word(int local)
{
    control_word w = keyboard_controls(live_match, local, nullptr);
    if (key_down(KEY_ESC))
        w |= CONTROL_LEAVE;
    if (live_match.result != RESULT_NONE && key_down(KEY_ENTER)) {
        release_key(KEY_ENTER);
        w |= CONTROL_AGAIN;
    }
    return w;
}

// Reads what came; false once the peer has gone.
bool read_network()
{
    for (;;) {
        net_event e = net_poll(0);
        if (e.kind == net_event_kind::none)
            return true;
        if (e.kind == net_event_kind::disconnected)
            return false;
        if (e.kind == net_event_kind::received)
            rollback_receive(session, e.bytes, e.size, clock_ms());
    }
}

// Sends until the peer has every word it needs to reach the same end, or a
// moment has passed; then says goodbye.
void farewell()
{
    const long long until = clock_ms() + FAREWELL_MS;
    long long next_send = 0;
    while (clock_ms() < until) {
        if (!read_network())
            return;
        if (session.ended && session.peer_acked >= session.end_tick)
            break;
        if (clock_ms() >= next_send) {
            send_packet();
            next_send = clock_ms() + TICK_MS;
        }
        pause_ms(1);
    }
    net_hang_up(0);
}

char status_line[40];

void set_waiting(bool waiting, const char *peer)
{
    if (!waiting) {
        match_status = nullptr;
        return;
    }
    char name[24];
    printable_text(peer, name, sizeof name);
    std::snprintf(status_line, sizeof status_line, "WAITING FOR %s", name);
    for (char *c = status_line; *c; c++)
        if (*c >= 'a' && *c <= 'z')
            *c = char(*c - 'a' + 'A');
    match_status = status_line;
}

}  // namespace

void online_step(match_state &m, uint8_t p1, uint8_t p2)
{
    // The next match starts on the tick that asks for it, from the arena as
    // it was given (the board never changes in a match) and the clock as it
    // stands.
    if (((p1 | p2) & CONTROL_AGAIN) && m.result != RESULT_NONE) {
        // start_match_state clears the state it is given first.
        int32_t arena[LEVEL_COLUMNS][LEVEL_ROWS];
        std::memcpy(arena, m.board, sizeof arena);
        start_match_state(m, arena, m.anim_clock);
        return;
    }
    plain_step(m, p1, p2);
}

online_outcome run_online_match(const online_sitting &sitting)
{
    // Each side plays its own person, whatever config.ini says of computers.
    match_sources[0] = match_sources[1] = KEYBOARD_SOURCE;
    start_match(true);
    rollback_start(session, &live_match, sitting.local, sitting.id, clock_ms(), online_step,
                   confirmed);
    result_counted = false;
    match_panel = panel_mode::online;
    start_timer(fps_timer_callback, 1000);
    start_timer(tick_timer_callback, int(TICK_MS));
    pending_ticks.store(0);

    online_outcome outcome = online_outcome::ended;
    long long waiting_since = -1;
    bool peer_here = true;
    for (;;) {
        peer_here = read_network();
        rollback_settle(session);
        if (!peer_here && !rollback_finish(session)) {
            outcome = online_outcome::peer_left;
            break;
        }
        if (session.ended || session.out_of_sync)
            break;
        // Asked to quit: the peer sees this side go.
        if (quit_asked()) {
            net_hang_up(0);
            peer_here = false;
            outcome = online_outcome::peer_left;
            keep_recording(rollback_confirmed_state(session), LAST_REPLAY_PATH);
            break;
        }
        if (rollback_peer_silent(session, clock_ms())) {
            outcome = online_outcome::peer_left;
            break;
        }
        const int32_t beats = pending_ticks.exchange(0);
        if (beats > 0) {
            input_pass();
            focus_was_lost();   // no pause online; the keys read as let go meanwhile
            bool waited = false;
            for (int32_t i = 0; i < beats; i++) {
                const beat b = rollback_beat(session);
                if (b == beat::advance) {
                    rollback_advance(session, local_word(sitting.local));
                    note_sounds(live_match.sounds.effects);
                } else if (b == beat::wait_for_peer) {
                    waited = true;
                }
            }
            if (!waited)
                waiting_since = -1;
            else if (waiting_since < 0)
                waiting_since = clock_ms();
            send_packet();
        }
        set_waiting(waiting_since >= 0 && clock_ms() - waiting_since >= WAITING_SHOWN_MS,
                    sitting.peer_name);
        play_sounds();
        render_match_frame(live_match);
        frames_drawn.fetch_add(1);
    }

    stop_timer(fps_timer_callback);
    stop_timer(tick_timer_callback);
    silence_sounds();
    match_status = nullptr;
    match_panel = panel_mode::play;

    if (session.out_of_sync) {
        outcome = online_outcome::out_of_sync;
        if (peer_here)
            farewell();
        if (keep_recording(rollback_confirmed_state(session), OUT_OF_SYNC_REPLAY_PATH) == 0)
            show_failure("Out of sync with %s: the replay is kept as %s", sitting.peer_name,
                         OUT_OF_SYNC_REPLAY_PATH);
        else
            show_failure("Out of sync with %s", sitting.peer_name);
    } else if (quit_asked()) {
        // Recorded above; nobody is left to tell.
    } else if (outcome == online_outcome::peer_left) {
        keep_recording(rollback_confirmed_state(session), LAST_REPLAY_PATH);
        show_failure("%s left", sitting.peer_name);
    } else {
        keep_recording(live_match, LAST_REPLAY_PATH);
        if (peer_here)
            farewell();
        // Whoever pressed Esc knows; the other player is told.
        const control_word theirs = session.remote_words[(session.end_tick - 1) % WORD_RING];
        if (theirs & CONTROL_LEAVE)
            show_note("%s ended the match", sitting.peer_name);
    }
    net_close();
    release_key(KEY_ESC);
    release_pads();
    pause_ms(PAUSE_AFTER_DIALOG_MS);
    return outcome;
}
