// Stand-ins for the shell services a window test wants to see or steer: file dialogs that
// answer with prepared paths, and a notification icon that records what it was asked to do
// (and still asks the real shell).
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <deque>
#include <string>
#include <vector>

#include "platform/file_dialogs.h"
#include "platform/notify_icon.h"
#include "platform/win32/win32_shell.h"

namespace botenruf::wintest {

class FakeFileDialogs : public FileDialogs {
 public:
  bool ChooseFileToOpen(NativeWindow, const FileDialogRequest& request,
                        std::string& path) override {
    return Answer(request, path);
  }
  bool ChooseFileToSave(NativeWindow, const FileDialogRequest& request,
                        std::string& path) override {
    return Answer(request, path);
  }
  // Each dialog takes the next answer; an empty answer is a cancelled dialog.
  std::deque<std::string> answers;
  std::vector<FileDialogRequest> requests;

 private:
  bool Answer(const FileDialogRequest& request, std::string& path) {
    requests.push_back(request);
    if (answers.empty())
      return false;
    path = answers.front();
    answers.pop_front();
    return !path.empty();
  }
};

// The window updates its icon on its own thread only, which is the test's.
class RecordingNotifyIcon : public NotifyIcon {
 public:
  bool Add(NativeWindow window, unsigned id, unsigned message, void* icon,
           const std::string& tip) override {
    lastTip = tip;
    return real_.Add(window, id, message, icon, tip);
  }
  bool Delete(NativeWindow window, unsigned id) override { return real_.Delete(window, id); }
  std::string lastTip;

 private:
  win::Win32NotifyIcon real_;
};

// Sends the shell a notification-area message about the window's icon: NIM_MODIFY of nothing
// changes nothing and succeeds only while the icon is there; NIM_DELETE removes it behind the
// window's back, as a restarting shell does.
bool ShellIcon(HWND window, unsigned id, DWORD message = NIM_MODIFY);

// A drop of these files as the shell would deliver it (the receiver frees it).
HDROP MakeDrop(const std::vector<std::string>& paths);

}  // namespace botenruf::wintest
