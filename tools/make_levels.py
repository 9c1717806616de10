#!/usr/bin/env python3
"""Writes the bundled arenas into levels/.

Each arena is drawn here in code so it can be changed and rebuilt: run
tools/make_levels.py from anywhere and commit the files it writes. A level file
is the board as 1802 little-endian 32-bit tile ids, column by column (53
columns of 34 rows). Every arena keeps both start cells on tile 0 and joins
them by floor; the script refuses to write one that does not.
"""
import random
import struct
import sys
from collections import deque
from pathlib import Path

COLS, ROWS = 53, 34
WALLS = {1, 3, 5, 7, 9, 12, 17, 20}
STARTS = ((0, 0), (COLS - 1, ROWS - 1))

# Tile ids by what they look like.
SLATE, BRICK, GRASS, STONE, SAND, STEEL, COBBLES, CRATE, PLANKS, BOULDER = range(10)
DIRT, GRATING, HEDGE, CHECKER, MOSS, CARPET, GRAVEL, ICE, SNOW, LIGHTS = range(10, 20)
HAZARD, MEADOW, PAVING, MARBLE, BLUE_PLATES, MUD, DUNES, DRY_EARTH, MOSAIC, RUST = range(20, 30)


class Board:
    def __init__(self, floor):
        self.cells = [[floor] * ROWS for _ in range(COLS)]

    def set(self, c, r, tile, mirror=True):
        """Sets a cell and, by default, its twin turned half way round the
        centre, so both players get the same arena."""
        if 0 <= c < COLS and 0 <= r < ROWS:
            self.cells[c][r] = tile
            if mirror:
                self.cells[COLS - 1 - c][ROWS - 1 - r] = tile

    def rect(self, c1, r1, c2, r2, tile, mirror=True):
        for c in range(c1, c2 + 1):
            for r in range(r1, r2 + 1):
                self.set(c, r, tile, mirror)

    def frame(self, c1, r1, c2, r2, tile, mirror=True):
        for c in range(c1, c2 + 1):
            self.set(c, r1, tile, mirror)
            self.set(c, r2, tile, mirror)
        for r in range(r1, r2 + 1):
            self.set(c1, r, tile, mirror)
            self.set(c2, r, tile, mirror)

    def get(self, c, r):
        return self.cells[c][r]

    def connected(self):
        seen = {STARTS[0]}
        todo = deque([STARTS[0]])
        while todo:
            c, r = todo.popleft()
            for nc, nr in ((c - 1, r), (c + 1, r), (c, r - 1), (c, r + 1)):
                if 0 <= nc < COLS and 0 <= nr < ROWS and (nc, nr) not in seen \
                        and self.cells[nc][nr] not in WALLS:
                    seen.add((nc, nr))
                    todo.append((nc, nr))
        return STARTS[1] in seen

    def finish(self):
        for c, r in STARTS:
            self.cells[c][r] = SLATE
        return self


def pillars():
    """The plain arena: stone pillars in a lattice around a marble plaza."""
    b = Board(SLATE)
    b.rect(18, 10, 34, 23, MARBLE)
    for c in range(2, COLS, 4):
        for r in range(2, ROWS, 4):
            b.set(c, r, STONE)
            b.set(c, r + 1, STONE)
    b.frame(18, 10, 34, 23, CHECKER)
    return b.finish()


def garden():
    """Hedged flower beds along gravel paths, with a lit plaza in the middle."""
    b = Board(GRASS)
    for c in range(0, COLS):
        for r in range(0, ROWS):
            if (c % 9 in (3, 4)) or (r % 8 in (3, 4)):
                b.set(c, r, GRAVEL, mirror=False)
    for bc in range(5, COLS - 3, 9):
        for br in range(5, ROWS - 2, 8):
            b.frame(bc, br, bc + 6, br + 5, HEDGE, mirror=False)
            b.rect(bc + 1, br + 1, bc + 5, br + 4, MEADOW, mirror=False)
            # Gates two cells wide, so a player on the path can turn in
            # without stopping on the exact pixel.
            gap = (bc + br) % 4
            for k in (0, 1):
                if gap < 2:
                    b.set(bc + 3 + k, br + (0 if gap == 0 else 5), GRAVEL, mirror=False)
                else:
                    b.set(bc + (0 if gap == 2 else 6), br + 2 + k, GRAVEL, mirror=False)
    # The lights are floor: players walk across the plaza.
    for c in range(20, 33):
        for r in range(12, 22):
            if ((c - 26) / 6.5) ** 2 + ((r - 16.5) / 4.6) ** 2 <= 1:
                b.set(c, r, LIGHTS)
    b.set(26, 16, MOSS)
    return b.finish()


def fortress():
    """Each player holds a brick keep with two gates; the yard between is
    open paving strewn with crates."""
    b = Board(PAVING)
    b.rect(0, 0, 14, 10, COBBLES)
    b.frame(-1, -1, 14, 10, BRICK)
    b.set(14, 4, COBBLES)
    b.set(14, 5, COBBLES)
    b.set(6, 10, COBBLES)
    b.set(7, 10, COBBLES)
    for c, r in ((14, 10), (14, -1), (-1, 10)):
        b.rect(c - 1, r - 1, c + 1, r + 1, STONE)
    b.rect(3, 3, 5, 5, CARPET)
    rng = random.Random(41)
    for _ in range(26):
        c, r = rng.randrange(17, 36), rng.randrange(0, ROWS)
        if b.get(c, r) == PAVING:
            b.set(c, r, CRATE)
    b.rect(24, 14, 28, 19, CHECKER)
    b.frame(23, 13, 29, 20, STONE)
    b.rect(26, 13, 27, 13, CHECKER)
    b.rect(23, 16, 23, 17, CHECKER)
    return b.finish()


def desert():
    """Dunes with boulder fields, cracked flats and a lit shrine on a green."""
    b = Board(SAND)
    rng = random.Random(7)
    for c in range(COLS):
        for r in range(ROWS):
            if (c * 3 + r * 5) % 23 < 7:
                b.set(c, r, DUNES, mirror=False)
    for _ in range(6):
        c, r = rng.randrange(4, COLS - 4), rng.randrange(3, ROWS - 3)
        for dc in range(-3, 4):
            for dr in range(-2, 3):
                if dc * dc + dr * dr * 2 <= 9:
                    b.set(c + dc, r + dr, DRY_EARTH)
    for _ in range(16):
        c, r = rng.randrange(3, COLS - 3), rng.randrange(2, ROWS - 2)
        for dc, dr in ((0, 0), (1, 0), (0, 1), (1, 1), (-1, 0), (2, 1)):
            if rng.random() < 0.8:
                b.set(c + dc, r + dr, BOULDER)
    b.rect(24, 14, 28, 19, MEADOW)
    b.rect(25, 15, 27, 18, LIGHTS)
    return b.finish()


def factory():
    """Rows of machines in steel with hazard ends, crossed by gratings."""
    b = Board(BLUE_PLATES)
    for r in range(3, ROWS - 3, 5):
        for c0 in range(3, COLS - 6, 12):
            shift = 6 if (r // 5) % 2 else 0
            c1 = c0 + shift
            if c1 + 6 >= COLS - 2:
                continue
            b.rect(c1, r, c1 + 6, r + 1, STEEL, mirror=False)
            b.set(c1, r, HAZARD, mirror=False)
            b.set(c1 + 6, r + 1, HAZARD, mirror=False)
    for c in (10, 26, 42):
        for r in range(ROWS):
            if b.get(c, r) not in WALLS:
                b.set(c, r, GRATING, mirror=False)
    for r in range(ROWS):
        for c in range(COLS):
            if b.get(c, r) == BLUE_PLATES and ((c // 3) * 7 + (r // 3) * 11) % 13 == 0:
                b.set(c, r, RUST, mirror=False)
    b.rect(24, 15, 28, 18, MOSAIC)
    return b.finish()


def glacier():
    """An ice maze on snow with loops cut into it, so there is never only
    one way round. Its ways are two cells wide: a player turning into a side
    way of one cell would have to stop on the exact pixel."""
    b = Board(SNOW)
    rng = random.Random(2024)
    # Maze cells are 2x2 blocks of floor three cells apart; the walls between
    # them are one cell thick. The last row of cells is four rows high so the
    # maze fills the board down to the bottom edge.
    cols, rows = range(18), range(11)

    def cell_rows(j):
        return range(3 * j, 3 * j + 2) if j < 10 else range(30, ROWS)

    for c in range(COLS):
        for r in range(30):
            if c % 3 == 2 or r % 3 == 2:
                b.set(c, r, ICE, mirror=False)
    for c in range(COLS):
        if c % 3 == 2:
            for r in range(30, ROWS):
                b.set(c, r, ICE, mirror=False)

    def open_between(i, j, ni, nj):
        if ni != i:  # the wall column between two cells side by side
            for r in cell_rows(j):
                b.set(3 * min(i, ni) + 2, r, SNOW, mirror=False)
        else:        # the wall row between two cells one above the other
            for c in (3 * i, 3 * i + 1):
                b.set(c, 3 * min(j, nj) + 2, SNOW, mirror=False)

    seen = {(0, 0)}
    stack = [(0, 0)]
    while stack:
        i, j = stack[-1]
        options = [(i + di, j + dj) for di, dj in ((1, 0), (-1, 0), (0, 1), (0, -1))
                   if i + di in cols and j + dj in rows and (i + di, j + dj) not in seen]
        if not options:
            stack.pop()
            continue
        ni, nj = rng.choice(options)
        open_between(i, j, ni, nj)
        seen.add((ni, nj))
        stack.append((ni, nj))
    for i in cols:
        for j in rows:
            for ni, nj in ((i + 1, j), (i, j + 1)):
                if ni in cols and nj in rows and rng.random() < 0.18:
                    open_between(i, j, ni, nj)
    b.rect(22, 13, 30, 19, SNOW, mirror=False)
    b.rect(24, 15, 28, 17, LIGHTS, mirror=False)
    return b.finish()


def rings():
    """Concentric walls around a mosaic centre, each with gates on
    alternate sides."""
    b = Board(CHECKER)
    for i, tile in enumerate((HEDGE, BRICK, STEEL, HAZARD)):
        c1, r1 = 4 + i * 5, 3 + i * 4
        c2, r2 = COLS - 1 - c1, ROWS - 1 - r1
        b.frame(c1, r1, c2, r2, tile)
        mid_c, mid_r = (c1 + c2) // 2, (r1 + r2) // 2
        for k in (-1, 0, 1):
            if i % 2 == 0:
                b.set(mid_c + k, r1, CARPET)
                b.set(c1, mid_r + k, CARPET)
            else:
                b.set(c1 + 2 + k, r1, CARPET)
                b.set(c2 - 2 + k, r1, CARPET)
    b.rect(25, 15, 27, 18, MOSAIC)
    return b.finish()


ARENAS = {
    "PILLARS": pillars,
    "GARDEN": garden,
    "FORTRESS": fortress,
    "DESERT": desert,
    "FACTORY": factory,
    "GLACIER": glacier,
    "RINGS": rings,
}


def main():
    out = Path(__file__).resolve().parent.parent / "levels"
    out.mkdir(exist_ok=True)
    for name, build in ARENAS.items():
        board = build()
        if not board.connected():
            sys.exit(f"make_levels: {name}: the start cells are not joined by floor")
        data = b"".join(struct.pack("<i", board.cells[c][r]) for c in range(COLS) for r in range(ROWS))
        (out / name).write_bytes(data)
        print(f"levels/{name}: {len(data)} bytes")


if __name__ == "__main__":
    main()
