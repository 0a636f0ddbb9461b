// Stand-ins for the shell services a window test wants to see or steer: file dialogs that
// answer with prepared paths, and a notification icon that records what it was asked to do
// (and still asks the real shell).
#pragma once

#include <windows.h>

#include <deque>
#include <mutex>
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

class RecordingNotifyIcon : public NotifyIcon {
 public:
  bool Add(NativeWindow window, unsigned id, unsigned message, void* icon,
           const std::string& tip) override {
    const bool added = real_.Add(window, id, message, icon, tip);
    std::lock_guard<std::mutex> lock(mutex_);
    shown_ = true;
    tips_.push_back(tip);
    return added;
  }
  bool Delete(NativeWindow window, unsigned id) override {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      shown_ = false;
    }
    return real_.Delete(window, id);
  }
  bool shown() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return shown_;
  }
  std::string lastTip() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return tips_.empty() ? std::string() : tips_.back();
  }

 private:
  mutable std::mutex mutex_;
  bool shown_ = false;
  std::vector<std::string> tips_;
  win::Win32NotifyIcon real_;
};

// Asks the shell whether the window's icon is there (a modify of nothing changes nothing
// and succeeds only for an existing icon).
bool ShellHasIcon(HWND window, unsigned id);

// Removes the icon from the shell without the window knowing, as a restarting shell does.
void DeleteIconBehindTheWindowsBack(HWND window, unsigned id);

// A drop of these files as the shell would deliver it (the receiver frees it).
HDROP MakeDrop(const std::vector<std::string>& paths);

}  // namespace botenruf::wintest
