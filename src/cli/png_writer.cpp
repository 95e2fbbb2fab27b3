#include "cli/png_writer.h"

#include <png.h>

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

size_t rowBytes(std::uint32_t width, PngPixels pixels) {
    return pixels == PngPixels::Rgb ? static_cast<size_t>(width) * 3 : (width + 7u) / 8u;
}

// Everything between png_create_write_struct and png_destroy_write_struct,
// apart from any C++ object with a destructor, since an error jumps out.
bool writeRows(png_structp png, png_infop info, FILE* file, std::uint32_t width,
               std::uint32_t height, PngPixels pixels, const PngRowSource& fillRow,
               std::vector<std::uint8_t>& row) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_init_io(png, file);
    const bool rgb = pixels == PngPixels::Rgb;
    png_set_IHDR(png, info, width, height, rgb ? 8 : 1,
                 rgb ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (std::uint32_t y = 0; y < height; ++y) {
        fillRow(y, row);
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    return true;
}

}  // namespace

Result<void> WritePng(const std::string& path, std::uint32_t width, std::uint32_t height,
                      PngPixels pixels, const PngRowSource& fillRow) {
    auto failure = [&](std::string reason) {
        return Failure{FailureKind::WriteFailed, path, 0, 0, std::move(reason)};
    };
    if (width == 0 || height == 0 || width > MAX_PNG_SIDE || height > MAX_PNG_SIDE)
        return failure("a PNG must be from 1 to " + std::to_string(MAX_PNG_SIDE) +
                       " pixels wide and high");
    std::vector<std::uint8_t> row(rowBytes(width, pixels));
    PngErrors errors;
    const Result<void> written = ReplaceFileWith(path, [&](FILE* file) {
        png_structp png =
            png_create_write_struct(PNG_LIBPNG_VER_STRING, &errors, onPngError, onPngWarning);
        png_infop info = png ? png_create_info_struct(png) : nullptr;
        const bool done = info && writeRows(png, info, file, width, height, pixels, fillRow, row);
        png_destroy_write_struct(&png, &info);
        return done;
    });
    if (written) return {};
    if (errors.message.empty()) return written;
    return failure(errors.message);
}
