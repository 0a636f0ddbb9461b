// The send report's resize arithmetic, in pixels of the client area.
#pragma once

#include <vector>

#include "platform/geometry.h"

namespace botenruf {

struct ReportLayout {
  Rect heading;
  Rect filter;  // "Nur Fehlgeschlagene"
  Rect list;
  std::vector<Rect> buttons;
};

// The filter keeps its size at the top right, 9 pixels from the edge; the heading keeps its
// place and stretches up to 6 pixels before the filter; the list fills the rest as in the
// information windows; the buttons keep their sizes and stand in a row centred at the bottom,
// 3 pixels above it, 8 pixels apart.
// Small enough for a corner of the screen, wide enough for the row of buttons.
inline constexpr Size kReportMinimumTrackSize{360, 276};

// The columns share the list's width as it changes: station and name as wide as their longest
// text needs, up to three tenths of it each, the result the rest.
struct ReportColumnWidths {
  int station = 0;
  int name = 0;
  int result = 0;
};
ReportColumnWidths FitReportColumns(int space, int stationNeeds, int nameNeeds);

ReportLayout ComputeReportLayout(int clientWidth, int clientHeight, Rect heading, Rect filter,
                                 const std::vector<Size>& buttons);

}  // namespace botenruf
