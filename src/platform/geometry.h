// Rectangles and sizes in pixels, for the windows' portable layout arithmetic.
#pragma once

namespace botenruf {

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Rect&) const = default;
};

struct Size {
  int width = 0;
  int height = 0;
};

}  // namespace botenruf
