// The settings and their registry store, the application's start and end routines, and the
// tick count that stands in for GetTickCount64 on Windows XP.
#include <gtest/gtest.h>

#include "app/application.h"
#include "app/settings_store.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_message_boxes.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_system.h"
#include "platform/tick_count.h"

namespace botenruf {
namespace {

using namespace std::string_literals;
using fakes::FakeRegistry;
using fakes::StoredValue;

Settings Converted(const char* name, const std::string& text) {
  SettingsRecord record;
  for (size_t i = 0; i < kSettingCount; ++i) {
    if (std::string(kSettingNames[i]) == name)
      record[i] = text;
  }
  Settings settings;
  ApplyRecord(record, settings);
  return settings;
}

TEST(SettingsTest, TextsConvertLikeTheRuntimeAndEmptySlotsKeepTheDefaults) {
  const std::tuple<const char*, bool, int32_t> cases[] = {
      {"1abc", true, 1}, {" 1", false, 1},     {"99999999999", false, INT32_MAX},
      {"- 5", false, 0}, {"0x10", false, 0},   {"-99999999999", false, INT32_MIN},
      {"-3", false, -3}, {"  15x", false, 15}, {"ja", false, 0},
  };
  for (const auto& [text, truth, number] : cases) {
    SCOPED_TRACE(text);
    EXPECT_EQ(Converted("TNAStart", text).tnaStart.get(), truth);
    EXPECT_EQ(Converted("MaxThreads", text).maxThreads.get(), number);
  }
  Settings defaults;
  ApplyRecord(SettingsRecord{}, defaults);
  defaults.auswahl = -1;
  std::string record;
  for (const std::string& value : BuildRecord(defaults))
    record += value + "|";
  EXPECT_EQ(record, "0|0|C:\\Rechner.txt|2|0|0|0|-1|20|0|1|0|0|0|1|0|10|2|0|0|");
  // Nothing past the 256-byte buffer is read: full without a zero counts as too long.
  RegistryRead read{RegistryRead::Status::kOk, std::string(256, 'x')};
  EXPECT_FALSE(DecodeRegistryText(read).has_value());
  read.bytes = std::string(255, 'x') + '\0';
  EXPECT_EQ(DecodeRegistryText(read).value(), std::string(255, 'x'));
}

// Runs no window but records what it would have been given, and answers the start's questions.
class ApplicationTest : public ::testing::Test, public MainWindowRunner, public StartupServices {
 protected:
  bool MainWindowExists(const std::string&) override { return mainWindow; }
  bool LockInstances() override { return ++locks, otherInstance; }
  void UnlockInstances() override { ++unlocks; }
  bool InitializeSockets() override { return socketsWork; }
  std::string FileVersion() override { return "3.0.0.15"; }
  void Run(Application& app, const std::string& initialText, bool startInTray) override {
    ++runs;
    text = initialText;
    tray = startInTray;
    singles = app.directory().SingleCount();
  }
  void RunOnce(const std::string& commandLine = "") {
    runs = 0;
    Application app({registry, system, files, boxes, *this});
    EXPECT_FALSE(app.Start(commandLine, *this));
    EXPECT_EQ(app.End(), 0);
  }

  FakeRegistry registry;
  fakes::FakeSystem system;
  fakes::FakeFileSystem files;
  fakes::FakeMessageBoxes boxes;
  bool socketsWork = true, mainWindow = false, otherInstance = false;
  int locks = 0, unlocks = 0;
  std::string text;
  bool tray = false;
  int runs = 0, singles = -1;
  SettingsStore store{registry, system};
};

TEST_F(ApplicationTest, LoadSkipsOddValuesAndSaveWritesEveryStringEvenAfterAFailure) {
  SettingsRecord record;
  EXPECT_FALSE(store.LoadSettings(record));  // no key yet
  registry.PutString(kSettingsKey, "MaxThreads", std::string(256, '7'));
  // A REG_DWORD 1 reads as "\x01", which is no "1".
  registry.keys_[kSettingsKey]["AutoStart"] = {StoredValue::Type::kDword, "\x01\0\0\0"s};
  ASSERT_TRUE(store.LoadSettings(record));
  ApplyRecord(record, store.values());
  EXPECT_EQ(store.MaxThreads(), 20);
  EXPECT_FALSE(store.AutoStart());
  registry.failWritesOf = {"GridLines"};
  ASSERT_TRUE(store.SaveSettings());
  EXPECT_EQ(registry.keys_[kSettingsKey].size(), kSettingCount - 1);
  EXPECT_EQ(registry.Find(kSettingsKey, "AutoStart")->type, StoredValue::Type::kString);
  EXPECT_EQ(registry.Find(kSettingsKey, "RechnerListePfad")->bytes,
            std::string("C:\\Rechner.txt\0", 15));
}

TEST_F(ApplicationTest, AutostartEntryAndStartCounter) {
  system.modulePath = "C:\\Programme\\Bote.v2\\Botenruf.EXE";
  EXPECT_TRUE(store.ApplyAutostart(true));
  EXPECT_EQ(registry.Text(kAutostartKey, "Botenruf"), "C:\\Programme\\Bote.v2\\Botenruf.exe");
  EXPECT_FALSE(store.ApplyAutostart(false));
  EXPECT_EQ(registry.Find(kAutostartKey, "Botenruf"), nullptr);

  registry.PutString(kSettingsKey, kInstanceCountValue, "7x");
  EXPECT_TRUE(store.DecrementInstanceCount());
  EXPECT_EQ(registry.Text(kSettingsKey, kInstanceCountValue), "6");
  registry.PutString(kSettingsKey, kInstanceCountValue, "2147483647");
  EXPECT_TRUE(store.IncrementInstanceCount());
  EXPECT_EQ(registry.Text(kSettingsKey, kInstanceCountValue), "2147483647");
  registry.failCreate = true;
  EXPECT_FALSE(store.IncrementInstanceCount());
}

TEST(GreetingTest, TwoWholeHoursOfOneDay) {
  EXPECT_FALSE(IsGreetingTime({2026, 11, 2, 9, 59, 0}));
  EXPECT_TRUE(IsGreetingTime({2026, 11, 2, 10, 0, 0}));
  EXPECT_TRUE(IsGreetingTime({2026, 11, 2, 11, 59, 0}));
  EXPECT_FALSE(IsGreetingTime({2026, 11, 2, 12, 0, 0}));
  EXPECT_FALSE(IsGreetingTime({2026, 12, 2, 10, 0, 0}));
}

// A start that stops before the settings were read must not write the defaults over them,
// nor remove the autostart entry; one that could not count itself must not count down.
TEST_F(ApplicationTest, EarlyStopsKeepStoredSettingsAndAutostart) {
  const OsVersion win95{1, 4, 0}, xp{2, 5, 1};
  const std::tuple<const char*, OsVersion, bool, bool, std::string> cases[] = {
      {"Windows 95", win95, true, false,
       "Falsches Betriebsystem: Bitte mindestens WinNT 4.0 benutzen."},
      {"no sockets", xp, false, false, "Fehler beim Initialisieren der Windows-Sockets."},
      {"counter not writable", xp, true, true, ""},
  };
  for (const auto& [what, version, sockets, counterFails, box] : cases) {
    SCOPED_TRACE(what);
    registry = FakeRegistry();
    boxes.Clear();
    registry.PutString(kSettingsKey, "MaxThreads", "5");
    registry.PutString(kSettingsKey, kInstanceCountValue, "0");
    registry.PutString(kAutostartKey, "Botenruf", "C:\\Botenruf.exe");
    if (counterFails)
      registry.failWritesOf = {kInstanceCountValue};
    system.osVersion = version;
    socketsWork = sockets;
    RunOnce();
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(boxes.boxes().empty() ? "" : boxes.boxes()[0].text, box);
    EXPECT_EQ(registry.keys_[kSettingsKey].size(), 2u);
    EXPECT_EQ(registry.Text(kSettingsKey, kInstanceCountValue), "0");
    EXPECT_NE(registry.Find(kAutostartKey, "Botenruf"), nullptr);
  }
}

TEST_F(ApplicationTest, TheWindowGetsTheDirectoryTheTrayFlagAndTheCommandLineFile) {
  registry.PutString(kSettingsKey, "RechnerListePfad", "D:\\liste.txt");
  registry.PutString(kSettingsKey, "TNAStart", "1");
  registry.PutString(kSettingsKey, "AutoStart", "1");
  files.files["D:\\liste.txt"] = "//begin\r\nPC1 Eins\r\nPC2 Zwei\r\n//end\r\n";
  files.files["C:\\a b.txt"] = "Hallo\r\nWelt";
  // The whole text after the program's name is the path, blanks and all.
  RunOnce(CommandLineTail("\"C:\\Pro gramme\\Botenruf.exe\"  C:\\a b.txt"));
  EXPECT_EQ(text, "Hallo\r\nWelt\r\n");
  EXPECT_EQ(singles, 2);
  EXPECT_TRUE(tray);
  EXPECT_EQ(registry.Text(kAutostartKey, "Botenruf"), "C:\\Programme\\Botenruf\\Botenruf.exe");
  files.files["C:\\gross.txt"] = std::string(2049, 'x');  // over MaxDateiKB
  RunOnce("C:\\gross.txt");
  EXPECT_EQ(text, "");
}

// The end of the session runs the end routine early; the normal end after it must not count
// down a second time while another instance runs.
TEST_F(ApplicationTest, TheEndRoutineCountsDownOnce) {
  mainWindow = true;
  registry.PutString(kSettingsKey, "SingleInstance", "0");
  registry.PutString(kSettingsKey, kInstanceCountValue, "1");
  Application app({registry, system, files, boxes, *this});
  app.Start("", *this);
  EXPECT_EQ(registry.Text(kSettingsKey, kInstanceCountValue), "2");
  app.End();
  app.End();
  EXPECT_EQ(registry.Text(kSettingsKey, kInstanceCountValue), "1");
}

// Two starts at one moment: the later finds the earlier through the instances' mark before the
// earlier's window exists, stops without resetting its count, and both count under the lock.
TEST_F(ApplicationTest, AStartThatFindsAnotherInstanceStopsBeforeItsWindowExists) {
  registry.PutString(kSettingsKey, kInstanceCountValue, "1");  // the earlier one's count
  otherInstance = true;
  RunOnce();
  EXPECT_EQ(runs, 0);
  EXPECT_EQ(registry.Text(kSettingsKey, kInstanceCountValue), "1");
  EXPECT_EQ(locks, 2);
  EXPECT_EQ(unlocks, 2);
}

TEST(ExtendTickCount, CountsOnAcrossTheWrapOfTheTickCount) {
  // The same tick again, the first wrap, a later one.
  const std::tuple<uint64_t, uint32_t, uint64_t> cases[] = {
      {0, 5, 5},
      {0x100000010, 0x10, 0x100000010},
      {0xFFFFFFF0, 0x10, 0x100000010},
      {0x1FFFFFFF0, 0x20, 0x200000020},
  };
  for (const auto& [previous, now, expected] : cases)
    EXPECT_EQ(ExtendTickCount(previous, now), expected) << previous;
}

}  // namespace
}  // namespace botenruf
