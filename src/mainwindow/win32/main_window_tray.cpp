// The notification-area icon, minimising, painting, and the settings menu's toggles.
#include "dispatch/delivery.h"
#include "listeditor/win32/list_editor_dialog.h"
#include "mainwindow/tray_text.h"
#include "mainwindow/win32/main_window.h"
#include "resource.h"

namespace botenruf::win {

namespace {
constexpr unsigned kTrayIconId = 1;
}  // namespace

void MainWindow::MoveToTray() {
  inTray_ = true;
  UpdateTray();
}

// Every update deletes the icon and adds it again. All callers run on this thread (the
// poller posts its changes here), so two updates never interleave.
void MainWindow::UpdateTray() {
  if (!inTray_) {
    services_.notifyIcon->Delete(hwnd(), kTrayIconId);
    ShowWindow(hwnd(), SW_SHOW);
    return;
  }
  const std::string tip =
      TrayTip(ActiveSendCount(), settings_.ListenTyp(), ItemText(IDC_RECIPIENT));
  HICON icon = LoadIconA(instance(), MAKEINTRESOURCEA(IDR_MAINFRAME));
  services_.notifyIcon->Delete(hwnd(), kTrayIconId);
  services_.notifyIcon->Add(hwnd(), kTrayIconId, WM_APP_TRAY_CALLBACK, icon, tip);
  ShowWindow(hwnd(), SW_HIDE);
}

void MainWindow::RestoreFromTray() {
  moveToTrayOnPaint_ = false;
  inTray_ = false;
  UpdateTray();
}

LRESULT MainWindow::OnTaskbarCreated(WPARAM, LPARAM) {
  // A restarted shell has forgotten the icon.
  if (inTray_)
    UpdateTray();
  return 0;
}

LRESULT MainWindow::OnTrayCallback(WPARAM, LPARAM lParam) {
  switch (TrayActionFor(static_cast<uint32_t>(lParam))) {
    case TrayAction::kRestoreIfSystray:
      if (!settings_.TaskMinimize())
        RestoreFromTray();
      break;
    case TrayAction::kRestore:
      RestoreFromTray();
      break;
    case TrayAction::kPopupMenu:
      ShowTrayPopupMenu();
      break;
    case TrayAction::kAbout:
      OnAbout();
      break;
    case TrayAction::kNone:
      break;
  }
  return 0;
}

void MainWindow::ShowTrayPopupMenu() {
  POINT cursor;
  if (!GetCursorPos(&cursor))
    return;
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING, IDM_TRAY_VERSION_HISTORY, "&Versionsinfo");
  AppendMenuA(menu, MF_STRING, IDM_TRAY_LIST_INFO, "&Rechner.txt");
  AppendMenuA(menu, MF_STRING, IDM_TRAY_ABOUT, "&Info");
  AppendMenuA(menu, MF_STRING, IDM_TRAY_EXIT, "&Beenden");
  SetForegroundWindow(hwnd());
  TrackPopupMenu(menu, TPM_CENTERALIGN, cursor.x, cursor.y, 0, hwnd(), nullptr);
  PostMessageA(hwnd(), WM_NULL, 0, 0);
  DestroyMenu(menu);
}

LRESULT MainWindow::OnSysCommand(WPARAM wParam, LPARAM) {
  const UINT command = static_cast<UINT>(wParam & 0xFFF0);
  if (wParam == IDM_SYS_TOPMOST) {
    OnTopmostCommand();
    return 0;
  }
  if (command == IDM_SYS_ABOUT) {
    OnAbout();
    return 0;
  }
  if (command == SC_MINIMIZE && !settings_.TaskMinimize()) {
    MoveToTray();
    return 0;
  }
  PassToDefault();
  return 0;
}

LRESULT MainWindow::OnPaint(WPARAM, LPARAM) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd(), &paint);
  if (IsIconic(hwnd())) {
    SendMessageA(hwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    GetClientRect(hwnd(), &client);
    const int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, icon_);
    EndPaint(hwnd(), &paint);
    return 0;
  }
  EndPaint(hwnd(), &paint);
  // Started for the tray: the window shows for its first paint, then moves there. This
  // belongs to the start alone: a hidden window does not paint, so its next paint would come
  // after the user restored it and would hide it again at once.
  if (moveToTrayOnPaint_) {
    moveToTrayOnPaint_ = false;
    MoveToTray();
  }
  return 0;
}

void MainWindow::OnToggleAutostart() {
  settings_.SetAutoStart(!settings_.AutoStart());
  SetCheck(IDM_AUTOSTART, settings_.AutoStart());
}

void MainWindow::OnToggleTnaStart() {
  settings_.SetTNAStart(!settings_.TNAStart());
  SetCheck(IDM_TNA_START, settings_.TNAStart());
}

void MainWindow::OnMinimizeTaskbar() {
  settings_.SetTaskMinimize(true);
  SetCheck(IDM_MINIMIZE_TASKBAR, true);
  SetCheck(IDM_MINIMIZE_SYSTRAY, false);
}

void MainWindow::OnMinimizeSystray() {
  settings_.SetTaskMinimize(false);
  SetCheck(IDM_MINIMIZE_TASKBAR, false);
  SetCheck(IDM_MINIMIZE_SYSTRAY, true);
}

void MainWindow::OnToggleSingleSuccess() {
  settings_.ToggleSingleSuccessMsg();
  SetSuccessChecks();
}

void MainWindow::OnToggleListSuccess() {
  settings_.ToggleSuccessMsg();
  SetSuccessChecks();
}

void MainWindow::OnToggleDomainSuccess() {
  settings_.ToggleDomainSuccessMsg();
  SetSuccessChecks();
}

void MainWindow::OnToggleGridLines() {
  gridLinesOn_ = !gridLinesOn_;
  settings_.SetGridLines(gridLinesOn_);
  SetCheck(IDM_GRID_LINES, gridLinesOn_);
}

void MainWindow::OnToggleFullRow() {
  fullRowOn_ = !fullRowOn_;
  settings_.SetFullRow(fullRowOn_);
  SetCheck(IDM_FULL_ROW, fullRowOn_);
}

void MainWindow::OnToggleVersandInfo() {
  settings_.SetVersandInfo(!settings_.VersandInfo());
  SetCheck(IDM_VERSAND_INFO, settings_.VersandInfo());
}

void MainWindow::OnToggleSendReport() {
  settings_.SetSendebericht(!settings_.Sendebericht());
  SetCheck(IDM_SEND_REPORT, settings_.Sendebericht());
}

void MainWindow::ChooseDelivery(int choice) {
  settings_.SetZustellung(choice);
  SetDeliveryChecks();
}

// The three ways are one choice: a radio bullet marks it.
void MainWindow::SetDeliveryChecks() {
  const int choice = DeliveryChoice(settings_.Zustellung());
  const UINT chosen = choice == kDeliveryNetSend ? IDM_DELIVERY_NET_SEND
                      : choice == kDeliveryMsg   ? IDM_DELIVERY_MSG
                                                 : IDM_DELIVERY_AUTO;
  CheckMenuRadioItem(GetMenu(hwnd()), IDM_DELIVERY_AUTO, IDM_DELIVERY_MSG, chosen, MF_BYCOMMAND);
}

// The system does not change during a run: the automatic item names its tool once.
void MainWindow::ShowAutomaticDelivery() {
  std::string text = AutomaticDeliveryItem(*services_.workers.system);
  MENUITEMINFOA item = {};
  item.cbSize = sizeof(item);
  item.fMask = MIIM_STRING;
  item.dwTypeData = text.data();
  SetMenuItemInfoA(GetMenu(hwnd()), IDM_DELIVERY_AUTO, FALSE, &item);
}

void MainWindow::OnListPath() {
  std::string path;
  if (!services_.fileDialogs->ChooseFileToOpen(
          hwnd(), {settings_.RechnerListePfad(), "txt", kTextFileFilter}, path)) {
    return;
  }
  settings_.SetRechnerListePfad(path);
  app_.ReloadDirectory();
  RefillRecipientBox();
  RememberShownEntry();
}

// The editor starts from the file and works on the directory; after it the directory is the
// file again (saved, or the abandoned edits read over), and the box follows it.
void MainWindow::OnListEdit() {
  app_.ReloadDirectory();
  ListEditorDialog editor(hwnd(), app_, *services_.workers.boxes, CurrentListLook(),
                          settings_.ListenTyp() == kModeList);
  listEditorOpen_ = true;
  const INT_PTR result = editor.RunModal();
  listEditorOpen_ = false;
  app_.ReloadDirectory();
  if (result == IDOK || !BoxShowsDirectory(settings_.ListenTyp(), BoxEntries(), app_.directory()))
    RefillRecipientBox();
  RememberShownEntry();
}

std::vector<std::string> MainWindow::BoxEntries() {
  HWND box = Item(IDC_RECIPIENT);
  std::vector<std::string> entries;
  const int count = static_cast<int>(SendMessageA(box, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    const LRESULT length = SendMessageA(box, CB_GETLBTEXTLEN, i, 0);
    std::vector<char> buffer(length > 0 ? static_cast<size_t>(length) + 1 : 1);
    SendMessageA(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buffer.data()));
    entries.emplace_back(buffer.data());
  }
  return entries;
}

}  // namespace botenruf::win
