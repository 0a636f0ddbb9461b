#include "platform/win32/win32_shell.h"

#include <windows.h>

#include <commdlg.h>
#include <shellapi.h>

#include <vector>

namespace botenruf::win {
namespace {

// "A|b||" becomes "A\0b\0\0" as the dialogs want it.
std::vector<char> DialogFilter(const std::string& filter) {
  std::vector<char> result(filter.begin(), filter.end());
  for (char& c : result) {
    if (c == '|')
      c = '\0';
  }
  result.push_back('\0');
  result.push_back('\0');
  return result;
}

bool RunFileDialog(bool save, NativeWindow owner, const FileDialogRequest& request,
                   std::string& path) {
  std::vector<char> file(MAX_PATH, '\0');
  request.initialFile.copy(file.data(), file.size() - 1);
  const std::vector<char> filter = DialogFilter(request.filter);
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = static_cast<HWND>(owner);
  dialog.lpstrFilter = filter.data();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrDefExt =
      request.defaultExtension.empty() ? nullptr : request.defaultExtension.c_str();
  dialog.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_EXPLORER;
  const BOOL chosen = save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
  if (!chosen)
    return false;
  path = file.data();
  return true;
}

}  // namespace

bool Win32FileDialogs::ChooseFileToOpen(NativeWindow owner, const FileDialogRequest& request,
                                        std::string& path) {
  return RunFileDialog(false, owner, request, path);
}

bool Win32FileDialogs::ChooseFileToSave(NativeWindow owner, const FileDialogRequest& request,
                                        std::string& path) {
  return RunFileDialog(true, owner, request, path);
}

bool Win32NotifyIcon::Add(NativeWindow window, unsigned id, unsigned callbackMessage, void* icon,
                          const std::string& tip) {
  // The record of the first shell version (88 bytes), which every shell accepts.
  NOTIFYICONDATAA data = {};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = static_cast<HWND>(window);
  data.uID = id;
  data.uFlags = NIF_MESSAGE;
  data.uCallbackMessage = callbackMessage;
  if (icon) {
    data.uFlags |= NIF_ICON;
    data.hIcon = static_cast<HICON>(icon);
  }
  if (!tip.empty()) {
    data.uFlags |= NIF_TIP;
    tip.copy(data.szTip, kMaxTipLength);
  }
  return Shell_NotifyIconA(NIM_ADD, &data) != 0;
}

bool Win32NotifyIcon::Delete(NativeWindow window, unsigned id) {
  NOTIFYICONDATAA data = {};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = static_cast<HWND>(window);
  data.uID = id;
  return Shell_NotifyIconA(NIM_DELETE, &data) != 0;
}

}  // namespace botenruf::win
