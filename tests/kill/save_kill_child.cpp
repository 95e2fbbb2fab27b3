// The process that the interrupted-save test kills: it saves the new map over
// the pair named on its command line and writes each step it reaches as one
// byte to its standard output. Given a step number, it stops itself there
// (SIGSTOP) so that the test can kill it exactly at that moment.
#include <signal.h>
#include <unistd.h>

#include <cstdlib>

#include "kill/save_kill_maps.h"
#include "pair_files/map_file_pair.h"

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const int stopAt = argc > 2 ? std::atoi(argv[2]) : -1;
    const MapDocument document = saveKillMap(true);
    const auto outcome = WriteMapFilePairFiles(argv[1], document, [&](SaveStep step) {
        const char reached = static_cast<char>(step);
        if (write(STDOUT_FILENO, &reached, 1) != 1) std::abort();
        if (static_cast<int>(step) == stopAt) raise(SIGSTOP);
    });
    return outcome ? 0 : 1;
}
