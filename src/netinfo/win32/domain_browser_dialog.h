// "Domänen-Info" (dialog 167): the stations of a domain, taken over into the recipient
// directory from a popup menu, and the starting point of the shares browser; and the worker
// that fills it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "netinfo/table_query.h"
#include "netinfo/take_over.h"
#include "netinfo/win32/browser_dialog.h"
#include "netinfo/win32/shares_dialog.h"

namespace botenruf::win {

// What the domain browser needs of the main window.
class DomainBrowserHost {
 public:
  virtual ~DomainBrowserHost() = default;
  virtual RecipientDirectory& Directory() = 0;
  virtual ListChoice CurrentListChoice() = 0;
  virtual int32_t MaxListMembers() = 0;
  virtual bool ListEditorOpen() = 0;
  // Reads the list file again when it was changed (by hand) since it was last read or written,
  // unless the list editor works on the directory, and refills the recipient box to match.
  virtual void ReadChangedListFile() = 0;
  // Writes the list file after a take-over and refills the recipient box where it shows the
  // changed kind of entry; what was not saved, or empty.
  virtual std::string SaveTakeOver(bool singlesChanged, bool listsChanged) = 0;
};

class DomainBrowserDialog : public BrowserDialog {
 public:
  DomainBrowserDialog(HWND owner, std::string title, std::shared_ptr<NetQuery> query,
                      DomainBrowserHost& host, ListLook look);
  ~DomainBrowserDialog() override;

  void SelectAll();

 protected:
  bool OnInitDialog() override;
  bool DispatchOwn(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void OnCloseCommand() override;

 private:
  void OnTakeOverSingles() { TakeOver(false); }
  void OnTakeOverIntoList() { TakeOver(true); }
  void TakeOver(bool intoList);
  void OnShares();
  LRESULT OnSharesDone(WPARAM, LPARAM);
  LRESULT OnColumnClick(NMHDR* header);
  LRESULT OnDoubleClick(NMHDR*);
  LRESULT OnContextMenu(WPARAM, LPARAM);
  void ShowStatus(const std::vector<std::string>& texts);

  DomainBrowserHost& host_;
  std::unique_ptr<SharesDialog> sharesDialog_;
  HCURSOR listCursor_ = nullptr;
  WNDPROC listProc_ = nullptr;

  static LRESULT CALLBACK StationListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam);
  static const MessageEntry<DomainBrowserDialog> kMessageMap[];
};

}  // namespace botenruf::win
