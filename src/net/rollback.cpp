// The rollback session: snapshots before every tick not yet final, the
// peer's words as they come, a guess for those still on the way, and the
// re-run from the first wrong guess.
#include "rollback.h"

#include <climits>
#include <cstring>

namespace {

constexpr uint8_t FLAG_OUT_OF_SYNC = 1;
// A guess never repeats a press: a change or a leave is one word's.
constexpr control_word PRESS_BITS = CONTROL_CHANGE | CONTROL_LEAVE | CONTROL_AGAIN;
// How far ahead of the other a side may be before it gives up a tick, and
// how seldom it does, so the slowing is not felt.
constexpr int32_t AHEAD_TICKS = 2;
constexpr int32_t SKIP_SPACING_TICKS = 20;

void put16(uint8_t *p, uint32_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
void put32(uint8_t *p, uint32_t v)
{
    for (int i = 0; i < 4; i++)
        p[i] = uint8_t(v >> (8 * i));
}
void put64(uint8_t *p, uint64_t v)
{
    put32(p, uint32_t(v));
    put32(p + 4, uint32_t(v >> 32));
}
uint32_t get16(const uint8_t *p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }
uint32_t get32(const uint8_t *p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint64_t get64(const uint8_t *p) { return uint64_t(get32(p)) | uint64_t(get32(p + 4)) << 32; }

int slot(int32_t t) { return int(uint32_t(t) % WORD_RING); }
match_state &snapshot(rollback_session &s, int32_t t)
{
    return s.snapshots[uint32_t(t) % SNAPSHOT_RING];
}

control_word guess(const rollback_session &s)
{
    if (s.remote_known == 0)
        return 0;
    return s.remote_words[slot(s.remote_known - 1)] & control_word(~PRESS_BITS);
}

void run_tick(rollback_session &s, int32_t t)
{
    snapshot(s, t) = *s.now;
    const control_word mine = s.local_words[slot(t)];
    const control_word theirs = rollback_remote_word(s, t);
    s.used_remote[slot(t)] = theirs;
    if (s.local == 0)
        s.step(*s.now, mine, theirs);
    else
        s.step(*s.now, theirs, mine);
}

void check_sync(rollback_session &s, int32_t tick)
{
    const sync_mark &a = s.mine[(tick / SYNC_CHECK_TICKS) % SYNC_RING];
    const sync_mark &b = s.theirs[(tick / SYNC_CHECK_TICKS) % SYNC_RING];
    if (a.tick == tick && b.tick == tick && a.hash != b.hash)
        s.out_of_sync = true;
}

// Every tick run on both real words is handed on, in order; a leave in
// either word ends the sitting on that tick on both machines alike.
void confirm_ready(rollback_session &s)
{
    const int32_t ready = s.remote_known < s.ticks ? s.remote_known : s.ticks;
    while (!s.ended && s.confirmed < ready) {
        const int32_t t = s.confirmed;
        const match_state &before = snapshot(s, t);
        const match_state &after = t + 1 == s.ticks ? *s.now : snapshot(s, t + 1);
        const control_word mine = s.local_words[slot(t)], theirs = s.remote_words[slot(t)];
        const control_word p1 = s.local == 0 ? mine : theirs, p2 = s.local == 0 ? theirs : mine;
        if (s.on_confirm)
            s.on_confirm(before, p1, p2, after, s.context);
        s.confirmed = t + 1;
        if ((t + 1) % SYNC_CHECK_TICKS == 0) {
            s.latest = {t + 1, match_hash(after)};
            s.mine[((t + 1) / SYNC_CHECK_TICKS) % SYNC_RING] = s.latest;
            check_sync(s, t + 1);
        }
        if ((p1 | p2) & CONTROL_LEAVE) {
            s.ended = true;
            s.end_tick = t + 1;
            // Ticks guessed past the leave never happened.
            if (s.ticks > t + 1) {
                *s.now = after;
                s.ticks = t + 1;
            }
        }
    }
}

}  // namespace

void plain_step(match_state &m, control_word p1, control_word p2)
{
    match_tick(m, p1 & CONTROL_ALL, p2 & CONTROL_ALL);
}

void rollback_start(rollback_session &s, match_state *m, int local, uint32_t id, long long now_ms,
                    step_fn step, confirm_fn on_confirm, void *context, int delay)
{
    s.now = m;
    s.local = local;
    s.delay = delay;
    s.id = id;
    s.step = step ? step : plain_step;
    s.on_confirm = on_confirm;
    s.context = context;
    s.ticks = 0;
    // Both machines know the first `delay` words: nobody has pressed yet.
    s.local_known = s.remote_known = delay;
    s.confirmed = 0;
    s.rewind_from = INT32_MAX;
    s.peer_acked = 0;
    s.peer_ticks = 0;
    s.last_skip = 0;
    std::memset(s.local_words, 0, sizeof s.local_words);
    std::memset(s.remote_words, 0, sizeof s.remote_words);
    std::memset(s.used_remote, 0, sizeof s.used_remote);
    s.sent_seq = s.heard_seq = 0;
    s.heard_ms = now_ms;
    std::memset(s.mine, 0, sizeof s.mine);
    std::memset(s.theirs, 0, sizeof s.theirs);
    s.latest = {0, 0};
    s.out_of_sync = false;
    s.ended = false;
    s.end_tick = -1;
    s.rollbacks = 0;
}

control_word rollback_remote_word(const rollback_session &s, int32_t t)
{
    return t < s.remote_known ? s.remote_words[slot(t)] : guess(s);
}

beat rollback_beat(rollback_session &s)
{
    if (s.ended || s.out_of_sync)
        return beat::over;
    if (s.ticks - s.remote_known >= MAX_PREDICTION_TICKS)
        return beat::wait_for_peer;
    // How far each side runs ahead of the words it has from the other:
    // the side further ahead gives up a tick now and then.
    const int32_t mine = s.ticks - s.remote_known, theirs = s.peer_ticks - s.peer_acked;
    if (s.heard_seq > 0 && mine - theirs >= AHEAD_TICKS &&
        s.ticks - s.last_skip >= SKIP_SPACING_TICKS) {
        s.last_skip = s.ticks;
        return beat::slow_down;
    }
    return beat::advance;
}

void rollback_advance(rollback_session &s, control_word local_word)
{
    rollback_settle(s);
    if (s.ended)
        return;
    const int32_t t = s.ticks + s.delay;
    s.local_words[slot(t)] = local_word;
    if (s.local_known <= t)
        s.local_known = t + 1;
    run_tick(s, s.ticks);
    s.ticks++;
    confirm_ready(s);
}

void rollback_settle(rollback_session &s)
{
    if (s.rewind_from < s.ticks) {
        *s.now = snapshot(s, s.rewind_from);
        for (int32_t t = s.rewind_from; t < s.ticks; t++) {
            run_tick(s, t);
            s.rollbacks++;
        }
    }
    s.rewind_from = INT32_MAX;
    confirm_ready(s);
}

bool rollback_receive(rollback_session &s, const uint8_t *p, size_t size, long long now_ms)
{
    // Everything is checked before anything is taken.
    if (size < INPUT_PACKET_HEADER || size > MAX_INPUT_PACKET)
        return false;
    if (p[0] != 'B' || p[1] != 'A' || p[2] != ONLINE_VERSION || p[3] != PACKET_INPUT)
        return false;
    if (get32(p + 4) != s.id)
        return false;
    const uint32_t seq = get32(p + 8);
    if (seq <= s.heard_seq)
        return false;   // old, or the same again
    const int64_t ack = int32_t(get32(p + 12)), first = int32_t(get32(p + 16));
    const int64_t count = get16(p + 20);
    const int64_t peer_ticks = int32_t(get32(p + 22));
    const int64_t mark_tick = int32_t(get32(p + 26));
    if (count > MAX_PACKET_WORDS || size != INPUT_PACKET_HEADER + size_t(count))
        return false;
    // The peer cannot have words this machine never made; its words start
    // no later than the first one missing here and reach no further than
    // its prediction window allows.
    if (ack < 0 || ack > s.local_known || first < 0 || first > s.remote_known)
        return false;
    if (first + count > int64_t(s.confirmed) + WORD_RING / 2)
        return false;
    if (peer_ticks < 0 || peer_ticks > int64_t(s.local_known) + MAX_PREDICTION_TICKS + 1)
        return false;
    if (mark_tick < 0 || mark_tick % SYNC_CHECK_TICKS != 0 || mark_tick > peer_ticks)
        return false;
    if (p[38] & ~FLAG_OUT_OF_SYNC)
        return false;

    s.heard_seq = seq;
    s.heard_ms = now_ms;
    if (ack > s.peer_acked)
        s.peer_acked = int32_t(ack);
    s.peer_ticks = int32_t(peer_ticks);
    // Words already known stay as they are: nothing a packet says can
    // change a word once it has come.
    for (int64_t i = s.remote_known - first; i < count; i++) {
        const int32_t t = int32_t(first + i);
        const control_word w = p[INPUT_PACKET_HEADER + size_t(i)];
        s.remote_words[slot(t)] = w;
        s.remote_known = t + 1;
        if (t < s.ticks && s.used_remote[slot(t)] != w && t < s.rewind_from)
            s.rewind_from = t;
    }
    if (mark_tick > 0) {
        s.theirs[(mark_tick / SYNC_CHECK_TICKS) % SYNC_RING] = {int32_t(mark_tick), get64(p + 30)};
        check_sync(s, int32_t(mark_tick));
    }
    if (p[38] & FLAG_OUT_OF_SYNC)
        s.out_of_sync = true;
    return true;
}

size_t rollback_packet(rollback_session &s, uint8_t *out, size_t room)
{
    int32_t count = s.local_known - s.peer_acked;
    if (count > MAX_PACKET_WORDS)
        count = MAX_PACKET_WORDS;
    if (count < 0)
        count = 0;
    const size_t size = INPUT_PACKET_HEADER + size_t(count);
    if (room < size)
        return 0;
    out[0] = 'B';
    out[1] = 'A';
    out[2] = ONLINE_VERSION;
    out[3] = PACKET_INPUT;
    put32(out + 4, s.id);
    put32(out + 8, ++s.sent_seq);
    put32(out + 12, uint32_t(s.remote_known));
    put32(out + 16, uint32_t(s.peer_acked));
    put16(out + 20, uint32_t(count));
    put32(out + 22, uint32_t(s.ticks));
    put32(out + 26, uint32_t(s.latest.tick));
    put64(out + 30, s.latest.hash);
    out[38] = s.out_of_sync ? FLAG_OUT_OF_SYNC : 0;
    for (int32_t i = 0; i < count; i++)
        out[INPUT_PACKET_HEADER + size_t(i)] = s.local_words[slot(s.peer_acked + i)];
    return size;
}

bool rollback_peer_silent(const rollback_session &s, long long now_ms)
{
    return now_ms - s.heard_ms >= PEER_SILENT_MS;
}

bool rollback_finish(rollback_session &s)
{
    rollback_settle(s);
    while (!s.ended && s.ticks < s.local_known && s.ticks < s.remote_known) {
        run_tick(s, s.ticks);
        s.ticks++;
        confirm_ready(s);
    }
    return s.ended;
}

const match_state &rollback_confirmed_state(rollback_session &s)
{
    return s.confirmed == s.ticks ? *s.now : snapshot(s, s.confirmed);
}
