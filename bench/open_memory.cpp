// Peak memory of opening a pair over the default map: prints the peak resident
// size before and after the Open, in bytes.
#include <sys/resource.h>

#include <cstdio>

#include "pair_files/map_file_pair.h"

namespace {

long long peakResidentBytes() {
    rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<long long>(usage.ru_maxrss) * 1024;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kalmia_open_memory MAP_PATH\n");
        return 2;
    }
    const long long before = peakResidentBytes();
    if (!ReadMapFilePair(argv[1], currentMap)) {
        std::fprintf(stderr, "open failed\n");
        return 1;
    }
    const auto [width, height] = currentMap.gridSize();
    std::printf("%lld %lld %lld\n", before, peakResidentBytes(),
                static_cast<long long>(width) * height);
    return 0;
}
