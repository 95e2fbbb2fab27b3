// Maps and files of the benchmark sizes, made once per process.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>

#include "document/edit_history.h"
#include "document/map_document.h"
#include "pair_files/map_file_pair.h"

constexpr int FRAME_WIDTH = 1920;
constexpr int FRAME_HEIGHT = 1080;

// A square map of the given edge with about a third of the cells set.
inline const MapDocument& BenchmarkMap(int edge) {
    static std::map<int, MapDocument> maps;
    auto found = maps.find(edge);
    if (found != maps.end()) return found->second;
    MapDocument& document = maps[edge];
    document.resizeGrid(edge, edge);
    std::mt19937 random(edge);
    for (CellRow& row : document.cells)
        for (auto& cell : row) cell = random() % 3 == 0;
    return document;
}

// A written pair of that map, in the given folder.
inline std::string BenchmarkPair(const std::string& folder, int edge) {
    const std::string path = folder + "/bench" + std::to_string(edge) + ".map";
    static std::map<std::string, bool> written;
    if (!written[path]) {
        if (!WriteMapFilePairFiles(path, BenchmarkMap(edge))) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            std::abort();
        }
        written[path] = true;
    }
    return path;
}

// A step that changed every cell of an edge × edge map: every bit is set.
inline EditStep WholeMapStep(int edge) {
    const CellGrid allSet(edge, CellRow(edge, 1));
    EditStep step;
    step.cells = DroppedCells(allSet, 0, 0);
    return step;
}
