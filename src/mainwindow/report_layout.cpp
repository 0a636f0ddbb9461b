#include "mainwindow/report_layout.h"

#include <algorithm>

namespace botenruf {

ReportLayout ComputeReportLayout(int clientWidth, int clientHeight, Rect heading, Rect filter,
                                 const std::vector<Size>& buttons) {
  constexpr int kGap = 8;
  ReportLayout layout;
  layout.filter = {clientWidth - 9 - filter.width, filter.top, filter.width, filter.height};
  layout.heading = {heading.left, heading.top, layout.filter.left - 6 - heading.left,
                    heading.height};
  layout.list = {8, 23, clientWidth - 8 - 9, clientHeight - 23 - 33};
  int rowWidth = 0;
  for (const Size& button : buttons)
    rowWidth += button.width + (rowWidth > 0 ? kGap : 0);
  int left = clientWidth / 2 - rowWidth / 2;
  for (const Size& button : buttons) {
    layout.buttons.push_back({left, clientHeight - 3 - button.height, button.width, button.height});
    left += button.width + kGap;
  }
  return layout;
}

ReportColumnWidths FitReportColumns(int space, int stationNeeds, int nameNeeds) {
  ReportColumnWidths widths;
  widths.station = std::min(stationNeeds, space * 3 / 10);
  widths.name = std::min(nameNeeds, space * 3 / 10);
  widths.result = space - widths.station - widths.name;
  return widths;
}

}  // namespace botenruf
