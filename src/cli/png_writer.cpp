#include "cli/png_writer.h"

#include <png.h>
#include <zlib.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "system/file_system.h"

namespace {

// libpng reports errors by calling this and expects it never to return: it
// jumps back to the setjmp in WritePng, with the message kept here.
struct PngErrors {
    std::string message;
};

void onPngError(png_structp png, png_const_charp message) {
    static_cast<PngErrors*>(png_get_error_ptr(png))->message = message;
    png_longjmp(png, 1);
}

void onPngWarning(png_structp, png_const_charp) {}

int bitsPerPixel(PngPixels pixels, size_t colors) {
    return pixels == PngPixels::BlackOrWhite ? 1 : colors <= 4 ? 2 : 4;
}

size_t rowBytes(std::uint32_t width, int bits) { return (size_t(width) * bits + 7u) / 8u; }

// Everything between png_create_write_struct and png_destroy_write_struct,
// apart from any C++ object with a destructor, since an error jumps out.
bool writeRows(png_structp png, png_infop info, FILE* file, std::uint32_t width,
               std::uint32_t height, PngPixels pixels, const PngRowSource& fillRow,
               const std::vector<png_color>& palette, std::vector<std::uint8_t>& row) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_init_io(png, file);
    const bool indexed = pixels == PngPixels::Indexed;
    png_set_IHDR(png, info, width, height, bitsPerPixel(pixels, palette.size()),
                 indexed ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (indexed) png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    png_set_compression_level(png, 1);
    png_set_compression_strategy(png, Z_RLE);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_write_info(png, info);
    for (std::uint32_t y = 0; y < height; ++y) {
        if (!fillRow(y, row)) return false;
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    return true;
}

}  // namespace

Result<void> WritePng(const std::string& path, std::uint32_t width, std::uint32_t height,
                      PngPixels pixels, const PngRowSource& fillRow,
                      const std::vector<PngColor>& palette) {
    auto failure = [&](std::string reason) {
        return Failure{FailureKind::WriteFailed, path, 0, 0, std::move(reason)};
    };
    if (width == 0 || height == 0 || width > MAX_PNG_SIDE || height > MAX_PNG_SIDE)
        return failure("a PNG must be from 1 to " + std::to_string(MAX_PNG_SIDE) +
                       " pixels wide and high");
    std::vector<std::uint8_t> row(rowBytes(width, bitsPerPixel(pixels, palette.size())));
    std::vector<png_color> colors;
    for (const PngColor& color : palette) colors.push_back({color.red, color.green, color.blue});
    PngErrors errors;
    const Result<void> written = ReplaceFileWith(
        path,
        [&](FILE* file) {
            png_structp png =
                png_create_write_struct(PNG_LIBPNG_VER_STRING, &errors, onPngError, onPngWarning);
            png_infop info = png ? png_create_info_struct(png) : nullptr;
            const bool done =
                info && writeRows(png, info, file, width, height, pixels, fillRow, colors, row);
            png_destroy_write_struct(&png, &info);
            return done;
        },
        Durability::Written);
    if (written) return {};
    if (errors.message.empty()) return written;
    return failure(errors.message);
}
