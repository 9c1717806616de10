// The messages that set a sitting up, sent reliably before the match: the
// joiner's name, the host's arena and names, the joiner's readiness. The
// same first four bytes as the match's packets ("BA", the version, the
// kind), then, little-endian:
//   hello  4 12  the joiner's name, NUL-padded                     (16 bytes)
//   arena  4  4  the sitting's id
//          8  4  the animation clock at the start (IEEE-754 single)
//          12 24 player 1's and player 2's names
//          36 7208 the level, exactly as a level file              (7244 bytes)
//   ready  4  4  the sitting's id                                  (8 bytes)
#pragma once

#include <cstddef>
#include <cstdint>

#include "level.h"

constexpr uint8_t PACKET_HELLO = 2;
constexpr uint8_t PACKET_ARENA = 3;
constexpr uint8_t PACKET_READY = 4;
constexpr size_t HELLO_SIZE = 16;
constexpr size_t ARENA_SIZE = 36 + LEVEL_FILE_SIZE;
constexpr size_t READY_SIZE = 8;
constexpr int WIRE_NAME_SIZE = 12;

struct arena_message {
    uint32_t id;
    float anim_clock;
    char names[2][WIRE_NAME_SIZE];   // NUL-terminated, no control characters
    int32_t board[LEVEL_COLUMNS][LEVEL_ROWS];
};

// The kind of a message of this version, or 0 for anything else.
uint8_t message_kind(const uint8_t *bytes, size_t size);

size_t write_hello(uint8_t *out, const char *name);
bool read_hello(const uint8_t *bytes, size_t size, char name[WIRE_NAME_SIZE]);
size_t write_arena(uint8_t *out, const arena_message &a);
bool read_arena(const uint8_t *bytes, size_t size, arena_message &a);
size_t write_ready(uint8_t *out, uint32_t id);
bool read_ready(const uint8_t *bytes, size_t size, uint32_t id);
