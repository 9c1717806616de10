// Writing and reading the set-up messages. A reader takes a message only
// when every byte of it is as it must be, and takes nothing else.
#include "lobby.h"

#include <cmath>
#include <cstring>

#include "rollback.h"

namespace {

void put32(uint8_t *p, uint32_t v)
{
    for (int i = 0; i < 4; i++)
        p[i] = uint8_t(v >> (8 * i));
}
uint32_t get32(const uint8_t *p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void start(uint8_t *out, uint8_t kind)
{
    out[0] = 'B';
    out[1] = 'A';
    out[2] = ONLINE_VERSION;
    out[3] = kind;
}

void put_name(uint8_t *out, const char *name)
{
    std::memset(out, 0, WIRE_NAME_SIZE);
    for (int i = 0; i < WIRE_NAME_SIZE - 1 && name[i]; i++)
        out[i] = uint8_t(name[i]);
}

// A name from the wire is shown on the other player's screen: cut to 11
// bytes, and control characters left out.
void get_name(const uint8_t *in, char *name)
{
    int n = 0;
    for (int i = 0; i < WIRE_NAME_SIZE - 1 && in[i]; i++)
        if (in[i] >= 32 && in[i] != 127)
            name[n++] = char(in[i]);
    name[n] = '\0';
}

}  // namespace

uint8_t message_kind(const uint8_t *p, size_t size)
{
    if (size < 4 || p[0] != 'B' || p[1] != 'A' || p[2] != ONLINE_VERSION)
        return 0;
    return p[3];
}

size_t write_hello(uint8_t *out, const char *name)
{
    start(out, PACKET_HELLO);
    put_name(out + 4, name);
    return HELLO_SIZE;
}

bool read_hello(const uint8_t *p, size_t size, char name[WIRE_NAME_SIZE])
{
    if (size != HELLO_SIZE || message_kind(p, size) != PACKET_HELLO)
        return false;
    get_name(p + 4, name);
    return true;
}

size_t write_arena(uint8_t *out, const arena_message &a)
{
    start(out, PACKET_ARENA);
    put32(out + 4, a.id);
    uint32_t clock;
    std::memcpy(&clock, &a.anim_clock, sizeof clock);
    put32(out + 8, clock);
    put_name(out + 12, a.names[0]);
    put_name(out + 24, a.names[1]);
    const int32_t *cells = &a.board[0][0];
    for (int k = 0; k < LEVEL_CELLS; k++)
        put32(out + 36 + 4 * size_t(k), uint32_t(cells[k]));
    return ARENA_SIZE;
}

bool read_arena(const uint8_t *p, size_t size, arena_message &a)
{
    if (size != ARENA_SIZE || message_kind(p, size) != PACKET_ARENA)
        return false;
    const uint32_t bits = get32(p + 8);
    float clock;
    std::memcpy(&clock, &bits, sizeof clock);
    // Only the clock's own steps: anything else would pick pictures from
    // outside the animations.
    if (!(clock >= 0.0f && clock < 8.0f) || std::fmod(clock, 0.25f) != 0.0f)
        return false;
    a.id = get32(p + 4);
    a.anim_clock = clock;
    get_name(p + 12, a.names[0]);
    get_name(p + 24, a.names[1]);
    int32_t *cells = &a.board[0][0];
    for (int k = 0; k < LEVEL_CELLS; k++)
        cells[k] = int32_t(get32(p + 36 + 4 * size_t(k)));
    return true;
}

size_t write_ready(uint8_t *out, uint32_t id)
{
    start(out, PACKET_READY);
    put32(out + 4, id);
    return READY_SIZE;
}

bool read_ready(const uint8_t *p, size_t size, uint32_t id)
{
    return size == READY_SIZE && message_kind(p, size) == PACKET_READY && get32(p + 4) == id;
}
