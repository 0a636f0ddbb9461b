// The message editor's commands: clear, load, save, dropped files, and the tooltips.
#include "mainwindow/win32/main_window.h"

#include <commctrl.h>

#include "dispatch/message_file.h"
#include "resource.h"

namespace botenruf::win {

void MainWindow::OnClearMessage() {
  SetItemText(IDC_MESSAGE, "");
}

void MainWindow::OnLoadMessage() {
  std::string path;
  if (!services_.fileDialogs->ChooseFileToOpen(hwnd(), {"", "", kTextFileFilter}, path))
    return;
  std::string text;
  if (LoadMessageFile(*services_.workers.files, path, settings_.MaxDateiKB(), text)) {
    SetItemText(IDC_MESSAGE, text);
  }
}

void MainWindow::OnSaveMessage() {
  const std::string text = ItemText(IDC_MESSAGE);
  std::string path;
  if (!services_.fileDialogs->ChooseFileToSave(hwnd(), {"", "txt", kTextFileFilter}, path))
    return;
  // The user believes the message kept; a save that did not happen must not pass unnoticed.
  if (!services_.workers.files->WriteAll(path, MessageFileBytes(text))) {
    services_.workers.boxes->Show(hwnd(), {"Die Nachricht konnte nicht gespeichert werden.",
                                           kApplicationTitle, BoxIcon::kExclamation});
  }
}

LRESULT MainWindow::OnFileDropped(WPARAM, LPARAM) {
  std::string path, text;
  if (!editor_.TakeDroppedPath(path) || path.empty())
    return 0;
  if (LoadMessageFile(*services_.workers.files, path, settings_.MaxDateiKB(), text)) {
    SetItemText(IDC_MESSAGE, text);
  }
  return 0;
}

void MainWindow::CreateTooltips() {
  tooltips_ = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr,
                              instance(), nullptr);
  if (!tooltips_)
    return;
  auto addTool = [this](HWND control) {
    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = hwnd();
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = LPSTR_TEXTCALLBACKA;
    SendMessageA(tooltips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  };
  for (HWND child = GetWindow(hwnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    addTool(child);
    // The box's edit field lies over the box; it speaks for the box.
    for (HWND inner = GetWindow(child, GW_CHILD); inner; inner = GetWindow(inner, GW_HWNDNEXT)) {
      addTool(inner);
    }
  }
  SendMessageA(tooltips_, TTM_ACTIVATE, FALSE, 0);
}

void MainWindow::OnToggleTooltips() {
  toolTipsOn_ = !toolTipsOn_;
  // Made on their first use: the tooltips start switched off, and the window shows sooner
  // without them.
  if (toolTipsOn_ && !tooltips_)
    CreateTooltips();
  if (tooltips_)
    SendMessageA(tooltips_, TTM_ACTIVATE, toolTipsOn_ ? TRUE : FALSE, 0);
  SetCheck(IDM_TOOLTIPS, toolTipsOn_);
}

LRESULT MainWindow::OnNotify(WPARAM, LPARAM lParam) {
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  if (header->code != TTN_GETDISPINFOA) {
    PassToDefault();
    return 0;
  }
  auto* info = reinterpret_cast<NMTTDISPINFOA*>(lParam);
  HWND tool = reinterpret_cast<HWND>(header->idFrom);
  if (!(info->uFlags & TTF_IDISHWND) || !IsWindow(tool)) {
    PassToDefault();
    return 0;
  }
  if (GetParent(tool) != hwnd())
    tool = GetParent(tool);
  const int id = GetDlgCtrlID(tool);
  if (id == 0) {
    PassToDefault();
    return 0;
  }
  info->hinst = instance();
  info->lpszText = MAKEINTRESOURCEA(id);
  return TRUE;
}

}  // namespace botenruf::win
