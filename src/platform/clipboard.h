// The clipboard, for plain text.
#pragma once

#include <string>

#include "platform/message_boxes.h"

namespace botenruf {

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // Replaces the clipboard's content with `text` (ANSI text), owned by `owner`; false when
  // the clipboard could not be opened or written.
  virtual bool SetText(NativeWindow owner, const std::string& text) = 0;
};

}  // namespace botenruf
