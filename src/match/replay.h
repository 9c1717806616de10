// Replays: every match's record, written when it ends, read back to show the
// match again or to check that the game still plays it the same way.
//
// The file, little-endian throughout (README, "Replay files"):
//   0     8  magic "BLASTRPL"
//   8     4  format version, 1
//   12    4  header size, 7296
//   16    4  ticks N
//   20    4  ticks between checkpoints, 40
//   24    4  the animation clock at the start (IEEE-754 single)
//   28    4  result (0 none, 1 player 1 won, 2 player 2 won, 3 draw)
//   32    4  tick the result was decided, -1 if none
//   36    4  tick Esc was seen, -1 if none
//   40    8  hash of the final state
//   48   12  player 1's name, NUL-padded
//   60   12  player 2's name
//   72    1  player 1: 0 a person, 1..3 the computer (easy, normal, hard)
//   73    1  player 2, likewise
//   74    1  1 for an online match
//   75    5  zero
//   80 7208  the level: 1802 int32 tile ids, column by column
//   7288  8  XXH64 of bytes 0..7287
//   7296 2N  control words: tick t is bytes 7296+2t (player 1), 7297+2t (player 2)
//   then     the state's hash after every 40th tick, 8 bytes each, N / 40 of them
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "match_state.h"

constexpr int REPLAY_VERSION = 1;
constexpr size_t REPLAY_HEADER_SIZE = 7296;
constexpr int REPLAY_CHECKPOINT_TICKS = 40;
// Long enough for any sitting; a longer match is played but not kept.
constexpr int32_t REPLAY_MAX_TICKS = 24 * 60 * 60 * TICKS_PER_SECOND;
constexpr const char *REPLAY_DIR = "replays";
constexpr const char *LAST_REPLAY_PATH = "replays/last.replay";

constexpr uint8_t REPLAY_PERSON = 0;

// A replay as read from a file: views into its bytes, checked for shape.
struct replay_view {
    int32_t ticks;
    float anim_clock;
    int32_t result, result_tick, leave_tick;
    uint64_t final_hash;
    char names[2][12];          // NUL-terminated
    uint8_t kinds[2];
    bool online;
    int32_t board[LEVEL_COLUMNS][LEVEL_ROWS];
    const uint8_t *words;       // 2 * ticks
    const uint8_t *checkpoints; // 8 * (ticks / 40)
};

// Checks a file's bytes and fills the view. Returns nullptr, or what is wrong
// with them in words for the player.
const char *read_replay(const uint8_t *bytes, size_t size, replay_view &out);

// Re-runs a replay as fast as it goes. ok when every checkpoint and the
// final state match; otherwise diverged_at is the first tick count at which
// they did not.
struct replay_check {
    bool ok;
    int32_t diverged_at;
    uint64_t final_hash;   // of the re-run
};
replay_check verify_replay(const replay_view &r);

// ---- recording the running match --------------------------------------------
// No heap call between begin and finish: the words go into fixed storage.
void begin_recording(const match_state &start, const char *name1, const char *name2,
                     const uint8_t kinds[2], bool online);
void record_tick(control_word p1, control_word p2, const match_state &after);
// The file's bytes for the recording so far, ending on this state; false
// when the match outgrew the storage (it is then not kept).
bool recording_bytes(const match_state &final_state, std::vector<uint8_t> &bytes);
// Writes the finished match to path in one step (replays/ made if need be).
// Returns 0 or an errno; the player is told when it fails.
int keep_recording(const match_state &final_state, const char *path);
