// Keeps the program's options for the run and between runs in the per-user registry,
// together with the start counter "Instanzen" and the autostart entry.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/registry.h"
#include "platform/system.h"
#include "settings/settings.h"

namespace botenruf {

inline constexpr const char* kSettingsKey = "Software\\Brenk\\Botenruf";
inline constexpr const char* kAutostartKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kInstanceCountValue = "Instanzen";
// Values are read into a buffer of this size; longer data is ignored.
inline constexpr size_t kRegistryBufferSize = 256;

// The text of a value read into the 256-byte buffer, or nothing when it is missing or too
// long. The bytes count up to the first zero; data that fills the whole buffer without a
// zero is taken as too long, so nothing past the buffer is ever read.
std::optional<std::string> DecodeRegistryText(const RegistryRead& read);

// The fixed greeting: one day of the year, two whole hours of it.
inline constexpr int kGreetingMonth = 11;
inline constexpr int kGreetingDay = 2;
inline constexpr int kGreetingHourAfter = 9;    // the hour must be greater than this ...
inline constexpr int kGreetingHourBefore = 12;  // ... and less than this: 10:00 to 11:59
inline constexpr const char* kGreetingText =
    "Heute ist Allerseelen. Ein stiller Gru\xDF an alle, an die wir heute denken.";
bool IsGreetingTime(const LocalTime& now);

// The autostart value's name and data for a program file path: the base name without
// directory and extension, and the path with its extension replaced by ".exe".
std::string AutostartValueName(const std::string& modulePath);
std::string AutostartValueData(const std::string& modulePath);

class SettingsStore {
 public:
  SettingsStore(Registry& registry, SystemInfo& system) : registry_(registry), system_(system) {}

  // Fills the record's slots from the registry; false (record untouched) when the key
  // cannot be opened.
  bool LoadSettings(SettingsRecord& record);
  // Writes every value of the record; false when the key cannot be created or opened.
  bool SaveSettings();
  // Writes (on) or deletes (off) the autostart entry; true only when it was written.
  bool ApplyAutostart(bool on);
  bool ResetInstanceCount();
  bool IncrementInstanceCount();
  bool DecrementInstanceCount();
  bool IsGreetingTime();

  Settings& values() { return *settings_; }
  const Settings& values() const { return *settings_; }
  // Send workers keep the settings they read alive for as long as they run, which may be
  // beyond the end of the main window.
  std::shared_ptr<const Settings> shared() const { return settings_; }

  bool FullRow() const { return settings_->fullRow; }
  bool GridLines() const { return settings_->gridLines; }
  const std::string& RechnerListePfad() const { return settings_->rechnerListePfad; }
  int32_t MaxDateiKB() const { return settings_->maxDateiKB; }
  bool AutoStart() const { return settings_->autoStart; }
  bool TNAStart() const { return settings_->tnaStart; }
  int32_t ListenTyp() const { return settings_->listenTyp; }
  int32_t Auswahl() const { return settings_->auswahl; }
  int32_t MaxThreads() const { return settings_->maxThreads; }
  bool SuccessMsg() const { return settings_->successMsg; }
  bool SingleSuccessMsg() const { return settings_->singleSuccessMsg; }
  bool DomainSuccessMsg() const { return settings_->domainSuccessMsg; }
  bool TaskMinimize() const { return settings_->taskMinimize; }
  bool SystemModal() const { return settings_->systemModal; }
  bool SingleInstance() const { return settings_->singleInstance; }
  bool VersandInfo() const { return settings_->versandInfo; }
  int32_t WaitPollrate() const { return settings_->waitPollrate; }
  int32_t WaitStep() const { return settings_->waitStep; }
  bool Sendebericht() const { return settings_->sendebericht; }
  int32_t Zustellung() const { return settings_->zustellung; }

  void SetFullRow(bool on) { settings_->fullRow = on; }
  void SetGridLines(bool on) { settings_->gridLines = on; }
  void SetRechnerListePfad(const std::string& path) { settings_->rechnerListePfad = path; }
  void SetAutoStart(bool on) { settings_->autoStart = on; }
  void SetTNAStart(bool on) { settings_->tnaStart = on; }
  void SetListenTyp(int32_t mode) { settings_->listenTyp = mode; }
  void SetAuswahl(int32_t index) { settings_->auswahl = index; }
  void SetTaskMinimize(bool on) { settings_->taskMinimize = on; }
  void SetSystemModal(bool on) { settings_->systemModal = on; }
  void SetVersandInfo(bool on) { settings_->versandInfo = on; }
  void SetSendebericht(bool on) { settings_->sendebericht = on; }
  void SetZustellung(int32_t choice) { settings_->zustellung = choice; }
  void ToggleSuccessMsg() { settings_->successMsg = !settings_->successMsg; }
  void ToggleSingleSuccessMsg() { settings_->singleSuccessMsg = !settings_->singleSuccessMsg; }
  void ToggleDomainSuccessMsg() { settings_->domainSuccessMsg = !settings_->domainSuccessMsg; }

 private:
  int32_t ReadInstanceCount();
  bool WriteInstanceCount(int64_t count);

  Registry& registry_;
  SystemInfo& system_;
  std::shared_ptr<Settings> settings_ = std::make_shared<Settings>();
};

}  // namespace botenruf
