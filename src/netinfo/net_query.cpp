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

}  // namespace

NetQuery::NetQuery(WorkerServices services, std::string target)
    : services_(std::move(services)),
      target_(std::move(target)),
      outputFile_(MakeTempFileName(*services_.system, *services_.files)) {}

NetQuery::~NetQuery() {
  RemoveOutputFile(*services_.files, outputFile_);
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
