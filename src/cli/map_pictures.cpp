#include "cli/map_pictures.h"

#include <algorithm>
#include <cstdint>

#include "cli/map_comparison.h"
#include "cli/png_writer.h"
#include "drawing/downscale.h"

namespace {

bool isTooLarge(std::uint64_t width, std::uint64_t height) {
    return width > MAX_PNG_SIDE || height > MAX_PNG_SIDE;
}

Failure tooLarge(const std::string& path, std::uint64_t width, std::uint64_t height) {
    return {FailureKind::WriteFailed, path, 0, 0,
            "the picture would be " + std::to_string(width) + " x " + std::to_string(height) +
                " pixels; a PNG can be at most " + std::to_string(MAX_PNG_SIDE) +
                " pixels wide and high (try a smaller --cell)"};
}

struct Rgb {
    std::uint8_t red, green, blue;
};
constexpr Rgb WHITE{255, 255, 255}, BLACK{0, 0, 0}, GREEN{0, 192, 0}, RED{224, 0, 0},
    GRAY{128, 128, 128};

}  // namespace

Result<void> RenderMapPng(const MapDocument& map, int cellSize, const std::string& path) {
    const auto [columns, rows] = map.gridSize();
    const std::uint64_t width = std::uint64_t(columns) * cellSize;
    const std::uint64_t height = std::uint64_t(rows) * cellSize;
    if (isTooLarge(width, height)) return tooLarge(path, width, height);
    // Each cell row is composed once; its other pixel rows repeat it.
    return WritePng(path, std::uint32_t(width), std::uint32_t(height), PngPixels::BlackOrWhite,
                    [&](std::uint32_t y, std::vector<std::uint8_t>& row) {
                        if (y % cellSize != 0) return;
                        const CellRow& cells = map.cells[y / cellSize];
                        std::fill(row.begin(), row.end(), 0);
                        for (std::uint64_t x = 0; x < width; ++x)
                            if (!cells[x / cellSize])  // white is bit 1
                                row[x / 8] |= std::uint8_t(0x80u >> (x % 8));
                    });
}

Result<void> RenderDifferencePng(const MapDocument& a, const MapDocument& b, int cellSize,
                                 const std::string& path) {
    const auto [aColumns, aRows] = a.gridSize();
    const auto [bColumns, bRows] = b.gridSize();
    const int columns = std::max(aColumns, bColumns), rows = std::max(aRows, bRows);
    const std::uint64_t width = std::uint64_t(columns) * cellSize;
    const std::uint64_t height = std::uint64_t(rows) * cellSize;
    if (isTooLarge(width, height)) return tooLarge(path, width, height);
    auto cellColor = [&](int x, int y) {
        const CellChange change = ChangeAt(RowsAt(a, b, size_t(y)), size_t(x));
        if (change == CellChange::SetOnlyInB) return GREEN;
        if (change == CellChange::SetOnlyInA) return RED;
        const bool insideBoth = x < aColumns && y < aRows && x < bColumns && y < bRows;
        if (!insideBoth) return GRAY;
        return change == CellChange::SetInBoth ? BLACK : WHITE;
    };
    return WritePng(path, std::uint32_t(width), std::uint32_t(height), PngPixels::Rgb,
                    [&](std::uint32_t y, std::vector<std::uint8_t>& row) {
                        if (y % cellSize != 0) return;
                        for (std::uint64_t x = 0; x < width; ++x) {
                            const Rgb color = cellColor(int(x / cellSize), int(y / cellSize));
                            row[x * 3] = color.red;
                            row[x * 3 + 1] = color.green;
                            row[x * 3 + 2] = color.blue;
                        }
                    });
}

Result<void> RenderThumbnailPng(const MapDocument& map, int longestSide, const std::string& path,
                                Thumbnail& made) {
    const auto [columns, rows] = map.gridSize();
    const DownScale scale = ScaleToFit(columns, rows, longestSide, longestSide);
    if (scale.cellsPerPixel == 1) {
        made = {columns * scale.pixelsPerCell, rows * scale.pixelsPerCell, 0};
        for (const CellRow& row : map.cells) made.setCells += std::count(row.begin(), row.end(), 1);
        return RenderMapPng(map, scale.pixelsPerCell, path);
    }
    const int k = scale.cellsPerPixel;
    const auto width = static_cast<std::uint32_t>((columns + k - 1) / k);
    const auto height = static_cast<std::uint32_t>((rows + k - 1) / k);
    made = {int(width), int(height), 0};
    std::vector<std::uint32_t> setCells(width);
    return WritePng(path, width, height, PngPixels::BlackOrWhite,
                    [&](std::uint32_t y, std::vector<std::uint8_t>& row) {
                        std::fill(setCells.begin(), setCells.end(), 0);
                        const int firstRow = int(y) * k;
                        for (int r = firstRow; r < std::min(firstRow + k, rows); ++r)
                            made.setCells +=
                                CountSetCellsByPixel(map.cells[r], columns, k, setCells.data());
                        std::fill(row.begin(), row.end(), 0);
                        for (std::uint32_t x = 0; x < width; ++x)
                            if (!IsDarkPixel(setCells[x]))
                                row[x / 8] |= std::uint8_t(0x80u >> (x % 8));
                    });
}
