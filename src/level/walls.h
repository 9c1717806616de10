// Which tiles are walls: the rule the board, the match, the editor's
// palette and the art all follow.
#pragma once

// Tiles that stop walking players and flying missiles; the art draws them
// raised and the editor's palette marks their slots.
constexpr int WALL_TILES[] = {1, 3, 5, 7, 9, 12, 17, 20};
// As bits, since the match and the computer's plans ask thousands of times
// a tick.
constexpr unsigned wall_tile_bits()
{
    unsigned bits = 0;
    for (int w : WALL_TILES)
        bits |= 1u << w;
    return bits;
}
constexpr bool is_wall_tile_id(int tile)
{
    return unsigned(tile) < 32 && (wall_tile_bits() >> tile) & 1u;
}
