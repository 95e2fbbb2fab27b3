// Writing whole files with every error checked: opening, writing, flushing
// and closing all count, so a full disk is a failure, not a silent success.
#pragma once

#include <string>
#include <string_view>

bool writeWholeFile(const std::string& path, std::string_view bytes);
