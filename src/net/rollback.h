// A match played by two machines: each runs the match at once on its own
// player's words and a guess at the other's, and puts it right when the
// real words arrive. Plain data and functions, no sockets: the loop hands
// in this machine's word for each tick and the bytes that came from the
// peer, and sends the bytes rollback_packet() makes. A save is a copy of
// match_state, a load a copy back, an advance a step on two words.
//
// Ticks here count the whole sitting (the stream): a rematch goes on
// counting, so the words of both matches travel on one stream.
//
// The packet, little-endian:
//   0  2  "BA"
//   2  1  ONLINE_VERSION
//   3  1  PACKET_INPUT
//   4  4  the sitting's id, chosen by the host
//   8  4  sequence number, one higher each packet
//   12 4  ack: the sender has the receiver's words for ticks below this
//   16 4  the stream tick of the first word carried
//   20 2  words carried, at most MAX_PACKET_WORDS
//   22 4  ticks the sender has run
//   26 4  the sender's latest checked tick (a multiple of 40; 0 none yet)
//   30 8  the hash of the state after it
//   38 1  flags: 1 the sender saw the states part (out of sync)
//   39 n  the words, from the first one on
#pragma once

#include <cstddef>
#include <cstdint>

#include "match_state.h"

// Raised when the way two games talk changes; two versions never play.
constexpr uint8_t ONLINE_VERSION = 1;
constexpr uint8_t PACKET_INPUT = 1;

constexpr int INPUT_DELAY_TICKS = 2;
constexpr int MAX_PREDICTION_TICKS = 8;
constexpr int SYNC_CHECK_TICKS = 40;
constexpr int PEER_SILENT_MS = 5000;
// Enter once a result is shown: both machines start the next match on the
// stream tick that carries it. The online loop's step reads it; the match
// itself never sees it.
constexpr control_word CONTROL_AGAIN = 1u << 7;

constexpr int WORD_RING = 256;       // words kept by tick, a power of two
constexpr int SNAPSHOT_RING = 16;    // more than the prediction window
constexpr int SYNC_RING = 8;
constexpr int MAX_PACKET_WORDS = 128;
constexpr size_t INPUT_PACKET_HEADER = 39;
constexpr size_t MAX_INPUT_PACKET = INPUT_PACKET_HEADER + MAX_PACKET_WORDS;

// One tick of the match from player 1's and player 2's words.
using step_fn = void (*)(match_state &m, control_word p1, control_word p2);
// A tick whose two words are final, once, in order: the state before and
// after it are what both machines have.
using confirm_fn = void (*)(const match_state &before, control_word p1, control_word p2,
                            const match_state &after, void *context);

struct sync_mark {
    int32_t tick;    // stream ticks run when taken; 0 for none
    uint64_t hash;
};

struct rollback_session {
    match_state *now;          // the match as this machine shows it
    int local;                 // the player this machine plays, 0 or 1
    int delay;                 // a word given now is for the tick this far ahead
    uint32_t id;
    step_fn step;
    confirm_fn on_confirm;
    void *context;

    int32_t ticks;             // stream ticks run on *now
    int32_t local_known;       // this machine's words exist for ticks below
    int32_t remote_known;      // the peer's words have come for ticks below
    int32_t confirmed;         // ticks below are final and were handed on
    int32_t rewind_from;       // the first tick run on a wrong guess, or INT32_MAX
    int32_t peer_acked;        // the peer has this machine's words below this
    int32_t peer_ticks;        // ticks the peer said it has run
    int32_t last_skip;         // the tick of the last slowing down
    control_word local_words[WORD_RING];
    control_word remote_words[WORD_RING];
    control_word used_remote[WORD_RING];   // what the tick was run with
    match_state snapshots[SNAPSHOT_RING];  // the state before tick t at t % ring

    uint32_t sent_seq, heard_seq;
    long long heard_ms;        // when the last good packet came
    sync_mark mine[SYNC_RING], theirs[SYNC_RING], latest;
    bool out_of_sync;
    bool ended;                // a confirmed word said leave
    int32_t end_tick;          // stream ticks in the whole sitting when it ended
    int32_t rollbacks;         // ticks run again, for the curious
};

// The default step: match_tick on the words without the stream's own bits.
void plain_step(match_state &m, control_word p1, control_word p2);

// Starts a sitting on *m as it stands (a fresh match). The first `delay`
// ticks run on empty words on both machines.
void rollback_start(rollback_session &s, match_state *m, int local, uint32_t id, long long now_ms,
                    step_fn step = plain_step, confirm_fn on_confirm = nullptr,
                    void *context = nullptr, int delay = INPUT_DELAY_TICKS);

// What the next 25 ms should do.
enum class beat { advance, wait_for_peer, slow_down, over };
// Asks once per 25 ms; slow_down is counted as the skip it asks for.
beat rollback_beat(rollback_session &s);
// Runs the next tick with this machine's word for the tick `delay` ahead.
// Only after rollback_beat said advance.
void rollback_advance(rollback_session &s, control_word local_word);
// Reads one packet from the peer. False when it was dropped: not ours,
// damaged, too large, old, or saying what cannot be. A dropped packet
// changes nothing.
bool rollback_receive(rollback_session &s, const uint8_t *bytes, size_t size, long long now_ms);
// Runs again from the first tick guessed wrong, and hands on the ticks that
// became final. rollback_receive leaves this to be done once per frame.
void rollback_settle(rollback_session &s);
// The packet to send now: every word the peer has not acknowledged.
size_t rollback_packet(rollback_session &s, uint8_t *out, size_t room);
// The peer has gone: runs every tick whose words both exist, so a leave
// the peer sent before going still ends the sitting as on its side.
// True when it did.
bool rollback_finish(rollback_session &s);
// The last state both machines agree on.
const match_state &rollback_confirmed_state(rollback_session &s);
// Nothing good heard for PEER_SILENT_MS.
bool rollback_peer_silent(const rollback_session &s, long long now_ms);
// The peer's word for tick t as it is known or guessed.
control_word rollback_remote_word(const rollback_session &s, int32_t t);
