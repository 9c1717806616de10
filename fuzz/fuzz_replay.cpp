// Replay files: whatever bytes a file holds, reading it and re-running the
// match it describes never crashes, hangs or reads outside it, and what is
// accepted re-runs to a verdict.
#include <cstring>
#include <vector>

#define XXH_INLINE_ALL
#include <xxhash.h>

#include "fuzz_env.h"
#include "replay.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    // The first byte says whether the header's checksum is put right first,
    // so that mutations of the header's fields reach the checks behind it.
    const bool reseal = data[0] & 1;
    std::vector<uint8_t> bytes(data + 1, data + size);
    if (reseal && bytes.size() >= REPLAY_HEADER_SIZE) {
        uint64_t sum = XXH64(bytes.data(), REPLAY_HEADER_SIZE - 8, 0);
        for (int i = 0; i < 8; i++)
            bytes[REPLAY_HEADER_SIZE - 8 + size_t(i)] = uint8_t(sum >> (8 * i));
    }
    static replay_view view;
    if (read_replay(bytes.data(), bytes.size(), view) != nullptr)
        return 0;
    FUZZ_CHECK(view.ticks >= 0 && size_t(view.ticks) * 2 + REPLAY_HEADER_SIZE <= bytes.size());
    FUZZ_CHECK(std::memchr(view.names[0], '\0', sizeof view.names[0]) != nullptr);
    FUZZ_CHECK(std::memchr(view.names[1], '\0', sizeof view.names[1]) != nullptr);
    replay_check check = verify_replay(view);
    FUZZ_CHECK(check.ok || (check.diverged_at > 0 && check.diverged_at <= view.ticks));
    return 0;
}
