// "Sendebericht" (dialog 170): the report of one list or domain dispatch, a modeless window
// that the main window opens for the dispatch and lets go of when the user closes it. It lives
// on through the resends of its failed rows. The send workers hand their outcomes to its thread
// with a synchronous message and touch nothing else.
#pragma once

#include <string>
#include <vector>

#include "dispatch/send_report.h"
#include "dispatch/send_workers.h"
#include "platform/clipboard.h"
#include "platform/geometry.h"
#include "platform/message_boxes.h"
#include "platform/system.h"
#include "platform/win32/dialog.h"
#include "platform/win32/list_view.h"

namespace botenruf::win {

class SendReportDialog;

// What a send report asks of the window that opened it.
class SendReportHost {
 public:
  virtual ~SendReportHost() = default;
  // Sends steps with this report: its first dispatch, or a resend of its failed rows.
  virtual void DispatchSteps(const std::vector<SendStep>& steps, SendReportDialog& report) = 0;
};

struct SendReportServices {
  SystemInfo& system;
  Clipboard& clipboard;
  MessageBoxes& boxes;
};

class SendReportDialog : public Dialog, public DispatchReport {
 public:
  // `cascade`: how many reports are open already; this one opens that many steps beside them.
  SendReportDialog(HWND owner, SendReport report, SendReportHost& host, SendReportServices services,
                   ListLook look, int cascade);

  const SendReport& report() const { return report_; }
  // Closed by the user, and its sends started: the window may go.
  bool closed() const { return closed_ && started_; }
  ListView& list() { return list_; }

  // Creates the window hidden; it shows and sends its rows in steps of their own, each a message
  // of its own, so that the main window answers between them.
  bool Open();
  // Sends the rows now if the steps have not come to it yet (the program ends).
  void StartNow();

  // The dispatch's calls, on this window's thread; `step` is a step of the latest dispatch.
  void NotAdmitted(size_t step, const BoxRequest& box) override;
  OutcomeSink SinkFor(size_t step) override;
  StepExpander ExpanderFor(size_t step) override;

 protected:
  bool OnInitDialog() override;
  // Enter presses the default button "Schließen" (or the button that has the focus); none sends
  // IDOK.
  void OnOK() override {}
  // "Schließen", Enter, Escape and the close box: the sends still running end without a word.
  void OnCancel() override;
  bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void Send(std::vector<size_t> rows, const std::vector<SendStep>& steps);
  LRESULT OnStep(WPARAM, LPARAM);
  void OnResend();
  void OnCopy();
  void OnOnlyFailed();
  void OnColumnClick(int column);
  LRESULT OnOutcome(WPARAM, LPARAM);
  LRESULT OnExpand(WPARAM, LPARAM);
  LRESULT OnTimer(WPARAM, LPARAM);
  LRESULT OnSize(WPARAM, LPARAM);
  LRESULT OnGetMinMaxInfo(WPARAM, LPARAM);
  // The rows shown anew: filtered, in the chosen order.
  void ShowRows();
  void ShowRow(size_t row);
  void ShowState();
  void ApplyLayout();
  void FitColumns();

  SendReport report_;
  SendReportHost& host_;
  SendReportServices services_;
  ListLook look_;
  int cascade_;
  ListView list_;
  // The report's columns as its owner-data list asks for them, row for row as shown.
  std::vector<std::string> stations_;
  std::vector<std::string> names_;
  std::vector<std::string> results_;
  std::vector<size_t> shown_;       // the report's row of each shown one
  std::vector<size_t> position_;    // where a report row is shown; npos when it is not
  std::vector<size_t> dispatched_;  // the report's row of each step of the latest dispatch
  int sortColumn_ = -1;
  bool ascending_ = true;
  bool onlyFailed_ = false;
  // Tells this report's outcomes from those meant for a report that was closed before.
  WPARAM number_;
  Rect headingPlace_;
  Rect filterPlace_;
  bool initialized_ = false;
  bool closed_ = false;
  bool started_ = false;

  static const MessageEntry<SendReportDialog> kMessageMap[];
};

}  // namespace botenruf::win
