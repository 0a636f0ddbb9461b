#include "platform/version_block.h"

#include <cstdio>

namespace botenruf {

std::string FormatVersion(uint32_t mostSignificant, uint32_t leastSignificant) {
  char text[48];
  std::snprintf(text, sizeof(text), "%d.%d.%d.%d", static_cast<int>(mostSignificant >> 16),
                static_cast<int>(mostSignificant & 0xFFFF),
                static_cast<int>(leastSignificant >> 16),
                static_cast<int>(leastSignificant & 0xFFFF));
  return text;
}

}  // namespace botenruf
