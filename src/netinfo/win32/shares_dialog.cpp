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
    : BrowserDialog(IDD_SHARES, owner, std::move(title), std::move(query), IDC_SHARES,
                    {"Name", "Typ", 2}, {}) {}  // the plain look

bool SharesDialog::DispatchOwn(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return DispatchTable(*this, kMessageMap, message, wParam, lParam, result);
}

LRESULT SharesDialog::OnDoubleClick(NMHDR*) {
  const int row = list().FirstSelected();
  if (row < 0)
    return 0;
  const WorkerServices& services = query().services();
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

}  // namespace botenruf::win
