#include "mainwindow/win32/send_report_dialog.h"

#include "mainwindow/report_layout.h"
#include "platform/win32/placement.h"
#include "resource.h"

namespace botenruf::win {
namespace {

// The outcome of one step, lent by the worker for the time of its message.
struct StepOutcome {
  size_t step;
  SendOutcome outcome;
};

// A domain's stations on their way to the report, and the sinks of their rows on the way back.
struct StationRows {
  size_t step;
  const std::vector<SendStep>& stationSteps;
  const std::string& failure;
  std::vector<size_t> rows;
};

// A closed report is gone: the message then finds no window, and the outcome is dropped.
OutcomeSink SinkOfRow(HWND window, WPARAM number, size_t row) {
  return [window, number, row](const SendOutcome& outcome) {
    StepOutcome message{row, outcome};
    SendMessageA(window, WM_APP_SEND_OUTCOME, number, reinterpret_cast<LPARAM>(&message));
  };
}

WPARAM NextReportNumber() {
  static WPARAM last = 0;  // user-interface thread only
  return ++last;
}

}  // namespace

const MessageEntry<SendReportDialog> SendReportDialog::kMessageMap[] = {
    OnControl(IDC_REPORT_RESEND, BN_CLICKED, &SendReportDialog::OnResend),
    OnControl(IDC_REPORT_COPY, BN_CLICKED, &SendReportDialog::OnCopy),
    OnMessage(WM_APP_SEND_OUTCOME, &SendReportDialog::OnOutcome),
    OnMessage(WM_APP_SEND_REPORT_EXPAND, &SendReportDialog::OnExpand),
    OnMessage(WM_SIZE, &SendReportDialog::OnSize),
    OnMessage(WM_GETMINMAXINFO, &SendReportDialog::OnGetMinMaxInfo),
};

SendReportDialog::SendReportDialog(HWND owner, SendReport report, SendReportHost& host,
                                   SendReportServices services, ListLook look)
    : Dialog(IDD_SEND_REPORT, owner),
      report_(std::move(report)),
      host_(host),
      services_(services),
      look_(look),
      number_(NextReportNumber()) {}

bool SendReportDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_NOTIFY && list_.Answer(reinterpret_cast<NMHDR*>(lParam), result))
    return true;
  return DispatchTable(*this, kMessageMap, message, wParam, lParam, result);
}

bool SendReportDialog::OnInitDialog() {
  SetIcon(LoadIconA(instance(), MAKEINTRESOURCEA(IDR_MAINFRAME)));
  list_ = ListView(Item(IDC_REPORT_ROWS), {&stations_, &names_, &results_});
  // The result takes half the width: the boxes' texts are the longest.
  const int tenth = list_.ColumnSpace() / 10;
  list_.AddColumn(0, "Station", 2 * tenth);
  list_.AddColumn(1, "Name", 3 * tenth);
  list_.AddColumn(2, "Ergebnis", list_.ColumnSpace() - 5 * tenth);
  list_.SetLook(look_);
  ShowRows();
  SetItemText(IDC_REPORT_HEADING, report_.Heading());
  ShowState();
  headingPlace_ = PlaceInParent(Item(IDC_REPORT_HEADING));
  initialized_ = true;
  ApplyLayout();
  return true;
}

void SendReportDialog::NotAdmitted(size_t step, const BoxRequest& box) {
  report_.NotAdmitted(step, box);
  ShowResult(step);
  ShowState();
}

OutcomeSink SendReportDialog::SinkFor(size_t step) {
  return SinkOfRow(hwnd(), number_, step);
}

DispatchReport::StepExpander SendReportDialog::ExpanderFor(size_t step) {
  HWND window = hwnd();
  const WPARAM number = number_;
  return [window, number, step](const std::vector<SendStep>& stationSteps,
                                const std::string& failure) {
    StationRows message{step, stationSteps, failure, {}};
    const bool taken = SendMessageA(window, WM_APP_SEND_REPORT_EXPAND, number,
                                    reinterpret_cast<LPARAM>(&message)) != 0;
    std::vector<OutcomeSink> sinks;
    for (size_t i = 0; i < stationSteps.size(); ++i) {
      // A report closed meanwhile takes nothing: its stations' sends end without a word.
      if (!taken)
        sinks.push_back([](const SendOutcome&) {});
      else if (i < message.rows.size())
        sinks.push_back(SinkOfRow(window, number, message.rows[i]));
    }
    return sinks;
  };
}

LRESULT SendReportDialog::OnExpand(WPARAM number, LPARAM lParam) {
  if (number != number_ || closed_)
    return 0;
  auto& message = *reinterpret_cast<StationRows*>(lParam);
  message.rows = report_.Expand(message.step, message.stationSteps, message.failure);
  ShowRows();
  ShowState();
  return 1;
}

void SendReportDialog::ShowRows() {
  stations_.clear();
  names_.clear();
  results_.clear();
  for (const ReportRow& row : report_.rows()) {
    stations_.push_back(row.station);
    names_.push_back(row.name);
    results_.push_back(row.result);
  }
  list_.ShowAll();
}

LRESULT SendReportDialog::OnOutcome(WPARAM number, LPARAM lParam) {
  if (number != number_)
    return 0;
  const auto& message = *reinterpret_cast<const StepOutcome*>(lParam);
  report_.Finish(message.step, message.outcome, services_.system);
  ShowResult(message.step);
  ShowState();
  return 0;
}

void SendReportDialog::ShowResult(size_t row) {
  if (row >= report_.rows().size() || row >= results_.size())
    return;
  results_[row] = report_.rows()[row].result;
  list_.RedrawRows(static_cast<int>(row), static_cast<int>(row));
}

void SendReportDialog::ShowState() {
  SetCaption(report_.Caption());
  EnableItem(IDC_REPORT_RESEND, report_.CanResend());
}

void SendReportDialog::OnResend() {
  if (!report_.CanResend())
    return;
  SendReport again = report_.Resend(services_.system.Now());
  ShowState();
  host_.DispatchWithReport(std::move(again));
}

void SendReportDialog::OnCopy() {
  if (!services_.clipboard.SetText(hwnd(), report_.ClipboardText())) {
    services_.boxes.Show(hwnd(), {"Der Bericht konnte nicht in die Zwischenablage kopiert werden.",
                                  kErrorTitle, BoxIcon::kStop});
  }
}

void SendReportDialog::OnCancel() {
  closed_ = true;
  ShowWindow(hwnd(), SW_HIDE);
  // The owner lets go of this window; not here, inside one of its own messages.
  PostMessageA(GetWindow(hwnd(), GW_OWNER), WM_APP_SEND_REPORT_CLOSED, 0, 0);
}

void SendReportDialog::ApplyLayout() {
  RECT client = {};
  GetClientRect(hwnd(), &client);
  const int buttons[] = {IDC_REPORT_RESEND, IDC_REPORT_COPY, IDCANCEL};
  std::vector<Size> sizes;
  for (int id : buttons)
    sizes.push_back(ControlSize(Item(id)));
  const ReportLayout layout =
      ComputeReportLayout(client.right, client.bottom, headingPlace_, sizes);
  Place(Item(IDC_REPORT_HEADING), layout.heading);
  Place(list_.hwnd(), layout.list);
  for (size_t i = 0; i < sizes.size(); ++i)
    Place(Item(buttons[i]), layout.buttons[i]);
}

LRESULT SendReportDialog::OnSize(WPARAM type, LPARAM) {
  if (initialized_ && type != SIZE_MINIMIZED)
    ApplyLayout();
  return 0;
}

LRESULT SendReportDialog::OnGetMinMaxInfo(WPARAM, LPARAM lParam) {
  return KeepMinimumTrackSize(lParam, kReportMinimumTrackSize);
}

}  // namespace botenruf::win
