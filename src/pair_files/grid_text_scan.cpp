#include "pair_files/grid_text_scan.h"

#include <algorithm>

namespace {

constexpr char END_OF_FILE_MARK = 0x1A;

}  // namespace

GridTextScan::GridTextScan(FILE* file) : file(file), block(GRID_TEXT_BLOCK_BYTES) {
    blockData = block.data();
}

GridTextScan::GridTextScan(std::string_view text) : text(text) {}

bool GridTextScan::readBlock() {
    if (!file) {
        if (ended || textTaken >= text.size()) return ended = true, false;
        blockData = text.data() + textTaken;
        size = std::min(GRID_TEXT_BLOCK_BYTES, text.size() - textTaken);
        textTaken += size;
        if (const void* mark = std::memchr(blockData, END_OF_FILE_MARK, size)) {
            size = static_cast<size_t>(static_cast<const char*>(mark) - blockData);
            ended = true;
        }
        return size > 0;
    }
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
    if (!file) {
        if (textTaken >= text.size() || text[textTaken] != '\n') return false;
        ++textTaken;
        return true;
    }
    const int next = std::fgetc(file);
    if (next == '\n') return true;
    if (next != EOF) std::ungetc(next, file);
    return false;
}

void GridLines::characters(const char* begin, size_t count) {
    if (!inLine) current = {static_cast<size_t>(begin - text.data()), 0, false};
    inLine = true;
    current.length += count;
}

void GridLines::lineEnd() {
    if (!inLine) current = {0, 0, false};
    current.ended = true;
    ready.push_back(current);
    inLine = false;
}

bool GridLines::next(GridLine& line) {
    while (ready.empty() && scan.scanNextBlock(*this)) {
    }
    if (ready.empty() && inLine) lineEnd(), ready.back().ended = false;  // the last line, unended
    if (ready.empty()) return false;
    line = ready.front();
    ready.pop_front();
    return true;
}
