#!/usr/bin/env python3
"""Writes examples/maze.map and maze.xml: a 1000 x 1000 maze, the same on
every run (its own xorshift generator, seeded), walls set and passages clear,
with an entrance at the top left and an exit at the bottom right. The pair is
written as the editor saves it: lines of 0 and 1 ending in CR LF, and the
parameter file in Shift_JIS on one line.

    make_maze.py OUTDIR
"""
import os
import sys

EDGE = 1000
ROOMS = (EDGE - 1) // 2  # rooms at odd places, walls between them
NAME = "迷路 1000"


def xorshift(seed):
    state = seed
    while True:
        state ^= (state << 13) & 0xFFFFFFFFFFFFFFFF
        state ^= state >> 7
        state ^= (state << 17) & 0xFFFFFFFFFFFFFFFF
        yield state


def carve():
    """Depth first: from each room, on to a random room not yet reached."""
    walls = [bytearray(b"1" * EDGE) for _ in range(EDGE)]
    random = xorshift(0x4B616C6D6961)
    seen = bytearray(ROOMS * ROOMS)
    stack = [(0, 0)]
    seen[0] = 1
    walls[1][1] = ord("0")
    while stack:
        x, y = stack[-1]
        ways = [(x + dx, y + dy) for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))
                if 0 <= x + dx < ROOMS and 0 <= y + dy < ROOMS and not seen[(y + dy) * ROOMS + x + dx]]
        if not ways:
            stack.pop()
            continue
        nx, ny = ways[next(random) % len(ways)]
        seen[ny * ROOMS + nx] = 1
        walls[2 * ny + 1][2 * nx + 1] = ord("0")
        walls[y + ny + 1][x + nx + 1] = ord("0")  # the wall between the two rooms
        stack.append((nx, ny))
    walls[0][1] = ord("0")  # the entrance
    last = 2 * ROOMS - 1  # the last room's row and column
    for x in range(last + 1, EDGE):
        walls[last][x] = ord("0")  # the exit, out of the last room
    return walls


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "maze.map"), "wb") as grid:
        grid.write(b"".join(bytes(row) + b"\r\n" for row in carve()))
    xml = ("<?xml version='1.0' encoding='SHIFT_JIS'?><root><x>%d</x><y>%d</y><rank1>600</rank1>"
           "<rank2>900</rank2><rate1>90</rate1><rate2>70</rate2><name>%s</name></root>" % (EDGE, EDGE, NAME))
    with open(os.path.join(folder, "maze.xml"), "wb") as parameters:
        parameters.write(xml.encode("shift_jis"))


main()
