#include "dispatch/send_report.h"

#include "text/text.h"

namespace botenruf {
namespace {

using State = ReportRow::State;

std::string NameOf(int mode, const std::string& station, const RecipientDirectory& directory) {
  if (mode == kModeDomain)
    return kReportDomainName;
  const int index = directory.FindStation(station);
  if (index < 0)
    return station;
  std::string found, alias;
  directory.GetSingle(index, found, alias);
  return alias.empty() ? station : alias;
}

std::string FirstLine(const std::string& message) {
  for (const std::string& line : SplitLines(message)) {
    if (!Trim(line).empty())
      return OneLine(line);
  }
  return {};
}

}  // namespace

bool WantsSendReport(int mode, bool sendebericht) {
  return sendebericht && (mode == kModeList || mode == kModeDomain);
}

std::optional<SendReport> SendReport::ForDispatch(int mode, const std::vector<SendStep>& steps,
                                                  const RecipientDirectory& directory,
                                                  const std::string& message,
                                                  const LocalTime& sentAt) {
  if (steps.empty())
    return std::nullopt;
  SendReport report;
  report.message_ = message;
  report.sentAt_ = sentAt;
  for (const SendStep& step : steps) {
    if (step.recipient.empty())
      return std::nullopt;
    ReportRow row;
    row.station = OneLine(step.recipient);
    row.name = OneLine(NameOf(mode, step.recipient, directory));
    row.step = step;
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
  for (const ReportRow& row : rows_)
    steps.push_back(row.step);
  return steps;
}

void SendReport::NotAdmitted(size_t row, const BoxRequest& box) {
  if (row >= rows_.size() || rows_[row].state != State::kSending)
    return;
  rows_[row].state = State::kFailed;
  rows_[row].result = OneLine(box.text);
}

void SendReport::Finish(size_t row, const SendOutcome& outcome, SystemInfo& system) {
  if (row >= rows_.size() || rows_[row].state != State::kSending)
    return;
  const bool delivered = outcome.kind == SendOutcome::Kind::kDelivered;
  rows_[row].state = delivered ? State::kDelivered : State::kFailed;
  rows_[row].result = delivered ? kReportDelivered : OneLine(FailureText(system, outcome));
}

std::vector<size_t> SendReport::Expand(size_t row, const std::vector<SendStep>& stationSteps,
                                       const std::string& failure) {
  std::vector<size_t> placed;
  if (row + 1 != rows_.size() || !rows_[row].step.msgDomain ||
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
  rows_.pop_back();
  for (const SendStep& step : stationSteps) {
    ReportRow station;
    station.station = station.name = OneLine(step.recipient);
    station.step = step;
    station.state = step.commandLine.empty() ? State::kRefused : State::kSending;
    station.result = step.commandLine.empty() ? OneLine(step.box.text) : kReportSending;
    placed.push_back(rows_.size());
    rows_.push_back(std::move(station));
  }
  return placed;
}

int SendReport::Delivered() const {
  int count = 0;
  for (const ReportRow& row : rows_)
    count += row.state == State::kDelivered;
  return count;
}

bool SendReport::Sending() const {
  for (const ReportRow& row : rows_) {
    if (row.state == State::kSending)
      return true;
  }
  return false;
}

std::string SendReport::Caption() const {
  return Format("Sendebericht: %d von %d zugestellt", Delivered(), static_cast<int>(rows_.size()));
}

std::string SendReport::Heading() const {
  return Format("Gesendet am %02d.%02d.%04d um %02d:%02d:%02d: %s", sentAt_.day, sentAt_.month,
                sentAt_.year, sentAt_.hour, sentAt_.minute, sentAt_.second,
                FirstLine(message_).c_str());
}

std::vector<size_t> SendReport::Failed() const {
  std::vector<size_t> failed;
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].state == State::kFailed)
      failed.push_back(i);
  }
  return failed;
}

bool SendReport::CanResend() const {
  return !resent_ && !Sending() && !Failed().empty();
}

SendReport SendReport::Resend(const LocalTime& now) {
  SendReport again;
  again.message_ = message_;
  again.sentAt_ = now;
  for (size_t i : Failed()) {
    ReportRow row = rows_[i];
    row.state = State::kSending;
    row.result = kReportSending;
    again.rows_.push_back(std::move(row));
  }
  resent_ = true;
  return again;
}

std::string SendReport::ClipboardText() const {
  std::string text;
  for (const ReportRow& row : rows_) {
    text += row.station + '\t' + row.name + '\t' + row.result + "\r\n";
  }
  return text;
}

}  // namespace botenruf
