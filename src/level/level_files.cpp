// Level files: a headerless image of the board, 1802 little-endian 32-bit
// tile ids, column by column. read_level and write_level are the only code
// that touches them.
#include "level.h"

#include "platform.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

int32_t level_buffer[LEVEL_CELLS];
char level_path[36];

namespace {

// The file's byte order, whatever the host's.
void encode_value(int32_t value, unsigned char *out)
{
    uint32_t v = static_cast<uint32_t>(value);
    out[0] = v & 0xff;
    out[1] = (v >> 8) & 0xff;
    out[2] = (v >> 16) & 0xff;
    out[3] = (v >> 24) & 0xff;
}

int32_t decode_value(const unsigned char *in)
{
    uint32_t v = uint32_t(in[0]) | uint32_t(in[1]) << 8 | uint32_t(in[2]) << 16 |
                 uint32_t(in[3]) << 24;
    return static_cast<int32_t>(v);
}

// Reads until `size` bytes or end of file; returns the count read.
size_t read_up_to(int fd, unsigned char *buf, size_t size)
{
    size_t got = 0;
    while (got < size) {
        ssize_t n = read(fd, buf + got, size - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;        // end of file, or an error: keep what arrived
        got += size_t(n);
    }
    return got;
}

}  // namespace

// Loads a level file onto the board. A file that cannot be opened leaves
// the board alone; a short file only replaces the values it holds.
void read_level(const char *path)
{
    // O_NONBLOCK: a named pipe in levels/ must not hang the game.
    int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return;
    }
    unsigned char bytes[LEVEL_FILE_SIZE];
    size_t got = read_up_to(fd, bytes, sizeof bytes);
    close(fd);

    // Only whole values count; a trailing partial one is dropped.
    size_t values = got / 4;
    for (size_t k = 0; k < values; k++)
        level_buffer[k] = decode_value(bytes + 4 * k);
    std::memcpy(board, level_buffer, sizeof board);
}

// Saves the board. The old file is replaced only once the new one is
// completely on disk, so a full disk, a crash or a second save racing this
// one never costs a level. Returns 0, or the errno that stopped the save.
int write_level(const char *path)
{
    static_assert(sizeof board == sizeof level_buffer, "a level file is the board's image");
    std::memcpy(level_buffer, board, sizeof level_buffer);
    unsigned char bytes[LEVEL_FILE_SIZE];
    for (int k = 0; k < LEVEL_CELLS; k++)
        encode_value(level_buffer[k], bytes + 4 * k);

    // The first save of a fresh install makes levels/.
    std::string dir = path;
    size_t slash = dir.rfind('/');
    if (slash != std::string::npos && slash > 0)
        mkdir(dir.substr(0, slash).c_str(), 0755);
    return replace_file(path, bytes, sizeof bytes);
}
