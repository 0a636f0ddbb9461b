// What the three browser windows (list check, domain, shares) have in common: their caption
// texts, their resize layout and the widths of their two columns.
#pragma once

#include <string>

#include "platform/geometry.h"

namespace botenruf {

inline constexpr const char* kStateSearching = "Suche";
inline constexpr const char* kStateFinished = "Fertig";
inline constexpr const char* kStateAborting = "Abbruch...";

// "\"%s\" (%s)" with the window's title and its state.
std::string BrowserCaption(const std::string& title, const char* state);

struct BrowserLayout {
  Rect list;
  Rect button;  // "Beenden" / "OK"
};
// The list fills the client area less 8 pixels left, 23 top, 9 right and 33 bottom; the
// button keeps its size, centred, its bottom 3 pixels above the client bottom.
BrowserLayout ComputeBrowserLayout(int clientWidth, int clientHeight, Size button);

inline constexpr Size kBrowserMinimumTrackSize{282, 276};

// The two columns share the list's client width in fifths (integer division first).
struct ColumnWidths {
  int first = 0;
  int second = 0;
};
ColumnWidths FifthsOf(int clientWidth, int firstFifths);

}  // namespace botenruf
