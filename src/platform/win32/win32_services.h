// Win32 message boxes, files and start-up services.
#pragma once

#include "platform/file_system.h"
#include "platform/message_boxes.h"
#include "platform/output_file.h"
#include "platform/startup.h"

namespace botenruf::win {

class Win32MessageBoxes : public MessageBoxes {
 public:
  void Show(NativeWindow owner, const BoxRequest& box) override;
  bool Ask(NativeWindow owner, const BoxRequest& box) override;
  void BeginWaitCursor() override;
  void EndWaitCursor() override;
};

class Win32OutputFiles : public OutputFiles {
 public:
  std::unique_ptr<OutputFile> CreateExclusive(const std::string& path) override;
};

class Win32FileSystem : public FileSystem {
 public:
  ReadStatus ReadAll(const std::string& path, std::string& bytes, uint64_t limit) override;
  bool WriteAll(const std::string& path, const std::string& bytes) override;
  bool Replace(const std::string& from, const std::string& to) override;
  bool Remove(const std::string& path) override;
  bool Exists(const std::string& path) override;
  WriteStatus Write(const std::string& path, const std::string& bytes, WriteMode mode) override;
  bool IsReadOnly(const std::string& path) override;
  bool CopyToNew(const std::string& from, const std::string& to) override;
  std::string TemporaryFolder() override;
  bool CreateNew(const std::string& path) override;
};

class Win32Startup : public StartupServices {
 public:
  ~Win32Startup() override;
  bool MainWindowExists(const std::string& caption) override;
  bool LockInstances() override;
  void UnlockInstances() override;
  bool InitializeSockets() override;
  std::string FileVersion() override;

 private:
  bool socketsStarted_ = false;
  void* instances_ = nullptr;  // the named mutex of the user's instances
  bool anotherInstance_ = false;
  bool locked_ = false;
};

// The program file's own version block: "%d.%d.%d.%d" of its file version, empty when none.
std::string ReadOwnFileVersion();

}  // namespace botenruf::win
