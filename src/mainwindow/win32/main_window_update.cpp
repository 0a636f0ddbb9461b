// "&Update suchen": the check runs on a thread of its own, so that the window keeps answering
// while the server takes its time. Its boxes are shown here, on the window's own thread, as
// every other box of the window: modal to it, and closed by the window when the program ends
// (a box owned from another thread would only be cut loose and outlive the window).
#include <functional>
#include <utility>

#include "mainwindow/win32/main_window.h"
#include "netinfo/net_query.h"
#include "resource.h"
#include "update/update_rules.h"

namespace botenruf::win {

// The check's view of the window: each call waits until the window's thread has carried it
// out. Nothing runs once the window is gone or the check has been stopped.
class UpdateWindowCalls : public MessageBoxes, public Clipboard {
 public:
  UpdateWindowCalls(HWND window, const UpdateJob& job) : window_(window), job_(job) {}

  void Show(NativeWindow, const BoxRequest& box) override {
    Call([&box](MainWindow& w) { w.ShowUpdateBox(box, false); });
  }
  bool Ask(NativeWindow, const BoxRequest& box) override {
    bool yes = false;
    Call([&box, &yes](MainWindow& w) { yes = w.ShowUpdateBox(box, true); });
    return yes;
  }
  void BeginWaitCursor() override { SetCursorShown(true); }
  void EndWaitCursor() override { SetCursorShown(false); }
  bool SetText(NativeWindow, const std::string& text) override {
    bool stored = false;
    Call([&text, &stored](MainWindow& w) {
      stored = w.services_.update.clipboard->SetText(w.hwnd(), text);
    });
    return stored;
  }

 private:
  // Over the window the pointer shows that work goes on while the window can be used.
  void SetCursorShown(bool on) {
    Call([on](MainWindow& w) {
      w.updateCursor_ = on;
      SetCursor(LoadCursor(nullptr, on ? IDC_APPSTARTING : IDC_ARROW));
    });
  }
  void Call(const std::function<void(MainWindow&)>& call) {
    SendMessageA(window_, WM_APP_WINDOW_CALL, reinterpret_cast<WPARAM>(&job_),
                 reinterpret_cast<LPARAM>(&call));
  }

  HWND window_;
  const UpdateJob& job_;
};

namespace {

// A check whose last box has closed still takes its thread a moment to end (it ends the pointer's
// wait through this window): "Update suchen" right after it waits for that rather than calling it
// still running.
constexpr DWORD kCheckEndingMs = 500;
// At the end of the session: enough for a stopped download to leave its transfer and remove its
// half file.
constexpr DWORD kCheckStopMs = 3000;

}  // namespace

void MainWindow::OnUpdateCommand() {
  const bool running = updateJob_ && !WaitForUpdateCheck(kCheckEndingMs);
  if (ShutdownFlag())
    return;  // the session ended meanwhile
  if (running) {
    ShowUpdateBox(CheckRunningBox(), false);
    return;
  }
  auto job = std::make_shared<UpdateJob>();
  updateJob_ = job;
  // The thread keeps its own share of every service; the end of the program waits for it
  // as for a query, so that it can remove a half download.
  StartQueryWorker([job, window = hwnd(), update = services_.update,
                    files = services_.workers.files] {
    UpdateWindowCalls calls(window, *job);
    CheckForUpdate(
        {*update.http, *files, *update.outputs, calls, calls, *update.program, job->stop}, window);
    job->finished = true;
  });
}

bool MainWindow::WaitForUpdateCheck(DWORD timeoutMs) {
  const std::shared_ptr<UpdateJob> job = updateJob_;
  const DWORD start = GetTickCount();
  MSG msg;
  while (!job->finished && GetTickCount() - start < timeoutMs) {
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // lets the check's calls through
    Sleep(5);
  }
  return job->finished;
}

void MainWindow::EndUpdateCheckNow() {
  // While a box of the check is open nothing is being written, and the check waits for the box.
  const bool boxOpen = openUpdateBox_.has_value();
  StopUpdateCheck();
  if (updateJob_ && !boxOpen)
    WaitForUpdateCheck(kCheckStopMs);
}

LRESULT MainWindow::OnWindowCall(WPARAM job, LPARAM call) {
  if (updateJob_ && reinterpret_cast<const UpdateJob*>(job) == updateJob_.get() &&
      !updateJob_->stop) {
    (*reinterpret_cast<const std::function<void(MainWindow&)>*>(call))(*this);
  }
  return 0;
}

bool MainWindow::ShowUpdateBox(const BoxRequest& box, bool ask) {
  // The check's box may show while the box that tells of it is open.
  const auto outer = std::exchange(openUpdateBox_, std::pair(box.title, ask ? IDNO : IDOK));
  MessageBoxes& boxes = *services_.workers.boxes;
  bool yes = false;
  if (ask)
    yes = boxes.Ask(hwnd(), box);
  else
    boxes.Show(hwnd(), box);
  openUpdateBox_ = outer;
  return yes && updateJob_ && !updateJob_->stop;
}

void MainWindow::StopUpdateCheck() {
  if (!updateJob_)
    return;
  updateJob_->stop = true;
  updateCursor_ = false;
  if (!openUpdateBox_)
    return;
  // Answered No (or OK) as the user would; the check then sees that it has been stopped.
  const auto& [title, button] = *openUpdateBox_;
  for (HWND box : TopLevelDialogs(title)) {
    if (GetWindow(box, GW_OWNER) == hwnd()) {
      PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
      break;
    }
  }
}

LRESULT MainWindow::OnSetCursor(WPARAM, LPARAM hitTest) {
  if (!updateCursor_ || LOWORD(hitTest) != HTCLIENT) {
    PassToDefault();
    return FALSE;
  }
  SetCursor(LoadCursor(nullptr, IDC_APPSTARTING));
  return TRUE;
}

}  // namespace botenruf::win
