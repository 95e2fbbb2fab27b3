// The commands of kalmia-cli. Each returns the exit status as the README
// documents it: 0 success; 1 a refused pair (check, info, render, convert's
// IN) or, for diff, two maps that differ; 2 a file that could not be written,
// or, for diff, a refused pair.
#pragma once

#include <string>
#include <vector>

int RunCheck(const std::vector<std::string>& mapPaths, bool json, bool strict);
int RunInfo(const std::string& mapPath, bool json);
int RunRender(const std::string& mapPath, const std::string& pngPath, int cellSize);
int RunDiff(const std::string& aPath, const std::string& bPath, bool json,
            const std::string& pngPath, int cellSize);
int RunConvert(const std::string& inPath, const std::string& outPath);
