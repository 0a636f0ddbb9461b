#include "mainwindow/win32/main_window.h"

#include "resource.h"

namespace botenruf::win {

const MessageEntry<MainWindow> MainWindow::kMessageMap[] = {
    OnCommand(IDM_EXIT, &MainWindow::OnExitCommand),
};

MainWindow::MainWindow(Application& app, std::string initialText, bool startInTray)
    : Dialog(IDD_MAIN, nullptr),
      app_(app),
      initialText_(std::move(initialText)),
      startInTray_(startInTray) {}

bool MainWindow::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return DispatchTable(*this, kMessageMap, message, wParam, lParam, result);
}

bool MainWindow::OnInitDialog() {
  icon_ = LoadIconA(instance(), MAKEINTRESOURCEA(IDR_MAINFRAME));
  SendMessageA(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  SendMessageA(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  if (!initialText_.empty())
    SetItemText(IDC_MESSAGE, initialText_);
  return true;
}

void MainWindow::OnCancel() {
  EndDialog(IDCANCEL);
}

void MainWindow::OnExitCommand() {
  SendMessageA(hwnd(), WM_CLOSE, 0, 0);
}

}  // namespace botenruf::win
