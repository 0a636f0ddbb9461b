#include "dispatch/send_report.h"

#include <algorithm>

#include "text/text.h"

namespace botenruf {
namespace {

using State = ReportRow::State;

std::string FirstLine(const std::string& message) {
  for (const std::string& line : SplitLines(message)) {
    if (!Trim(line).empty())
      return OneLine(line);
  }
  return {};
}

bool IsFailure(State state) {
  return state == State::kFailed || state == State::kRefused;
}

}  // namespace

bool WantsSendReport(int mode, bool sendebericht) {
  return sendebericht && (mode == kModeList || mode == kModeDomain);
}

std::optional<SendReport> SendReport::ForDispatch(int mode, const std::string& target,
                                                  const std::vector<SendStep>& steps,
                                                  const RecipientDirectory& directory,
                                                  const std::string& message,
                                                  const LocalTime& sentAt) {
  if (steps.empty())
    return std::nullopt;
  SendReport report;
  report.target_ = OneLine(Trim(target));
  report.message_ = message;
  report.sentAt_ = sentAt;
  for (int i = directory.SingleCount() - 1; i >= 0; --i) {  // the first of equal stations wins
    if (!directory.Aliases()[i].empty())
      report.aliases_[ToUpper1252(directory.Stations()[i])] = directory.Aliases()[i];
  }
  for (const SendStep& step : steps) {
    if (step.recipient.empty())
      return std::nullopt;
    ReportRow row;
    row.station = OneLine(step.recipient);
    if (mode == kModeDomain) {
      row.name = kReportDomainName;
    } else {
      const auto alias = report.aliases_.find(ToUpper1252(Trim(step.recipient)));
      row.name = alias != report.aliases_.end() ? OneLine(alias->second) : row.station;
    }
    row.step = step;
    row.group = report.rows_.size();
    if (step.commandLine.empty() && !step.msgDomain) {
      row.state = State::kRefused;
      row.result = OneLine(step.box.text);
    } else {
      row.result = kReportSending;
    }
    report.rows_.push_back(std::move(row));
  }
  return report;
}

std::vector<SendStep> SendReport::Steps() const {
  std::vector<SendStep> steps;
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].group == i)  // a row of the dispatch, not a domain's station
      steps.push_back(rows_[i].step);
  }
  return steps;
}

void SendReport::NotAdmitted(size_t row, const BoxRequest& box) {
  if (row >= rows_.size() || rows_[row].state != State::kSending)
    return;
  rows_[row].state = State::kFailed;
  rows_[row].result = OneLine(box.text);
}

void SendReport::Finish(size_t row, const SendOutcome& outcome, SystemInfo& system) {
  if (row >= rows_.size() || rows_[row].state != State::kSending || rows_[row].replaced)
    return;
  const bool delivered = outcome.kind == SendOutcome::Kind::kDelivered;
  rows_[row].state = delivered ? State::kDelivered : State::kFailed;
  rows_[row].result = delivered ? kReportDelivered : OneLine(FailureText(system, outcome));
}

std::vector<size_t> SendReport::Expand(size_t row, const std::vector<SendStep>& stationSteps,
                                       const std::string& failure) {
  std::vector<size_t> placed;
  if (row >= rows_.size() || !rows_[row].step.msgDomain || rows_[row].replaced ||
      rows_[row].state != State::kSending) {
    return placed;
  }
  if (!failure.empty() || stationSteps.empty()) {
    rows_[row].state = State::kFailed;
    rows_[row].result = !failure.empty()
                            ? OneLine(failure)
                            : Format("In der Domäne \"%s\" wurde keine Station gefunden.",
                                     rows_[row].step.msgDomain->domain.c_str());
    return placed;
  }
  rows_[row].replaced = true;
  const size_t group = rows_[row].group;
  const int attempt = rows_[row].attempt;
  for (const SendStep& step : stationSteps) {
    ReportRow station;
    station.station = OneLine(step.recipient);
    const auto alias = aliases_.find(ToUpper1252(Trim(step.recipient)));
    station.name = OneLine(alias != aliases_.end() ? alias->second : step.description);
    station.step = step;
    station.attempt = attempt;
    station.group = group;
    station.state = step.commandLine.empty() ? State::kRefused : State::kSending;
    station.result = step.commandLine.empty() ? OneLine(step.box.text) : kReportSending;
    placed.push_back(rows_.size());
    rows_.push_back(std::move(station));
  }
  return placed;
}

std::vector<size_t> SendReport::Shown(bool onlyFailed) const {
  std::vector<size_t> shown;
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (Counts(rows_[i]) && (!onlyFailed || IsFailure(rows_[i].state)))
      shown.push_back(i);
  }
  std::stable_sort(shown.begin(), shown.end(),
                   [this](size_t a, size_t b) { return rows_[a].group < rows_[b].group; });
  return shown;
}

void SendReport::Sort(std::vector<size_t>& shown, ReportColumn column, bool ascending) const {
  const auto key = [this, column](size_t row) -> const std::string& {
    switch (column) {
      case ReportColumn::kStation:
        return rows_[row].station;
      case ReportColumn::kName:
        return rows_[row].name;
      case ReportColumn::kResult:
        break;
    }
    return rows_[row].result;
  };
  // By the result, the failures come first (last, descending), then the sends still on their
  // way, then the deliveries, each kind ordered by its text.
  const auto rank = [this, column](size_t row) {
    if (column != ReportColumn::kResult)
      return 0;
    return IsFailure(rows_[row].state) ? 0 : rows_[row].state == State::kSending ? 1 : 2;
  };
  std::stable_sort(shown.begin(), shown.end(), [&](size_t a, size_t b) {
    int order = rank(a) - rank(b);
    if (order == 0)
      order = CompareIgnoreCase1252(key(a), key(b));
    return ascending ? order < 0 : order > 0;
  });
}

std::string SendReport::Cell(size_t row, ReportColumn column) const {
  const ReportRow& r = rows_[row];
  switch (column) {
    case ReportColumn::kStation:
      return r.station;
    case ReportColumn::kName:
      return r.name;
    case ReportColumn::kResult:
      break;
  }
  return r.attempt > 1 ? Format("%s (%d. Versuch)", r.result.c_str(), r.attempt) : r.result;
}

bool SendReport::ShownAsFailed(size_t row) const {
  return IsFailure(rows_[row].state);
}

int SendReport::Delivered() const {
  int count = 0;
  for (const ReportRow& row : rows_)
    count += Counts(row) && row.state == State::kDelivered;
  return count;
}

int SendReport::FailedCount() const {
  int count = 0;
  for (const ReportRow& row : rows_)
    count += Counts(row) && IsFailure(row.state);
  return count;
}

bool SendReport::Sending() const {
  return std::any_of(rows_.begin(), rows_.end(), [this](const ReportRow& row) {
    return Counts(row) && row.state == State::kSending;
  });
}

std::string SendReport::Caption() const {
  const int delivered = Delivered(), failed = FailedCount();
  if (!Sending())
    return Format("Sendebericht %s: %d zugestellt, %d fehlgeschlagen", target_.c_str(), delivered,
                  failed);
  int total = 0;
  for (const ReportRow& row : rows_)
    total += Counts(row);
  return Format("Sendebericht %s: läuft, %d von %d fertig", target_.c_str(), delivered + failed,
                total);
}

std::string SendReport::Heading() const {
  return Format("%s, gesendet am %02d.%02d.%04d um %02d:%02d:%02d: %s", target_.c_str(),
                sentAt_.day, sentAt_.month, sentAt_.year, sentAt_.hour, sentAt_.minute,
                sentAt_.second, FirstLine(message_).c_str());
}

std::vector<size_t> SendReport::Failed() const {
  std::vector<size_t> failed;
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (Counts(rows_[i]) && rows_[i].state == State::kFailed)
      failed.push_back(i);
  }
  return failed;
}

bool SendReport::CanResend() const {
  return !Sending() && !Failed().empty();
}

std::vector<std::pair<size_t, SendStep>> SendReport::Resend() {
  std::vector<std::pair<size_t, SendStep>> again;
  for (size_t i : Failed()) {
    ReportRow& row = rows_[i];
    row.state = State::kSending;
    row.result = kReportSending;
    ++row.attempt;
    again.emplace_back(i, row.step);
  }
  return again;
}

std::string SendReport::ClipboardText(const std::vector<size_t>& shown) const {
  std::string text = Format(
      "Sendebericht %s vom %02d.%02d.%04d, %02d:%02d:%02d: %d zugestellt, %d "
      "fehlgeschlagen\r\nStation\tName\tErgebnis\r\n",
      target_.c_str(), sentAt_.day, sentAt_.month, sentAt_.year, sentAt_.hour, sentAt_.minute,
      sentAt_.second, Delivered(), FailedCount());
  for (size_t row : shown) {
    text += Cell(row, ReportColumn::kStation) + '\t' + Cell(row, ReportColumn::kName) + '\t' +
            Cell(row, ReportColumn::kResult) + "\r\n";
  }
  return text;
}

}  // namespace botenruf
