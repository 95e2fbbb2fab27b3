#!/usr/bin/env python3
"""Reads pixels of a screenshot for the end-to-end checks.

  pixels.py locate-default-map IMAGE
      prints "x y": the client origin, the top-left corner of the 400 x 400
      white square that a new 50 x 50 map shows, with gray to its right and
      below.
  pixels.py cells IMAGE X0 Y0 COLUMNS ROWS
      prints one line per row of cells, "#" for black, "." for white, "~" for
      gray and "?" for anything else, sampling the centre of each 8 x 8 cell
      from the client origin X0 Y0.
  pixels.py client-extent IMAGE X0 Y0
      prints "width height" of the client area: how far gray or map pixels
      reach right and down from the origin before the scroll bars begin
      (the row and column probed lie below and right of a 50 x 50 map).
  pixels.py shift CELLS_BEFORE CELLS_AFTER
      (files of "cells" output) prints the k for which the view after shows
      the view before moved left by k columns (k >= 0), or fails.
  pixels.py dark-pixels IMAGE X Y WIDTH HEIGHT
      prints how many pixels of the rectangle are dark (text, for instance).
  pixels.py uniform IMAGE X Y WIDTH HEIGHT
      prints the colour as RRGGBB if the rectangle is one colour, else "mixed".
"""
import subprocess
import hashlib
import sys

WHITE, BLACK, GRAY = (255, 255, 255), (0, 0, 0), (128, 128, 128)


def load(path):
    data = subprocess.run(["/usr/bin/convert", path, "-depth", "8", "ppm:-"],
                          check=True, capture_output=True).stdout
    fields, at = [], 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        start = at
        while not data[at:at + 1].isspace():
            at += 1
        fields.append(data[start:at])
    width, height = int(fields[1]), int(fields[2])
    return width, height, data[at + 1:]


class Image:
    def __init__(self, path):
        self.width, self.height, self.data = load(path)

    def rgb(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            return None
        at = (y * self.width + x) * 3
        return tuple(self.data[at:at + 3])


def locate_default_map(image):
    for y in range(image.height - 401):
        for x in range(image.width - 401):
            if image.rgb(x, y) != WHITE or image.rgb(x + 400, y) != GRAY:
                continue
            if image.rgb(x + 399, y) == WHITE and image.rgb(x, y + 399) == WHITE \
                    and image.rgb(x, y + 400) == GRAY and image.rgb(x + 399, y + 399) == WHITE:
                return x, y
    return None


def symbol(rgb):
    return {BLACK: "#", WHITE: ".", GRAY: "~"}.get(rgb, "?")


def main(argv):
    if argv[1] == "digest":
        print(hashlib.sha1(load(argv[2])[2]).hexdigest())
        return 0
    if argv[1] == "shift":
        before = open(argv[2]).read().split()
        after = open(argv[3]).read().split()
        width = len(before[0])
        for k in range(width // 2):
            if all(a[:width - k] == b[k:] for a, b in zip(after, before)):
                print(k)
                return 0
        return 1
    command, image = argv[1], Image(argv[2])
    numbers = [int(value) for value in argv[3:]]
    if command == "locate-default-map":
        found = locate_default_map(image)
        if not found:
            return 1
        print(*found)
    elif command == "cells":
        x0, y0, columns, rows = numbers
        for row in range(rows):
            print("".join(symbol(image.rgb(x0 + column * 8 + 4, y0 + row * 8 + 4))
                          for column in range(columns)))
    elif command == "client-extent":
        x0, y0 = numbers
        view = (WHITE, BLACK, GRAY)
        width = next(i for i in range(x0 + 404, image.width + 1)
                     if image.rgb(i, y0 + 404) not in view) - x0
        height = next(j for j in range(y0 + 404, image.height + 1)
                      if image.rgb(x0 + 404, j) not in view) - y0
        print(width, height)
    elif command == "dark-pixels":
        x, y, width, height = numbers
        print(sum(1 for j in range(y, y + height) for i in range(x, x + width)
                  if (image.rgb(i, j) or WHITE) < (96, 96, 96)))
    elif command == "uniform":
        x, y, width, height = numbers
        colours = {image.rgb(i, j) for j in range(y, y + height) for i in range(x, x + width)}
        print("%02X%02X%02X" % colours.pop() if len(colours) == 1 else "mixed")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
