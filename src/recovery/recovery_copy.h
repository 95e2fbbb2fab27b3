// A recovery copy: one map at one bit a cell, in a file of its own, whole or
// absent. Written beside its place, flushed and renamed in; read back only
// where every byte is as written (a hash closes the file).
#pragma once

#include <string>

#include "recovery/packed_map.h"
#include "system/failure.h"

Result<void> WriteRecoveryCopy(const std::string& path, const PackedMap& map);

// The map a copy holds; NotWellFormed, with what is wrong, for a copy that
// is damaged, cut short or of another format.
Result<PackedMap> ReadRecoveryCopy(const std::string& path);
