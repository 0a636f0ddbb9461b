#include "dispatch/msg_send.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <thread>

#include "dispatch/tool_errors.h"
#include "text/text.h"

namespace botenruf {

SendOutcome MsgSendOutcome(const CommandResult& result, const std::vector<std::string>& output,
                           const std::function<bool()>& stationAnswers) {
  using Kind = SendOutcome::Kind;
  if (!result.finished)
    return {Kind::kNotStarted, result.startError};
  const uint32_t code = ToolErrorCode(output);
  if (code == 0)
    return result.exitCode == 0 ? SendOutcome{Kind::kDelivered, 0}
                                : SendOutcome{Kind::kFailed, result.exitCode};
  if (IsUnreachableError(code))
    return {Kind::kOffline, 0};
  if (code == kRpcServerUnavailable)
    return stationAnswers() ? SendOutcome{Kind::kRefused, code} : SendOutcome{Kind::kOffline, 0};
  return {Kind::kFailed, code};
}

bool StationAnswers(const WorkerServices& services, const std::string& station) {
  const std::string outputFile = MakeTempFileName(*services.system, *services.files);
  std::vector<std::string> lines;
  const bool ran = RunQuery(*services.processes, *services.system, QueryKind::kNetView,
                            "\\\\" + station, outputFile) &&
                   ReadOutputLines(*services.files, *services.system, outputFile, lines);
  RemoveOutputFile(*services.files, outputFile);
  return ran && AnswersNetView(lines);
}

uint32_t MsgSendWorker(const WorkerServices& services, const std::string& commandLine,
                       const std::string& station, const OutcomeSink& report) {
  const int mode = services.settings->listenTyp;
  const std::string outputFile = MakeTempFileName(*services.system, *services.files);
  const CommandResult result = RunCommand(
      *services.processes, commandLine, [&services] { services.counter->Started(); }, outputFile);
  RemoveOutputFile(*services.files, outputFile);  // when the tool did not start
  const std::vector<std::string> output = SplitLines(services.system->ConsoleToAnsi(result.output));
  const SendOutcome outcome = MsgSendOutcome(
      result, output, [&] { return !ShutdownFlag().load() && StationAnswers(services, station); });
  ReportSendOutcome(services, mode, outcome, report);
  return result.exitCode;
}

std::vector<SendStep> MsgDomainSteps(const MsgDomainSend& send,
                                     const std::vector<ListedStation>& listed) {
  std::vector<SendStep> steps;
  std::set<std::string> seen;
  for (const auto& [station, description] : listed) {
    if (Trim(station).empty())
      continue;  // "/server:" without a name would make the message's first word the station
    // Windows compares station names without regard to case: a station listed twice (in any
    // case) gets the message once.
    if (!seen.insert(ToUpper1252(Trim(station))).second)
      continue;
    SendStep step = CheckedStep(
        station, {MsgCommandLine(send.program, station, send.message), {}, station, station}, true);
    step.description = description;
    steps.push_back(std::move(step));
  }
  return steps;
}

std::optional<BoxRequest> DomainSummaryBox(const std::string& domain, int delivered, int total,
                                           const std::vector<SummaryGroup>& failures,
                                           bool wellDone) {
  if (failures.empty() && !wellDone)
    return std::nullopt;
  std::string text = Format("An die Domäne \"%s\": %d von %d %s zugestellt.", domain.c_str(),
                            delivered, total, total == 1 ? "Station" : "Stationen");
  if (!failures.empty())
    text += "\r\n\r\nNicht zugestellt:";
  for (const auto& [reason, stations] : failures) {
    text += Format("\r\n- %s (%d): ", reason.c_str(), static_cast<int>(stations.size()));
    for (size_t i = 0; i < stations.size() && i < kSummaryNames; ++i)
      text += (i > 0 ? ", " : "") + stations[i];
    if (stations.size() > kSummaryNames)
      text += Format(" und %d weitere", static_cast<int>(stations.size() - kSummaryNames));
  }
  return BoxRequest{text, kApplicationTitle,
                    failures.empty() ? BoxIcon::kInformation : BoxIcon::kStop};
}

namespace {

// Gathers the outcomes of a domain's stations sent to without a report, on the workers'
// threads, and shows the one box that ends the send once the last has come.
class DomainSummary {
 public:
  DomainSummary(const WorkerServices& services, std::string domain, int expected,
                ThreadStarter startThread)
      : services_(services),
        domain_(std::move(domain)),
        expected_(expected),
        startThread_(std::move(startThread)) {}

  void Refused(const std::string& station, const std::string& reason) {
    std::lock_guard<std::mutex> lock(mutex_);
    Add(reason, station);
  }
  OutcomeSink SinkFor(const std::string& station, const std::shared_ptr<DomainSummary>& self) {
    return [self, station](const SendOutcome& outcome) { self->Finish(station, outcome); };
  }
  // After the last station's msg was started: with none to wait for, the box comes now.
  void AllStarted() {
    std::lock_guard<std::mutex> lock(mutex_);
    allStarted_ = true;
    ShowWhenDone();
  }

 private:
  void Finish(const std::string& station, const SendOutcome& outcome) {
    std::lock_guard<std::mutex> lock(mutex_);
    ++finished_;
    if (outcome.kind == SendOutcome::Kind::kDelivered)
      ++delivered_;
    else
      Add(OneLine(FailureText(*services_.system, outcome)), station);
    ShowWhenDone();
  }
  void Add(const std::string& reason, const std::string& station) {
    ++total_;
    for (SummaryGroup& group : failures_) {
      if (group.first == reason)
        return group.second.push_back(station);
    }
    failures_.push_back({reason, {station}});
  }
  // On a thread of its own: a worker's count goes down as its msg ends, not when a box closes.
  void ShowWhenDone() {
    if (!allStarted_ || finished_ < expected_ || shown_ || ShutdownFlag().load())
      return;
    shown_ = true;
    const auto box = DomainSummaryBox(domain_, delivered_, total_ + delivered_, failures_,
                                      services_.settings->domainSuccessMsg);
    if (box)
      startThread_([boxes = services_.boxes, box = *box] { boxes->Show(nullptr, box); });
  }

  WorkerServices services_;
  std::string domain_;
  int expected_;
  ThreadStarter startThread_;
  std::mutex mutex_;
  std::vector<SummaryGroup> failures_;
  int finished_ = 0, delivered_ = 0, total_ = 0;
  bool allStarted_ = false, shown_ = false;
};

// Why a listed station got nothing, for the summary: the kind of its fault.
std::string RefusalReason(const std::string& station) {
  const std::string fault = ListedStationFault(station);
  return fault.empty() ? "Nicht gesendet, die Befehlszeile wäre länger als 2000 Zeichen"
                       : "Nicht gesendet, der Name " + fault;
}

}  // namespace

void RunMsgDomainSend(const WorkerServices& services, const MsgDomainSend& send, int32_t maxThreads,
                      const StationLister& listStations, const ThreadStarter& startThread,
                      const DispatchReport::StepExpander& expand) {
  if (maxThreads <= 0) {  // no worker could ever be free
    ShowQueueBox(services, nullptr);
    return;
  }
  const DomainStations stations =
      listStations ? listStations(services, send.domain) : DomainStations();
  const std::vector<SendStep> steps = MsgDomainSteps(send, stations.stations);
  // With a report, the stations' rows take the domain's place, and nothing goes into a box.
  const std::vector<OutcomeSink> sinks =
      expand ? expand(steps, stations.failure) : std::vector<OutcomeSink>();
  if (!expand && (!stations.failure.empty() || steps.empty())) {
    if (!ShutdownFlag().load())
      services.boxes->Show(
          nullptr, {stations.failure.empty()
                        ? Format("In der Domäne \"%s\" wurde keine Station gefunden; die Nachricht "
                                 "wurde nicht verschickt.",
                                 send.domain.c_str())
                        : stations.failure + "\r\n\r\nDie Nachricht wurde nicht verschickt.",
                    kApplicationTitle, BoxIcon::kStop});
    return;
  }
  // Without a report, one box sums the stations up at the end: none waits for a click.
  std::shared_ptr<DomainSummary> summary;
  if (!expand) {
    const int expected =
        static_cast<int>(std::count_if(steps.begin(), steps.end(), [](const SendStep& step) {
          return !step.commandLine.empty();
        }));
    summary = std::make_shared<DomainSummary>(services, send.domain, expected, startThread);
  }
  for (size_t i = 0; i < steps.size(); ++i) {
    const SendStep& step = steps[i];
    if (step.commandLine.empty()) {
      if (summary)
        summary->Refused(step.recipient, RefusalReason(step.recipient));
      continue;
    }
    if (!WaitForWorker(services, maxThreads))
      return;  // the program ends: the stations still waiting get nothing
    OutcomeSink sink = summary ? summary->SinkFor(step.msgStation, summary)
                               : (i < sinks.size() ? sinks[i] : OutcomeSink());
    StartAdmittedWorker(services, {step.commandLine, step.msgStation, std::move(sink)},
                        startThread);
  }
  if (summary)
    summary->AllStarted();
}

}  // namespace botenruf
