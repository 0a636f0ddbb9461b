#include "mainwindow/win32/send_report_dialog.h"

#include <commctrl.h>

#include <algorithm>

#include "mainwindow/report_layout.h"
#include "platform/win32/placement.h"
#include "resource.h"

namespace botenruf::win {
namespace {

constexpr size_t kNotShown = static_cast<size_t>(-1);
// While only the failed rows show, the outcomes that change them are gathered for a moment:
// a domain of thousands of stations would otherwise filter its rows anew for each.
constexpr UINT_PTR kRefreshTimer = 1;
constexpr UINT kRefreshDelayMs = 200;
// Each report opens this many pixels to the right and down of the one opened before it.
constexpr int kCascadeStep = 24;

// The outcome of one row, lent by the worker for the time of its message.
struct RowOutcome {
  size_t row;
  SendOutcome outcome;
};

// A domain's stations on their way to the report, and the rows they got on the way back.
struct StationRows {
  size_t row;
  const std::vector<SendStep>& stationSteps;
  const std::string& failure;
  std::vector<size_t> rows;
};

// A closed report is gone: the message then finds no window, and the outcome is dropped.
OutcomeSink SinkOfRow(HWND window, WPARAM number, size_t row) {
  return [window, number, row](const SendOutcome& outcome) {
    RowOutcome message{row, outcome};
    SendMessageA(window, WM_APP_SEND_OUTCOME, number, reinterpret_cast<LPARAM>(&message));
  };
}

WPARAM NextReportNumber() {
  static WPARAM last = 0;  // user-interface thread only
  return ++last;
}

// The width a column needs for the longest of its texts, measured once for that text alone.
int NeededWidth(HWND list, const std::vector<std::string>& texts, const std::string& title) {
  const std::string* longest = &title;
  for (const std::string& text : texts) {
    if (text.size() > longest->size())
      longest = &text;
  }
  constexpr int kCellMargin = 14;  // the list's padding on both sides of a cell's text
  return static_cast<int>(SendMessageA(list, LVM_GETSTRINGWIDTHA, 0,
                                       reinterpret_cast<LPARAM>(longest->c_str()))) +
         kCellMargin;
}

}  // namespace

const MessageEntry<SendReportDialog> SendReportDialog::kMessageMap[] = {
    OnControl(IDC_REPORT_RESEND, BN_CLICKED, &SendReportDialog::OnResend),
    OnControl(IDC_REPORT_COPY, BN_CLICKED, &SendReportDialog::OnCopy),
    OnControl(IDC_REPORT_ONLY_FAILED, BN_CLICKED, &SendReportDialog::OnOnlyFailed),
    OnMessage(WM_APP_SEND_OUTCOME, &SendReportDialog::OnOutcome),
    OnMessage(WM_APP_SEND_REPORT_EXPAND, &SendReportDialog::OnExpand),
    OnMessage(WM_APP_SEND_REPORT_STEP, &SendReportDialog::OnStep),
    OnMessage(WM_TIMER, &SendReportDialog::OnTimer),
    OnMessage(WM_SIZE, &SendReportDialog::OnSize),
    OnMessage(WM_GETMINMAXINFO, &SendReportDialog::OnGetMinMaxInfo),
};

SendReportDialog::SendReportDialog(HWND owner, SendReport report, SendReportHost& host,
                                   SendReportServices services, ListLook look, int cascade)
    : Dialog(IDD_SEND_REPORT, owner),
      report_(std::move(report)),
      host_(host),
      services_(services),
      look_(look),
      cascade_(cascade),
      number_(NextReportNumber()) {}

bool SendReportDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_NOTIFY) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (list_.Answer(header, result))
      return true;
    if (header->hwndFrom == list_.hwnd() && header->code == LVN_COLUMNCLICK) {
      OnColumnClick(reinterpret_cast<NMLISTVIEW*>(lParam)->iSubItem);
      return true;
    }
  }
  return DispatchTable(*this, kMessageMap, message, wParam, lParam, result);
}

bool SendReportDialog::OnInitDialog() {
  SetIcon(LoadIconA(instance(), MAKEINTRESOURCEA(IDR_MAINFRAME)));
  list_ = ListView(Item(IDC_REPORT_ROWS), {&stations_, &names_, &results_});
  list_.AddColumn(0, "Station", 0);
  list_.AddColumn(1, "Name", 0);
  list_.AddColumn(2, "Ergebnis", 0);
  list_.SetLook(look_);
  SetItemText(IDC_REPORT_HEADING, report_.Heading());
  headingPlace_ = PlaceInParent(Item(IDC_REPORT_HEADING));
  filterPlace_ = PlaceInParent(Item(IDC_REPORT_ONLY_FAILED));
  if (cascade_ > 0) {
    RECT window = {};
    GetWindowRect(hwnd(), &window);
    const int step = kCascadeStep * (cascade_ % 8);
    SetWindowPos(hwnd(), nullptr, window.left + step, window.top + step, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ShowRows();
  ShowState();
  initialized_ = true;
  ApplyLayout();
  return true;
}

bool SendReportDialog::Open() {
  if (!CreateModeless())
    return false;
  PostMessageA(hwnd(), WM_APP_SEND_REPORT_STEP, 1, 0);
  return true;
}

// Step 1 shows and paints the window, step 2 sends: painted before the workers start their
// tools, since a first paint behind their starts would hold up the window longer.
LRESULT SendReportDialog::OnStep(WPARAM step, LPARAM) {
  if (step == 1) {
    if (!closed_) {
      ShowWindow(hwnd(), SW_SHOW);
      UpdateWindow(hwnd());
    }
    PostMessageA(hwnd(), WM_APP_SEND_REPORT_STEP, 2, 0);
  } else {
    StartNow();
  }
  return 0;
}

void SendReportDialog::StartNow() {
  if (started_)
    return;
  started_ = true;
  const std::vector<SendStep> steps = report_.Steps();
  std::vector<size_t> rows(steps.size());
  for (size_t i = 0; i < rows.size(); ++i)
    rows[i] = i;
  Send(std::move(rows), steps);
  if (closed_)  // closed before its sends started: it may go now
    PostMessageA(GetWindow(hwnd(), GW_OWNER), WM_APP_SEND_REPORT_CLOSED, 0, 0);
}

void SendReportDialog::Send(std::vector<size_t> rows, const std::vector<SendStep>& steps) {
  dispatched_ = std::move(rows);
  host_.DispatchSteps(steps, *this);
}

void SendReportDialog::NotAdmitted(size_t step, const BoxRequest& box) {
  if (step >= dispatched_.size())
    return;
  report_.NotAdmitted(dispatched_[step], box);
  ShowRow(dispatched_[step]);
  ShowState();
}

OutcomeSink SendReportDialog::SinkFor(size_t step) {
  return step < dispatched_.size() ? SinkOfRow(hwnd(), number_, dispatched_[step]) : nullptr;
}

DispatchReport::StepExpander SendReportDialog::ExpanderFor(size_t step) {
  if (step >= dispatched_.size())
    return nullptr;
  HWND window = hwnd();
  const WPARAM number = number_;
  const size_t row = dispatched_[step];
  return
      [window, number, row](const std::vector<SendStep>& stationSteps, const std::string& failure) {
        StationRows message{row, stationSteps, failure, {}};
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
  message.rows = report_.Expand(message.row, message.stationSteps, message.failure);
  ShowRows();
  ShowState();
  return 1;
}

LRESULT SendReportDialog::OnOutcome(WPARAM number, LPARAM lParam) {
  if (number != number_)
    return 0;
  const auto& message = *reinterpret_cast<const RowOutcome*>(lParam);
  report_.Finish(message.row, message.outcome, services_.system);
  ShowRow(message.row);
  ShowState();
  return 0;
}

void SendReportDialog::ShowRows() {
  shown_ = report_.Shown(onlyFailed_);
  if (sortColumn_ >= 0)
    report_.Sort(shown_, static_cast<ReportColumn>(sortColumn_), ascending_);
  position_.assign(report_.rows().size(), kNotShown);
  stations_.resize(shown_.size());
  names_.resize(shown_.size());
  results_.resize(shown_.size());
  for (size_t i = 0; i < shown_.size(); ++i) {
    position_[shown_[i]] = i;
    stations_[i] = report_.Cell(shown_[i], ReportColumn::kStation);
    names_[i] = report_.Cell(shown_[i], ReportColumn::kName);
    results_[i] = report_.Cell(shown_[i], ReportColumn::kResult);
  }
  list_.ShowAll();
  if (sortColumn_ >= 0)
    list_.ShowSortArrow(sortColumn_, ascending_);
  FitColumns();
}

void SendReportDialog::ShowRow(size_t row) {
  const size_t at = row < position_.size() ? position_[row] : kNotShown;
  if (onlyFailed_ && (at == kNotShown) == report_.ShownAsFailed(row)) {
    SetTimer(hwnd(), kRefreshTimer, kRefreshDelayMs, nullptr);  // it joins or leaves the rows
    return;
  }
  if (at == kNotShown)
    return;
  results_[at] = report_.Cell(row, ReportColumn::kResult);
  list_.RedrawRows(static_cast<int>(at), static_cast<int>(at));
}

LRESULT SendReportDialog::OnTimer(WPARAM id, LPARAM) {
  if (id != kRefreshTimer)
    return 0;
  KillTimer(hwnd(), kRefreshTimer);
  ShowRows();
  return 0;
}

void SendReportDialog::ShowState() {
  SetCaption(report_.Caption());
  EnableItem(IDC_REPORT_RESEND, report_.CanResend());
}

void SendReportDialog::OnColumnClick(int column) {
  ascending_ = column == sortColumn_ ? !ascending_ : true;
  sortColumn_ = column;
  ShowRows();
}

void SendReportDialog::OnOnlyFailed() {
  onlyFailed_ = SendMessageA(Item(IDC_REPORT_ONLY_FAILED), BM_GETCHECK, 0, 0) == BST_CHECKED;
  ShowRows();
}

void SendReportDialog::OnResend() {
  if (!report_.CanResend())
    return;
  std::vector<size_t> rows;
  std::vector<SendStep> steps;
  for (auto& [row, step] : report_.Resend()) {
    rows.push_back(row);
    steps.push_back(std::move(step));
  }
  ShowRows();
  ShowState();
  Send(std::move(rows), steps);
}

void SendReportDialog::OnCopy() {
  if (!services_.clipboard.SetText(hwnd(), report_.ClipboardText(shown_))) {
    services_.boxes.Show(hwnd(), {"Der Bericht konnte nicht in die Zwischenablage kopiert werden.",
                                  kErrorTitle, BoxIcon::kStop});
  }
}

void SendReportDialog::OnCancel() {
  closed_ = true;
  KillTimer(hwnd(), kRefreshTimer);
  ShowWindow(hwnd(), SW_HIDE);
  // The owner lets go of this window; not here, inside one of its own messages.
  PostMessageA(GetWindow(hwnd(), GW_OWNER), WM_APP_SEND_REPORT_CLOSED, 0, 0);
}

void SendReportDialog::FitColumns() {
  if (!list_.hwnd())
    return;
  const ReportColumnWidths widths =
      FitReportColumns(list_.ColumnSpace(), NeededWidth(list_.hwnd(), stations_, "Station"),
                       NeededWidth(list_.hwnd(), names_, "Name"));
  SendMessageA(list_.hwnd(), LVM_SETCOLUMNWIDTH, 0, widths.station);
  SendMessageA(list_.hwnd(), LVM_SETCOLUMNWIDTH, 1, widths.name);
  SendMessageA(list_.hwnd(), LVM_SETCOLUMNWIDTH, 2, widths.result);
}

void SendReportDialog::ApplyLayout() {
  RECT client = {};
  GetClientRect(hwnd(), &client);
  const int buttons[] = {IDC_REPORT_RESEND, IDC_REPORT_COPY, IDCANCEL};
  std::vector<Size> sizes;
  for (int id : buttons)
    sizes.push_back(ControlSize(Item(id)));
  const ReportLayout layout =
      ComputeReportLayout(client.right, client.bottom, headingPlace_, filterPlace_, sizes);
  Place(Item(IDC_REPORT_HEADING), layout.heading);
  Place(Item(IDC_REPORT_ONLY_FAILED), layout.filter);
  Place(list_.hwnd(), layout.list);
  for (size_t i = 0; i < sizes.size(); ++i)
    Place(Item(buttons[i]), layout.buttons[i]);
  FitColumns();
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
