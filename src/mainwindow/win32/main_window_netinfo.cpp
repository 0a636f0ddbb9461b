// "Info": the station query, the list check and (their windows') end messages.
#include "mainwindow/win32/main_window.h"
#include "resource.h"

namespace botenruf::win {

void MainWindow::OnInfoClicked() {
  EnableItem(IDC_INFO, false);
  const int mode = settings_.ListenTyp();
  const InfoRequest request = PlanInfo(mode, ReadRecipientText(mode == kModeList));
  for (const BoxRequest& box : request.refusals)
    services_.workers.boxes->Show(hwnd(), box);
  if (request.target.empty()) {
    UpdateInfoButton();
    return;
  }
  switch (mode) {
    case kModeSingle:
      StartStationInfo(request.target);
      break;
    case kModeList:
      StartListCheck(request.target);
      break;
    case kModeDomain:
      StartDomainBrowser(request.target);
      break;
    default:
      UpdateInfoButton();
      break;
  }
}

void MainWindow::StartStationInfo(const std::string& station) {
  stationQuery_ = std::make_shared<StationQuery>(services_.workers, station);
  StartStationInfoWorker(stationQuery_, hwnd());
}

LRESULT MainWindow::OnStationInfoDone(WPARAM, LPARAM) {
  // Kept while the dialog runs: the worker waits in its message until the user closes it.
  const std::shared_ptr<StationQuery> job = stationQuery_;
  if (!job)
    return 0;
  if (!ShutdownFlag().load()) {  // the session is ending: nothing opens any more
    StationInfoDialog dialog(hwnd(), job->info);
    dialog.RunModal();
  }
  stationQuery_.reset();
  UpdateInfoButton();
  return 0;
}

void MainWindow::StartListCheck(const std::string& memberText) {
  auto query = std::make_shared<NetQuery>(services_.workers, memberText);
  auto dialog = std::make_unique<ListCheckDialog>(hwnd(), ItemText(IDC_RECIPIENT), query,
                                                  app_.directory(), CurrentListLook());
  if (!dialog->CreateModeless()) {
    UpdateInfoButton();
    return;
  }
  ShowWindow(dialog->hwnd(), SW_SHOW);
  listCheckDialog_ = std::move(dialog);
  StartListCheckWorker(query, ListMembers(memberText, app_.directory()), hwnd(),
                       listCheckDialog_->hwnd());
}

LRESULT MainWindow::OnListCheckDone(WPARAM, LPARAM) {
  listCheckDialog_.reset();
  UpdateInfoButton();
  return 0;
}

void MainWindow::StartDomainBrowser(const std::string& domain) {
  auto query = std::make_shared<NetQuery>(services_.workers, domain);
  auto dialog = std::make_unique<DomainBrowserDialog>(hwnd(), ItemText(IDC_RECIPIENT), query, *this,
                                                      CurrentListLook());
  if (!dialog->CreateModeless()) {
    UpdateInfoButton();
    return;
  }
  domainBrowser_ = std::move(dialog);
  // The command starts while the window shows.
  StartTableWorker(query, RunDomainQuery, *domainBrowser_, hwnd(), WM_APP_DOMAIN_INFO_DONE);
  ShowWindow(domainBrowser_->hwnd(), SW_SHOW);
}

LRESULT MainWindow::OnDomainInfoDone(WPARAM, LPARAM) {
  domainBrowser_.reset();  // closes its shares browser too
  UpdateInfoButton();
  return 0;
}

void MainWindow::UpdateInfoButton() {
  // A query runs exactly as long as the window keeps its job.
  const BusyFlags busy{stationQuery_ != nullptr, listCheckDialog_ != nullptr,
                       domainBrowser_ != nullptr};
  EnableItem(IDC_INFO, InfoButtonEnabled(settings_.ListenTyp(), busy));
}

ListChoice MainWindow::CurrentListChoice() {
  return {settings_.ListenTyp(), ItemText(IDC_RECIPIENT), SelectedEntry(),
          savedSelection_.Saved(kModeList)};
}

void MainWindow::ReadChangedListFile() {
  if (listEditorOpen_ || !app_.ReloadIfChanged())
    return;
  if (!BoxShowsDirectory(settings_.ListenTyp(), BoxEntries(), app_.directory()))
    RefillKeepingSelection();
}

std::string MainWindow::SaveTakeOver(bool singlesChanged, bool listsChanged) {
  // A question about the save belongs to the browser that asked for it.
  const std::string problem =
      SaveProblemText(app_.SaveDirectory(domainBrowser_ ? domainBrowser_->hwnd() : hwnd()));
  const int mode = settings_.ListenTyp();
  if (BoxShowsChange(mode, singlesChanged, listsChanged) &&
      !BoxShowsDirectory(mode, BoxEntries(), app_.directory())) {
    RefillKeepingSelection();
  }
  return problem;
}

}  // namespace botenruf::win
