#include "netinfo/net_query.h"

#include <chrono>
#include <thread>

#include "text/text.h"

namespace botenruf {
namespace {

std::atomic<int>& WorkerCount() {
  // Never destroyed: workers may still count down while the process ends.
  static auto* count = new std::atomic<int>(0);
  return *count;
}

// Builds the query's command line; false (nothing to run) without a system directory or for
// a refused argument.
bool QueryCommandLine(const WorkerServices& services, QueryKind kind, const std::string& argument,
                      const std::string& outputFile, bool& noSystemDirectory,
                      std::string& commandLine) {
  std::string prefix;
  noSystemDirectory = !SystemDirectoryPrefix(*services.system, prefix);
  return !noSystemDirectory &&
         BuildQueryCommandLine(kind, prefix, argument, outputFile, commandLine);
}

bool RunToEnd(const WorkerServices& services, QueryKind kind, const std::string& argument,
              const std::string& outputFile) {
  bool noSystemDirectory = false;
  std::string commandLine;
  if (!QueryCommandLine(services, kind, argument, outputFile, noSystemDirectory, commandLine))
    return false;
  return RunCommand(*services.processes, commandLine).finished;
}

}  // namespace

NetQuery::NetQuery(WorkerServices services, std::string target)
    : services_(std::move(services)),
      target_(std::move(target)),
      outputFile_(MakeTempFileName(*services_.system, *services_.files)) {}

NetQuery::~NetQuery() {
  services_.files->Remove(outputFile_);
}

bool RunNameTableQuery(const WorkerServices& services, const std::string& station,
                       const std::string& outputFile) {
  return RunToEnd(services, QueryKind::kNameTable, station, outputFile);
}

int32_t RunPingQuery(const WorkerServices& services, const std::string& station,
                     const std::string& outputFile) {
  bool noSystemDirectory = false;
  std::string commandLine;
  if (!QueryCommandLine(services, QueryKind::kPing, station, outputFile, noSystemDirectory,
                        commandLine)) {
    return noSystemDirectory ? 0 : -1;
  }
  const CommandResult result = RunCommand(*services.processes, commandLine);
  return result.finished ? static_cast<int32_t>(result.exitCode) : -1;
}

bool RunNetViewQuery(const WorkerServices& services, const std::string& outputFile,
                     const std::string& target) {
  return RunToEnd(services, QueryKind::kNetView, target, outputFile);
}

void WaitUntilClosed(const std::function<bool()>& closed) {
  while (!closed() && !ShutdownFlag().load())
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

std::string QueryTarget(const std::string& recipientText) {
  return ToUpper1252(Trim(recipientText));
}

void StartQueryWorker(std::function<void()> work, const ThreadStarter& startThread) {
  ++WorkerCount();
  startThread([work = std::move(work)]() mutable {
    {
      std::function<void()> job = std::move(work);
      job();
    }  // what the job held (its query among it) is released here
    --WorkerCount();
  });
}

int RunningQueryWorkers() {
  return WorkerCount().load();
}

}  // namespace botenruf
