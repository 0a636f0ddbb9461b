#include "mainwindow/layout.h"

namespace botenruf {

MainLayout ComputeMainLayout(int clientWidth, int clientHeight, Size send, Size clear, Size end) {
  const int w = clientWidth;
  const int h = clientHeight;
  MainLayout layout;
  layout.group = {11, 7, w - 22, h - 52};
  layout.editor = {26, 68, w - 53, h - 120};
  layout.clear = {w / 2 - clear.width / 2 - 2, h - 10 - clear.height, clear.width, clear.height};
  layout.send = {layout.clear.left + 51 - 2 * send.width, h - 10 - send.height, send.width,
                 send.height};
  const int clearRight = layout.clear.left + layout.clear.width;
  layout.end = {clearRight + end.width - 51, h - 10 - end.height, end.width, end.height};
  return layout;
}

bool CanRestoreOriginalSize(unsigned showCommand) {
  return showCommand != 2 && showCommand != 3 && showCommand != 6;
}

}  // namespace botenruf
