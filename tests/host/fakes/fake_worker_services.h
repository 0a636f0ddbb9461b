// The services a worker thread uses, all of them fakes, wired together once.
#pragma once

#include <memory>

#include "dispatch/send_workers.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_message_boxes.h"
#include "fakes/fake_processes.h"
#include "fakes/fake_system.h"

namespace botenruf::fakes {

struct FakeWorkerServices {
  ~FakeWorkerServices() { ShutdownFlag() = false; }

  std::shared_ptr<FakeProcessStarter> processes = std::make_shared<FakeProcessStarter>();
  std::shared_ptr<FakeMessageBoxes> boxes = std::make_shared<FakeMessageBoxes>();
  std::shared_ptr<FakeSystem> system = std::make_shared<FakeSystem>();
  std::shared_ptr<FakeFileSystem> files = std::make_shared<FakeFileSystem>();
  std::shared_ptr<Settings> settings = std::make_shared<Settings>();
  WorkerServices services{processes, boxes,    system,
                          files,     settings, std::make_shared<SendCounter>()};
};

}  // namespace botenruf::fakes
