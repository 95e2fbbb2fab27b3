// Reads a file's characters in large blocks, as Windows text mode delivers
// them: CR LF becomes one line feed, 0x1A ends the file.
#pragma once

#include <cstdio>
#include <vector>

class GridTextReader {
  public:
    explicit GridTextReader(FILE* file) : file(file), buffer(1 << 16) {}

    // The next character, or EOF at the end of the file (or at 0x1A).
    int next() {
        if (at == filled && !refill()) return EOF;
        const unsigned char c = buffer[at++];
        if (c == 0x1A) {
            ended = true;
            at = filled;
            return EOF;
        }
        if (c != '\r') return c;
        if (at == filled && !refill()) return '\r';
        if (buffer[at] == '\n') {
            ++at;
            return '\n';
        }
        return '\r';
    }

    bool failed() const { return readError; }

  private:
    bool refill() {
        if (ended) return false;
        filled = std::fread(buffer.data(), 1, buffer.size(), file);
        at = 0;
        if (filled == 0) {
            ended = true;
            readError = std::ferror(file) != 0;
        }
        return filled > 0;
    }

    FILE* file;
    std::vector<unsigned char> buffer;
    size_t at = 0;
    size_t filled = 0;
    bool ended = false;
    bool readError = false;
};
