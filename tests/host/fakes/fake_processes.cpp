#include "fakes/fake_processes.h"

namespace botenruf::fakes {

class FakeProcess : public Process {
 public:
  FakeProcess(FakeProcessStarter& starter, ProcessScript script)
      : starter_(starter), script_(std::move(script)) {}

  bool Wait(uint32_t) override {
    ++starter_.waits_;
    if (script_.onRun) {
      script_.onRun();
      script_.onRun = nullptr;
    }
    return script_.stillActiveReads == 0;
  }

  bool ExitCode(uint32_t& code) override {
    if (script_.failedReads > 0) {
      --script_.failedReads;
      return false;
    }
    if (script_.stillActiveReads > 0) {
      --script_.stillActiveReads;
      code = 259;
      return true;
    }
    code = script_.exitCode;
    return true;
  }

 private:
  FakeProcessStarter& starter_;
  ProcessScript script_;
};

std::unique_ptr<Process> FakeProcessStarter::StartHidden(const std::string& commandLine,
                                                         uint32_t& error) {
  ProcessScript script;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    started_.push_back(commandLine);
    auto it = scripts_.find(commandLine);
    script = it == scripts_.end() ? defaultScript : it->second;
  }
  if (!script.starts) {
    error = script.startError;
    return nullptr;
  }
  error = 0;
  return std::make_unique<FakeProcess>(*this, std::move(script));
}

}  // namespace botenruf::fakes
