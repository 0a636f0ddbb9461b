// Send workers: one thread per net send (or msg) command line, admitted against MaxThreads, each
// reporting its outcome in a box of its own. And the domain list refresh, which fetches
// the network's domain names for the recipient box.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dispatch/command_runner.h"
#include "dispatch/message_composer.h"
#include "platform/file_system.h"
#include "platform/message_boxes.h"
#include "platform/process.h"
#include "platform/system.h"
#include "settings/settings.h"

namespace botenruf {

// The number of running send workers. Raised on the user-interface thread, lowered by each
// worker, never below 0. Workers share its ownership, so it outlives every one of them.
class SendCounter {
 public:
  // Raises the count when it is below `limit`; false (count unchanged) otherwise. The worker
  // admitted counts as starting until it reports Started().
  bool TryRaise(int32_t limit);
  // Its command has been started, or could not be.
  void Started() { starting_.fetch_sub(1); }
  void Lower();
  int32_t Value() const { return count_.load(); }
  // Admitted workers whose command has not been started yet: the program's end waits for
  // them, since a send the user started must go out even when the program ends at once.
  int32_t Starting() const { return starting_.load(); }

 private:
  std::atomic<int32_t> count_{0};
  std::atomic<int32_t> starting_{0};
};

// The end of the program: waits until every admitted send worker has started its command, at
// most `timeoutMs`. The commands run on without the program.
void WaitForSendStarts(const SendCounter& counter, uint32_t timeoutMs);

// Everything a worker touches, kept alive by the worker for as long as it runs.
struct WorkerServices {
  std::shared_ptr<ProcessStarter> processes;
  std::shared_ptr<MessageBoxes> boxes;
  std::shared_ptr<SystemInfo> system;
  std::shared_ptr<FileSystem> files;
  std::shared_ptr<const Settings> settings;
  std::shared_ptr<SendCounter> counter;
};

// What became of one send, whichever tool delivered it. `code` is the system's error number as
// the tool or the system reported it (unsigned, as Windows shows them).
struct SendOutcome {
  enum class Kind {
    kDelivered,
    kOffline,     // the station is unknown or cannot be reached
    kFailed,      // the tool ended with the system's error `code`
    kNotStarted,  // the tool could not be started; `code` is the system's error
    kRefused,     // the station answers but takes no remote calls (msg); `code` is the error
  };
  Kind kind = Kind::kFailed;
  uint32_t code = 0;
  bool operator==(const SendOutcome&) const = default;
};

// What net send's exit code and output say: 0 delivered. On every error net.exe ends with 2 and
// names the error's number in its output: the message alias not found (2273), a network error
// of a station that cannot be found or reached, or no number at all count as "unknown or
// offline"; any other number is that error.
SendOutcome NetSendOutcome(const CommandResult& result, const std::vector<std::string>& output);

// What the user reads about a send that failed: "Der Empfänger ist unbekannt oder offline.",
// the system's text with the code, "Fehlercode (n)." for a tool that did not start, or for a
// station that refuses remote calls what it needs. Empty for a delivered one.
std::string FailureText(SystemInfo& system, const SendOutcome& outcome);

// What a send worker tells the user about one send: nothing once the program is ending.
// `mode` is the recipient mode read when the worker started.
std::optional<BoxRequest> SendOutcomeBox(SystemInfo& system, const Settings& settings, int mode,
                                         const SendOutcome& outcome, bool shuttingDown);

// Takes a send's outcome in place of its box; runs on the worker's thread once the send has
// ended, never after the program's end has begun.
using OutcomeSink = std::function<void(const SendOutcome&)>;

// Runs one net send to its end, with its output captured, and reports it, in a box or to
// `report`; lowers the count in every path.
uint32_t SendWorker(const WorkerServices& services, const std::string& commandLine,
                    const OutcomeSink& report = {});
// Hands an outcome to `report`, or shows its box (as the mode and the program's state want
// it), and lowers the count: the end of every send worker.
void ReportSendOutcome(const WorkerServices& services, int mode, const SendOutcome& outcome,
                       const OutcomeSink& report = {});
// "Zu viele Nachrichten (%ld) in Warteschleife." with the current count.
BoxRequest QueueBox(const WorkerServices& services);
void ShowQueueBox(const WorkerServices& services, NativeWindow owner);

// `startThread` runs a worker on a thread of its own (never joined); tests may run it in place.
using ThreadStarter = std::function<void(std::function<void()>)>;
void DetachedThread(std::function<void()> work);
// Admits a worker while fewer than `maxThreads` run and starts it; false, with nothing shown,
// when none is admitted. A msg line comes with its station (`msgStation`).
bool TryStartSendWorker(const WorkerServices& services, int32_t maxThreads,
                        const std::string& commandLine,
                        const ThreadStarter& startThread = DetachedThread, OutcomeSink report = {},
                        const std::string& msgStation = {});

// A send that waits for a worker: its line, the station of a msg line, where its outcome goes.
struct QueuedSend {
  std::string commandLine;
  std::string msgStation;
  OutcomeSink sink;
};
// Waits until a worker may start (the count raised for it); false, with nothing raised, once
// the program ends.
bool WaitForWorker(const WorkerServices& services, int32_t maxThreads);
// Starts the worker of a send whose count has been raised.
void StartAdmittedWorker(const WorkerServices& services, QueuedSend send,
                         const ThreadStarter& startThread = DetachedThread);

// The station names of a domain as its listing shows them, for a domain send through msg, or
// why the listing failed (a line for the user, with the system's text and code).
struct ListedStation {
  std::string name;
  std::string description;
};
struct DomainStations {
  std::vector<ListedStation> stations;
  std::string failure;
};
using StationLister =
    std::function<DomainStations(const WorkerServices&, const std::string& domain)>;

// A dispatch whose outcomes are gathered in one report instead of a box per send.
class DispatchReport {
 public:
  virtual ~DispatchReport() = default;
  // No worker was admitted for step `step`; `box` says why (and is shown as well).
  virtual void NotAdmitted(size_t step, const BoxRequest& box) = 0;
  // Where the worker of step `step` hands its outcome.
  virtual OutcomeSink SinkFor(size_t step) = 0;
  // A step that becomes one send per station only on its worker (a domain through msg): the
  // stations' steps, once known, take the place of its row, and each that goes out gets the
  // sink of its own row (a step with a box gets none); a listing that failed (`failure`) fails
  // the row. Called on the worker's thread; after the report was closed, every sink it gives
  // does nothing.
  using StepExpander = std::function<std::vector<OutcomeSink>(
      const std::vector<SendStep>& stationSteps, const std::string& failure)>;
  virtual StepExpander ExpanderFor(size_t step) = 0;
};

// Carries out the composed steps in order: boxes are shown, command lines go to workers, and a
// line no worker is admitted for gets the queue box. A failure for one name does not stop the
// others, and the workers already admitted run while any box waits for the user. A domain
// through msg is listed with `listStations` and sent to on a thread of its own. With a
// `report`, the workers' outcomes go to it, no box is shown (the report's rows say what the
// boxes would), and a line beyond MaxThreads waits for a free worker.
void RunSendSteps(const std::vector<SendStep>& steps, const WorkerServices& services,
                  int32_t maxThreads, NativeWindow owner,
                  const ThreadStarter& startThread = DetachedThread,
                  DispatchReport* report = nullptr, const StationLister& listStations = {});

// The domain names in "net view /domain" output: the lines after the line of dashes up to the
// first empty one, trimmed, that are a NetBIOS name (1 to 15 characters, no blank). Whether
// real output pads them to 21 characters is not known; either way they are read, and the
// completion message, whose words have blanks between them, is none.
std::vector<std::string> ParseDomainList(const std::vector<std::string>& lines);

// One domain list refresh: its worker fills `domains`, sets `done` and notifies.
struct DomainListJob {
  std::atomic<bool> done{false};
  std::vector<std::string> domains;
};

// The worker's part: "net view /domain" into a temporary file, parsed and deleted.
void RunDomainListQuery(const WorkerServices& services, DomainListJob& job);
// Starts the refresh on its own thread; `notify` runs on that thread when it has finished
// (the window sends its message there) unless the program is shutting down.
void StartDomainListRefresh(const WorkerServices& services, std::shared_ptr<DomainListJob> job,
                            std::function<void()> notify,
                            const ThreadStarter& startThread = DetachedThread);

}  // namespace botenruf
