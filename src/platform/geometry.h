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

// A line of text that keeps its place and margin on the left and takes the client's width,
// less the same margin on the right.
constexpr Rect StretchedAcross(int clientWidth, Rect line) {
  return {line.left, line.top, clientWidth - 2 * line.left, line.height};
}

// Where a dialog's closing button stands: centred, 3 pixels above the bottom edge.
constexpr Rect CentredAtBottom(int clientWidth, int clientHeight, Size button) {
  return {clientWidth / 2 - button.width / 2 - 1, clientHeight - 3 - button.height, button.width,
          button.height};
}

}  // namespace botenruf
