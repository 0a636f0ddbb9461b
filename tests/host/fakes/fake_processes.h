// Scriptable processes: each command line gets an outcome; every start is recorded.
#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <utility>
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
  std::unique_ptr<Process> StartHidden(const std::string& commandLine, uint32_t& error) override {
    ProcessScript script;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      started_.push_back(commandLine);
      const auto it = scripts_.find(commandLine);
      script = it == scripts_.end() ? defaultScript : it->second;
    }
    error = script.starts ? 0 : script.startError;
    return script.starts ? std::make_unique<FakeProcess>(waits_, std::move(script)) : nullptr;
  }
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
  class FakeProcess : public Process {
   public:
    FakeProcess(std::atomic<int>& waits, ProcessScript script)
        : waits_(waits), script_(std::move(script)) {}
    bool Wait(uint32_t) override {
      ++waits_;
      if (auto run = std::exchange(script_.onRun, nullptr))
        run();
      return script_.stillActiveReads == 0;
    }
    bool ExitCode(uint32_t& code) override {
      if (script_.failedReads > 0) {
        --script_.failedReads;
        return false;
      }
      code = script_.stillActiveReads > 0 ? (--script_.stillActiveReads, 259u) : script_.exitCode;
      return true;
    }

   private:
    std::atomic<int>& waits_;
    ProcessScript script_;
  };

  mutable std::mutex mutex_;
  std::map<std::string, ProcessScript> scripts_;
  std::vector<std::string> started_;
  std::atomic<int> waits_{0};
};

}  // namespace botenruf::fakes
