// The build's record of the datafiles it packed: datafiles.sum beside them,
// one line "NAME SIZE CHECKSUM" per file (the checksum a 64-bit xxHash in
// hexadecimal). The build's datafile_sums tool writes it and the game reads
// it, both through this header, so the two can never sum differently.
#pragma once

#define XXH_INLINE_ALL
#include <xxhash.h>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

constexpr const char *DATAFILE_SUMS = "datafiles.sum";

struct datafile_sum {
    unsigned long long size;
    unsigned long long checksum;
};

// Sums the regular file at path. False when it is anything else, cannot be
// read, or (with want_size given) is not that long: a file of the wrong size
// is never read at all.
inline bool sum_datafile(const char *path, datafile_sum &out, long long want_size = -1)
{
    // O_NONBLOCK: a pipe in a datafile's place must not hang the game.
    int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        (want_size >= 0 && st.st_size != want_size)) {
        close(fd);
        return false;
    }
    XXH64_state_t state;
    XXH64_reset(&state, 0);
    unsigned long long size = 0;
    static unsigned char chunk[1 << 16];
    for (;;) {
        ssize_t n = read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            close(fd);
            return false;
        }
        if (n == 0)
            break;
        XXH64_update(&state, chunk, size_t(n));
        size += size_t(n);
    }
    close(fd);
    out = {size, XXH64_digest(&state)};
    return true;
}

// One line of datafiles.sum, as the tool writes and the game parses it.
#define DATAFILE_SUM_FORMAT "%s %llu %016llx\n"
#define DATAFILE_SUM_SCAN "%255s %llu %llx"
