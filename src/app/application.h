// The single application object: owns the settings and the recipient directory for the
// whole run, and holds the start and end routines.
#pragma once

#include <string>

#include "app/settings_store.h"
#include "directory/recipient_directory.h"
#include "listeditor/list_editor.h"
#include "platform/file_system.h"
#include "platform/message_boxes.h"
#include "platform/registry.h"
#include "platform/startup.h"
#include "platform/system.h"

namespace botenruf {

inline constexpr const char* kMainWindowCaption = "Botenruf";

class Application;

// Creates and runs the main window modally; returns when it has ended.
class MainWindowRunner {
 public:
  virtual ~MainWindowRunner() = default;
  virtual void Run(Application& app, const std::string& initialText, bool startInTray) = 0;
};

struct ApplicationServices {
  Registry& registry;
  SystemInfo& system;
  FileSystem& files;
  MessageBoxes& boxes;
  StartupServices& startup;
};

// The text after the program's name on a command line, exactly as the system hands it
// over: not split into arguments, quotes not removed.
std::string CommandLineTail(const std::string& fullCommandLine);

// The list editor works on the application's directory and list file.
class Application : public ListEditorHost {
 public:
  explicit Application(ApplicationServices services);

  // The start routine; runs the main window through `runner`. Always returns false (the
  // program has no message loop of its own).
  bool Start(const std::string& commandLine, MainWindowRunner& runner);
  // The end routine; runs after every start. Returns the exit code. Its work is done once: the
  // end of the Windows session runs it early, from the main window, since the system may end
  // the process at any moment after that.
  int End();

  SettingsStore& settings() { return settings_; }
  RecipientDirectory& directory() override { return directory_; }
  int32_t MaxListMembers() override { return settings_.MaxThreads(); }
  const ApplicationServices& services() const { return services_; }
  // Reads the list file at the current path into the directory.
  void ReloadDirectory() override;
  // Reads it again only when it changed since the directory last read or wrote it; true then.
  bool ReloadIfChanged();
  // Writes the directory to the list file at the current path, dated today. Before a partly
  // read file is replaced, a box owned by `owner` asks.
  SaveResult SaveDirectory(NativeWindow owner) override;

 private:
  bool StopBeforeSettings();

  ApplicationServices services_;
  SettingsStore settings_;
  RecipientDirectory directory_;
  bool counted_ = false;
  bool settingsLoaded_ = false;
  bool ended_ = false;
};

}  // namespace botenruf
