// Reads version blocks through the system's version functions.
#pragma once

#include <string>

#include "platform/version_block.h"

namespace botenruf::win {

// The block of the file at `path`. True when its fixed part (the two versions) could be
// read; whatever could not be read stays empty, also for a file without a version resource.
bool ReadVersionBlock(const std::string& path, VersionBlock& block);

// The running program file's own block, found by the module's full path: a file of the same
// name in the current directory or on the search path must not change what the program
// says about itself.
bool ReadOwnVersionBlock(VersionBlock& block);

}  // namespace botenruf::win
