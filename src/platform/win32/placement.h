// Putting a resizable window's controls where its layout arithmetic says.
#pragma once

#include <windows.h>

#include "platform/geometry.h"

namespace botenruf::win {

// The outer size of a control.
inline Size ControlSize(HWND control) {
  RECT rect = {};
  GetWindowRect(control, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

// Where a control stands in its window's client area.
inline Rect PlaceInParent(HWND control) {
  RECT rect = {};
  GetWindowRect(control, &rect);
  POINT topLeft = {rect.left, rect.top};
  ScreenToClient(GetParent(control), &topLeft);
  return {topLeft.x, topLeft.y, rect.right - rect.left, rect.bottom - rect.top};
}

// Moves a control to a rectangle of its window's client area and repaints it.
inline void Place(HWND control, const Rect& rect) {
  MoveWindow(control, rect.left, rect.top, rect.width, rect.height, TRUE);
}

// The answer to WM_GETMINMAXINFO of a window that may not be dragged smaller than `size`.
inline LRESULT KeepMinimumTrackSize(LPARAM minMaxInfo, Size size) {
  auto* info = reinterpret_cast<MINMAXINFO*>(minMaxInfo);
  info->ptMinTrackSize.x = size.width;
  info->ptMinTrackSize.y = size.height;
  return 0;
}

}  // namespace botenruf::win
