// The resizable text viewer ("Versions-Info", "Listen-Info"): its text and its layout in
// client pixels.
#pragma once

#include <string>
#include <vector>

#include "platform/geometry.h"

namespace botenruf {

// Every line followed by CR LF.
std::string ViewerBody(const std::vector<std::string>& lines);

struct ViewerLayout {
  Rect text;  // edit 1011
  Rect ok;    // button 1
};

// The text area starts at (5, 11) and leaves 8 pixels on the right and 31 below; the OK
// button keeps its size, sits centred (integer halves, one pixel left of the middle) and
// 3 pixels above the bottom edge. Sizes never go below zero.
ViewerLayout ComputeViewerLayout(int clientWidth, int clientHeight, Size okButton);

// Smallest outer size the user can drag the viewer to: its size as it opens.
inline constexpr Size kViewerMinimumTrackSize{365, 233};

}  // namespace botenruf
