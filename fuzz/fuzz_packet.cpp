// Packets from the network: whatever bytes arrive, in whatever order, the
// session never crashes, never changes a word of the peer's it already has,
// never guesses past its window, and still plays on; the set-up messages'
// readers take only what they can show.
#include <cstring>

#include "fuzz_env.h"
#include "lobby.h"
#include "rollback.h"

namespace {

// The id every sealed packet carries.
constexpr uint32_t SITTING = 42;

void check_name(const char *name)
{
    FUZZ_CHECK(std::memchr(name, '\0', WIRE_NAME_SIZE) != nullptr);
    for (const char *c = name; *c; c++)
        FUZZ_CHECK(!is_control_char(static_cast<unsigned char>(*c)));
}

}  // namespace

// The input: one flag byte (bit 0: each packet's first eight bytes are put
// right, so mutations reach the fields behind them), then packets, each
// one length byte and that many bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const bool seal = data[0] & 1;
    static match_state m;
    static rollback_session s;
    static control_word known[WORD_RING];
    int32_t open[LEVEL_COLUMNS][LEVEL_ROWS] = {};
    start_match_state(m, open, 0.0f);
    rollback_start(s, &m, 0, SITTING, 0);
    for (int i = 0; i < 4; i++)
        rollback_advance(s, CONTROL_UP);

    size_t at = 1;
    while (at < size) {
        size_t n = data[at++];
        if (n > size - at)
            n = size - at;
        uint8_t p[256];
        std::memcpy(p, data + at, n);
        at += n;
        if (seal && n >= 8) {
            p[0] = 'B';
            p[1] = 'A';
            p[2] = ONLINE_VERSION;
            p[4] = SITTING & 0xff;
            p[5] = p[6] = p[7] = 0;
        }
        const int32_t had = s.remote_known;
        for (int32_t t = s.confirmed; t < had; t++)
            known[t % WORD_RING] = rollback_remote_word(s, t);
        rollback_receive(s, p, n, 0);
        for (int32_t t = s.confirmed; t < had; t++)
            FUZZ_CHECK(rollback_remote_word(s, t) == known[t % WORD_RING]);
        FUZZ_CHECK(s.remote_known >= had && s.remote_known <= s.confirmed + WORD_RING / 2);

        // Play on as the loop does: settle, then a beat.
        rollback_settle(s);
        if (rollback_beat(s) == beat::advance)
            rollback_advance(s, CONTROL_FIRE);
        FUZZ_CHECK(s.ticks - s.remote_known <= MAX_PREDICTION_TICKS);
        FUZZ_CHECK(s.confirmed <= s.ticks);

        char name[WIRE_NAME_SIZE];
        if (read_hello(p, n, name))
            check_name(name);
        read_ready(p, n, SITTING);
    }
    static arena_message arena;
    if (read_arena(data + 1, size - 1, arena)) {
        check_name(arena.names[0]);
        check_name(arena.names[1]);
    }
    return 0;
}
