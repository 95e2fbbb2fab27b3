#include "app/command_line.h"

std::string MapPathFromCommandLine(const std::string& commandLine) {
    const size_t first = commandLine.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    if (commandLine[first] == '"') {
        const size_t closing = commandLine.find('"', first + 1);
        return commandLine.substr(
            first + 1, closing == std::string::npos ? std::string::npos : closing - first - 1);
    }
    const size_t last = commandLine.find_last_not_of(" \t");
    return commandLine.substr(first, last - first + 1);
}
