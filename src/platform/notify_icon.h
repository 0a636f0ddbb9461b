// The notification-area icon of a window.
#pragma once

#include <cstddef>
#include <string>

#include "platform/message_boxes.h"

namespace botenruf {

// The tip holds at most this many characters (plus the terminating zero).
inline constexpr size_t kMaxTipLength = 63;

class NotifyIcon {
 public:
  virtual ~NotifyIcon() = default;
  // Adds icon `id` of `window` with its callback message, icon handle and tip.
  virtual bool Add(NativeWindow window, unsigned id, unsigned callbackMessage, void* icon,
                   const std::string& tip) = 0;
  virtual bool Delete(NativeWindow window, unsigned id) = 0;
};

}  // namespace botenruf
