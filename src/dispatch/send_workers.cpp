#include "dispatch/send_workers.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "dispatch/command_runner.h"
#include "dispatch/msg_send.h"
#include "dispatch/tool_errors.h"
#include "text/text.h"

namespace botenruf {

bool SendCounter::TryRaise(int32_t limit) {
  int32_t current = count_.load();
  while (current < limit) {
    if (count_.compare_exchange_weak(current, current + 1)) {
      starting_.fetch_add(1);
      return true;
    }
  }
  return false;
}

void SendCounter::Lower() {
  int32_t current = count_.load();
  while (current > 0 && !count_.compare_exchange_weak(current, current - 1)) {
  }
}

namespace {

bool SuccessBoxWanted(const Settings& settings, int mode) {
  switch (mode) {
    case 0:
      return settings.singleSuccessMsg;
    case 1:
      return settings.successMsg;
    case 2:
      return settings.domainSuccessMsg;
    default:
      return false;
  }
}

}  // namespace

SendOutcome NetSendOutcome(const CommandResult& result, const std::vector<std::string>& output) {
  using Kind = SendOutcome::Kind;
  if (!result.finished)
    return {Kind::kNotStarted, result.startError};
  if (result.exitCode == 0)
    return {Kind::kDelivered, 0};
  const uint32_t code = ToolErrorCode(output);
  if (code == 0)
    return result.exitCode == 2 ? SendOutcome{Kind::kOffline, 0}
                                : SendOutcome{Kind::kFailed, result.exitCode};
  if (code == kAliasNotFound || IsUnreachableError(code))
    return {Kind::kOffline, 0};
  return {Kind::kFailed, code};
}

std::string FailureText(SystemInfo& system, const SendOutcome& outcome) {
  switch (outcome.kind) {
    case SendOutcome::Kind::kDelivered:
      return {};
    case SendOutcome::Kind::kOffline:
      return "Der Empfänger ist unbekannt oder offline.";
    case SendOutcome::Kind::kNotStarted:
      return Format("Fehlercode (%lu).", static_cast<unsigned long>(outcome.code));
    case SendOutcome::Kind::kRefused:
      return Format(
          "Der Empfänger nimmt keine Sitzungsnachrichten von anderen Stationen an "
          "(Code %lu).\r\nDort muss AllowRemoteRPC = 1 gesetzt sein: siehe Anleitung, "
          "\"Botenruf unter Windows Vista und neuer\".",
          static_cast<unsigned long>(outcome.code));
    case SendOutcome::Kind::kFailed:
      break;
  }
  return SystemErrorText(system, outcome.code);
}

std::optional<BoxRequest> SendOutcomeBox(SystemInfo& system, const Settings& settings, int mode,
                                         const SendOutcome& outcome, bool shuttingDown) {
  if (shuttingDown)
    return std::nullopt;  // a box now would outlive the window or hold up the end
  switch (outcome.kind) {
    case SendOutcome::Kind::kDelivered:
      if (!SuccessBoxWanted(settings, mode))
        return std::nullopt;
      return BoxRequest{"Well done...", kApplicationTitle, BoxIcon::kInformation};
    case SendOutcome::Kind::kNotStarted:
      return BoxRequest{FailureText(system, outcome), kApplicationTitle, BoxIcon::kExclamation};
    default:
      return BoxRequest{FailureText(system, outcome), kApplicationTitle, BoxIcon::kStop};
  }
}

void ReportSendOutcome(const WorkerServices& services, int mode, const SendOutcome& outcome,
                       const OutcomeSink& report) {
  if (report) {
    if (!ShutdownFlag().load())
      report(outcome);
  } else if (const auto box = SendOutcomeBox(*services.system, *services.settings, mode, outcome,
                                             ShutdownFlag().load())) {
    services.boxes->Show(nullptr, *box);
  }
  services.counter->Lower();
}

uint32_t SendWorker(const WorkerServices& services, const std::string& commandLine,
                    const OutcomeSink& report) {
  const int mode = services.settings->listenTyp;
  // net send writes why it failed to its standard error: captured, without the interpreter.
  const std::string outputFile = MakeTempFileName(*services.system, *services.files);
  const CommandResult result = RunCommand(
      *services.processes, commandLine, [&services] { services.counter->Started(); }, outputFile);
  RemoveOutputFile(*services.files, outputFile);  // when the tool did not start
  const std::vector<std::string> output = SplitLines(services.system->ConsoleToAnsi(result.output));
  ReportSendOutcome(services, mode, NetSendOutcome(result, output), report);
  return result.exitCode;
}

void WaitForSendStarts(const SendCounter& counter, uint32_t timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (counter.Starting() > 0 && std::chrono::steady_clock::now() < end)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

void DetachedThread(std::function<void()> work) {
  std::thread(std::move(work)).detach();
}

bool TryStartSendWorker(const WorkerServices& services, int32_t maxThreads,
                        const std::string& commandLine, const ThreadStarter& startThread,
                        OutcomeSink report, const std::string& msgStation) {
  if (!services.counter->TryRaise(maxThreads))
    return false;
  StartAdmittedWorker(services, {commandLine, msgStation, std::move(report)}, startThread);
  return true;
}

void StartAdmittedWorker(const WorkerServices& services, QueuedSend send,
                         const ThreadStarter& startThread) {
  // The worker owns its copy of the command line, of the services and of its sink.
  startThread([services, send = std::move(send)] {
    if (send.msgStation.empty())
      SendWorker(services, send.commandLine, send.sink);
    else
      MsgSendWorker(services, send.commandLine, send.msgStation, send.sink);
  });
}

bool WaitForWorker(const WorkerServices& services, int32_t maxThreads) {
  while (ShutdownFlag().load() || !services.counter->TryRaise(maxThreads)) {
    if (ShutdownFlag().load())
      return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

BoxRequest QueueBox(const WorkerServices& services) {
  return {Format("Zu viele Nachrichten (%ld) in Warteschleife.",
                 static_cast<long>(services.counter->Value())),
          kErrorTitle, BoxIcon::kStop};
}

void ShowQueueBox(const WorkerServices& services, NativeWindow owner) {
  services.boxes->Show(owner, QueueBox(services));
}

namespace {

// Holds the workers of one dispatch until all of them are started: a worker that starts its
// net send at once competes with the starting of the next thread and slows the window down.
class StartGate {
 public:
  void Wait() {
    std::unique_lock<std::mutex> lock(mutex_);
    opened_.wait(lock, [this] { return open_; });
  }
  void Open() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      open_ = true;
    }
    opened_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable opened_;
  bool open_ = false;
};

}  // namespace

void RunSendSteps(const std::vector<SendStep>& steps, const WorkerServices& services,
                  int32_t maxThreads, NativeWindow owner, const ThreadStarter& startThread,
                  DispatchReport* report, const StationLister& listStations) {
  auto gate = std::make_shared<StartGate>();
  const ThreadStarter gated = [&startThread, gate](std::function<void()> work) {
    startThread([gate, work = std::move(work)] {
      gate->Wait();
      work();
    });
  };
  // One wait cursor for the whole dispatch, not one per recipient: every switch is a call to
  // the display on the window's thread.
  const WaitCursor wait(*services.boxes);
  // With a report, the steps beyond MaxThreads wait for a free worker, as a domain's stations
  // do, on a thread of their own: nothing is turned away and no box asks for a click.
  std::vector<QueuedSend> waiting;
  // No worker waits on a box the user has to answer: the gate opens before any box.
  for (size_t i = 0; i < steps.size(); ++i) {
    const SendStep& step = steps[i];
    if (step.msgDomain) {
      DispatchReport::StepExpander expand = report ? report->ExpanderFor(i) : nullptr;
      startThread([services, send = *step.msgDomain, maxThreads, listStations, startThread,
                   expand = std::move(expand)] {
        RunMsgDomainSend(services, send, maxThreads, listStations, startThread, expand);
      });
      continue;
    }
    if (step.commandLine.empty()) {
      if (!report) {  // a report shows the refusal in the step's row
        gate->Open();
        services.boxes->Show(owner, step.box);
      }
      continue;
    }
    OutcomeSink sink = report ? report->SinkFor(i) : OutcomeSink();
    if (report && maxThreads > 0 && !waiting.empty()) {
      waiting.push_back({step.commandLine, step.msgStation, std::move(sink)});
      continue;
    }
    if (TryStartSendWorker(services, maxThreads, step.commandLine, gated, sink, step.msgStation))
      continue;
    if (report && maxThreads > 0) {
      waiting.push_back({step.commandLine, step.msgStation, std::move(sink)});
      continue;
    }
    gate->Open();
    const BoxRequest queue = QueueBox(services);
    if (report)
      report->NotAdmitted(i, queue);
    else
      services.boxes->Show(owner, queue);
  }
  gate->Open();
  if (!waiting.empty()) {
    startThread([services, maxThreads, startThread, waiting = std::move(waiting)] {
      for (const QueuedSend& send : waiting) {
        if (!WaitForWorker(services, maxThreads))
          return;  // the program ends: the sends still waiting get nothing
        StartAdmittedWorker(services, send, startThread);
      }
    });
  }
}

std::vector<std::string> ParseDomainList(const std::vector<std::string>& lines) {
  std::vector<std::string> domains;
  const auto dashes = std::find_if(lines.begin(), lines.end(), IsDashLine);
  for (auto it = dashes == lines.end() ? dashes : dashes + 1; it != lines.end(); ++it) {
    const std::string name = Trim(*it);
    if (name.empty())
      break;
    if (name.size() <= kMaxNetBiosName && name.find_first_of(" \t") == std::string::npos)
      domains.push_back(name);
  }
  return domains;
}

void RunDomainListQuery(const WorkerServices& services, DomainListJob& job) {
  job.domains.clear();
  const std::string outputFile = MakeTempFileName(*services.system, *services.files);
  if (!RunQuery(*services.processes, *services.system, QueryKind::kNetView, "/domain",
                outputFile)) {
    return;
  }
  std::vector<std::string> lines;
  if (ReadOutputLines(*services.files, *services.system, outputFile, lines)) {
    job.domains = ParseDomainList(lines);
  }
  RemoveOutputFile(*services.files, outputFile);
}

void StartDomainListRefresh(const WorkerServices& services, std::shared_ptr<DomainListJob> job,
                            std::function<void()> notify, const ThreadStarter& startThread) {
  startThread([services, job, notify] {
    RunDomainListQuery(services, *job);
    job->done = true;
    if (!ShutdownFlag().load())
      notify();
  });
}

}  // namespace botenruf
