#include "dispatch/msg_send.h"

#include <chrono>
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
                                     const std::vector<std::string>& stations) {
  std::vector<SendStep> steps;
  std::set<std::string> seen;
  for (const std::string& station : stations) {
    if (Trim(station).empty())
      continue;  // "/server:" without a name would make the message's first word the station
    // Windows compares station names without regard to case: a station listed twice (in any
    // case) gets the message once.
    if (!seen.insert(ToUpper1252(Trim(station))).second)
      continue;
    steps.push_back(CheckedStep(
        station, {MsgCommandLine(send.program, station, send.message), {}, station, station},
        true));
  }
  return steps;
}

void RunMsgDomainSend(const WorkerServices& services, const MsgDomainSend& send, int32_t maxThreads,
                      const StationLister& listStations, const ThreadStarter& startThread,
                      const DispatchReport::StepExpander& expand) {
  if (maxThreads <= 0) {  // no worker could ever be free
    ShowQueueBox(services, nullptr);
    return;
  }
  const DomainStations stations =
      listStations ? listStations(services, send.domain) : DomainStations();
  const std::vector<SendStep> steps = MsgDomainSteps(send, stations.names);
  // With a report, the stations' rows take the domain's place, and nothing goes into a box.
  const std::vector<OutcomeSink> sinks =
      expand ? expand(steps, stations.failure) : std::vector<OutcomeSink>();
  std::vector<BoxRequest> later;
  if (!stations.failure.empty()) {
    later.push_back({stations.failure + "\r\n\r\nDie Nachricht wurde nicht verschickt.",
                     kApplicationTitle, BoxIcon::kStop});
  } else if (steps.empty()) {
    later.push_back({Format("In der Domäne \"%s\" wurde keine Station gefunden; die Nachricht "
                            "wurde nicht verschickt.",
                            send.domain.c_str()),
                     kApplicationTitle, BoxIcon::kStop});
  }
  for (size_t i = 0; i < steps.size(); ++i) {
    const SendStep& step = steps[i];
    if (step.commandLine.empty()) {
      later.push_back(step.box);
      continue;
    }
    while (ShutdownFlag().load() || !services.counter->TryRaise(maxThreads)) {
      if (ShutdownFlag().load())
        return;  // the program ends: the stations still waiting get nothing
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    OutcomeSink sink = i < sinks.size() ? sinks[i] : OutcomeSink();
    startThread([services, line = step.commandLine, station = step.msgStation,
                 sink = std::move(sink)] { MsgSendWorker(services, line, station, sink); });
  }
  if (expand)
    return;  // the report shows the refusals and a domain without stations
  for (const BoxRequest& box : later) {
    if (!ShutdownFlag().load())
      services.boxes->Show(nullptr, box);
  }
}

}  // namespace botenruf
