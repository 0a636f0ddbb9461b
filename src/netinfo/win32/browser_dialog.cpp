#include "netinfo/win32/browser_dialog.h"

#include <commctrl.h>

#include <algorithm>

#include "netinfo/browser_window.h"
#include "platform/win32/placement.h"
#include "resource.h"

namespace botenruf::win {

const MessageEntry<BrowserDialog> BrowserDialog::kMessageMap[] = {
    OnMessage(WM_SIZE, &BrowserDialog::OnSize),
    OnMessage(WM_GETMINMAXINFO, &BrowserDialog::OnGetMinMaxInfo),
    OnMessage(WM_CLOSE, &BrowserDialog::OnClose),
    OnMessage(WM_APP_WINDOW_CALL, &BrowserDialog::OnWindowCall),
};

BrowserDialog::BrowserDialog(int templateId, HWND owner, std::string title,
                             std::shared_ptr<NetQuery> query, int listId, BrowserColumns columns,
                             ListLook look)
    : Dialog(templateId, owner),
      title_(std::move(title)),
      query_(std::move(query)),
      listId_(listId),
      columns_(columns),
      look_(look) {}

bool BrowserDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_NOTIFY && list_.Answer(reinterpret_cast<NMHDR*>(lParam), result))
    return true;
  return DispatchOwn(message, wParam, lParam, result) ||
         DispatchTable(*this, kMessageMap, message, wParam, lParam, result);
}

bool BrowserDialog::OnInitDialog() {
  SetIcon(LoadIconA(instance(), MAKEINTRESOURCEA(IDR_MAINFRAME)));
  list_ = ListView(Item(listId_), {&firsts_, &seconds_});
  const ColumnWidths widths = FifthsOf(list_.ColumnSpace(), columns_.firstFifths);
  list_.AddColumn(0, columns_.first, widths.first);
  list_.AddColumn(1, columns_.second, widths.second);
  list_.SetLook(look_);
  SetCaption(BrowserCaption(title_, kStateFinished));
  initialized_ = true;
  ApplyLayout();
  return true;
}

void BrowserDialog::SetSearching(bool on) {
  busy_ = on;
  SetCaption(BrowserCaption(title_, on ? kStateSearching : kStateFinished));
}

void BrowserDialog::Finish(const std::string& status) {
  SetItemText(IDC_BROWSER_STATUS, status);
  if (IsIconic(hwnd()) || IsZoomed(hwnd()))
    ShowWindow(hwnd(), SW_RESTORE);
}

void BrowserDialog::ShowOk() {
  SetItemText(IDOK, "OK");
  EnableItem(IDOK, true);
}

void BrowserDialog::AddRows(std::vector<TableRow> rows) {
  if (rows.empty())
    return;
  // Room for a whole listing at once, rather than twice its size at worst.
  if (firsts_.capacity() < firsts_.size() + rows.size()) {
    const size_t room = std::max(2 * firsts_.size(), firsts_.size() + rows.size());
    firsts_.reserve(room);
    seconds_.reserve(room);
  }
  for (TableRow& row : rows) {
    firsts_.push_back(std::move(row.first));
    seconds_.push_back(std::move(row.second));
  }
  list_.ShowAppended();
}

void BrowserDialog::SortRows(RecipientDirectory& directory, int column) {
  if (busy_)
    return;
  const std::vector<size_t> order = directory.SortPairs(firsts_, seconds_, column);
  list_.ShowSorted(order, column, directory.sortState().ascending);
}

void BrowserDialog::RequestClose() {
  query_->closeRequested = true;
  SetCaption(BrowserCaption(title_, kStateAborting));
  EnableItem(IDOK, false);
}

LRESULT BrowserDialog::OnClose(WPARAM, LPARAM) {
  OnCloseCommand();
  return 0;
}

LRESULT BrowserDialog::OnWindowCall(WPARAM wParam, LPARAM lParam) {
  if (reinterpret_cast<const NetQuery*>(wParam) == query_.get())
    (*reinterpret_cast<const std::function<void(BrowserDialog&)>*>(lParam))(*this);
  return 0;
}

void BrowserDialog::ApplyLayout() {
  RECT client = {};
  GetClientRect(hwnd(), &client);
  const BrowserLayout layout =
      ComputeBrowserLayout(client.right, client.bottom, ControlSize(Item(IDOK)));
  Place(list_.hwnd(), layout.list);
  Place(Item(IDOK), layout.button);
  if (HWND status = Item(IDC_BROWSER_STATUS))
    Place(status, StretchedAcross(client.right, PlaceInParent(status)));
}

LRESULT BrowserDialog::OnSize(WPARAM type, LPARAM) {
  if (initialized_ && type != SIZE_MINIMIZED)
    ApplyLayout();
  return 0;
}

LRESULT BrowserDialog::OnGetMinMaxInfo(WPARAM, LPARAM lParam) {
  return KeepMinimumTrackSize(lParam, kBrowserMinimumTrackSize);
}

void CallWindow(HWND window, const NetQuery& query,
                const std::function<void(BrowserDialog&)>& call) {
  SendMessageA(window, WM_APP_WINDOW_CALL, reinterpret_cast<WPARAM>(&query),
               reinterpret_cast<LPARAM>(&call));
}

namespace {

// The view of a window that shows one listing (the domain and the shares browser).
class TableWindow : public TableView, private WindowCalls<BrowserDialog> {
 public:
  using WindowCalls::WindowCalls;
  void ShowListing(std::vector<TableRow> rows, const std::string& status) override {
    Call([&rows, &status](BrowserDialog& d) {
      d.AddRows(std::move(rows));
      d.SetSearching(false);
      d.Finish(status);
      d.ShowOk();
    });
  }
  bool CloseRequested() override { return Closed(); }
};

}  // namespace

void StartTableWorker(std::shared_ptr<NetQuery> query, TableQueryRun run, BrowserDialog& window,
                      HWND receiver, UINT doneMessage) {
  // Searching from the start: the worker need not wait for this thread before its command.
  window.SetSearching(true);
  HWND dialog = window.hwnd();
  StartQueryWorker([query, run, dialog, receiver, doneMessage] {
    TableWindow view(dialog, *query);
    run(query->services(), query->target(), query->outputFile(), view);
    SendMessageA(receiver, doneMessage, 0, 0);
  });
}

void WaitForQueryWorkers(DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  MSG msg;
  while (RunningQueryWorkers() > 0 && GetTickCount() - start < timeoutMs) {
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // lets messages sent to us through
    Sleep(10);
  }
}

}  // namespace botenruf::win
