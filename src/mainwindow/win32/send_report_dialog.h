// "Sendebericht" (dialog 170): the report of one list or domain dispatch, a modeless window
// that the main window opens for the dispatch and lets go of when the user closes it. The send
// workers hand their outcomes to its thread with a synchronous message and touch nothing else.
#pragma once

#include <string>

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
  // Sends the report's rows as a dispatch of their own, with this report.
  virtual void DispatchWithReport(SendReport report) = 0;
};

struct SendReportServices {
  SystemInfo& system;
  Clipboard& clipboard;
  MessageBoxes& boxes;
};

class SendReportDialog : public Dialog, public DispatchReport {
 public:
  SendReportDialog(HWND owner, SendReport report, SendReportHost& host, SendReportServices services,
                   ListLook look);

  const SendReport& report() const { return report_; }
  bool closed() const { return closed_; }
  ListView& list() { return list_; }

  // The dispatch's calls, on this window's thread.
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
  void OnResend();
  void OnCopy();
  LRESULT OnOutcome(WPARAM, LPARAM);
  LRESULT OnExpand(WPARAM, LPARAM);
  void ShowRows();
  LRESULT OnSize(WPARAM, LPARAM);
  LRESULT OnGetMinMaxInfo(WPARAM, LPARAM);
  void ShowResult(size_t row);
  void ShowState();
  void ApplyLayout();

  SendReport report_;
  SendReportHost& host_;
  SendReportServices services_;
  ListLook look_;
  ListView list_;
  // The report's columns as its owner-data list asks for them, row for row.
  std::vector<std::string> stations_;
  std::vector<std::string> names_;
  std::vector<std::string> results_;
  // Tells this report's outcomes from those meant for a report that was closed before.
  WPARAM number_;
  Rect headingPlace_;
  bool initialized_ = false;
  bool closed_ = false;

  static const MessageEntry<SendReportDialog> kMessageMap[];
};

}  // namespace botenruf::win
