#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fakes/fake_file_system.h"
#include "mainwindow/countdown.h"
#include "mainwindow/layout.h"
#include "mainwindow/message_file.h"
#include "mainwindow/recipient_selection.h"
#include "mainwindow/tray_text.h"

namespace botenruf {
namespace {

using ::testing::ElementsAre;

TEST(LayoutTest, ButtonsCentreAroundLoeschenAndBoxesFollowTheClient) {
  const MainLayout layout = ComputeMainLayout(400, 300, {75, 23}, {75, 23}, {80, 25});
  EXPECT_EQ(layout.group, (Rect{11, 7, 378, 248}));
  EXPECT_EQ(layout.editor, (Rect{26, 68, 347, 180}));
  EXPECT_EQ(layout.clear, (Rect{200 - 37 - 2, 267, 75, 23}));
  EXPECT_EQ(layout.send, (Rect{161 + 51 - 150, 267, 75, 23}));
  EXPECT_EQ(layout.end, (Rect{161 + 75 + 80 - 51, 265, 80, 25}));
  // Odd sizes: the halves are integer divisions toward zero.
  const MainLayout odd = ComputeMainLayout(351, 297, {75, 23}, {75, 23}, {75, 23});
  EXPECT_EQ(odd.clear.left, 175 - 37 - 2);
}

TEST(LayoutTest, OriginalSizeOnlyForANormalWindow) {
  for (unsigned state : {1u, 4u, 5u, 7u, 8u, 9u})
    EXPECT_TRUE(CanRestoreOriginalSize(state)) << state;
  for (unsigned state : {2u, 3u, 6u})
    EXPECT_FALSE(CanRestoreOriginalSize(state)) << state;
}

class SelectionTest : public ::testing::Test {
 protected:
  SelectionTest() {
    directory.AddSingle("Empfang", "PC017");
    directory.AddSingle("Buchhaltung", "PC022");
    directory.AddList("Alle", "PC017,PC022");
    directory.StoreDomainNames({"BUERO"});
  }
  RecipientDirectory directory;
};

TEST_F(SelectionTest, RefillShowsAliasesListNamesOrStartsTheDomainRefresh) {
  BoxContent singles = RefillContent(0, directory);
  EXPECT_THAT(singles.entries, ElementsAre("Empfang", "Buchhaltung"));
  EXPECT_EQ(singles.select, 0);
  EXPECT_THAT(RefillContent(1, directory).entries, ElementsAre("Alle"));
  const BoxContent domains = RefillContent(2, directory);
  EXPECT_TRUE(domains.entries.empty());
  EXPECT_TRUE(domains.startDomainRefresh);
  EXPECT_TRUE(RefillContent(7, directory).clearText);
  EXPECT_EQ(RefillContent(0, RecipientDirectory()).select, -1);
}

TEST_F(SelectionTest, RecipientTextPerModeAndAuswahl) {
  struct Case {
    int mode;
    int index;
    const char* typed;
    bool comma;
    const char* expected;
    int32_t auswahl;
  } cases[] = {
      {0, 1, "Buchhaltung", false, "PC022", 1},  {1, 0, "Alle", true, "PC017,PC022,", 0},
      {1, 0, "Alle", false, "PC017,PC022", 0},   {2, 0, "BUERO", true, "BUERO,", 0},
      {0, -1, "PC099", false, "PC099", -1},      {1, -1, "PC1,PC2", true, "PC1,PC2,", -1},
      {1, -1, "PC1,PC2,", true, "PC1,PC2,", -1}, {1, -1, "", true, "", -1},
      {0, 5, "getippt", false, "getippt", 5},  // index without entry: the typed text
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.mode << " " << c.index << " " << c.typed);
    int32_t auswahl = 99;
    EXPECT_EQ(ReadRecipientText(c.mode, c.index, c.typed, c.comma, directory, auswahl), c.expected);
    EXPECT_EQ(auswahl, c.auswahl);
  }
}

TEST_F(SelectionTest, EachModeRemembersItsEntryForTheRun) {
  SelectionMemory memory;
  EXPECT_EQ(memory.Restore(1, 5), -1);
  memory.Remember(0, 3);
  memory.Remember(1, -1);  // nothing selected: nothing remembered
  memory.Remember(9, 2);
  EXPECT_EQ(memory.Restore(0, 4), 3);
  EXPECT_EQ(memory.Restore(0, 3), -1);  // the entry is gone
  EXPECT_EQ(memory.Restore(1, 5), -1);
  memory.Remember(0, 1);
  EXPECT_EQ(memory.Restore(0, 4), 1);
}

TEST_F(SelectionTest, DomainSelectionFallsBackToTheFirstEntry) {
  int32_t auswahl = 1;
  EXPECT_EQ(DomainSelection(auswahl, 3), 1);
  EXPECT_EQ(auswahl, 1);
  auswahl = 5;
  EXPECT_EQ(DomainSelection(auswahl, 3), 0);
  EXPECT_EQ(auswahl, 0);
  auswahl = -1;
  EXPECT_EQ(DomainSelection(auswahl, 3), -1);
  EXPECT_EQ(auswahl, -1);
  auswahl = 0;
  EXPECT_EQ(DomainSelection(auswahl, 0), 0);
  EXPECT_EQ(auswahl, 0);
}

TEST(InfoButtonTest, OnlyTheCurrentModesQueryBlocksIt) {
  BusyFlags busy;
  busy.listCheck = true;
  EXPECT_TRUE(InfoButtonEnabled(0, busy));
  EXPECT_FALSE(InfoButtonEnabled(1, busy));
  EXPECT_TRUE(InfoButtonEnabled(2, busy));
  EXPECT_FALSE(InfoButtonEnabled(3, BusyFlags{}));
  EXPECT_EQ(ModeMenuItem(2), 40039);
  EXPECT_EQ(ModeMenuItem(-1), 0);
}

TEST(CountdownTest, TicksUntilTheBarIsFull) {
  struct Case {
    int32_t step;
    int ticks;
  } cases[] = {{2, 500}, {1000, 1}, {3, 334}, {999, 2}, {5000, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.step);
    CountdownModel model(c.step, 10);
    int ticks = 0;
    while (!model.finished() && ticks < 10000) {
      model.Tick();
      ++ticks;
    }
    EXPECT_EQ(ticks, c.ticks);
    EXPECT_TRUE(model.send());
    EXPECT_EQ(model.position(), 1000);
  }
}

TEST(CountdownTest, CancelOneTickBeforeTheEndSendsNothing) {
  CountdownModel model(2, 10);
  for (int i = 0; i < 499; ++i)
    model.Tick();
  EXPECT_FALSE(model.finished());
  model.Cancel();
  model.Tick();
  EXPECT_TRUE(model.finished());
  EXPECT_FALSE(model.send());
  EXPECT_EQ(model.position(), 998);
}

TEST(CountdownTest, StepZeroNeverEndsAndNegativeStepsStayEmpty) {
  for (int32_t step : {0, -5}) {
    CountdownModel model(step, 10);
    model.AdvanceTo(3600000);
    for (int i = 0; i < 5000; ++i)
      model.Tick();
    EXPECT_FALSE(model.finished());
    EXPECT_EQ(model.position(), 0);
  }
}

TEST(CountdownTest, TheClockDecidesHowManyTicksAreDue) {
  CountdownModel model(2, 10);
  model.AdvanceTo(16);  // a coarse timer: one tick due
  EXPECT_EQ(model.ticks(), 1);
  model.AdvanceTo(2500);
  EXPECT_EQ(model.ticks(), 250);
  EXPECT_FALSE(model.finished());
  model.AdvanceTo(4999);
  EXPECT_FALSE(model.finished());
  model.AdvanceTo(5000);
  EXPECT_TRUE(model.send());
  CountdownModel zeroInterval(2, 0);  // treated as 1 ms, never a division by zero
  zeroInterval.AdvanceTo(500);
  EXPECT_TRUE(zeroInterval.send());
}

TEST(TrayTextTest, TipForms) {
  EXPECT_EQ(TrayTip(2, 1, "EDV"), "Verteilerliste[2]: EDV");
  EXPECT_EQ(TrayTip(0, 0, ""), "Botenruf[0] (Einzelempfänger)");
  EXPECT_EQ(TrayTip(3, 2, ""), "Botenruf[3] (Domänenweit)");
  EXPECT_EQ(TrayTip(3, 9, "X"), "Domänenweit[3]: X");
  const std::string tip = TrayTip(12, 0, std::string(100, 'a'));
  EXPECT_EQ(tip.size(), 63u);
  EXPECT_EQ(tip.substr(0, 21), "Einzelempfänger[12]: ");
}

TEST(TrayTextTest, MouseMessagesByTheirLowestThreeBits) {
  struct Case {
    uint32_t message;
    TrayAction action;
  } cases[] = {
      {0x200, TrayAction::kNone},
      {0x201, TrayAction::kRestoreIfSystray},
      {0x202, TrayAction::kNone},
      {0x203, TrayAction::kRestore},
      {0x204, TrayAction::kPopupMenu},
      {0x205, TrayAction::kNone},
      {0x206, TrayAction::kAbout},
      {0x207, TrayAction::kNone},
      {0x209, TrayAction::kRestoreIfSystray},  // middle double click acts as left down
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    EXPECT_EQ(TrayActionFor(c.message), c.action);
  }
}

TEST(MessageFileTest, SizeLimitAndLineRules) {
  fakes::FakeFileSystem files;
  files.files["a"] = std::string(2048, 'x');
  files.files["b"] = std::string(2049, 'x');
  files.files["c"] = "A\r\n\r\nB";
  files.files["d"] = "A\r\r\nB\r\r\n";
  std::string text = "unverändert";
  EXPECT_TRUE(LoadMessageFile(files, "a", 2, text));
  EXPECT_EQ(text, std::string(2048, 'x') + "\r\n");
  text = "unverändert";
  EXPECT_FALSE(LoadMessageFile(files, "b", 2, text));
  EXPECT_FALSE(LoadMessageFile(files, "fehlt", 2, text));
  EXPECT_EQ(text, "unverändert");
  EXPECT_TRUE(LoadMessageFile(files, "b", 3, text));
  ASSERT_TRUE(LoadMessageFile(files, "c", 2, text));
  EXPECT_EQ(text, "A\r\nB\r\n");
  ASSERT_TRUE(LoadMessageFile(files, "d", 2, text));
  EXPECT_EQ(text, "A\r\nB\r\n");
  EXPECT_FALSE(LoadMessageFile(files, "a", -1, text));
}

TEST(MessageFileTest, SavedMessagesLoadBackUnchanged) {
  EXPECT_EQ(MessageFileBytes("A\r\nB"), "A\r\r\nB");
  fakes::FakeFileSystem files;
  for (const std::string original :
       {"A\r\nB\r\n", "Erste Zeile\r\n\r\n\r\nNach zwei Leerzeilen\r\n", "ohne Zeilenende"}) {
    SCOPED_TRACE(original);
    files.files["m.txt"] = MessageFileBytes(original);
    std::string loaded;
    ASSERT_TRUE(LoadMessageFile(files, "m.txt", 2, loaded));
    const std::string expected = original.back() == '\n' ? original : original + "\r\n";
    EXPECT_EQ(loaded, expected);
  }
}

}  // namespace
}  // namespace botenruf
