#include "mainwindow/countdown.h"

namespace botenruf {

CountdownModel::CountdownModel(int32_t step, int32_t intervalMs)
    : step_(step), intervalMs_(intervalMs > 0 ? intervalMs : kDefaultIntervalMs) {}

void CountdownModel::Tick() {
  if (finished_)
    return;
  ++ticks_;
  int64_t next = int64_t{position_} + step_;
  if (next < 0)
    next = 0;  // a negative step empties the bar and stays there
  if (next >= kRangeEnd) {
    position_ = kRangeEnd;
    send_ = true;
    finished_ = true;
    return;
  }
  position_ = static_cast<int>(next);
}

void CountdownModel::AdvanceTo(uint64_t elapsedMs) {
  const uint64_t due = elapsedMs / static_cast<uint64_t>(intervalMs_);
  // A step that never fills the bar leaves nothing to catch up with.
  if (step_ <= 0) {
    if (due > static_cast<uint64_t>(ticks_))
      ticks_ = due > INT32_MAX ? INT32_MAX : static_cast<int>(due);
    return;
  }
  while (!finished_ && static_cast<uint64_t>(ticks_) < due)
    Tick();
}

void CountdownModel::Cancel() {
  if (finished_)
    return;
  send_ = false;
  finished_ = true;
}

}  // namespace botenruf
