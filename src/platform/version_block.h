// The version block of a program file: what the About box, the list file and the update
// check read of it. Values that cannot be read stay empty.
#pragma once

#include <cstdint>
#include <string>

namespace botenruf {

struct VersionBlock {
  std::string fileVersion;     // "%d.%d.%d.%d"
  std::string productVersion;  // "%d.%d.%d.%d"
  std::string comments;        // "Comments" of the German string block 040704B0
  std::string legalNotice;     // "LegalCopyright" of that block

  bool operator==(const VersionBlock&) const = default;
};

// "%d.%d.%d.%d" of a fixed version: the high and low word of its most significant half,
// then those of its least significant half.
std::string FormatVersion(uint32_t mostSignificant, uint32_t leastSignificant);

}  // namespace botenruf
