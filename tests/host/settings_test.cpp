#include <gtest/gtest.h>

#include "app/settings_store.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_system.h"

namespace botenruf {
namespace {

using fakes::FakeRegistry;
using fakes::FakeSystem;
using fakes::StoredValue;

size_t IndexOf(const std::string& name) {
  for (size_t i = 0; i < kSettingCount; ++i) {
    if (name == kSettingNames[i])
      return i;
  }
  ADD_FAILURE() << "no setting " << name;
  return 0;
}

Settings Converted(const std::string& name, const std::string& text) {
  SettingsRecord record;
  record[IndexOf(name)] = text;
  Settings settings;
  ApplyRecord(record, settings);
  return settings;
}

TEST(SettingsRecordTest, TruthIsTheFirstCharacterOne) {
  struct Case {
    const char* text;
    bool expected;
  } cases[] = {{"1", true},  {"1abc", true}, {"10", true},  {" 1", false},
               {"0", false}, {"2", false},   {"ja", false}, {"\x01", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Converted("TNAStart", c.text).tnaStart.get(), c.expected);
    EXPECT_EQ(Converted("SingleSuccessMsg", c.text).singleSuccessMsg.get(), c.expected);
  }
}

TEST(SettingsRecordTest, NumbersFollowTheStringToLongRules) {
  struct Case {
    const char* text;
    int32_t expected;
  } cases[] = {{"15", 15},
               {"  15x", 15},
               {"abc", 0},
               {"-3", -3},
               {"+7", 7},
               {"\t42", 42},
               {"- 5", 0},
               {"0x10", 0},
               {"99999999999", 2147483647},
               {"-99999999999", -2147483647 - 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Converted("MaxThreads", c.text).maxThreads.get(), c.expected);
  }
}

TEST(SettingsRecordTest, EmptySlotsKeepTheDefaults) {
  Settings settings;
  ApplyRecord(SettingsRecord{}, settings);
  EXPECT_TRUE(settings.singleSuccessMsg);
  EXPECT_TRUE(settings.singleInstance);
  EXPECT_EQ(settings.maxThreads.get(), 20);
  EXPECT_EQ(settings.rechnerListePfad, "C:\\Rechner.txt");
  EXPECT_EQ(settings.waitPollrate.get(), 10);
  EXPECT_EQ(settings.waitStep.get(), 2);
}

TEST(SettingsRecordTest, BuildRecordWritesEveryValueInOrder) {
  Settings settings;
  settings.auswahl = -1;
  settings.rechnerListePfad = "D:\\Listen\\Büro.txt";
  const SettingsRecord record = BuildRecord(settings);
  const SettingsRecord expected = {"0", "0",  "D:\\Listen\\Büro.txt",
                                   "2", "0",  "0",
                                   "0", "-1", "20",
                                   "0", "1",  "0",
                                   "0", "0",  "1",
                                   "0", "10", "2"};
  EXPECT_EQ(record, expected);
  Settings back;
  back.singleInstance = false;
  ApplyRecord(record, back);
  EXPECT_EQ(BuildRecord(back), expected);
}

TEST(RegistryTextTest, NothingPastTheBufferIsRead) {
  RegistryRead read;
  read.status = RegistryRead::Status::kOk;
  read.bytes = std::string(256, 'x');  // exactly the buffer, no terminating zero
  EXPECT_FALSE(DecodeRegistryText(read).has_value());
  read.bytes = std::string(255, 'x') + std::string(1, '\0');
  EXPECT_EQ(DecodeRegistryText(read).value(), std::string(255, 'x'));
  read.bytes = std::string("\x01\0\0\0", 4);  // a REG_DWORD 1
  EXPECT_EQ(DecodeRegistryText(read).value(), "\x01");
  read.bytes = "1ab";  // binary data without any zero
  EXPECT_EQ(DecodeRegistryText(read).value(), "1ab");
  read.status = RegistryRead::Status::kTooLarge;
  EXPECT_FALSE(DecodeRegistryText(read).has_value());
}

class SettingsStoreTest : public ::testing::Test {
 protected:
  FakeRegistry registry;
  FakeSystem system;
  SettingsStore store{registry, system};
};

TEST_F(SettingsStoreTest, LoadFailsWithoutTheKeyAndLeavesTheRecord) {
  SettingsRecord record;
  record[0] = "keep";
  EXPECT_FALSE(store.LoadSettings(record));
  EXPECT_EQ(record[0], "keep");
}

TEST_F(SettingsStoreTest, LoadIgnoresOverLongAndReadsDwordsAsText) {
  registry.PutString(kSettingsKey, "MaxThreads", std::string(256, '7'));
  registry.PutString(kSettingsKey, "WaitStep", std::string(255, '7').replace(0, 1, "5"));
  registry.PutRaw(kSettingsKey, "AutoStart", StoredValue::Type::kDword,
                  std::string("\x01\0\0\0", 4));
  registry.PutRaw(kSettingsKey, "MaxDateiKB", StoredValue::Type::kDword,
                  std::string("\x01\0\0\0", 4));
  SettingsRecord record;
  ASSERT_TRUE(store.LoadSettings(record));
  ApplyRecord(record, store.values());
  EXPECT_EQ(store.MaxThreads(), 20);        // over-long value ignored, default kept
  EXPECT_EQ(store.WaitStep(), 2147483647);  // 255 characters fit and are taken
  EXPECT_FALSE(store.AutoStart());
  EXPECT_EQ(store.MaxDateiKB(), 0);
  ASSERT_TRUE(store.SaveSettings());
  const StoredValue* rewritten = registry.Find(kSettingsKey, "AutoStart");
  ASSERT_NE(rewritten, nullptr);
  EXPECT_EQ(rewritten->type, StoredValue::Type::kString);
  EXPECT_EQ(registry.Text(kSettingsKey, "MaxThreads"), "20");
}

TEST_F(SettingsStoreTest, SaveWritesAllEighteenStringsWithTheTerminatingZero) {
  ASSERT_TRUE(store.SaveSettings());
  ASSERT_EQ(registry.keys_[kSettingsKey].size(), kSettingCount);
  EXPECT_EQ(registry.Find(kSettingsKey, "RechnerListePfad")->bytes,
            std::string("C:\\Rechner.txt\0", 15));
  EXPECT_EQ(registry.Text(kSettingsKey, "SingleSuccessMsg"), "1");
  EXPECT_EQ(registry.Text(kSettingsKey, "MaxDateiKB"), "2");
}

TEST_F(SettingsStoreTest, FailedWriteOfOneValueDoesNotStopTheOthers) {
  registry.failWritesOf = {"GridLines"};
  EXPECT_TRUE(store.SaveSettings());
  EXPECT_FALSE(registry.Has(kSettingsKey, "GridLines"));
  EXPECT_EQ(registry.keys_[kSettingsKey].size(), kSettingCount - 1);
  registry.failCreate = true;
  EXPECT_FALSE(store.SaveSettings());
}

TEST_F(SettingsStoreTest, AutostartWritesTheExePathAndDeletesIt) {
  system.modulePath = "C:\\Programme\\Bote.v2\\Botenruf.EXE";
  EXPECT_TRUE(store.ApplyAutostart(true));
  EXPECT_EQ(registry.Text(kAutostartKey, "Botenruf"), "C:\\Programme\\Bote.v2\\Botenruf.exe");
  EXPECT_FALSE(store.ApplyAutostart(false));
  EXPECT_FALSE(registry.Has(kAutostartKey, "Botenruf"));
  EXPECT_FALSE(store.ApplyAutostart(false));  // a missing value is no error
  system.modulePath.clear();
  EXPECT_FALSE(store.ApplyAutostart(true));
  EXPECT_FALSE(registry.Has(kAutostartKey, "Botenruf"));
}

TEST_F(SettingsStoreTest, InstanceCounter) {
  EXPECT_TRUE(store.IncrementInstanceCount());
  EXPECT_EQ(registry.Text(kSettingsKey, kInstanceCountValue), "1");
  registry.PutString(kSettingsKey, kInstanceCountValue, "7x");
  EXPECT_TRUE(store.DecrementInstanceCount());
  EXPECT_EQ(registry.Text(kSettingsKey, kInstanceCountValue), "6");
  EXPECT_TRUE(store.ResetInstanceCount());
  EXPECT_EQ(registry.Text(kSettingsKey, kInstanceCountValue), "0");
  registry.PutString(kSettingsKey, kInstanceCountValue, "2147483647");
  EXPECT_TRUE(store.IncrementInstanceCount());
  EXPECT_EQ(registry.Text(kSettingsKey, kInstanceCountValue), "2147483647");
  registry.failCreate = true;
  EXPECT_FALSE(store.IncrementInstanceCount());
}

TEST(GreetingTest, TwoWholeHoursOfOneDay) {
  struct Case {
    int month, day, hour;
    bool expected;
  } cases[] = {{11, 2, 9, false},  {11, 2, 10, true},  {11, 2, 11, true},
               {11, 2, 12, false}, {11, 3, 10, false}, {12, 2, 10, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.month << "/" << c.day << " " << c.hour);
    EXPECT_EQ(IsGreetingTime(LocalTime{2026, c.month, c.day, c.hour, 30, 0}), c.expected);
  }
}

}  // namespace
}  // namespace botenruf
