// The settings store against the real registry of the test prefix.
#include <gtest/gtest.h>

#include "app/settings_store.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_system.h"
#include "support/win_test_support.h"

namespace botenruf {
namespace {

using wintest::ReadUserString;
using wintest::ReadUserValue;

class SettingsRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wintest::DeleteUserKeyTree(kSettingsKey);
    wintest::WriteUserString(kAutostartKey, "unrelated", "C:\\other.exe");
  }
  void TearDown() override { wintest::DeleteUserKeyTree(kSettingsKey); }

  void LoadAndApply() {
    SettingsRecord record;
    ASSERT_TRUE(store.LoadSettings(record));
    ApplyRecord(record, store.values());
  }

  win::Win32Registry registry;
  win::Win32System system;
  SettingsStore store{registry, system};
};

TEST_F(SettingsRegistryTest, DefaultsAreWrittenAsStringsWithTheirZero) {
  ASSERT_TRUE(store.SaveSettings());
  const std::pair<const char*, const char*> expected[] = {
      {"FullRow", "0"},      {"GridLines", "0"},        {"RechnerListePfad", "C:\\Rechner.txt"},
      {"MaxDateiKB", "2"},   {"AutoStart", "0"},        {"TNAStart", "0"},
      {"ListenTyp", "0"},    {"Auswahl", "0"},          {"MaxThreads", "20"},
      {"SuccessMsg", "0"},   {"SingleSuccessMsg", "1"}, {"DomainSuccessMsg", "0"},
      {"TaskMinimize", "0"}, {"SystemModal", "0"},      {"SingleInstance", "1"},
      {"VersandInfo", "0"},  {"WaitPollrate", "10"},    {"WaitStep", "2"}};
  for (const auto& [name, text] : expected) {
    SCOPED_TRACE(name);
    EXPECT_EQ(ReadUserString(kSettingsKey, name), text);
  }
}

TEST_F(SettingsRegistryTest, DwordValuesReadAsOffAndZeroAndComeBackAsStrings) {
  const std::string one("\x01\0\0\0", 4);
  wintest::WriteUserValue(kSettingsKey, "SingleSuccessMsg", REG_DWORD, one);
  wintest::WriteUserValue(kSettingsKey, "MaxThreads", REG_DWORD, one);
  LoadAndApply();
  EXPECT_FALSE(store.SingleSuccessMsg());
  EXPECT_EQ(store.MaxThreads(), 0);
  ASSERT_TRUE(store.SaveSettings());
  EXPECT_EQ(ReadUserString(kSettingsKey, "SingleSuccessMsg"), "0");
  EXPECT_EQ(ReadUserString(kSettingsKey, "MaxThreads"), "0");
}

TEST_F(SettingsRegistryTest, OverLongAndUnterminatedValuesKeepTheDefault) {
  wintest::WriteUserString(kSettingsKey, "MaxThreads", std::string(300, '5'));
  wintest::WriteUserValue(kSettingsKey, "WaitStep", REG_BINARY, std::string(256, '7'));
  wintest::WriteUserString(kSettingsKey, "WaitPollrate", "  15x");
  LoadAndApply();
  EXPECT_EQ(store.MaxThreads(), 20);
  EXPECT_EQ(store.WaitStep(), 2);
  EXPECT_EQ(store.WaitPollrate(), 15);
}

TEST_F(SettingsRegistryTest, AutostartFollowsTheSwitch) {
  const std::string name = AutostartValueName(system.ModulePath());
  ASSERT_FALSE(name.empty());
  ASSERT_TRUE(store.ApplyAutostart(true));
  const std::string data = ReadUserString(kAutostartKey, name);
  EXPECT_EQ(data, system.ModulePath().substr(0, system.ModulePath().rfind('.')) + ".exe");
  EXPECT_EQ(data.substr(1, 2), ":\\");
  EXPECT_FALSE(store.ApplyAutostart(false));
  EXPECT_FALSE(ReadUserValue(kAutostartKey, name).found);
  EXPECT_EQ(ReadUserString(kAutostartKey, "unrelated"), "C:\\other.exe");
}

TEST_F(SettingsRegistryTest, InstanceCounterStartsFromAMissingValue) {
  EXPECT_TRUE(store.IncrementInstanceCount());
  EXPECT_TRUE(store.IncrementInstanceCount());
  EXPECT_EQ(ReadUserString(kSettingsKey, kInstanceCountValue), "2");
  EXPECT_TRUE(store.DecrementInstanceCount());
  EXPECT_EQ(ReadUserString(kSettingsKey, kInstanceCountValue), "1");
}

}  // namespace
}  // namespace botenruf
