#include "app/application.h"

#include "dispatch/message_file.h"

namespace botenruf {

std::string CommandLineTail(const std::string& fullCommandLine) {
  size_t i = 0;
  if (!fullCommandLine.empty() && fullCommandLine[0] == '"') {
    const size_t close = fullCommandLine.find('"', 1);
    i = close == std::string::npos ? fullCommandLine.size() : close + 1;
  } else {
    while (i < fullCommandLine.size() && fullCommandLine[i] != ' ' && fullCommandLine[i] != '\t') {
      ++i;
    }
  }
  while (i < fullCommandLine.size() && (fullCommandLine[i] == ' ' || fullCommandLine[i] == '\t')) {
    ++i;
  }
  return fullCommandLine.substr(i);
}

Application::Application(ApplicationServices services)
    : services_(services), settings_(services.registry, services.system) {}

bool Application::Start(const std::string& commandLine, MainWindowRunner& runner) {
  StartupServices& startup = services_.startup;
  const bool another = startup.LockInstances();
  if (!another && !startup.MainWindowExists(kMainWindowCaption))
    settings_.ResetInstanceCount();
  counted_ = settings_.IncrementInstanceCount();
  startup.UnlockInstances();
  if (!counted_)
    return false;

  OsVersion version;
  if (services_.system.GetOsVersion(version) && version.platformId == kPlatformWin32Windows &&
      version.minor == 0) {
    services_.boxes.Show(nullptr, {"Falsches Betriebsystem: Bitte mindestens WinNT 4.0 benutzen.",
                                   "Sorry, aber ohne 'Net Send' geht's nicht...", BoxIcon::kStop});
    return false;
  }
  if (!startup.InitializeSockets()) {
    services_.boxes.Show(nullptr, {"Fehler beim Initialisieren der Windows-Sockets.",
                                   kApplicationTitle, BoxIcon::kExclamation});
    return false;
  }

  SettingsRecord record;
  if (settings_.LoadSettings(record))
    ApplyRecord(record, settings_.values());
  settingsLoaded_ = true;

  if ((another || startup.MainWindowExists(kMainWindowCaption)) && settings_.SingleInstance())
    return false;
  settings_.ApplyAutostart(settings_.AutoStart());
  ReloadDirectory();

  std::string initialText;
  if (!commandLine.empty()) {
    LoadMessageFile(services_.files, commandLine, settings_.MaxDateiKB(), initialText);
  }
  runner.Run(*this, initialText, settings_.TNAStart());
  return false;
}

void Application::ReloadDirectory() {
  directory_.ReloadDirectory(services_.files, settings_.RechnerListePfad());
}

bool Application::ReloadIfChanged() {
  return directory_.ReloadIfChanged(services_.files, settings_.RechnerListePfad());
}

SaveResult Application::SaveDirectory(NativeWindow owner) {
  MessageBoxes& boxes = services_.boxes;
  return directory_.SaveDirectory(
      services_.files, settings_.RechnerListePfad(), services_.system.Now(),
      services_.startup.FileVersion(), [&boxes, owner](const std::string& question) {
        return boxes.Ask(owner, {question, kApplicationTitle, BoxIcon::kQuestion});
      });
}

int Application::End() {
  if (ended_)
    return 0;
  ended_ = true;
  // A start that stopped before the settings were loaded must not write the defaults over
  // the stored settings, nor delete the autostart entry through the default "off".
  if (settingsLoaded_) {
    settings_.SaveSettings();
    settings_.ApplyAutostart(settings_.AutoStart());
  }
  // Only a start that counted itself lowers the counter again.
  if (counted_) {
    services_.startup.LockInstances();
    settings_.DecrementInstanceCount();
    services_.startup.UnlockInstances();
  }
  return 0;
}

}  // namespace botenruf
