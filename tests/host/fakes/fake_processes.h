// Scriptable processes: each command line gets an outcome; every start is recorded.
#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/process.h"

namespace botenruf::fakes {

struct ProcessScript {
  bool starts = true;  // when not, the start fails with error 2
  uint32_t exitCode = 0;
  int runningWaits = 0;         // waits that time out before the program ends
  int failedReads = 0;          // exit code reads that fail first
  std::function<void()> onRun;  // runs once when the program "runs" (before its end)
  std::string output = {};      // what it writes where its output is captured
};

class FakeProcessStarter : public ProcessStarter {
 public:
  std::unique_ptr<Process> StartHidden(const std::string& commandLine, uint32_t& error) override {
    std::lock_guard<std::mutex> lock(mutex_);
    started_.push_back(commandLine);
    const auto it = scripts_.find(commandLine);
    ProcessScript script = it == scripts_.end() ? defaultScript : it->second;
    error = script.starts ? 0 : 2;
    return script.starts ? std::make_unique<FakeProcess>(waits_, ended_, std::move(script))
                         : nullptr;
  }
  std::unique_ptr<Process> StartHiddenWithOutput(const std::string& commandLine, const std::string&,
                                                 uint32_t& error) override {
    return StartHidden(commandLine, error);
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
  int ended() const { return ended_; }
  ProcessScript defaultScript;

 private:
  struct FakeProcess : Process {
    FakeProcess(std::atomic<int>& waits, std::atomic<int>& ended, ProcessScript script)
        : waits(waits), ended(ended), script(std::move(script)) {}
    bool Wait(uint32_t) override {
      ++waits;
      if (auto run = std::exchange(script.onRun, nullptr))
        run();
      if (script.runningWaits > 0)
        return --script.runningWaits, false;
      if (++waitsAfterEnd > 100)  // a caller that never stops polling fails instead of hanging
        throw std::runtime_error("polled on after the program's end");
      return true;
    }
    std::string Output() override { return script.output; }
    void End() override {
      script.runningWaits = 0;
      script.exitCode = 1;
      ++ended;
    }
    bool ExitCode(uint32_t& code) override {
      if (script.failedReads > 0)
        return --script.failedReads, false;
      code = script.runningWaits > 0 ? 259u : script.exitCode;  // 259 while it runs
      return true;
    }

    std::atomic<int>& waits;
    std::atomic<int>& ended;
    ProcessScript script;
    int waitsAfterEnd = 0;
  };

  mutable std::mutex mutex_;
  std::map<std::string, ProcessScript> scripts_;
  std::vector<std::string> started_;
  std::atomic<int> waits_{0};
  std::atomic<int> ended_{0};
};

}  // namespace botenruf::fakes
