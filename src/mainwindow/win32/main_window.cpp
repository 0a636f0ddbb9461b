#include "mainwindow/win32/main_window.h"

#include <commctrl.h>

#include "mainwindow/layout.h"
#include "platform/win32/placement.h"
#include "resource.h"
#include "text/text.h"

namespace botenruf::win {

const MessageEntry<MainWindow> MainWindow::kMessageMap[] = {
    // Message
    OnCommand(IDM_MESSAGE_LOAD, &MainWindow::OnLoadMessage),
    OnCommand(IDM_MESSAGE_SAVE, &MainWindow::OnSaveMessage),
    OnCommand(IDM_MESSAGE_CLEAR, &MainWindow::OnClearMessage),
    OnCommand(IDM_EXIT, &MainWindow::OnExitCommand),
    // Settings
    OnCommand(IDM_LIST_PATH, &MainWindow::OnListPath),
    OnCommand(IDM_LIST_EDIT, &MainWindow::OnListEdit),
    OnCommand(IDM_MODE_SINGLE, &MainWindow::OnModeSingle),
    OnCommand(IDM_MODE_LIST, &MainWindow::OnModeList),
    OnCommand(IDM_MODE_DOMAIN, &MainWindow::OnModeDomain),
    OnCommand(IDM_DELIVERY_AUTO, &MainWindow::OnDeliveryAuto),
    OnCommand(IDM_DELIVERY_NET_SEND, &MainWindow::OnDeliveryNetSend),
    OnCommand(IDM_DELIVERY_MSG, &MainWindow::OnDeliveryMsg),
    OnCommand(IDM_AUTOSTART, &MainWindow::OnToggleAutostart),
    OnCommand(IDM_TNA_START, &MainWindow::OnToggleTnaStart),
    OnCommand(IDM_SUCCESS_SINGLE, &MainWindow::OnToggleSingleSuccess),
    OnCommand(IDM_SUCCESS_LIST, &MainWindow::OnToggleListSuccess),
    OnCommand(IDM_SUCCESS_DOMAIN, &MainWindow::OnToggleDomainSuccess),
    OnCommand(IDM_MINIMIZE_TASKBAR, &MainWindow::OnMinimizeTaskbar),
    OnCommand(IDM_MINIMIZE_SYSTRAY, &MainWindow::OnMinimizeSystray),
    OnCommand(IDM_GRID_LINES, &MainWindow::OnToggleGridLines),
    OnCommand(IDM_FULL_ROW, &MainWindow::OnToggleFullRow),
    OnCommand(IDM_ORIGINAL_SIZE, &MainWindow::OnOriginalSize),
    OnCommand(IDM_TOOLTIPS, &MainWindow::OnToggleTooltips),
    OnCommand(IDM_VERSAND_INFO, &MainWindow::OnToggleVersandInfo),
    OnCommand(IDM_SEND_REPORT, &MainWindow::OnToggleSendReport),
    OnCommand(IDM_TOPMOST, &MainWindow::OnTopmostCommand),
    // Infos, help and the greeting
    OnCommand(IDM_VERSION_HISTORY, &MainWindow::OnVersionHistory),
    OnCommand(IDM_LIST_INFO, &MainWindow::OnListInfo),
    OnCommand(IDM_ABOUT, &MainWindow::OnAbout),
    OnCommand(IDM_UPDATE, &MainWindow::OnUpdateCommand),
    OnCommand(IDM_HELP, &MainWindow::OnHelp),
    OnCommand(IDM_MEMORIAM, &MainWindow::OnMemoriam),
    // Tray menu
    OnCommand(IDM_TRAY_VERSION_HISTORY, &MainWindow::OnVersionHistory),
    OnCommand(IDM_TRAY_LIST_INFO, &MainWindow::OnListInfo),
    OnCommand(IDM_TRAY_ABOUT, &MainWindow::OnAbout),
    OnCommand(IDM_TRAY_EXIT, &MainWindow::OnExitCommand),
    // Buttons and the recipient box
    OnControl(IDC_SEND, BN_CLICKED, &MainWindow::OnSendClicked),
    OnControl(IDC_CLEAR, BN_CLICKED, &MainWindow::OnClearMessage),
    OnControl(IDC_MODE_SINGLE, BN_CLICKED, &MainWindow::OnModeSingle),
    OnControl(IDC_MODE_LIST, BN_CLICKED, &MainWindow::OnModeList),
    OnControl(IDC_MODE_DOMAIN, BN_CLICKED, &MainWindow::OnModeDomain),
    OnControl(IDC_RECIPIENT, CBN_SELCHANGE, &MainWindow::OnRecipientSelected),
    OnControl(IDC_INFO, BN_CLICKED, &MainWindow::OnInfoClicked),
    // Window messages and the workers' reports
    OnMessage(WM_APP_TRAY_CALLBACK, &MainWindow::OnTrayCallback),
    OnMessage(WM_APP_FILE_DROPPED, &MainWindow::OnFileDropped),
    OnMessage(WM_APP_COUNTDOWN_DONE, &MainWindow::OnCountdownDone),
    OnMessage(WM_APP_STATION_INFO_DONE, &MainWindow::OnStationInfoDone),
    OnMessage(WM_APP_LIST_CHECK_DONE, &MainWindow::OnListCheckDone),
    OnMessage(WM_APP_DOMAIN_INFO_DONE, &MainWindow::OnDomainInfoDone),
    OnMessage(WM_APP_DOMAIN_LIST_READY, &MainWindow::OnDomainListReady),
    OnMessage(WM_APP_NOTIFICATION_CHANGED, &MainWindow::OnNotificationChanged),
    OnMessage(WM_APP_WINDOW_CALL, &MainWindow::OnWindowCall),
    OnMessage(WM_SETCURSOR, &MainWindow::OnSetCursor),
    OnMessage(WM_APP_SEND_REPORT_CLOSED, &MainWindow::OnSendReportClosed),
    OnMessage(WM_NOTIFY, &MainWindow::OnNotify),
    OnMessage(WM_SIZE, &MainWindow::OnSize),
    OnMessage(WM_GETMINMAXINFO, &MainWindow::OnGetMinMaxInfo),
    OnMessage(WM_SYSCOMMAND, &MainWindow::OnSysCommand),
    OnMessage(WM_PAINT, &MainWindow::OnPaint),
    OnMessage(WM_QUERYDRAGICON, &MainWindow::OnQueryDragIcon),
    OnMessage(WM_HELP, &MainWindow::OnHelpKey),
    OnMessage(WM_DESTROY, &MainWindow::OnDestroy),
    OnMessage(WM_QUERYENDSESSION, &MainWindow::OnQueryEndSession),
    OnMessage(WM_ENDSESSION, &MainWindow::OnEndSession),
};

MainWindow::MainWindow(Application& app, MainWindowServices services, std::string initialText,
                       bool startInTray)
    : Dialog(IDD_MAIN, nullptr),
      app_(app),
      settings_(app.settings()),
      services_(std::move(services)),
      initialText_(std::move(initialText)),
      moveToTrayOnPaint_(startInTray) {}

MainWindow::~MainWindow() {
  // The window may still exist when the object goes first (a failed start). Query workers
  // still running end after their command in progress; the program's end waits for them once
  // its settings are written.
  StopBackgroundWork();
  DestroyWindow();
}

// First thing at the end: workers stop reporting, the poller stops touching the window, and
// every job record the window holds is let go (the workers keep their own share of it).
void MainWindow::StopBackgroundWork() {
  ShutdownFlag() = true;
  StopUpdateCheck();
  updateJob_.reset();
  pollerStop_ = true;
  if (poller_.joinable())
    poller_.join();
  countdown_.reset();
  domainListJob_.reset();
  domainBrowser_.reset();
  listCheckDialog_.reset();
  stationQuery_.reset();
  // A send the user started goes out, even when its report had no time to open.
  for (const auto& report : sendReports_)
    report->StartNow();
  sendReports_.clear();
}

bool MainWindow::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == taskbarCreatedMessage_ && taskbarCreatedMessage_ != 0) {
    result = OnTaskbarCreated(wParam, lParam);
    return true;
  }
  return DispatchTable(*this, kMessageMap, message, wParam, lParam, result);
}

bool MainWindow::OnInitDialog() {
  layoutReady_ = true;
  AddSystemMenuItems();
  icon_ = LoadIconA(instance(), MAKEINTRESOURCEA(IDR_MAINFRAME));
  SetIcon(icon_);
  SetCurrentDirectoryA("C:\\");
  RefillRecipientBox();
  editor_.Attach(Item(IDC_MESSAGE), hwnd());
  fullRowOn_ = settings_.FullRow();
  gridLinesOn_ = settings_.GridLines();
  SetMenuChecks();
  ShowAutomaticDelivery();
  UpdateModeControls();
  AppendMenuA(GetSystemMenu(hwnd(), FALSE), MF_SEPARATOR, 0, nullptr);
  AppendMenuA(GetSystemMenu(hwnd(), FALSE), MF_STRING, IDM_SYS_TOPMOST, "Vor&dergrund");
  ApplyTopmost(settings_.SystemModal());
  if (!initialText_.empty())
    SetItemText(IDC_MESSAGE, initialText_);
  taskbarCreatedMessage_ = RegisterWindowMessageA("TaskbarCreated");
  StartNotificationPoller();
  return true;
}

void MainWindow::AddSystemMenuItems() {
  const std::string text = LoadResourceString(IDS_ABOUTBOX);
  if (!text.empty()) {
    HMENU system = GetSystemMenu(hwnd(), FALSE);
    AppendMenuA(system, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(system, MF_STRING, IDM_SYS_ABOUT, text.c_str());
  }
}

void MainWindow::SetCheck(UINT item, bool on) {
  CheckMenuItem(GetMenu(hwnd()), item, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

void MainWindow::SetMenuChecks() {
  SetCheck(IDM_AUTOSTART, settings_.AutoStart());
  SetCheck(IDM_TNA_START, settings_.TNAStart());
  SetCheck(IDM_GRID_LINES, gridLinesOn_);
  SetCheck(IDM_FULL_ROW, fullRowOn_);
  SetSuccessChecks();
  SetDeliveryChecks();
  SetCheck(IDM_MINIMIZE_TASKBAR, settings_.TaskMinimize());
  SetCheck(IDM_MINIMIZE_SYSTRAY, !settings_.TaskMinimize());
  SetCheck(IDM_VERSAND_INFO, settings_.VersandInfo());
  SetCheck(IDM_SEND_REPORT, settings_.Sendebericht());
  SetCheck(IDM_TOPMOST, settings_.SystemModal());
  SetCheck(IDM_TOOLTIPS, toolTipsOn_);
}

void MainWindow::SetSuccessChecks() {
  SetCheck(IDM_SUCCESS_SINGLE, settings_.SingleSuccessMsg());
  SetCheck(IDM_SUCCESS_LIST, settings_.SuccessMsg());
  SetCheck(IDM_SUCCESS_DOMAIN, settings_.DomainSuccessMsg());
}

void MainWindow::OnCancel() {
  StopUpdateCheck();  // its open box would hold up the end
  if (inTray_)
    services_.notifyIcon->Delete(hwnd(), 1);
  inTray_ = false;
  EndDialog(IDCANCEL);
}

void MainWindow::OnExitCommand() {
  SendMessageA(hwnd(), WM_CLOSE, 0, 0);
  if (inTray_)
    services_.notifyIcon->Delete(hwnd(), 1);
}

LRESULT MainWindow::OnDestroy(WPARAM, LPARAM) {
  StopBackgroundWork();
  if (inTray_)
    services_.notifyIcon->Delete(hwnd(), 1);
  inTray_ = false;
  if (tooltips_)
    ::DestroyWindow(tooltips_);
  tooltips_ = nullptr;
  return 0;
}

LRESULT MainWindow::OnQueryEndSession(WPARAM, LPARAM) {
  return TRUE;  // nothing here needs the user before a log-off or shut-down
}

LRESULT MainWindow::OnEndSession(WPARAM ending, LPARAM) {
  if (!ending)
    return 0;  // another program kept the session going
  // The system may end the process as soon as this returns: workers stop reporting at once,
  // the end routine writes the settings and the counter now, a download removes its half file,
  // and the window ends as on "Beenden". The list file is written only by the commands that
  // change it, never here.
  ShutdownFlag() = true;
  app_.End();
  EndUpdateCheckNow();
  OnCancel();
  return 0;
}

void MainWindow::StartNotificationPoller() {
  HWND window = hwnd();
  std::shared_ptr<SendCounter> counter = services_.workers.counter;
  std::shared_ptr<SystemInfo> system = services_.workers.system;
  // The poller only reads and posts; every change of the window happens on this thread.
  poller_ = std::thread([this, window, counter, system] {
    int32_t lastShownCount = 0;
    bool greetingShown = false;
    while (!ShutdownFlag() && !pollerStop_) {
      const int32_t count = counter->Value();
      const bool greeting = IsGreetingTime(system->Now());
      if (count != lastShownCount || greeting != greetingShown) {
        lastShownCount = count;
        greetingShown = greeting;
        PostMessageA(window, WM_APP_NOTIFICATION_CHANGED, static_cast<WPARAM>(count),
                     greeting ? 1 : 0);
      }
      Sleep(100);
    }
  });
}

LRESULT MainWindow::OnNotificationChanged(WPARAM wParam, LPARAM lParam) {
  if (ShutdownFlag())
    return 0;
  SetItemText(IDC_NOTIFY_GROUP, Format("Benachrichtigung [%ld]", static_cast<long>(wParam)));
  UpdateTray();
  HMENU infos = GetSubMenu(GetMenu(hwnd()), 2);
  const bool shown = GetMenuState(infos, IDM_MEMORIAM, MF_BYCOMMAND) != static_cast<UINT>(-1);
  if (lParam && !shown) {
    AppendMenuA(infos, MF_STRING, IDM_MEMORIAM, "&Memoriam");
    DrawMenuBar(hwnd());
  } else if (!lParam && shown) {
    DeleteMenu(infos, IDM_MEMORIAM, MF_BYCOMMAND);
    DrawMenuBar(hwnd());
  }
  return 0;
}

void MainWindow::OnTopmostCommand() {
  settings_.SetSystemModal(!settings_.SystemModal());
  ApplyTopmost(settings_.SystemModal());
}

void MainWindow::ApplyTopmost(bool on) {
  // Only a change moves the window in the z-order: at the start, a window that is not to stay
  // on top is spared a placement that would cost its first showing a noticeable while.
  const bool isTopmost = (GetWindowLongA(hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  if (on != isTopmost)
    SetWindowPos(hwnd(), on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  CheckMenuItem(GetSystemMenu(hwnd(), FALSE), IDM_SYS_TOPMOST,
                MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
  SetCheck(IDM_TOPMOST, on);
}

void MainWindow::OnOriginalSize() {
  WINDOWPLACEMENT placement = {};
  placement.length = sizeof(placement);
  if (!GetWindowPlacement(hwnd(), &placement))
    return;
  if (!CanRestoreOriginalSize(placement.showCmd))
    return;
  RECT rect;
  GetWindowRect(hwnd(), &rect);
  MoveWindow(hwnd(), rect.left, rect.top, kOriginalSize.width, kOriginalSize.height, TRUE);
}

LRESULT MainWindow::OnSize(WPARAM type, LPARAM lParam) {
  if (!layoutReady_ || type == SIZE_MINIMIZED)
    return 0;
  const MainLayout layout =
      ComputeMainLayout(LOWORD(lParam), HIWORD(lParam), ControlSize(Item(IDC_SEND)),
                        ControlSize(Item(IDC_CLEAR)), ControlSize(Item(IDCANCEL)));
  Place(Item(IDC_NOTIFY_GROUP), layout.group);
  Place(Item(IDC_MESSAGE), layout.editor);
  Place(Item(IDC_CLEAR), layout.clear);
  Place(Item(IDC_SEND), layout.send);
  Place(Item(IDCANCEL), layout.end);
  return 0;
}

LRESULT MainWindow::OnGetMinMaxInfo(WPARAM, LPARAM lParam) {
  return KeepMinimumTrackSize(lParam, kMinimumTrackSize);
}

LRESULT MainWindow::OnQueryDragIcon(WPARAM, LPARAM) {
  return reinterpret_cast<LRESULT>(icon_);
}

}  // namespace botenruf::win
