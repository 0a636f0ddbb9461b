#include "about/text_viewer.h"

#include <algorithm>

namespace botenruf {

std::string ViewerBody(const std::vector<std::string>& lines) {
  std::string body;
  for (const std::string& line : lines) {
    body += line;
    body += "\r\n";
  }
  return body;
}

ViewerLayout ComputeViewerLayout(int clientWidth, int clientHeight, Size okButton) {
  ViewerLayout layout;
  layout.text = {5, 11, std::max(0, clientWidth - 13), std::max(0, clientHeight - 42)};
  layout.ok = CentredAtBottom(clientWidth, clientHeight, okButton);
  return layout;
}

}  // namespace botenruf
