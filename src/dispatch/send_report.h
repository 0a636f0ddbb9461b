// The send report: one window per list or domain dispatch instead of a box per recipient. The
// report keeps a row per recipient with what became of its send, for as long as the window
// lives: a resend of the failed rows sends them again in the same report, each row counting
// its attempts, and a domain sent to station by station puts its stations where it stood.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
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
  std::string name;     // the alias from the address book, else a listed station's description
  State state = State::kSending;
  std::string result;  // one line: what the box would have said, or the words above
  SendStep step;       // what went out, for a resend of exactly the same text
  int attempt = 1;
  bool replaced = false;  // a domain whose listed stations took its place
  size_t group = 0;       // the row of the dispatch it stands for: its own, or its domain's
};

enum class ReportColumn { kStation, kName, kResult };

class SendReport {
 public:
  // The report of one dispatch's steps, one row each; none when a step concerns the whole send
  // (no recipient, no message) or there is no step. A step with a box is a recipient refused
  // before sending (a name net send would misread, a line too long). `target` is what the
  // recipient box showed (the list's or the domain's name, or the typed names); `message` is
  // the editor's text as typed.
  static std::optional<SendReport> ForDispatch(int mode, const std::string& target,
                                               const std::vector<SendStep>& steps,
                                               const RecipientDirectory& directory,
                                               const std::string& message, const LocalTime& sentAt);

  // Every row the report has had, in the order they came: a row keeps its number for good.
  const std::vector<ReportRow>& rows() const { return rows_; }
  // The steps of the first dispatch: step i is row i.
  std::vector<SendStep> Steps() const;

  // Row `row` cannot get a worker at all; `box` says why. It counts as failed.
  void NotAdmitted(size_t row, const BoxRequest& box);
  // The worker of row `row` has ended.
  void Finish(size_t row, const SendOutcome& outcome, SystemInfo& system);
  // The domain of row `row` (a domain through msg) has been listed: its stations' steps take the
  // row's place, in order; a listing that failed (`failure`), or one without any station, fails
  // the row. Gives the row of each step.
  std::vector<size_t> Expand(size_t row, const std::vector<SendStep>& stationSteps,
                             const std::string& failure = {});

  // The rows the window shows, in the order of the dispatch (a domain's stations where the
  // domain stood); with `onlyFailed` the failed and refused ones alone.
  std::vector<size_t> Shown(bool onlyFailed) const;
  // Sorts shown rows by a column's text, letter case aside, keeping the order of equal ones:
  // by the result the failures come together, grouped by their reason.
  void Sort(std::vector<size_t>& shown, ReportColumn column, bool ascending) const;
  // A cell as the window shows it: a result of a later attempt says which ("(2. Versuch)").
  std::string Cell(size_t row, ReportColumn column) const;

  // A row that "Nur Fehlgeschlagene" shows: failed once sent, not admitted, or refused.
  bool ShownAsFailed(size_t row) const;

  int Delivered() const;
  // Failed once sent, not admitted, or refused before sending.
  int FailedCount() const;
  bool Sending() const;
  // "Sendebericht Alle: läuft, 12 von 25 fertig", then "Sendebericht Alle: 18 zugestellt,
  // 7 fehlgeschlagen".
  std::string Caption() const;
  // "Alle, gesendet am 06.12.2004 um 10:15:03: " and the first line of the message.
  std::string Heading() const;
  // Rows that failed once sent or not admitted; refused rows would only be refused again.
  std::vector<size_t> Failed() const;
  // Once every send has ended, the failed rows can be sent again.
  bool CanResend() const;
  // The failed rows go back to "wird gesendet...", one attempt more: their rows with the very
  // steps they were sent with.
  std::vector<std::pair<size_t, SendStep>> Resend();
  // A text that pastes into a spreadsheet as a table: a line naming the dispatch, its time and
  // counts, the column header, then the shown rows; tab-separated, each line ending in CR LF.
  std::string ClipboardText(const std::vector<size_t>& shown) const;

 private:
  bool Counts(const ReportRow& row) const { return !row.replaced; }

  std::vector<ReportRow> rows_;
  std::string target_;
  std::string message_;
  LocalTime sentAt_;
  // The aliases of the address book by upper-case station: a domain's stations come later.
  std::map<std::string, std::string> aliases_;
};

}  // namespace botenruf
