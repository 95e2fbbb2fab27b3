#include "cli/map_pictures.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "cli/map_comparison.h"
#include "cli/png_writer.h"
#include "document/cell_chunks.h"
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

// The palette of the difference picture.
enum DifferenceColor : std::uint8_t { WHITE, BLACK, GREEN, RED, GRAY };
const std::vector<PngColor> DIFFERENCE_PALETTE = {
    {255, 255, 255}, {0, 0, 0}, {0, 192, 0}, {224, 0, 0}, {128, 128, 128}};

// Eight cells (bytes of 0 and 1) as eight pixels of one byte, the first the
// highest bit, white (1) where a cell is clear.
std::uint8_t whiteBitsOf(const std::uint8_t* cells) {
    std::uint64_t word;
    std::memcpy(&word, cells, 8);
    return static_cast<std::uint8_t>(~((word * 0x8040201008040201ULL) >> 56));
}

// The pixels of a cell row, `cellSize` a cell; rows below it repeat it.
void composeMapRow(const std::uint8_t* cells, size_t columns, int cellSize,
                   std::vector<std::uint8_t>& row) {
    size_t x = 0;
    if (cellSize == 1)
        for (; x + 8 <= columns; x += 8) row[x / 8] = whiteBitsOf(cells + x);
    std::fill(row.begin() + static_cast<std::ptrdiff_t>(x * cellSize / 8), row.end(), 0);
    for (size_t pixel = x * cellSize; pixel < columns * cellSize; ++pixel)
        if (!cells[pixel / cellSize]) row[pixel / 8] |= std::uint8_t(0x80u >> (pixel % 8));
}

DifferenceColor colorAt(const RowPair& rows, size_t x, bool insideBoth) {
    switch (ChangeAt(rows, x)) {
        case CellChange::SetOnlyInB:
            return GREEN;
        case CellChange::SetOnlyInA:
            return RED;
        case CellChange::SetInBoth:
            return insideBoth ? BLACK : GRAY;
        case CellChange::ClearInBoth:
            break;
    }
    return insideBoth ? WHITE : GRAY;
}

}  // namespace

Result<void> WriteMapPng(int columns, int rows, int cellSize, const std::string& path,
                         const CellRowSource& nextRow) {
    const std::uint64_t width = std::uint64_t(columns) * cellSize;
    const std::uint64_t height = std::uint64_t(rows) * cellSize;
    if (isTooLarge(width, height)) return tooLarge(path, width, height);
    // Each cell row is composed once; its other pixel rows repeat it.
    return WritePng(path, std::uint32_t(width), std::uint32_t(height), PngPixels::BlackOrWhite,
                    [&](std::uint32_t y, std::vector<std::uint8_t>& row) {
                        if (y % cellSize != 0) return true;
                        const std::uint8_t* cells = nextRow();
                        if (cells) composeMapRow(cells, size_t(columns), cellSize, row);
                        return cells != nullptr;
                    });
}

DifferencePicture::DifferencePicture(const MapParameters& a, const MapParameters& b, int cellSize)
    : cellSize(cellSize),
      columns(std::max(a.x, b.x)),
      rows(std::max(a.y, b.y)),
      commonColumns(std::min(a.x, b.x)),
      commonRows(std::min(a.y, b.y)) {}

namespace {

// Inside both maps a cell's color follows from its two states alone:
// clear in both white, set in both black, set only in A red, only in B green.
constexpr std::uint8_t INSIDE_COLOR[4] = {WHITE, GREEN, RED, BLACK};  // index: A × 2 + B

// Neighbouring cells inside both maps as one byte of 8 / bits pixels.
std::uint8_t insidePixels(const RowPair& rows, size_t x, int bits) {
    std::uint8_t byte = 0;
    for (int i = 0; i < 8 / bits; ++i)
        byte = std::uint8_t(byte << bits | INSIDE_COLOR[rows.inA[x + i] * 2 + rows.inB[x + i]]);
    return byte;
}

}  // namespace

// Where both maps have one size there is no gray, and two bits a pixel do.
int DifferencePicture::bits() const {
    return columns == commonColumns && rows == commonRows ? 2 : 4;
}

void DifferencePicture::composeRow(const RowPair& pair, int cellRow,
                                   std::vector<std::uint8_t>& row) const {
    const bool rowInsideBoth = cellRow < commonRows;
    const int bits = this->bits(), perByte = 8 / bits;
    size_t x = 0;
    if (cellSize == 1 && rowInsideBoth)  // whole bytes straight from the cells
        for (; x + perByte <= size_t(commonColumns); x += perByte)
            row[x / perByte] = insidePixels(pair, x, bits);
    for (size_t pixel = x * cellSize; pixel < size_t(columns) * cellSize; ++pixel) {
        const size_t cell = pixel / cellSize;
        const auto color = colorAt(pair, cell, rowInsideBoth && cell < size_t(commonColumns));
        const int shift = 8 - bits * int(pixel % perByte + 1);
        std::uint8_t& byte = row[pixel / perByte];
        byte = std::uint8_t((byte & ~(((1 << bits) - 1) << shift)) | color << shift);
    }
}

Result<void> DifferencePicture::write(const std::string& path, const RowPairSource& nextRows) {
    const std::uint64_t width = std::uint64_t(columns) * cellSize;
    const std::uint64_t height = std::uint64_t(rows) * cellSize;
    if (isTooLarge(width, height)) return tooLarge(path, width, height);
    return WritePng(
        path, std::uint32_t(width), std::uint32_t(height), PngPixels::Indexed,
        [&](std::uint32_t y, std::vector<std::uint8_t>& row) {
            if (y % cellSize != 0) return true;
            const std::optional<RowPair> pair = nextRows();
            if (pair) composeRow(*pair, int(y / cellSize), row);
            return pair.has_value();
        },
        bits() == 2
            ? std::vector<PngColor>(DIFFERENCE_PALETTE.begin(), DIFFERENCE_PALETTE.begin() + 4)
            : DIFFERENCE_PALETTE);
}

Result<void> RenderThumbnailPng(int columns, int rows, int longestSide, const std::string& path,
                                const CellRowSource& nextRow, Thumbnail& made) {
    const DownScale scale = ScaleToFit(columns, rows, longestSide, longestSide);
    if (scale.cellsPerPixel == 1) {
        made = {columns * scale.pixelsPerCell, rows * scale.pixelsPerCell, 0};
        return WriteMapPng(columns, rows, scale.pixelsPerCell, path, [&] {
            const std::uint8_t* cells = nextRow();
            if (cells) made.setCells += CountSetBytes(cells, size_t(columns));
            return cells;
        });
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
                        for (int r = firstRow; r < std::min(firstRow + k, rows); ++r) {
                            const std::uint8_t* cells = nextRow();
                            if (!cells) return false;
                            made.setCells +=
                                CountSetCellsByPixel(cells, columns, k, setCells.data());
                        }
                        std::fill(row.begin(), row.end(), 0);
                        for (std::uint32_t x = 0; x < width; ++x)
                            if (!IsDarkPixel(setCells[x]))
                                row[x / 8] |= std::uint8_t(0x80u >> (x % 8));
                        return true;
                    });
}
