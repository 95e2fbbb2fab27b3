"""Reads the editor's recovery copies on its own, for the end-to-end test.

  recovery_copies.py cells FOLDER
      prints the one copy's set cells as "x,y" lines (row by row), or
      "none" when the folder holds no copy; fails on anything else.
  recovery_copies.py count FOLDER
      prints how many copies the folder holds.
"""
import glob
import os
import struct
import sys

HEADER = b"Kalmia recovery copy 1\r\n"


def copies(folder):
    return sorted(glob.glob(os.path.join(folder, "*.kalmia-recovery")))


def set_cells(path):
    data = open(path, "rb").read()
    if not data.startswith(HEADER):
        raise SystemExit(f"{path}: not a recovery copy")
    at = len(HEADER)
    width, height, _r1, _r2, _t1, _t2, name_bytes = struct.unpack_from("<7i", data, at)
    at += 28 + name_bytes
    row_words = (width + 63) // 64
    if len(data) != at + row_words * height * 8 + 8:
        raise SystemExit(f"{path}: {len(data)} bytes do not fit {width} x {height}")
    for y in range(height):
        row = int.from_bytes(data[at + y * row_words * 8:at + (y + 1) * row_words * 8], "little")
        for x in range(width):
            if row >> x & 1:
                yield f"{x},{y}"


def main():
    command, folder = sys.argv[1], sys.argv[2]
    found = copies(folder)
    if command == "count":
        print(len(found))
    elif command == "cells":
        if not found:
            print("none")
        elif len(found) > 1:
            raise SystemExit(f"{len(found)} copies in {folder}")
        else:
            for cell in set_cells(found[0]):
                print(cell)


main()
