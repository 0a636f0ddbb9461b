#include "netinfo/win32/shares_dialog.h"

#include <commctrl.h>

#include "netinfo/shares.h"
#include "netinfo/table_query.h"
#include "resource.h"

namespace botenruf::win {

const MessageEntry<SharesDialog> SharesDialog::kMessageMap[] = {
    OnNotify(IDC_SHARES, NM_DBLCLK, &SharesDialog::OnDoubleClick),
};

SharesDialog::SharesDialog(HWND owner, std::string title, std::shared_ptr<NetQuery> query)
    : BrowserDialog(IDD_SHARES, owner, std::move(title), query, IDC_SHARES, {"Name", "Typ", 2}, {}),
      query_(std::move(query)) {}

bool SharesDialog::DispatchOwn(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return DispatchTable(*this, kMessageMap, message, wParam, lParam, result);
}

void SharesDialog::AddRow(int index, const std::string& name, const std::string& type) {
  if (list().InsertRow(index, name))
    list().SetText(index, 1, type);
}

LRESULT SharesDialog::OnDoubleClick(NMHDR*) {
  const int row = list().FirstSelected();
  if (row < 0)
    return 0;
  const WorkerServices& services = query_->services();
  std::string commandLine;
  const std::string refusal =
      OpenShareCommandLine(*services.system, title(), list().Text(row, 0), commandLine);
  if (!refusal.empty()) {
    SetItemText(IDC_BROWSER_STATUS, refusal);
    return 0;
  }
  if (!commandLine.empty())
    RunCommand(*services.processes, commandLine);  // waits for the interpreter, not the explorer
  return 0;
}

namespace {

class SharesWindow : public TableView {
 public:
  SharesWindow(HWND dialog, const NetQuery& query) : dialog_(dialog), query_(query) {}
  void SetSearching(bool on) override {
    Call([on](SharesDialog& d) { d.SetSearching(on); });
  }
  void AddRows(int first, const std::vector<TableRow>& rows) override {
    Call([first, &rows](SharesDialog& d) {
      for (size_t i = 0; i < rows.size(); ++i)
        d.AddRow(first + static_cast<int>(i), rows[i].first, rows[i].second);
    });
  }
  void Finish(const std::string& status) override {
    Call([&status](SharesDialog& d) { d.Finish(status); });
  }
  void ShowOk() override {
    Call([](SharesDialog& d) { d.ShowOk(); });
  }
  bool CloseRequested() override { return query_.closeRequested; }

 private:
  void Call(const std::function<void(SharesDialog&)>& call) {
    CallWindow(dialog_, query_, [&call](BrowserDialog& d) { call(static_cast<SharesDialog&>(d)); });
  }
  HWND dialog_;
  const NetQuery& query_;
};

}  // namespace

void StartSharesWorker(std::shared_ptr<NetQuery> query, HWND requester, HWND dialog) {
  StartQueryWorker([query, requester, dialog] {
    SharesWindow view(dialog, *query);
    RunSharesQuery(query->services(), query->target(), query->outputFile(), view);
    query->done = true;
    SendMessageA(requester, WM_APP_SHARES_DONE, 0, 0);
  });
}

}  // namespace botenruf::win
