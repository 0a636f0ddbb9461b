#include "app/settings_store.h"

#include "text/text.h"

namespace botenruf {

std::optional<std::string> DecodeRegistryText(const RegistryRead& read) {
  if (read.status != RegistryRead::Status::kOk)
    return std::nullopt;
  const size_t zero = read.bytes.find('\0');
  if (zero == std::string::npos) {
    if (read.bytes.size() >= kRegistryBufferSize)
      return std::nullopt;
    return read.bytes;
  }
  return read.bytes.substr(0, zero);
}

bool IsGreetingTime(const LocalTime& now) {
  return now.month == kGreetingMonth && now.day == kGreetingDay && now.hour > kGreetingHourAfter &&
         now.hour < kGreetingHourBefore;
}

namespace {

size_t FileNameStart(const std::string& path) {
  const size_t slash = path.find_last_of("\\/:");
  return slash == std::string::npos ? 0 : slash + 1;
}

// Position of the extension's dot within the file name, or npos.
size_t ExtensionDot(const std::string& path) {
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || dot < FileNameStart(path))
    return std::string::npos;
  return dot;
}

}  // namespace

std::string AutostartValueName(const std::string& modulePath) {
  const size_t start = FileNameStart(modulePath);
  const size_t dot = ExtensionDot(modulePath);
  return modulePath.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
}

std::string AutostartValueData(const std::string& modulePath) {
  const size_t dot = ExtensionDot(modulePath);
  return modulePath.substr(0, dot) + ".exe";
}

bool SettingsStore::LoadSettings(SettingsRecord& record) {
  auto key = registry_.OpenUserKey(kSettingsKey);
  if (!key)
    return false;
  for (size_t i = 0; i < kSettingCount; ++i) {
    if (auto text = DecodeRegistryText(key->Read(kSettingNames[i], kRegistryBufferSize))) {
      record[i] = *text;
    }
  }
  return true;
}

bool SettingsStore::SaveSettings() {
  const SettingsRecord record = BuildRecord(*settings_);
  auto key = registry_.CreateUserKey(kSettingsKey);
  if (!key)
    return false;
  for (size_t i = 0; i < kSettingCount; ++i)
    key->WriteString(kSettingNames[i], record[i]);
  return true;
}

bool SettingsStore::ApplyAutostart(bool on) {
  const std::string modulePath = system_.ModulePath();
  if (modulePath.empty())
    return false;
  const std::string name = AutostartValueName(modulePath);
  if (on) {
    auto key = registry_.CreateUserKey(kAutostartKey);
    return key && key->WriteString(name, AutostartValueData(modulePath));
  }
  if (auto key = registry_.OpenUserKey(kAutostartKey))
    key->DeleteValue(name);
  return false;
}

int32_t SettingsStore::ReadInstanceCount() {
  auto key = registry_.OpenUserKey(kSettingsKey);
  if (!key)
    return 0;
  auto text = DecodeRegistryText(key->Read(kInstanceCountValue, kRegistryBufferSize));
  return text ? ParseLong(*text) : 0;
}

bool SettingsStore::WriteInstanceCount(int64_t count) {
  // The counter decides nothing; it is only kept within the stored number's range.
  const int64_t kept = count > INT32_MAX ? INT32_MAX : (count < INT32_MIN ? INT32_MIN : count);
  auto key = registry_.CreateUserKey(kSettingsKey);
  return key && key->WriteString(kInstanceCountValue, Format("%ld", static_cast<long>(kept)));
}

bool SettingsStore::ResetInstanceCount() {
  return WriteInstanceCount(0);
}

bool SettingsStore::IncrementInstanceCount() {
  return WriteInstanceCount(int64_t{ReadInstanceCount()} + 1);
}

bool SettingsStore::DecrementInstanceCount() {
  return WriteInstanceCount(int64_t{ReadInstanceCount()} - 1);
}

bool SettingsStore::IsGreetingTime() {
  return botenruf::IsGreetingTime(system_.Now());
}

}  // namespace botenruf
