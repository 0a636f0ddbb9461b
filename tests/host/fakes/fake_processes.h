// Scriptable processes: each command line gets an outcome; every start is recorded.
#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/process.h"

namespace botenruf::fakes {

struct ProcessScript {
  bool starts = true;
  uint32_t startError = 2;  // reported when it does not start
  uint32_t exitCode = 0;
  int stillActiveReads = 0;     // exit code reads that report 259 first
  int failedReads = 0;          // exit code reads that fail first
  std::function<void()> onRun;  // runs once when the program "runs" (before its end)
};

class FakeProcessStarter : public ProcessStarter {
 public:
  std::unique_ptr<Process> StartHidden(const std::string& commandLine, uint32_t& error) override;

  void Script(const std::string& commandLine, ProcessScript script) {
    std::lock_guard<std::mutex> lock(mutex_);
    scripts_[commandLine] = std::move(script);
  }
  std::vector<std::string> started() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return started_;
  }
  int waits() const { return waits_; }
  ProcessScript defaultScript;

 private:
  friend class FakeProcess;
  mutable std::mutex mutex_;
  std::map<std::string, ProcessScript> scripts_;
  std::vector<std::string> started_;
  std::atomic<int> waits_{0};
};

}  // namespace botenruf::fakes
