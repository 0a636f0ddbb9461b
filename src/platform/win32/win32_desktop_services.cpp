#include "platform/win32/win32_desktop_services.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "platform/win32/win32_services.h"
#include "platform/win32/win32_system.h"

namespace botenruf::win {

bool Win32Clipboard::SetText(NativeWindow owner, const std::string& text) {
  // Without an owner window EmptyClipboard leaves the clipboard ownerless and the data is
  // refused. Another program may hold the clipboard for a moment (one that reads it, a viewer).
  int attempts = 20;
  while (!OpenClipboard(static_cast<HWND>(owner))) {
    if (--attempts == 0)
      return false;
    Sleep(10);
  }
  bool stored = false;
  if (EmptyClipboard()) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (void* target = memory ? GlobalLock(memory) : nullptr) {
      std::memcpy(target, text.c_str(), text.size() + 1);
      GlobalUnlock(memory);
      stored = SetClipboardData(CF_TEXT, memory) != nullptr;
    }
    // The clipboard owns the memory only once it has taken it.
    if (!stored && memory)
      GlobalFree(memory);
  }
  CloseClipboard();
  return stored;
}

std::string Win32ProgramEnvironment::ProgramPath() {
  return Win32System().ModulePath();
}

std::string Win32ProgramEnvironment::FileVersion() {
  return ReadOwnFileVersion();
}

std::optional<std::string> Win32ProgramEnvironment::Variable(const std::string& name) {
  std::vector<char> value(256);
  for (;;) {
    const DWORD length =
        GetEnvironmentVariableA(name.c_str(), value.data(), static_cast<DWORD>(value.size()));
    if (length == 0)
      return std::nullopt;
    if (length < value.size())
      return std::string(value.data(), length);
    value.resize(length);  // the size needed, terminating zero included
  }
}

}  // namespace botenruf::win
