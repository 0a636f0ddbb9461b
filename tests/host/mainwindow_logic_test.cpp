// The main window's rules: the recipient box per mode, the domain countdown, the
// tray tip and mouse table, and message files.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "dispatch/message_file.h"
#include "fakes/fake_file_system.h"
#include "mainwindow/countdown.h"
#include "mainwindow/recipient_selection.h"
#include "mainwindow/tray_text.h"

namespace botenruf {
namespace {

using ::testing::ElementsAre;

TEST(SelectionTest, TheBoxPerModeAndTheTextItStandsFor) {
  RecipientDirectory directory;
  directory.AddSingle("Empfang", "PC017");
  directory.AddSingle("Buchhaltung", "PC022");
  directory.AddList("Alle", "PC017,PC022");
  directory.StoreDomainNames({"BUERO"});
  EXPECT_THAT(RefillContent(0, directory).entries, ElementsAre("Empfang", "Buchhaltung"));
  EXPECT_TRUE(RefillContent(2, directory).startDomainRefresh);
  EXPECT_TRUE(RefillContent(7, directory).clearText);
  EXPECT_TRUE(BoxShowsDirectory(1, {"Alle"}, directory));
  EXPECT_FALSE(BoxShowsDirectory(0, {"Empfang"}, directory));

  // Mode, index, typed text, whether a comma ends it, and the text it stands for; an index
  // without entry is read as typed text.
  const std::tuple<int, int, const char*, bool, const char*> cases[] = {
      {0, 1, "Buchhaltung", false, "PC022"}, {2, 0, "BUERO", false, "BUERO"},
      {1, 0, "Alle", true, "PC017,PC022,"},  {1, -1, "PC1,PC2", true, "PC1,PC2,"},
      {0, 5, "getippt", false, "getippt"},   {1, -1, "", true, ""},
  };
  for (const auto& [mode, index, typed, comma, expected] : cases) {
    SCOPED_TRACE(typed);
    int32_t auswahl = 99;
    EXPECT_EQ(ReadRecipientText(mode, index, typed, comma, directory, auswahl), expected);
    EXPECT_EQ(auswahl, index);
  }

  SelectionMemory memory;
  memory.Remember(0, 3);
  memory.Remember(0, -1);  // nothing selected: nothing remembered
  EXPECT_EQ(memory.Restore(0, 4), 3);
  EXPECT_EQ(memory.Restore(0, 3), -1);  // the entry is gone
  for (int32_t auswahl : {5, -1}) {
    EXPECT_EQ(DomainSelection(auswahl, 3), 0);  // beyond the names, or none: the first
    EXPECT_EQ(auswahl, 0);
  }
  EXPECT_EQ(KeptSelection({"X", "A", "B"}, 1, "B"), 2);  // found again by its text
  EXPECT_EQ(KeptSelection({"A", "B"}, -1, "getippt"), -1);
  BusyFlags busy;
  busy.listCheck = true;
  EXPECT_TRUE(InfoButtonEnabled(0, busy));
  EXPECT_FALSE(InfoButtonEnabled(1, busy));
}

TEST(CountdownTest, TheClockDecidesTheTicksUntilTheBarIsFull) {
  // Step, pollrate, elapsed ms, and whether it sends and where the bar stands then.
  const std::tuple<int32_t, int32_t, uint32_t, bool, int> cases[] = {
      {2, 10, 4999, false, 998},  {2, 10, 5000, true, 1000},  {3, 10, 3340, true, 1000},
      {1000, 10, 10, true, 1000}, {2, 0, 4999, false, 998},  // a step time of 0 or less
      {2, -1, 5000, true, 1000},  {0, 10, 3600000, false, 0}, {-5, 10, 3600000, false, 0},
  };
  for (const auto& [step, pollrate, elapsedMs, send, position] : cases) {
    SCOPED_TRACE(::testing::Message() << step << " " << pollrate << " " << elapsedMs);
    CountdownModel model(step, pollrate);
    model.AdvanceTo(elapsedMs);
    EXPECT_EQ(model.send(), send);
    EXPECT_EQ(model.position(), position);
  }
  CountdownModel cancelled(2, 10);
  cancelled.AdvanceTo(4990);
  cancelled.Cancel();
  cancelled.Tick();
  EXPECT_TRUE(cancelled.finished());
  EXPECT_FALSE(cancelled.send());
}

TEST(TrayTest, TipFormsAndTheMouseTable) {
  EXPECT_EQ(TrayTip(2, 1, "EDV"), "Verteilerliste[2]: EDV");
  EXPECT_EQ(TrayTip(0, 0, ""), "Botenruf[0] (Einzelempfänger)");
  EXPECT_EQ(TrayTip(12, 0, std::string(100, 'a')).size(), 63u);
  const std::pair<uint32_t, TrayAction> mouse[] = {
      {0x201, TrayAction::kRestoreIfSystray}, {0x203, TrayAction::kRestore},
      {0x209, TrayAction::kRestoreIfSystray}, {0x206, TrayAction::kAbout},
      {0x204, TrayAction::kPopupMenu},        {0x202, TrayAction::kNone},
  };
  for (const auto& [message, action] : mouse)
    EXPECT_EQ(TrayActionFor(message), action) << message;
}

TEST(MessageFileTest, SizeLimitLineEndsAndRoundTrip) {
  fakes::FakeFileSystem files;
  files.files = {
      {"a", std::string(2048, 'x')}, {"b", std::string(2049, 'x')}, {"d", "A\r\r\nB\r\r\n"}};
  std::string text = "unverändert";
  EXPECT_FALSE(LoadMessageFile(files, "b", 2, text));
  EXPECT_FALSE(LoadMessageFile(files, "fehlt", 2, text));
  EXPECT_EQ(text, "unverändert");
  EXPECT_TRUE(LoadMessageFile(files, "a", 2, text));
  ASSERT_TRUE(LoadMessageFile(files, "d", 2, text));
  EXPECT_EQ(text, "A\r\nB\r\n");
  for (const std::string original : {"A\r\n\r\n\r\nB\r\n", "ohne Zeilenende"}) {
    SCOPED_TRACE(original);
    files.files["m.txt"] = MessageFileBytes(original);
    ASSERT_TRUE(LoadMessageFile(files, "m.txt", 2, text));
    EXPECT_EQ(text, original.back() == '\n' ? original : original + "\r\n");
  }
}

}  // namespace
}  // namespace botenruf
