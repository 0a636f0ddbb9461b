// The notification-area icon of a window.
#pragma once

#include <string>

#include "platform/message_boxes.h"

namespace botenruf {

class NotifyIcon {
 public:
  virtual ~NotifyIcon() = default;
  // Adds icon `id` of `window` with its callback message, icon handle and tip.
  virtual bool Add(NativeWindow window, unsigned id, unsigned callbackMessage, void* icon,
                   const std::string& tip) = 0;
  virtual bool Delete(NativeWindow window, unsigned id) = 0;
};

}  // namespace botenruf
