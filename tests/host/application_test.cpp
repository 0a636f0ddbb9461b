#include <gtest/gtest.h>

#include "app/application.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_message_boxes.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_system.h"

namespace botenruf {
namespace {

using fakes::FakeFileSystem;
using fakes::FakeMessageBoxes;
using fakes::FakeRegistry;
using fakes::FakeSystem;

class FakeStartup : public StartupServices {
 public:
  bool TopLevelWindowExists(const std::string& caption) override {
    return caption == "Botenruf" && windowExists;
  }
  bool InitializeSockets() override { return socketsWork; }
  std::string FileVersion() override { return "3.0.0.15"; }
  bool windowExists = false;
  bool socketsWork = true;
};

class RecordingRunner : public MainWindowRunner {
 public:
  void Run(Application& app, const std::string& initialText, bool startInTray) override {
    ++runs;
    text = initialText;
    tray = startInTray;
    countWhileRunning = registry->Text(kSettingsKey, kInstanceCountValue);
    singles = app.directory().SingleCount();
  }
  FakeRegistry* registry = nullptr;
  int runs = 0;
  std::string text;
  bool tray = false;
  std::string countWhileRunning;
  int singles = -1;
};

class ApplicationTest : public ::testing::Test {
 protected:
  ApplicationTest() { runner.registry = &registry; }

  void RunOnce(const std::string& commandLine = "") {
    Application app({registry, system, files, boxes, startup});
    EXPECT_FALSE(app.Start(commandLine, runner));
    EXPECT_EQ(app.End(), 0);
  }

  FakeRegistry registry;
  FakeSystem system;
  FakeFileSystem files;
  FakeMessageBoxes boxes;
  FakeStartup startup;
  RecordingRunner runner;
};

TEST_F(ApplicationTest, FirstStartCountsOneAndLeavesDefaultsBehind) {
  RunOnce();
  EXPECT_EQ(runner.runs, 1);
  EXPECT_EQ(runner.countWhileRunning, "1");
  EXPECT_EQ(registry.Text(kSettingsKey, kInstanceCountValue), "0");
  EXPECT_EQ(registry.keys_[kSettingsKey].size(), kSettingCount + 1);
  EXPECT_EQ(registry.Text(kSettingsKey, "MaxThreads"), "20");
  EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(ApplicationTest, StartWithoutRunningWindowResetsAStaleCounter) {
  registry.PutString(kSettingsKey, kInstanceCountValue, "5");
  RunOnce();
  EXPECT_EQ(runner.countWhileRunning, "1");
}

TEST_F(ApplicationTest, SecondInstanceStopsSilentlyAndWritesItsSettingsBack) {
  registry.PutString(kSettingsKey, kInstanceCountValue, "1");
  registry.PutString(kSettingsKey, "TNAStart", "1");
  startup.windowExists = true;
  RunOnce();
  EXPECT_EQ(runner.runs, 0);
  EXPECT_TRUE(boxes.boxes().empty());
  EXPECT_EQ(registry.Text(kSettingsKey, kInstanceCountValue), "1");
  EXPECT_EQ(registry.Text(kSettingsKey, "TNAStart"), "1");
}

TEST_F(ApplicationTest, SecondInstanceRunsWhenSingleInstanceIsOff) {
  registry.PutString(kSettingsKey, "SingleInstance", "0");
  registry.PutString(kSettingsKey, kInstanceCountValue, "1");
  startup.windowExists = true;
  RunOnce();
  EXPECT_EQ(runner.runs, 1);
  EXPECT_EQ(runner.countWhileRunning, "2");
}

TEST_F(ApplicationTest, UnwritableCounterStopsWithoutTouchingTheSettings) {
  registry.PutString(kSettingsKey, "GridLines", "1");
  registry.failWritesOf = {kInstanceCountValue};
  RunOnce();
  EXPECT_EQ(runner.runs, 0);
  EXPECT_TRUE(boxes.boxes().empty());
  EXPECT_EQ(registry.keys_[kSettingsKey].size(), 1u);
}

TEST_F(ApplicationTest, EarlyStopsKeepStoredSettingsAndAutostart) {
  struct Case {
    const char* name;
    OsVersion version;
    bool sockets;
    BoxRequest box;
  } cases[] = {
      {"Windows 95",
       {1, 4, 0},
       true,
       {"Falsches Betriebsystem: Bitte mindestens WinNT 4.0 benutzen.",
        "Sorry, aber ohne 'Net Send' geht's nicht...", BoxIcon::kStop}},
      {"no sockets",
       {2, 5, 1},
       false,
       {"Fehler beim Initialisieren der Windows-Sockets.", "Botenruf", BoxIcon::kExclamation}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    registry = FakeRegistry();
    boxes.Clear();
    runner.runs = 0;
    registry.PutString(kSettingsKey, "MaxThreads", "5");
    registry.PutString(kSettingsKey, "AutoStart", "1");
    registry.PutString(kAutostartKey, "Botenruf", "C:\\Programme\\Botenruf\\Botenruf.exe");
    system.osVersion = c.version;
    startup.socketsWork = c.sockets;
    RunOnce();
    EXPECT_EQ(runner.runs, 0);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0], c.box);
    EXPECT_EQ(registry.Text(kSettingsKey, "MaxThreads"), "5");
    EXPECT_TRUE(registry.Has(kAutostartKey, "Botenruf"));
    EXPECT_EQ(registry.Text(kSettingsKey, kInstanceCountValue), "0");
  }
}

TEST_F(ApplicationTest, ConsumerWindowsLaterThanTheFirstReleaseStarts) {
  system.osVersion = {1, 4, 10};
  RunOnce();
  EXPECT_EQ(runner.runs, 1);
}

TEST_F(ApplicationTest, AutostartIsRewrittenBeforeTheWindowAndFollowsTheSetting) {
  registry.PutString(kSettingsKey, "AutoStart", "1");
  RunOnce();
  EXPECT_EQ(registry.Text(kAutostartKey, "Botenruf"), "C:\\Programme\\Botenruf\\Botenruf.exe");
  registry.PutString(kSettingsKey, "AutoStart", "0");
  RunOnce();
  EXPECT_FALSE(registry.Has(kAutostartKey, "Botenruf"));
}

TEST_F(ApplicationTest, CommandLineFileBecomesTheInitialText) {
  files.files["C:\\Nachricht.txt"] = "Hallo\r\nWelt";
  files.files["\"C:\\Nachricht.txt\""] = "never";
  RunOnce("C:\\Nachricht.txt");
  EXPECT_EQ(runner.text, "Hallo\r\nWelt\r\n");
  RunOnce("\"C:\\Nachricht.txt\"");  // quotes stay part of the path
  EXPECT_EQ(runner.text, "never\r\n");
  files.files["C:\\gross.txt"] = std::string(2049, 'x');
  RunOnce("C:\\gross.txt");
  EXPECT_EQ(runner.text, "");
}

TEST_F(ApplicationTest, DirectoryAndTrayFlagReachTheWindow) {
  registry.PutString(kSettingsKey, "RechnerListePfad", "D:\\liste.txt");
  registry.PutString(kSettingsKey, "TNAStart", "1");
  files.files["D:\\liste.txt"] = "//begin\r\nPC1 Eins\r\nPC2 Zwei\r\n//end\r\n";
  RunOnce();
  EXPECT_EQ(runner.singles, 2);
  EXPECT_TRUE(runner.tray);
}

TEST(CommandLineTest, TextAfterTheProgramNameIsTakenWhole) {
  EXPECT_EQ(CommandLineTail("Botenruf.exe C:\\a b.txt"), "C:\\a b.txt");
  EXPECT_EQ(CommandLineTail("\"C:\\Pro gramme\\Botenruf.exe\"   \"x.txt\" "), "\"x.txt\" ");
  EXPECT_EQ(CommandLineTail("Botenruf.exe"), "");
  EXPECT_EQ(CommandLineTail("\"Botenruf.exe"), "");
}

}  // namespace
}  // namespace botenruf
