// The commands of kalmia-cli that read map file pairs. Each computes its
// result, prints it with the printer of the format asked for, and returns
// its exit status (cli/exit_status.h): check, info, render and convert give
// No for a refused pair; diff gives No for two maps that differ and
// NotAnswered for a refused pair, since it then cannot compare; a file not
// written is NotAnswered.
#pragma once

#include <string>
#include <vector>

#include "cli/exit_status.h"

ExitStatus RunCheck(const std::vector<std::string>& mapPaths, bool json, bool strict);
ExitStatus RunInfo(const std::string& mapPath, bool json);
ExitStatus RunRender(const std::string& mapPath, const std::string& pngPath, int cellSize);
ExitStatus RunDiff(const std::string& aPath, const std::string& bPath, bool json,
                   const std::string& pngPath, int cellSize);
ExitStatus RunConvert(const std::string& inPath, const std::string& outPath);
