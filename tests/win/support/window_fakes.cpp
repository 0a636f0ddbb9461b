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
  size_t size = sizeof(DROPFILES) + 1;
  for (const std::string& path : paths)
    size += path.size() + 1;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = FALSE;
  char* names = reinterpret_cast<char*>(drop) + sizeof(DROPFILES);
  for (const std::string& path : paths) {
    path.copy(names, path.size());
    names += path.size() + 1;
  }
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

}  // namespace botenruf::wintest
