// "Verteilerlisten-Info" (dialog 165): one row per probed member of a distribution list, and
// the worker that fills it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "directory/recipient_directory.h"
#include "netinfo/list_check.h"
#include "netinfo/win32/browser_dialog.h"

namespace botenruf::win {

class ListCheckDialog : public BrowserDialog {
 public:
  // `directory` lends its shared sort state to the header clicks (user-interface thread).
  ListCheckDialog(HWND owner, std::string title, std::shared_ptr<NetQuery> query,
                  RecipientDirectory& directory, ListLook look);

  void ShowTesting(const std::string& name);
  void StartFlashing();
  void StopFlashing();

 protected:
  bool DispatchOwn(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  LRESULT OnTimer(WPARAM, LPARAM);
  LRESULT OnColumnClick(NMHDR* header);

  RecipientDirectory& directory_;
  bool flashing_ = false;

  static const MessageEntry<ListCheckDialog> kMessageMap[];
};

// Starts the worker for an open list check window; `owner` gets the end message.
void StartListCheckWorker(std::shared_ptr<NetQuery> query, MemberCheck check, HWND owner,
                          HWND dialog);

}  // namespace botenruf::win
