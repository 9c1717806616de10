// Replays: the record of a match (its start, every tick's two control words,
// the state's hash at checkpoints and at the end), written when the match
// ends and read back to show it again or to check it still plays the same.
#include "replay.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

#define XXH_INLINE_ALL
#include <xxhash.h>

#include "messages.h"

namespace {

constexpr char MAGIC[8] = {'B', 'L', 'A', 'S', 'T', 'R', 'P', 'L'};
constexpr size_t LEVEL_AT = 80, CHECKSUM_AT = 7288;
static_assert(LEVEL_AT + LEVEL_FILE_SIZE == CHECKSUM_AT &&
                  CHECKSUM_AT + 8 == REPLAY_HEADER_SIZE,
              "the header's fields fill it exactly");

void put32(uint8_t *p, uint32_t v)
{
    for (int i = 0; i < 4; i++)
        p[i] = uint8_t(v >> (8 * i));
}
void put64(uint8_t *p, uint64_t v)
{
    for (int i = 0; i < 8; i++)
        p[i] = uint8_t(v >> (8 * i));
}
uint32_t get32(const uint8_t *p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint64_t get64(const uint8_t *p)
{
    return uint64_t(get32(p)) | uint64_t(get32(p + 4)) << 32;
}

uint32_t float_bits(float f)
{
    uint32_t u;
    std::memcpy(&u, &f, sizeof u);
    return u;
}
float bits_float(uint32_t u)
{
    float f;
    std::memcpy(&f, &u, sizeof f);
    return f;
}

size_t file_size_for(int32_t ticks)
{
    return REPLAY_HEADER_SIZE + 2 * size_t(ticks) + 8 * size_t(ticks / REPLAY_CHECKPOINT_TICKS);
}

// ---- the recording ----------------------------------------------------------
// Fixed storage, so a running match makes no heap call; untouched pages of it
// cost nothing.
uint8_t recorded_words[2 * size_t(REPLAY_MAX_TICKS)];
uint64_t recorded_checkpoints[REPLAY_MAX_TICKS / REPLAY_CHECKPOINT_TICKS];
struct {
    int32_t ticks;
    bool overflowed;
    float anim_clock;
    int32_t board[LEVEL_COLUMNS][LEVEL_ROWS];
    char names[2][12];
    uint8_t kinds[2];
    bool online;
} rec;

}  // namespace

void begin_recording(const match_state &start, const char *name1, const char *name2,
                     const uint8_t kinds[2], bool online)
{
    rec.ticks = 0;
    rec.overflowed = false;
    rec.anim_clock = start.anim_clock;
    std::memcpy(rec.board, start.board, sizeof rec.board);
    std::memset(rec.names, 0, sizeof rec.names);
    std::strncpy(rec.names[0], name1, sizeof rec.names[0] - 1);
    std::strncpy(rec.names[1], name2, sizeof rec.names[1] - 1);
    rec.kinds[0] = kinds[0];
    rec.kinds[1] = kinds[1];
    rec.online = online;
}

void record_tick(control_word p1, control_word p2, const match_state &after)
{
    if (rec.ticks >= REPLAY_MAX_TICKS) {
        rec.overflowed = true;
        return;
    }
    recorded_words[2 * size_t(rec.ticks)] = p1;
    recorded_words[2 * size_t(rec.ticks) + 1] = p2;
    rec.ticks++;
    if (rec.ticks % REPLAY_CHECKPOINT_TICKS == 0)
        recorded_checkpoints[rec.ticks / REPLAY_CHECKPOINT_TICKS - 1] = match_hash(after);
}

bool recording_bytes(const match_state &final_state, std::vector<uint8_t> &bytes)
{
    if (rec.overflowed)
        return false;
    bytes.assign(file_size_for(rec.ticks), 0);
    uint8_t *h = bytes.data();
    std::memcpy(h, MAGIC, sizeof MAGIC);
    put32(h + 8, REPLAY_VERSION);
    put32(h + 12, REPLAY_HEADER_SIZE);
    put32(h + 16, uint32_t(rec.ticks));
    put32(h + 20, REPLAY_CHECKPOINT_TICKS);
    put32(h + 24, float_bits(rec.anim_clock));
    put32(h + 28, uint32_t(final_state.result));
    put32(h + 32, uint32_t(final_state.result_tick));
    put32(h + 36, uint32_t(final_state.leave_tick));
    put64(h + 40, match_hash(final_state));
    std::memcpy(h + 48, rec.names[0], 12);
    std::memcpy(h + 60, rec.names[1], 12);
    h[72] = rec.kinds[0];
    h[73] = rec.kinds[1];
    h[74] = rec.online ? 1 : 0;
    const int32_t *cells = &rec.board[0][0];
    for (int k = 0; k < LEVEL_CELLS; k++)
        put32(h + LEVEL_AT + 4 * size_t(k), uint32_t(cells[k]));
    put64(h + CHECKSUM_AT, XXH64(h, CHECKSUM_AT, 0));
    std::memcpy(h + REPLAY_HEADER_SIZE, recorded_words, 2 * size_t(rec.ticks));
    uint8_t *c = h + REPLAY_HEADER_SIZE + 2 * size_t(rec.ticks);
    for (int32_t k = 0; k < rec.ticks / REPLAY_CHECKPOINT_TICKS; k++)
        put64(c + 8 * size_t(k), recorded_checkpoints[k]);
    return true;
}

int keep_recording(const match_state &final_state, const char *path)
{
    std::vector<uint8_t> bytes;
    if (!recording_bytes(final_state, bytes)) {
        show_failure("The replay was not kept: the match ran longer than 24 hours");
        return EFBIG;
    }
    mkdir(REPLAY_DIR, 0755);
    int error = replace_file(path, bytes.data(), bytes.size());
    if (error != 0)
        show_failure("Could not keep the replay: %s", std::strerror(error));
    return error;
}

// ---- reading ------------------------------------------------------------------

const char *read_replay(const uint8_t *bytes, size_t size, replay_view &out)
{
    if (size < sizeof MAGIC || std::memcmp(bytes, MAGIC, sizeof MAGIC) != 0)
        return "not a replay file (it does not start with BLASTRPL)";
    if (size < 16)
        return "the replay is cut short inside its header";
    const uint32_t version = get32(bytes + 8);
    if (version != REPLAY_VERSION) {
        static char why[96];
        std::snprintf(why, sizeof why, "replay format version %u is not one this game reads (%d)",
                      version, REPLAY_VERSION);
        return why;
    }
    if (get32(bytes + 12) != REPLAY_HEADER_SIZE)
        return "the replay's header has the wrong size";
    if (size < REPLAY_HEADER_SIZE)
        return "the replay is cut short inside its header";
    if (get64(bytes + CHECKSUM_AT) != XXH64(bytes, CHECKSUM_AT, 0))
        return "the replay's header is damaged (its checksum does not match)";

    const uint32_t ticks = get32(bytes + 16);
    if (ticks > uint32_t(REPLAY_MAX_TICKS))
        return "the replay claims more ticks than any match can have";
    if (get32(bytes + 20) != REPLAY_CHECKPOINT_TICKS)
        return "the replay's checkpoints are not every 40 ticks";
    const size_t want = file_size_for(int32_t(ticks));
    if (size < want)
        return "the replay is cut short: its control words or checkpoints are missing";
    if (size > want)
        return "the replay has bytes past its end";

    // Only the clock's own steps: anything else (a NaN above all) would pick
    // pictures from outside the animations.
    const float clock = bits_float(get32(bytes + 24));
    if (!(clock >= 0.0f && clock < float(ANIM_CLOCK_FRAMES)) ||
        std::fmod(clock, 0.25f) != 0.0f)
        return "the replay's animation clock is not one the game can have";
    const int32_t result = int32_t(get32(bytes + 28));
    if (result < RESULT_NONE || result > RESULT_DRAW)
        return "the replay's result is not one the game knows";

    out.ticks = int32_t(ticks);
    out.anim_clock = clock;
    out.result = result;
    out.result_tick = int32_t(get32(bytes + 32));
    out.leave_tick = int32_t(get32(bytes + 36));
    out.final_hash = get64(bytes + 40);
    for (int p = 0; p < 2; p++) {
        std::memcpy(out.names[p], bytes + 48 + 12 * p, 12);
        out.names[p][11] = '\0';
        out.kinds[p] = bytes[72 + p];
    }
    out.online = bytes[74] != 0;
    int32_t *cells = &out.board[0][0];
    for (int k = 0; k < LEVEL_CELLS; k++)
        cells[k] = int32_t(get32(bytes + LEVEL_AT + 4 * size_t(k)));
    out.words = bytes + REPLAY_HEADER_SIZE;
    out.checkpoints = out.words + 2 * size_t(ticks);
    return nullptr;
}

replay_check verify_replay(const replay_view &r)
{
    // 35 KB: kept off the stack of whoever calls.
    static match_state m;
    start_match_state(m, r.board, r.anim_clock);
    replay_check check{true, -1, 0};
    for (int32_t t = 0; t < r.ticks; t++) {
        match_tick(m, r.words[2 * size_t(t)], r.words[2 * size_t(t) + 1]);
        if ((t + 1) % REPLAY_CHECKPOINT_TICKS == 0) {
            uint64_t want = get64(r.checkpoints + 8 * size_t((t + 1) / REPLAY_CHECKPOINT_TICKS - 1));
            if (match_hash(m) != want) {
                check.ok = false;
                check.diverged_at = t + 1;
                break;
            }
        }
    }
    check.final_hash = match_hash(m);
    if (check.ok && check.final_hash != r.final_hash) {
        check.ok = false;
        check.diverged_at = r.ticks;
    }
    return check;
}
