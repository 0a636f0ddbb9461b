// The main window's resize arithmetic, in pixels of the client area.
#pragma once

#include "platform/geometry.h"

namespace botenruf {

struct MainLayout {
  Rect group;   // 1046
  Rect editor;  // 1001
  Rect send;    // 1052
  Rect clear;   // 1040
  Rect end;     // 2 "Beenden"
};

// Group box and editor follow the client size; the three buttons keep their sizes and sit
// centred at the bottom ("Löschen" in the middle; the gaps depend on the buttons' widths).
MainLayout ComputeMainLayout(int clientWidth, int clientHeight, Size send, Size clear, Size end);

// Smallest outer size the user can drag the window to.
inline constexpr Size kMinimumTrackSize{360, 342};
// "Urgrösse": the outer size the window returns to.
inline constexpr Size kOriginalSize{352, 296};

// "Urgrösse" does nothing for a minimised or maximised window (show states 2, 3 and 6).
bool CanRestoreOriginalSize(unsigned showCommand);

}  // namespace botenruf
