// A match against a game on another machine, through the network module,
// played with the rollback session. The sitting is set up already (the
// arena on the board, both names in the profiles, the animation clock in
// live_match); this runs the match and its rematches until one side
// leaves, the peer goes, or the two games part.
#pragma once

#include <cstdint>

constexpr const char *OUT_OF_SYNC_REPLAY_PATH = "replays/out-of-sync.replay";

struct online_sitting {
    int local;          // 0 the host (player 1), 1 the joiner (player 2)
    uint32_t id;        // the host's number for this sitting
    char peer_name[12]; // as the player sees it
};

enum class online_outcome { ended, peer_left, out_of_sync };
// Tells the player how it ended (the message line), keeps the replay.
online_outcome run_online_match(const online_sitting &sitting);

// The step both machines run: match_tick, or the next match when a word
// asks for it once a result is shown.
struct match_state;
void online_step(match_state &m, uint8_t p1, uint8_t p2);
