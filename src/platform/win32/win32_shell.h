// Win32 file dialogs and notification-area icon.
#pragma once

#include "platform/file_dialogs.h"
#include "platform/notify_icon.h"

namespace botenruf::win {

class Win32FileDialogs : public FileDialogs {
 public:
  bool ChooseFileToOpen(NativeWindow owner, const FileDialogRequest& request,
                        std::string& path) override;
  bool ChooseFileToSave(NativeWindow owner, const FileDialogRequest& request,
                        std::string& path) override;
};

class Win32NotifyIcon : public NotifyIcon {
 public:
  bool Add(NativeWindow window, unsigned id, unsigned callbackMessage, void* icon,
           const std::string& tip) override;
  bool Delete(NativeWindow window, unsigned id) override;
};

}  // namespace botenruf::win
