// The send report: one window per list or domain dispatch instead of a box per recipient. The
// report holds a row per recipient in dispatch order with what became of its send, the counts
// for its caption, the recipients that failed, and the text it puts on the clipboard.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "directory/recipient_directory.h"
#include "dispatch/message_composer.h"
#include "dispatch/send_workers.h"
#include "platform/system.h"

namespace botenruf {

// A list or a domain dispatch is reported in one window when the report is switched on; a send
// to single recipients keeps its boxes.
bool WantsSendReport(int mode, bool sendebericht);

inline constexpr const char* kReportSending = "wird gesendet...";
inline constexpr const char* kReportDelivered = "zugestellt";
inline constexpr const char* kReportDomainName = "Domäne";

struct ReportRow {
  enum class State { kSending, kDelivered, kFailed, kRefused };
  std::string station;  // the name as it was sent to
  std::string name;     // the single recipient's alias, else the station
  State state = State::kSending;
  std::string result;  // one line: what the box would have said, or the two words above
  SendStep step;       // what went out, for a resend of exactly the same text
};

class SendReport {
 public:
  // The report of one dispatch's steps, one row each; none when a step concerns the whole send
  // (no recipient, no message) or there is no step. A step with a box is a recipient refused
  // before sending (a name net send would misread, a line too long). `message` is the editor's
  // text as typed.
  static std::optional<SendReport> ForDispatch(int mode, const std::vector<SendStep>& steps,
                                               const RecipientDirectory& directory,
                                               const std::string& message, const LocalTime& sentAt);

  const std::vector<ReportRow>& rows() const { return rows_; }
  // The steps to run, in row order: row i is step i.
  std::vector<SendStep> Steps() const;

  // Row `row` was not admitted to a worker; `box` says why. It counts as failed.
  void NotAdmitted(size_t row, const BoxRequest& box);
  // The worker of row `row` has ended.
  void Finish(size_t row, const SendOutcome& outcome, SystemInfo& system);
  // The domain of row `row`, the report's last (a domain through msg), has been listed: its
  // stations' steps take the row's place, in order; a listing that failed (`failure`), or one
  // without any station, fails the row. Gives the row of each step.
  std::vector<size_t> Expand(size_t row, const std::vector<SendStep>& stationSteps,
                             const std::string& failure = {});

  int Delivered() const;
  bool Sending() const;
  // "Sendebericht: 7 von 10 zugestellt"
  std::string Caption() const;
  // "Gesendet am 06.12.2004 um 10:15:03: " and the first line of the message.
  std::string Heading() const;
  // Rows that failed once sent or not admitted; refused rows would only be refused again.
  std::vector<size_t> Failed() const;
  // Once every send has ended, the failed rows can be sent again, once per report.
  bool CanResend() const;
  // A report of the failed rows, sending again the very steps they were sent with; this
  // report's resend is used up.
  SendReport Resend(const LocalTime& now);
  // One line per row: station, name and result, separated by tabs, each line ending in CR LF.
  std::string ClipboardText() const;

 private:
  std::vector<ReportRow> rows_;
  std::string message_;
  LocalTime sentAt_;
  bool resent_ = false;
};

}  // namespace botenruf
