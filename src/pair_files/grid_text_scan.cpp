#include "pair_files/grid_text_scan.h"

namespace {

constexpr char END_OF_FILE_MARK = 0x1A;

}  // namespace

GridTextScan::GridTextScan(FILE* file) : file(file), block(GRID_TEXT_BLOCK_BYTES) {}

bool GridTextScan::readBlock() {
    while (!ended) {
        size = std::fread(block.data(), 1, block.size(), file);
        if (size == 0) {
            ended = true;
            readError = std::ferror(file) != 0;
            return false;
        }
        if (const void* mark = std::memchr(block.data(), END_OF_FILE_MARK, size)) {
            size = static_cast<size_t>(static_cast<const char*>(mark) - block.data());
            ended = true;
        }
        if (size > 0) return true;
    }
    return false;
}

bool GridTextScan::takeLineFeedAfterBlock() {
    const int next = std::fgetc(file);
    if (next == '\n') return true;
    if (next != EOF) std::ungetc(next, file);
    return false;
}
