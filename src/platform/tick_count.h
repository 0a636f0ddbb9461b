// A 64-bit millisecond count built from the 32-bit tick count, for systems whose kernel has
// no GetTickCount64 (Windows XP).
#pragma once

#include <cstdint>

namespace botenruf {

// The 64-bit count for the 32-bit tick `now`, given the last 64-bit count handed out. A tick
// below the low half of `previous` means the 32-bit count wrapped (every 49.7 days).
uint64_t ExtendTickCount(uint64_t previous, uint32_t now);

}  // namespace botenruf
