// The message editor (control 1001): takes one dropped file for its owner and shows the
// program's own cursor.
#pragma once

#include <windows.h>

#include <string>

namespace botenruf::win {

class MessageEditor {
 public:
  // Subclasses the edit control; dropped files are announced to `owner` with 0x8004.
  void Attach(HWND edit, HWND owner);
  // The file dropped last; false when there is none.
  bool TakeDroppedPath(std::string& path);

 private:
  static LRESULT CALLBACK EditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);
  void OnDropFiles(HDROP drop);

  HWND edit_ = nullptr;
  HWND owner_ = nullptr;
  WNDPROC original_ = nullptr;
  std::string droppedPath_;
};

}  // namespace botenruf::win
