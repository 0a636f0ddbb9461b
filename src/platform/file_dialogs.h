// The system's open and save dialogs.
#pragma once

#include <string>

#include "platform/message_boxes.h"

namespace botenruf {

struct FileDialogRequest {
  std::string initialFile;       // empty for none
  std::string defaultExtension;  // without the dot; empty for none
  std::string filter;            // "Name|pattern|Name|pattern||"
};

class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  // The read-only box is hidden and overwriting confirmed; true with `path` when confirmed.
  virtual bool ChooseFileToOpen(NativeWindow owner, const FileDialogRequest& request,
                                std::string& path) = 0;
  virtual bool ChooseFileToSave(NativeWindow owner, const FileDialogRequest& request,
                                std::string& path) = 0;
};

inline constexpr const char* kTextFileFilter =
    "Text Dateien (*.txt)|*.txt|Alle Dateien (*.*)|*.*||";

}  // namespace botenruf
