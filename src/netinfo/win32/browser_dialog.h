// The base of the three browser windows (list check 165, domain 167, shares 168): a modeless
// dialog with a status line, a two-column list and one button, filled by a worker thread.
// The worker never touches the window itself: every change is handed to the window's own
// thread with a synchronous message (CallWindow), so no lock is needed and none can be held
// while the worker waits for that thread.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "directory/recipient_directory.h"
#include "netinfo/net_query.h"
#include "netinfo/table_query.h"
#include "platform/win32/dialog.h"
#include "platform/win32/list_view.h"

namespace botenruf::win {

struct BrowserColumns {
  const char* first;
  const char* second;
  int firstFifths;  // share of the first column in fifths of the list's width
};

class BrowserDialog : public Dialog {
 public:
  BrowserDialog(int templateId, HWND owner, std::string title, std::shared_ptr<NetQuery> query,
                int listId, BrowserColumns columns, ListLook look);

  // Calls the worker makes, each carried out on the window's thread.
  void SetSearching(bool on);
  void Finish(const std::string& status);
  void ShowOk();
  // Adds rows at the end of the list.
  void AddRows(std::vector<TableRow> rows);

  // Button 1 and the close box: the worker is told to end; the window stays until the
  // worker's last message has been handled.
  void RequestClose();
  bool closeRequested() const { return query_->closeRequested; }
  bool busy() const { return busy_; }
  const std::string& title() const { return title_; }
  ListView& list() { return list_; }
  const NetQuery& query() const { return *query_; }

 protected:
  bool OnInitDialog() override;
  // Enter presses the default button "Beenden"/"OK", Escape does what it does.
  void OnOK() override { OnCloseCommand(); }
  void OnCancel() override { OnCloseCommand(); }
  bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  // The derived window's own table, asked first.
  virtual bool DispatchOwn(UINT, WPARAM, LPARAM, LRESULT&) { return false; }
  // Button 1 and the close box.
  virtual void OnCloseCommand() { RequestClose(); }
  // A header click: the kept rows sorted by `column` (the directory keeps the direction and
  // the column of the last sort) and shown again, the selection kept. Not while the worker
  // still adds rows.
  void SortRows(RecipientDirectory& directory, int column);

 private:
  LRESULT OnSize(WPARAM, LPARAM);
  LRESULT OnGetMinMaxInfo(WPARAM, LPARAM);
  LRESULT OnClose(WPARAM, LPARAM);
  LRESULT OnWindowCall(WPARAM, LPARAM);
  void ApplyLayout();

  std::string title_;
  std::shared_ptr<NetQuery> query_;
  int listId_;
  BrowserColumns columns_;
  ListLook look_;
  ListView list_;
  bool initialized_ = false;
  bool busy_ = false;
  // The rows the list shows (its two columns), as the worker added them or as last sorted.
  std::vector<std::string> firsts_;
  std::vector<std::string> seconds_;

  static const MessageEntry<BrowserDialog> kMessageMap[];
};

// From a worker thread: runs `call` on the thread of `window`, and waits for it. Nothing runs
// when the window is gone or belongs to another query.
void CallWindow(HWND window, const NetQuery& query,
                const std::function<void(BrowserDialog&)>& call);

// A worker's view of its window of type D: every call is carried out on the window's thread.
template <class D>
class WindowCalls {
 public:
  WindowCalls(HWND dialog, const NetQuery& query) : dialog_(dialog), query_(query) {}

 protected:
  void Call(const std::function<void(D&)>& call) {
    CallWindow(dialog_, query_, [&call](BrowserDialog& d) { call(static_cast<D&>(d)); });
  }
  bool Closed() const { return query_.closeRequested; }

 private:
  HWND dialog_;
  const NetQuery& query_;
};

// Starts the worker of a listing window, which shows its search from now on: `run` fills
// `window` with what the query finds, then `receiver` is sent `doneMessage`.
using TableQueryRun = void (*)(const WorkerServices&, const std::string& target,
                               const std::string& outputFile, TableView& view);
void StartTableWorker(std::shared_ptr<NetQuery> query, TableQueryRun run, BrowserDialog& window,
                      HWND receiver, UINT doneMessage);

// The end of the program: waits (taking the messages sent meanwhile) until every query worker
// has ended, at most `timeoutMs`, so that none is cut off before it deleted its output file.
void WaitForQueryWorkers(DWORD timeoutMs);

}  // namespace botenruf::win
