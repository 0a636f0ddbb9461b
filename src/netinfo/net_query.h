// One network query: the target, the temporary output file that every command of the query
// writes into, the three query commands, and the tracking of the threads that run queries.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "dispatch/command_runner.h"
#include "dispatch/send_workers.h"

namespace botenruf {

// Shared by the window that starts a query and the worker that runs it. The worker deletes the
// output file after its last read; whoever lets go last deletes it as well, so no file
// outlives the query when a worker ends early (a close or the end of the program).
class NetQuery {
 public:
  NetQuery(WorkerServices services, std::string target);
  ~NetQuery();
  NetQuery(const NetQuery&) = delete;
  NetQuery& operator=(const NetQuery&) = delete;

  const WorkerServices& services() const { return services_; }
  const std::string& target() const { return target_; }
  const std::string& outputFile() const { return outputFile_; }

  std::atomic<bool> closeRequested{false};  // set by the user's close of the query's window

 private:
  WorkerServices services_;
  std::string target_;
  std::string outputFile_;
};

// A worker's final wait: until `closed` says the user closed the window or the program ends.
void WaitUntilClosed(const std::function<bool()>& closed);

// The target of a query as the user typed or chose it: trimmed and in upper case.
std::string QueryTarget(const std::string& recipientText);

// Query workers are counted, so that the end of the program can wait for the ones still
// running: a worker lets go of its query (and so of the output file) before it counts as
// ended.
void StartQueryWorker(std::function<void()> work,
                      const ThreadStarter& startThread = DetachedThread);
int RunningQueryWorkers();

}  // namespace botenruf
