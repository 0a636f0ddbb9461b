// "Freigaben" (dialog 168): the shares of one station, opened in the explorer on a double
// click; and the worker that fills it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "netinfo/win32/browser_dialog.h"

namespace botenruf::win {

class SharesDialog : public BrowserDialog {
 public:
  // `title` is the station with its two backslashes.
  SharesDialog(HWND owner, std::string title, std::shared_ptr<NetQuery> query);

 protected:
  bool DispatchOwn(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  LRESULT OnDoubleClick(NMHDR*);

  static const MessageEntry<SharesDialog> kMessageMap[];
};

}  // namespace botenruf::win
