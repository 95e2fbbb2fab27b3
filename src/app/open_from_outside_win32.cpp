#include "app/open_from_outside_win32.h"

#include <string>

#include "app/command_line.h"
#include "app/file_commands_win32.h"
#include "pair_files/pair_paths.h"

namespace {

bool isMapFile(const std::string& path) {
    return path.size() >= 4 && lstrcmpiA(path.c_str() + path.size() - 4, ".map") == 0;
}

}  // namespace

bool OpenCommandLineMap(HWND window, const char* commandLine, std::string& opened) {
    opened = MapPathFromCommandLine(commandLine ? commandLine : "");
    return !opened.empty() && OpenMapPath(window, opened, FileNameOf(opened));
}

bool OpenDroppedMap(HWND window, HDROP drop, std::string& opened) {
    std::string chosen;
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count && chosen.empty(); ++i) {
        char path[MAX_PATH] = {};
        if (DragQueryFileA(drop, i, path, MAX_PATH) && isMapFile(path)) chosen = path;
    }
    DragFinish(drop);
    opened = chosen;
    return !chosen.empty() && OpenMapPath(window, chosen, FileNameOf(chosen));
}
