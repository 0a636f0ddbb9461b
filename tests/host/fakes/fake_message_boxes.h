// Records every box instead of showing it; questions take their answers from a script.
#pragma once

#include <deque>
#include <functional>
#include <mutex>
#include <vector>

#include "platform/message_boxes.h"

namespace botenruf::fakes {

class FakeMessageBoxes : public MessageBoxes {
 public:
  void Show(NativeWindow, const BoxRequest& box) override {
    if (onShow)
      onShow(box);  // while the box would be open
    std::lock_guard<std::mutex> lock(mutex_);
    boxes_.push_back(box);
  }
  // Recorded among the other boxes; takes the next answer, and No when none is left.
  bool Ask(NativeWindow owner, const BoxRequest& box) override {
    Show(owner, box);
    std::lock_guard<std::mutex> lock(mutex_);
    const bool yes = !answers.empty() && answers.front();
    if (!answers.empty())
      answers.pop_front();
    return yes;
  }
  void BeginWaitCursor() override { ++waitCursors; }
  void EndWaitCursor() override { --waitCursors; }

  std::vector<BoxRequest> boxes() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return boxes_;
  }
  void Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    boxes_.clear();
  }
  int waitCursors = 0;
  std::function<void(const BoxRequest&)> onShow;
  std::deque<bool> answers;  // true answers Yes

 private:
  mutable std::mutex mutex_;
  std::vector<BoxRequest> boxes_;
};

}  // namespace botenruf::fakes
