// The map path on kalmia.exe's command line: `kalmia.exe PATH`, PATH in
// double quotes when it holds blanks (as Explorer passes "%1"). Without
// quotes the whole rest of the line is the path, blanks included.
#pragma once

#include <string>

std::string MapPathFromCommandLine(const std::string& commandLine);
