// The revocation countdown before a domain send: a bar from 0 to 1000 that advances by the
// step once per tick; when it is full, the message goes out, unless the user cancelled first.
#pragma once

#include <cstdint>

namespace botenruf {

class CountdownModel {
 public:
  static constexpr int kRangeEnd = 1000;
  static constexpr int32_t kDefaultIntervalMs = 10;

  CountdownModel(int32_t step, int32_t intervalMs);

  // One tick of the bar. The position is kept by the model, not by the progress control
  // (which would wrap around past its end and never report a full bar).
  void Tick();
  // Runs every tick that is due after `elapsedMs` since the start, so that the whole
  // countdown takes its full time even where the timer cannot fire as often as asked.
  void AdvanceTo(uint64_t elapsedMs);
  void Cancel();

  bool finished() const { return finished_; }
  bool send() const { return send_; }
  int position() const { return position_; }
  int ticks() const { return ticks_; }
  // The period for the window timer. An interval of 0 or less is no step time at all (the
  // bar would be full at once, before anyone could cancel): the default stands in for it.
  int32_t intervalMs() const { return intervalMs_; }

 private:
  int32_t step_;
  int32_t intervalMs_;
  int position_ = 0;
  int ticks_ = 0;
  bool finished_ = false;
  bool send_ = false;
};

}  // namespace botenruf
