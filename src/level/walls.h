// Which tiles are walls: the rule the board, the match, the editor's
// palette and the art all follow.
#pragma once

// Tiles that stop walking players and flying missiles; the art draws them
// raised and the editor's palette marks their slots.
constexpr int WALL_TILES[] = {1, 3, 5, 7, 9, 12, 17, 20};
constexpr bool is_wall_tile_id(int tile)
{
    for (int w : WALL_TILES)
        if (w == tile)
            return true;
    return false;
}
