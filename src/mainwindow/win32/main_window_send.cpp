// "Senden": composition, the send workers and the domain countdown.
#include <algorithm>

#include "dispatch/delivery.h"
#include "mainwindow/win32/main_window.h"
#include "netinfo/table_query.h"
#include "resource.h"
#include "text/text.h"

namespace botenruf::win {

void MainWindow::OnSendClicked() {
  switch (PressSend(settings_.ListenTyp(), ItemText(IDC_MESSAGE))) {
    case SendPress::kRefuseEmpty:
      services_.workers.boxes->Show(hwnd(), EmptyMessageBox());
      break;
    case SendPress::kStartCountdown:
      StartDomainCountdown();
      break;
    case SendPress::kDispatch:
      RunSendDispatcher();
      break;
  }
}

void MainWindow::RunSendDispatcher() {
  const int mode = settings_.ListenTyp();
  const int32_t maxThreads = settings_.MaxThreads();
  const std::string recipients = ReadRecipientText(true);
  DeliveryTool tool;
  if (!ChooseDeliveryTool(settings_.Zustellung(), *services_.workers.system,
                          *services_.workers.files, tool)) {
    services_.workers.boxes->Show(hwnd(), MsgMissingBox());
    return;
  }
  const std::string message = ItemText(IDC_MESSAGE);
  const std::vector<SendStep> steps =
      ComposeSend(mode, recipients, message, settings_.VersandInfo(), app_.directory(), tool);
  if (WantsSendReport(mode, settings_.Sendebericht())) {
    if (auto report =
            SendReport::ForDispatch(mode, ItemText(IDC_RECIPIENT), steps, app_.directory(), message,
                                    services_.workers.system->Now())) {
      OpenSendReport(std::move(*report));
      return;
    }
  }
  RunSendSteps(steps, services_.workers, maxThreads, hwnd(), DetachedThread, nullptr,
               ListDomainStationNames);
}

void MainWindow::OpenSendReport(SendReport report) {
  // Each report opens beside the ones still open, never exactly on top of one.
  const int open = static_cast<int>(std::count_if(
      sendReports_.begin(), sendReports_.end(),
      [](const std::unique_ptr<SendReportDialog>& shown) { return !shown->closed(); }));
  auto dialog = std::make_unique<SendReportDialog>(
      hwnd(), std::move(report), *this,
      SendReportServices{*services_.workers.system, *services_.update.clipboard,
                         *services_.workers.boxes},
      CurrentListLook(), open);
  if (!dialog->Open()) {
    RunSendSteps(dialog->report().Steps(), services_.workers, settings_.MaxThreads(), hwnd(),
                 DetachedThread, nullptr, ListDomainStationNames);  // the boxes, then
    return;
  }
  sendReports_.push_back(std::move(dialog));
}

void MainWindow::DispatchSteps(const std::vector<SendStep>& steps, SendReportDialog& report) {
  // A report closed while its dispatch is under way stays until the dispatch is through.
  ++reportDispatches_;
  RunSendSteps(steps, services_.workers, settings_.MaxThreads(), hwnd(), DetachedThread, &report,
               ListDomainStationNames);
  if (--reportDispatches_ == 0)
    PostMessageA(hwnd(), WM_APP_SEND_REPORT_CLOSED, 0, 0);
}

LRESULT MainWindow::OnSendReportClosed(WPARAM, LPARAM) {
  if (reportDispatches_ == 0) {
    std::erase_if(sendReports_,
                  [](const std::unique_ptr<SendReportDialog>& report) { return report->closed(); });
  }
  return 0;
}

bool MainWindow::StartDomainCountdown() {
  if (countdown_)
    return false;
  countdown_ = std::make_unique<DomainCountdownDialog>(
      hwnd(), ItemText(IDC_RECIPIENT), settings_.WaitStep(), settings_.WaitPollrate());
  if (!countdown_->CreateModeless()) {
    countdown_.reset();
    return false;
  }
  ShowWindow(countdown_->hwnd(), SW_SHOW);
  EnableItem(IDC_SEND, false);
  EnableItem(IDC_CLEAR, false);
  // The watcher holds only the shared outcome, never the dialog itself.
  std::shared_ptr<const CountdownOutcome> outcome = countdown_->outcome();
  HWND window = hwnd();
  DetachedThread([outcome, window] {
    while (!outcome->finished && !ShutdownFlag())
      Sleep(10);
    SendMessageA(window, WM_APP_COUNTDOWN_DONE, 0, 0);
  });
  return true;
}

LRESULT MainWindow::OnCountdownDone(WPARAM, LPARAM) {
  bool send = false;
  if (countdown_) {
    countdown_->IsFinished(send);
    countdown_.reset();
  }
  EnableItem(IDC_SEND, true);
  EnableItem(IDC_CLEAR, true);
  if (send && !ShutdownFlag())
    RunSendDispatcher();
  return 0;
}

void MainWindow::OnMemoriam() {
  const std::string station = services_.workers.system->ComputerName();
  if (station.empty())
    return;
  DeliveryTool tool;
  if (!ChooseDeliveryTool(settings_.Zustellung(), *services_.workers.system,
                          *services_.workers.files, tool))
    return;
  const WaitCursor wait(*services_.workers.boxes);
  // At the limit nothing is sent and nothing is said: this greeting is no user's message.
  if (tool.delivery == Delivery::kMsg) {
    TryStartSendWorker(services_.workers, settings_.MaxThreads(),
                       MsgCommandLine(tool.msgProgram, station, kGreetingText), DetachedThread, {},
                       station);
  } else {
    TryStartSendWorker(services_.workers, settings_.MaxThreads(),
                       Format("net send %s %s", station.c_str(), kGreetingText));
  }
}

}  // namespace botenruf::win
