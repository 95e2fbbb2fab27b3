// The two maps of the interrupted-save test: the pair on the disk holds the
// old one, the child process saves the new one over it. They differ in
// height, cells and name, so that any mixture of their files reads as
// neither.
#pragma once

#include "document/map_document.h"

inline MapDocument saveKillMap(bool newer) {
    const int width = 1000;
    const int height = newer ? 999 : 1000;
    MapDocument document;
    document.resizeGrid(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            document.setCell(x, y, ((x * 7 + y * 3) % (newer ? 5 : 3)) == 0 ? 1 : 0);
    document.setMapName(newer ? "new" : "old");
    return document;
}
