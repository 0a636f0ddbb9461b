// The About box, the version history, the list info and the help hint.
#include "about/win32/about_dialogs.h"
#include "about/win32/text_viewer_dialog.h"
#include "mainwindow/win32/main_window.h"
#include "platform/win32/win32_version.h"
#include "resource.h"

namespace botenruf::win {

// The tray icon and its menu still answer while one of the program's dialogs runs modally
// over the window (it is disabled then); a second dialog on top would leave the first one
// unable to close until the second is gone. The open one comes to the front instead.
bool MainWindow::CanOpenInfoWindow() {
  if (IsWindowEnabled(hwnd()))
    return true;
  SetForegroundWindow(GetLastActivePopup(hwnd()));
  return false;
}

void MainWindow::OnAbout() {
  if (!CanOpenInfoWindow())
    return;
  VersionBlock version;
  ReadOwnVersionBlock(version);
  AboutDialog about(hwnd(), app_.directory(), version);
  about.RunModal();
}

void MainWindow::OnVersionHistory() {
  if (CanOpenInfoWindow())
    ShowVersionHistory(hwnd());
}

void MainWindow::OnListInfo() {
  if (CanOpenInfoWindow())
    ShowListInfo(hwnd(), app_.directory());
}

void MainWindow::OnHelp() {
  if (!CanOpenInfoWindow())
    return;
  HelpHintDialog hint(hwnd(), LoadResourceString(IDS_HELP_HINT));
  hint.RunModal();
}

LRESULT MainWindow::OnHelpKey(WPARAM, LPARAM) {
  OnHelp();
  return TRUE;
}

}  // namespace botenruf::win
