// The pictures of kalmia-cli: a map as the editor draws its grid, and the
// difference of two maps.
#pragma once

#include <optional>
#include <string>

#include "document/map_document.h"

// Clear cells white, set cells black, `cellSize` pixels a side, nothing
// around the grid. Nothing on success, otherwise why not.
std::optional<std::string> RenderMapPng(const MapDocument& map, int cellSize,
                                        const std::string& path);

// B with the changes from A marked: cells set only in B green, cells set only
// in A red, the rest as the editor shows B, and the area outside either
// map's size gray.
std::optional<std::string> RenderDifferencePng(const MapDocument& a, const MapDocument& b,
                                               int cellSize, const std::string& path);
