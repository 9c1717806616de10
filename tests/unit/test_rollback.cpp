// Two machines' rollback sessions in one process, joined by a simulated
// link that delays, jitters, reorders and loses packets: both must hand on
// the same states tick for tick, and the fault rules must hold.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "online.h"
#include "rollback.h"

namespace {

// One machine: its match, its session, and the hash of every state it
// handed on as final.
struct side {
    match_state m;
    rollback_session s;
    std::vector<uint64_t> hashes;
    std::mt19937 rng;
    control_word held = 0;
    int hold_for = 0;
};

void note_confirmed(const match_state &, control_word, control_word, const match_state &after,
                    void *context)
{
    static_cast<side *>(context)->hashes.push_back(match_hash(after));
}

// A player's word: held for a while as people hold keys, a change now and then.
control_word next_word(side &a)
{
    if (a.hold_for-- <= 0) {
        a.held = control_word(a.rng() & (CONTROL_UP | CONTROL_DOWN | CONTROL_LEFT | CONTROL_RIGHT |
                                         CONTROL_FIRE));
        a.hold_for = int(a.rng() % 20);
    }
    return a.held | (a.rng() % 30 == 0 ? CONTROL_CHANGE : 0);
}

struct in_flight {
    long long due;
    std::vector<uint8_t> bytes;
};

struct link_setup {
    int latency_ms, jitter_ms, loss_percent, reorder_percent;
};

struct sim {
    std::unique_ptr<side> sides[2] = {std::make_unique<side>(), std::make_unique<side>()};
    std::vector<in_flight> wire[2];   // towards side i
    std::mt19937 net{7};
    link_setup link;
    long long now = 0;

    explicit sim(link_setup l, step_fn step = plain_step) : link(l)
    {
        int32_t open[LEVEL_COLUMNS][LEVEL_ROWS] = {};
        for (int i = 0; i < 2; i++) {
            side &a = *sides[i];
            start_match_state(a.m, open, 0.0f);
            rollback_start(a.s, &a.m, i, 42, 0, step, note_confirmed, &a);
            a.rng.seed(100 + i);
        }
    }

    void send(int from)
    {
        uint8_t bytes[MAX_INPUT_PACKET];
        size_t n = rollback_packet(sides[from]->s, bytes, sizeof bytes);
        if (int(net() % 100) < link.loss_percent)
            return;
        long long delay = link.latency_ms;
        if (link.jitter_ms)
            delay += long(net() % unsigned(2 * link.jitter_ms + 1)) - link.jitter_ms;
        if (int(net() % 100) < link.reorder_percent)
            delay += 40;   // overtaken by the next packets
        wire[1 - from].push_back({now + std::max(0LL, delay), {bytes, bytes + n}});
    }

    void deliver(int to)
    {
        auto &q = wire[to];
        for (size_t k = 0; k < q.size();) {
            if (q[k].due <= now) {
                rollback_receive(sides[to]->s, q[k].bytes.data(), q[k].bytes.size(), now);
                q.erase(q.begin() + long(k));
            } else {
                k++;
            }
        }
        rollback_settle(sides[to]->s);
    }

    // One 25 ms beat of both machines; side 1 starts `late` beats after side 0.
    void beat_both(int late = 0)
    {
        for (int i = 0; i < 2; i++) {
            if (i == 1 && now < late * 25LL)
                continue;
            side &a = *sides[i];
            deliver(i);
            if (rollback_beat(a.s) == beat::advance)
                rollback_advance(a.s, next_word(a));
            send(i);
        }
        now += 25;
    }
};

void expect_same_states(const sim &w, size_t at_least)
{
    const auto &a = w.sides[0]->hashes, &b = w.sides[1]->hashes;
    ASSERT_GE(std::min(a.size(), b.size()), at_least);
    for (size_t t = 0; t < std::min(a.size(), b.size()); t++)
        ASSERT_EQ(a[t], b[t]) << "the states part at tick " << t + 1;
}

// A packet from side `from` as it would go out now.
std::vector<uint8_t> packet_from(sim &w, int from)
{
    uint8_t bytes[MAX_INPUT_PACKET];
    size_t n = rollback_packet(w.sides[from]->s, bytes, sizeof bytes);
    return {bytes, bytes + n};
}

}  // namespace

TEST(Rollback, BothMachinesHandOnTheSameStateAtEveryTickOverAnyLink)
{
    for (int latency : {0, 50, 150, 300}) {
        SCOPED_TRACE(latency);
        sim w({latency, 20, 5, 5});
        const size_t ticks = 10000;
        for (int beats = 0; beats < 60000 && (w.sides[0]->hashes.size() < ticks ||
                                              w.sides[1]->hashes.size() < ticks); beats++)
            w.beat_both(latency / 25);   // and side 1 starts late by the latency
        expect_same_states(w, ticks);
        EXPECT_GT(w.sides[0]->s.rollbacks + w.sides[1]->s.rollbacks, 0) << "guesses went wrong";
        // The side that started first has slowed: neither runs away.
        EXPECT_LE(std::abs(w.sides[0]->s.ticks - w.sides[1]->s.ticks), 4 + 2 * latency / 25);
        for (int i = 0; i < 2; i++)
            EXPECT_LE(w.sides[i]->s.ticks - w.sides[i]->s.confirmed, MAX_PREDICTION_TICKS);
    }
}

TEST(Rollback, GuessesAtMostEightTicksThenWaitsAndNeverRepeatsAPress)
{
    sim w({0, 0, 0, 0});
    side &a = *w.sides[0];
    int ran = 0;
    while (rollback_beat(a.s) == beat::advance && ran < 100) {
        rollback_advance(a.s, 0);
        ran++;
    }
    EXPECT_EQ(ran, INPUT_DELAY_TICKS + MAX_PREDICTION_TICKS) << "the first words are known to be empty";
    EXPECT_EQ(rollback_beat(a.s), beat::wait_for_peer);

    // The peer's change press and leave are its last word: the guess keeps
    // the held keys only.
    side &b = *w.sides[1];
    rollback_advance(b.s, CONTROL_LEFT | CONTROL_CHANGE);
    rollback_advance(b.s, CONTROL_LEFT | CONTROL_CHANGE | CONTROL_LEAVE);
    auto p = packet_from(w, 1);
    ASSERT_TRUE(rollback_receive(a.s, p.data(), p.size(), 0));
    EXPECT_EQ(rollback_remote_word(a.s, a.s.remote_known), CONTROL_LEFT);
}

TEST(Rollback, DamagedForeignOldOrOversizedPacketsAreDroppedAndChangeNoWord)
{
    sim w({0, 0, 0, 0});
    side &a = *w.sides[0], &b = *w.sides[1];
    for (int i = 0; i < 5; i++)
        rollback_advance(b.s, CONTROL_RIGHT);
    const auto good = packet_from(w, 1);
    auto dropped = [&](std::vector<uint8_t> p) {
        return !rollback_receive(a.s, p.data(), p.size(), 1000);
    };
    auto with = [&](size_t at, uint8_t v) { auto p = good; p[at] = v; return p; };
    EXPECT_TRUE(dropped(with(2, ONLINE_VERSION + 1))) << "another version";
    EXPECT_TRUE(dropped(with(4, 43))) << "another sitting";
    EXPECT_TRUE(dropped(with(0, 'X'))) << "not ours";
    EXPECT_TRUE(dropped(with(20, good[20] + 1))) << "count and size disagree";
    EXPECT_TRUE(dropped(with(16, 200))) << "words past a gap";
    EXPECT_TRUE(dropped(with(12, 200))) << "acknowledges words never sent";
    EXPECT_TRUE(dropped({good.begin(), good.begin() + 20})) << "cut short";
    auto big = good;
    big.resize(MAX_INPUT_PACKET + 1);
    EXPECT_TRUE(dropped(big)) << "oversized";
    EXPECT_EQ(a.s.remote_known, INPUT_DELAY_TICKS) << "none of them gave a word";
    EXPECT_TRUE(rollback_peer_silent(a.s, PEER_SILENT_MS)) << "nor counted as heard";

    EXPECT_FALSE(dropped(good));
    const int32_t known = a.s.remote_known;
    EXPECT_TRUE(dropped(good)) << "the same packet again";
    // A later packet that says other words for ticks already known changes
    // none of them.
    auto liar = packet_from(w, 1);
    for (size_t k = INPUT_PACKET_HEADER; k < liar.size(); k++)
        liar[k] = CONTROL_FIRE | CONTROL_LEAVE;
    EXPECT_FALSE(dropped(liar));
    EXPECT_EQ(a.s.remote_known, known);
    for (int32_t t = INPUT_DELAY_TICKS; t < known; t++)
        EXPECT_EQ(rollback_remote_word(a.s, t), CONTROL_RIGHT);
}

TEST(Rollback, APeerSilentForFiveSecondsIsGone)
{
    sim w({0, 0, 0, 0});
    auto p = packet_from(w, 1);
    ASSERT_TRUE(rollback_receive(w.sides[0]->s, p.data(), p.size(), 1000));
    EXPECT_FALSE(rollback_peer_silent(w.sides[0]->s, 1000 + PEER_SILENT_MS - 1));
    EXPECT_TRUE(rollback_peer_silent(w.sides[0]->s, 1000 + PEER_SILENT_MS));
}

TEST(Rollback, ALeaveEndsBothOnTheSameTickAndStatesThatPartAreCaught)
{
    sim w({50, 20, 5, 0});
    for (int i = 0; i < 200; i++)
        w.beat_both();
    // One machine's match goes wrong: both find out at the next check.
    w.sides[1]->m.players[0].energy -= 1;
    for (int i = 0; i < 200 && !(w.sides[0]->s.out_of_sync && w.sides[1]->s.out_of_sync); i++)
        w.beat_both();
    EXPECT_TRUE(w.sides[0]->s.out_of_sync);
    EXPECT_TRUE(w.sides[1]->s.out_of_sync);

    sim v({150, 20, 5, 5});
    for (int i = 0; i < 100; i++)
        v.beat_both();
    rollback_advance(v.sides[1]->s, CONTROL_LEAVE);
    for (int i = 0; i < 200 && !(v.sides[0]->s.ended && v.sides[1]->s.ended); i++)
        v.beat_both();
    ASSERT_TRUE(v.sides[0]->s.ended && v.sides[1]->s.ended);
    EXPECT_EQ(v.sides[0]->s.end_tick, v.sides[1]->s.end_tick);
    EXPECT_EQ(v.sides[0]->s.ticks, v.sides[0]->s.end_tick) << "guesses past the leave are undone";
    EXPECT_EQ(match_hash(v.sides[0]->m), match_hash(v.sides[1]->m));
    EXPECT_EQ(v.sides[0]->m.leave_tick, v.sides[1]->m.leave_tick);
}

TEST(Rollback, EnterAfterAResultStartsTheNextMatchOnBothAtOnce)
{
    int32_t open[LEVEL_COLUMNS][LEVEL_ROWS] = {};
    open[5][5] = 1;
    static match_state m;
    start_match_state(m, open, 1.5f);
    online_step(m, CONTROL_RIGHT, CONTROL_AGAIN);
    EXPECT_EQ(m.tick, 1) << "no result yet: Enter does nothing";
    m.players[1].energy = -3;
    m.result = RESULT_P1_WINS;
    const float clock = m.anim_clock;
    online_step(m, CONTROL_AGAIN, 0);
    EXPECT_EQ(m.tick, 0);
    EXPECT_EQ(m.result, RESULT_NONE);
    EXPECT_EQ(m.players[1].energy, START_ENERGY);
    EXPECT_EQ(m.board[5][5], 1) << "the same arena";
    EXPECT_EQ(m.anim_clock, clock) << "the clock goes on";
}
