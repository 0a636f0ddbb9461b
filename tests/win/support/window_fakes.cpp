#include "support/window_fakes.h"

#include <shellapi.h>
#include <shlobj.h>

namespace botenruf::wintest {

bool ShellIcon(HWND window, unsigned id, DWORD message) {
  NOTIFYICONDATAA data = {};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = window;
  data.uID = id;
  return Shell_NotifyIconA(message, &data) != 0;
}

HDROP MakeDrop(const std::vector<std::string>& paths) {
  std::string names;
  for (const std::string& path : paths)
    names += path + '\0';
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + names.size() + 1);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);  // ANSI names follow, each ended by a zero, and one more
  names.copy(reinterpret_cast<char*>(drop + 1), names.size());
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

}  // namespace botenruf::wintest
