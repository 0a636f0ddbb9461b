#include "platform/tick_count.h"

namespace botenruf {

uint64_t ExtendTickCount(uint64_t previous, uint32_t now) {
  uint64_t high = previous & ~uint64_t{0xFFFFFFFF};
  if (now < static_cast<uint32_t>(previous))
    high += uint64_t{1} << 32;
  return high | now;
}

}  // namespace botenruf
