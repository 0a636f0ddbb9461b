// The 64-bit tick count that stands in for GetTickCount64 on Windows XP.
#include <gtest/gtest.h>

#include "platform/tick_count.h"

namespace botenruf {
namespace {

TEST(ExtendTickCount, CountsOnAcrossTheWrapOfTheTickCount) {
  const struct {
    uint64_t previous;
    uint32_t now;
    uint64_t expected;
  } cases[] = {
      {0, 5, 5},
      {100, 150, 150},
      {0x100000010, 0x10, 0x100000010},  // the same tick again
      {0xFFFFFFF0, 0x10, 0x100000010},   // the first wrap
      {0x1FFFFFFF0, 0x20, 0x200000020},  // a later one
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.previous);
    EXPECT_EQ(ExtendTickCount(c.previous, c.now), c.expected);
  }
}

}  // namespace
}  // namespace botenruf
