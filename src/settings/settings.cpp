#include "settings/settings.h"

#include "text/text.h"

namespace botenruf {

const std::array<const char*, kSettingCount> kSettingNames = {
    "FullRow",          "GridLines",        "RechnerListePfad", "MaxDateiKB",   "AutoStart",
    "TNAStart",         "ListenTyp",        "Auswahl",          "MaxThreads",   "SuccessMsg",
    "SingleSuccessMsg", "DomainSuccessMsg", "TaskMinimize",     "SystemModal",  "SingleInstance",
    "VersandInfo",      "WaitPollrate",     "WaitStep",         "Sendebericht", "Zustellung"};

namespace {

struct Field {
  Relaxed<bool> Settings::*flag = nullptr;
  Relaxed<int32_t> Settings::*number = nullptr;
  std::string Settings::*text = nullptr;
};

Field Flag(Relaxed<bool> Settings::*member) {
  return Field{member, nullptr, nullptr};
}
Field Number(Relaxed<int32_t> Settings::*member) {
  return Field{nullptr, member, nullptr};
}
Field Text(std::string Settings::*member) {
  return Field{nullptr, nullptr, member};
}

// The fields in record order.
const std::array<Field, kSettingCount>& Fields() {
  static const std::array<Field, kSettingCount> fields = {
      Flag(&Settings::fullRow),          Flag(&Settings::gridLines),
      Text(&Settings::rechnerListePfad), Number(&Settings::maxDateiKB),
      Flag(&Settings::autoStart),        Flag(&Settings::tnaStart),
      Number(&Settings::listenTyp),      Number(&Settings::auswahl),
      Number(&Settings::maxThreads),     Flag(&Settings::successMsg),
      Flag(&Settings::singleSuccessMsg), Flag(&Settings::domainSuccessMsg),
      Flag(&Settings::taskMinimize),     Flag(&Settings::systemModal),
      Flag(&Settings::singleInstance),   Flag(&Settings::versandInfo),
      Number(&Settings::waitPollrate),   Number(&Settings::waitStep),
      Flag(&Settings::sendebericht),     Number(&Settings::zustellung)};
  return fields;
}

}  // namespace

void ApplyRecord(const SettingsRecord& record, Settings& settings) {
  for (size_t i = 0; i < kSettingCount; ++i) {
    const std::string& slot = record[i];
    if (slot.empty())
      continue;
    const Field& field = Fields()[i];
    if (field.flag) {
      (settings.*field.flag) = slot[0] == '1';
    } else if (field.number) {
      (settings.*field.number) = ParseLong(slot);
    } else {
      settings.*field.text = slot;
    }
  }
}

SettingsRecord BuildRecord(const Settings& settings) {
  SettingsRecord record;
  for (size_t i = 0; i < kSettingCount; ++i) {
    const Field& field = Fields()[i];
    if (field.flag) {
      record[i].assign(1, (settings.*field.flag).get() ? '1' : '0');
    } else if (field.number) {
      record[i] = Format("%ld", static_cast<long>((settings.*field.number).get()));
    } else {
      record[i] = settings.*field.text;
    }
  }
  return record;
}

}  // namespace botenruf
