#include "netinfo/win32/list_check_dialog.h"

#include <commctrl.h>

#include "resource.h"
#include "text/text.h"

namespace botenruf::win {

const MessageEntry<ListCheckDialog> ListCheckDialog::kMessageMap[] = {
    OnMessage(WM_TIMER, &ListCheckDialog::OnTimer),
    OnNotify(IDC_LIST_CHECK_ROWS, LVN_COLUMNCLICK, &ListCheckDialog::OnColumnClick),
};

ListCheckDialog::ListCheckDialog(HWND owner, std::string title, std::shared_ptr<NetQuery> query,
                                 RecipientDirectory& directory, ListLook look)
    : BrowserDialog(IDD_LIST_CHECK, owner, std::move(title), std::move(query), IDC_LIST_CHECK_ROWS,
                    {"Station", "im Netz", 4}, look),
      directory_(directory) {}

bool ListCheckDialog::DispatchOwn(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return DispatchTable(*this, kMessageMap, message, wParam, lParam, result);
}

void ListCheckDialog::ShowTesting(const std::string& name) {
  SetItemText(IDC_BROWSER_STATUS, Format("Teste: \"%s\"...", name.c_str()));
}

void ListCheckDialog::StartFlashing() {
  flashing_ = SetTimer(hwnd(), IDT_LIST_CHECK_FLASH, 500, nullptr) != 0;
}

void ListCheckDialog::StopFlashing() {
  if (flashing_)
    KillTimer(hwnd(), IDT_LIST_CHECK_FLASH);
  flashing_ = false;
  FlashWindow(hwnd(), FALSE);
}

LRESULT ListCheckDialog::OnTimer(WPARAM id, LPARAM) {
  if (id == IDT_LIST_CHECK_FLASH)
    FlashWindow(hwnd(), TRUE);
  return 0;
}

LRESULT ListCheckDialog::OnColumnClick(NMHDR* header) {
  SortRows(directory_, reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
  return 0;
}

namespace {

// The worker's calls, carried out on the window's thread.
class ListCheckWindow : public ListCheckView, private WindowCalls<ListCheckDialog> {
 public:
  using WindowCalls::WindowCalls;
  void SetSearching(bool on) override {
    Call([on](ListCheckDialog& d) { d.SetSearching(on); });
  }
  void ShowTesting(const std::string& name) override {
    Call([&name](ListCheckDialog& d) { d.ShowTesting(name); });
  }
  void AddRow(int, const std::string& label, bool online) override {
    Call([&](ListCheckDialog& d) { d.AddRows({{label, OnlineText(online)}}); });
  }
  void Finish(const std::string& status) override {
    Call([&status](ListCheckDialog& d) { d.Finish(status); });
  }
  void ShowOk() override {
    Call([](ListCheckDialog& d) {
      d.ShowOk();
      d.StartFlashing();
    });
  }
  void StopFlashing() override {
    Call([](ListCheckDialog& d) { d.StopFlashing(); });
  }
  bool CloseRequested() override { return Closed(); }
};

}  // namespace

void StartListCheckWorker(std::shared_ptr<NetQuery> query, MemberCheck check, HWND owner,
                          HWND dialog) {
  StartQueryWorker([query, check = std::move(check), owner, dialog] {
    ListCheckWindow view(dialog, *query);
    RunListCheck(query->services(), check, query->outputFile(), view);
    SendMessageA(owner, WM_APP_LIST_CHECK_DONE, 0, 0);
  });
}

}  // namespace botenruf::win
