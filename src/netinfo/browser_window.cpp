#include "netinfo/browser_window.h"

#include "text/text.h"

namespace botenruf {

std::string BrowserCaption(const std::string& title, const char* state) {
  return Format("\"%s\" (%s)", title.c_str(), state);
}

BrowserLayout ComputeBrowserLayout(int clientWidth, int clientHeight, Size button) {
  BrowserLayout layout;
  layout.list = {8, 23, clientWidth - 8 - 9, clientHeight - 23 - 33};
  layout.button = CentredAtBottom(clientWidth, clientHeight, button);
  return layout;
}

ColumnWidths FifthsOf(int clientWidth, int firstFifths) {
  const int fifth = clientWidth / 5;
  return {fifth * firstFifths, fifth * (5 - firstFifths)};
}

}  // namespace botenruf
