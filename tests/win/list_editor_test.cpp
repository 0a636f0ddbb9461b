// The list editor "Rechnerliste" and the entry dialogs it opens, from the real resources,
// driven the way a user does it.
#include <windows.h>

#include <commctrl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/win32/list_view.h"
#include "support/main_window_fixture.h"
#include "text/collation.h"
#include "text/text.h"

namespace botenruf {
namespace {

using namespace std::string_literals;
using ::testing::ElementsAre;
using wintest::Click;
using wintest::WhenShown;

constexpr char kListFile[] =
    "//Stand: 01.02.2003\r\n//Version 3.0.0.15\r\n//begin\r\nPC1 Empfang\r\nPC2 Lager\r\n"
    "PC3 Versand\r\n//end\r\n//v_begin\r\nAlle [PC1,PC2,PC3]\r\nLeer []\r\n//v_end\r\n";

// The captions of the entry dialogs.
constexpr char kNewList[] = "Verteiler neu anlegen", kNewSingle[] = "Einzelempfänger neu anlegen",
               kChange[] = "Einzelempfänger bearbeiten",
               kRemove[] = "Einzelempfänger wirklich löschen ?";

std::vector<std::string> Rows(HWND editor, int list) {
  return wintest::ListRows(GetDlgItem(editor, list), 1);
}
// Selects rows of a list, and presses a button for them when one is given.
void Pick(HWND editor, int list, std::initializer_list<int> rows, int button = 0) {
  wintest::SelectRows(GetDlgItem(editor, list), rows);
  if (button)
    Click(editor, button);
}
// Clicks a button of the editor that opens an entry dialog, fills that in and confirms it; true
// when the dialog took the entry (one it refuses stays open and is cancelled then).
bool Enter(HWND editor, int button, const char* caption,
           std::initializer_list<std::pair<int, const char*>> fields) {
  WhenShown entry(caption, [&](HWND dialog) {
    for (const auto& [id, text] : fields)
      SetDlgItemTextA(dialog, id, text);
    Click(dialog, IDOK);
  });
  Click(editor, button);
  EXPECT_TRUE(entry.ran()) << caption;
  return !entry.leftOpen();
}

class ListEditorTest : public wintest::MainWindowFixture {
 protected:
  void SetUp() override { UseListFile(kListFile); }
  std::string ListFile() { return wintest::ReadTextFile(scratch + "\\Rechner.txt"); }
  // Opens the editor from the menu with `script` acting on it; true when the script left it
  // open (it is cancelled then).
  bool Edit(std::function<void(HWND)> script) {
    WhenShown editor("Rechnerliste", std::move(script));
    Command(IDM_LIST_EDIT);
    EXPECT_TRUE(editor.ran());
    return editor.leftOpen();
  }
};

TEST_F(ListEditorTest, BothSidesAreEditedAndOkWritesTheFile) {
  app->settings().SetListenTyp(1);
  Open();
  EXPECT_FALSE(Edit([](HWND editor) {
    // List mode: the list side is enabled, the recipient side is not.
    EXPECT_EQ(IsDlgButtonChecked(editor, IDC_EDITOR_MODE_LISTS), BST_CHECKED);
    EXPECT_TRUE(Enabled(editor, IDC_EDITOR_MEMBER_ADD));
    EXPECT_FALSE(Enabled(editor, IDC_EDITOR_SINGLE_NEW));
    // What the list file cannot carry is refused with a message, and the entry dialog stays.
    EXPECT_FALSE(Enter(editor, IDC_EDITOR_LIST_NEW, kNewList, {{IDC_ALIAS, "T [x]"}}));
    EXPECT_TRUE(Enter(editor, IDC_EDITOR_LIST_NEW, kNewList, {{IDC_ALIAS, "Technik"}}));
    EXPECT_THAT(Rows(editor, IDC_EDITOR_LISTS), ElementsAre("Alle", "Leer", "Technik"));
    Pick(editor, IDC_EDITOR_LISTS, {2});
    Pick(editor, IDC_EDITOR_SINGLES, {2, 0}, IDC_EDITOR_MEMBER_ADD);
    EXPECT_THAT(Rows(editor, IDC_EDITOR_MEMBERS), ElementsAre("Empfang", "Versand"));
    Pick(editor, IDC_EDITOR_MEMBERS, {0}, IDC_EDITOR_MEMBER_DOWN);
    EXPECT_THAT(Rows(editor, IDC_EDITOR_MEMBERS), ElementsAre("Versand", "Empfang"));
    Pick(editor, IDC_EDITOR_LISTS, {2}, IDC_EDITOR_LIST_UP);
    EXPECT_THAT(Rows(editor, IDC_EDITOR_LISTS), ElementsAre("Alle", "Technik", "Leer"));

    Click(editor, IDC_EDITOR_MODE_SINGLES);
    EXPECT_FALSE(Enabled(editor, IDC_EDITOR_LIST_NEW));
    Enter(editor, IDC_EDITOR_SINGLE_NEW, kNewSingle, {{IDC_ALIAS, "Kasse"}, {IDC_STATION, "PC9"}});
    Pick(editor, IDC_EDITOR_SINGLES, {1});
    EXPECT_EQ(wintest::ItemText(editor, IDC_EDITOR_STATION), "PC2");
    Enter(editor, IDC_EDITOR_SINGLE_CHANGE, kChange, {{IDC_ALIAS, "Hochregal"}});
    Pick(editor, IDC_EDITOR_SINGLES, {3}, IDC_EDITOR_SINGLE_UP);
    Pick(editor, IDC_EDITOR_SINGLES, {0});
    Enter(editor, IDC_EDITOR_SINGLE_REMOVE, kRemove, {});
    EXPECT_THAT(Rows(editor, IDC_EDITOR_SINGLES), ElementsAre("Hochregal", "Kasse", "Versand"));
    Click(editor, IDC_EDITOR_OK);
  }));
  SYSTEMTIME today;
  GetLocalTime(&today);
  // The removed PC1 leaves its lists with "OK".
  EXPECT_EQ(ListFile(), Format("//Stand: %02u.%02u.%04u\r\n//Version 3.0.0.15\r\n", today.wDay,
                               today.wMonth, today.wYear) +
                            "//begin\r\nPC2 Hochregal\r\nPC9 Kasse\r\nPC3 Versand\r\n//end\r\n"
                            "//v_begin\r\nAlle [PC2,PC3]\r\nTechnik [PC3,]\r\nLeer []\r\n"
                            "//v_end\r\n");
  EXPECT_THAT(BoxEntries(), ElementsAre("Alle", "Technik", "Leer"));
  EXPECT_THAT(BoxTexts(),
              ElementsAre("Der Name der Verteilerliste darf keine eckigen Klammern enthalten."));
}

TEST_F(ListEditorTest, UndoShowsTheFileAndAbbruchWritesNothing) {
  Open();
  const std::string before = ListFile();  // dated 2003: a write would date it today
  EXPECT_FALSE(Edit([](HWND editor) {
    Pick(editor, IDC_EDITOR_SINGLES, {0}, IDC_EDITOR_SINGLE_DOWN);
    Enter(editor, IDC_EDITOR_SINGLE_NEW, kNewSingle, {{IDC_ALIAS, "Neu"}, {IDC_STATION, "PC8"}});
    Click(editor, IDC_EDITOR_UNDO);
    EXPECT_THAT(Rows(editor, IDC_EDITOR_SINGLES), ElementsAre("Empfang", "Lager", "Versand"));
    Enter(editor, IDC_EDITOR_SINGLE_NEW, kNewSingle, {{IDC_ALIAS, "Weg"}, {IDC_STATION, "PC7"}});
    Click(editor, IDOK);  // "Abbruch"
  }));
  EXPECT_EQ(ListFile(), before);
  EXPECT_EQ(app->directory().FindStation("PC7"), -1);  // the abandoned edit is gone
  EXPECT_THAT(BoxEntries(), ElementsAre("Empfang", "Lager", "Versand"));
}

// More entries than a list shows: the column leaves room for the vertical scroll bar.
TEST_F(ListEditorTest, ManyEntriesNeedNoSideScrolling) {
  std::string file = "//begin\r\n";
  for (int i = 1; i <= 60; ++i)
    file += Format("PC%d Station %d\r\n", i, i);
  UseListFile(file + "//end\r\n");
  Open();
  Edit([](HWND editor) {
    const LONG style = GetWindowLongA(GetDlgItem(editor, IDC_EDITOR_SINGLES), GWL_STYLE);
    EXPECT_TRUE(style & WS_VSCROLL);
    EXPECT_FALSE(style & WS_HSCROLL);
  });
}

// Letters typed in a list lead to the next entry that begins with them; a header click sorts
// and keeps the entries selected.
TEST_F(ListEditorTest, TypedLettersPickTheEntryAndASortKeepsIt) {
  app->settings().SetListenTyp(1);
  Open();
  Edit([](HWND editor) {
    HWND singles = GetDlgItem(editor, IDC_EDITOR_SINGLES);
    for (const auto& [letter, station] : {std::pair{'v', "PC3"}, {'L', "PC2"}}) {
      SendMessageA(singles, WM_CHAR, letter, 1);
      EXPECT_EQ(wintest::ItemText(editor, IDC_EDITOR_STATION), station);
      Sleep(500);  // a pause ends the typed word
    }
    Pick(editor, IDC_EDITOR_LISTS, {0});
    Pick(editor, IDC_EDITOR_MEMBERS, {0});  // Empfang
    // A click on the same view again reverses the direction, on another one keeps it.
    for (int view : {IDC_EDITOR_SINGLES, IDC_EDITOR_SINGLES, IDC_EDITOR_MEMBERS, IDC_EDITOR_LISTS,
                     IDC_EDITOR_LISTS})
      wintest::NotifyList(editor, view, LVN_COLUMNCLICK);
    EXPECT_EQ(wintest::ItemText(editor, IDC_EDITOR_STATION), "PC2");  // Lager, still chosen
    EXPECT_THAT(Rows(editor, IDC_EDITOR_MEMBERS), ElementsAre("Versand", "Lager", "Empfang"));
    EXPECT_THAT(win::ListView(GetDlgItem(editor, IDC_EDITOR_MEMBERS)).SelectedRows(),
                ElementsAre(2));
    EXPECT_THAT(Rows(editor, IDC_EDITOR_LISTS), ElementsAre("Leer", "Alle"));
    EXPECT_THAT(win::ListView(GetDlgItem(editor, IDC_EDITOR_LISTS)).SelectedRows(), ElementsAre(1));
  });
}

TEST_F(ListEditorTest, AFailedSaveKeepsTheEditorOpenWithAMessage) {
  const std::string file = scratch + "\\Rechner.txt", before = ListFile();
  // A list path naming a folder cannot be read, so the editor may not write over it.
  const std::tuple<std::string, DWORD, const char*> cases[] = {
      {scratch, FILE_ATTRIBUTE_NORMAL, "sie konnte beim Laden nicht gelesen werden."},
      {file, FILE_ATTRIBUTE_READONLY, "die Datei ist schreibgeschützt."},
  };
  for (const auto& [path, attributes, message] : cases) {
    SCOPED_TRACE(message);
    boxes->Clear();
    app->settings().SetRechnerListePfad(path);
    SetFileAttributesA(file.c_str(), attributes);
    Open();
    EXPECT_TRUE(Edit([&](HWND editor) {
      Enter(editor, IDC_EDITOR_SINGLE_NEW, kNewSingle, {{IDC_ALIAS, "Neu"}, {IDC_STATION, "PC8"}});
      Click(editor, IDC_EDITOR_OK);
      EXPECT_EQ(Rows(editor, IDC_EDITOR_SINGLES).back(), "Neu");
      EXPECT_THAT(BoxTexts(), ElementsAre("Die Rechnerliste wurde nicht gespeichert: "s + message +
                                          "\nDie Änderungen sind noch im Editor: \"OK\" versucht "
                                          "es erneut, \"Abbruch\" verwirft sie."));
    }));
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ListFile(), before);
    Close();
  }
}

// "OK" asks before it replaces a file changed (by hand) while the editor was open; "Nein" keeps
// the file and the edits in the editor.
TEST_F(ListEditorTest, OkAsksBeforeReplacingAFileChangedMeanwhile) {
  Open();
  const std::string byHand = std::string(kListFile) + "//begin\r\nPC7 Hand\r\n//end\r\n";
  EXPECT_FALSE(Edit([&](HWND editor) {
    Enter(editor, IDC_EDITOR_SINGLE_NEW, kNewSingle, {{IDC_ALIAS, "Neu"}, {IDC_STATION, "PC8"}});
    wintest::WriteTextFile(scratch + "\\Rechner.txt", byHand);
    boxes->answers = {false, true};
    Click(editor, IDC_EDITOR_OK);
    EXPECT_EQ(ListFile(), byHand);
    EXPECT_EQ(Rows(editor, IDC_EDITOR_SINGLES).back(), "Neu");
    Click(editor, IDC_EDITOR_OK);
  }));
  ASSERT_EQ(BoxTexts().size(), 3u);
  EXPECT_THAT(BoxTexts()[2], ::testing::StartsWith("Die Rechnerliste \"" + scratch +
                                                   "\\Rechner.txt\" wurde geändert, seit"));
  EXPECT_THAT(ListFile(), ::testing::HasSubstr("PC3 Versand\r\nPC8 Neu\r\n//end"));
}

// On a full disk a save changes no byte of the list file, beside it as in place (where no file
// may be created beside it, here because a folder has the name), and "Abbruch" reads it whole;
// with room again it grows in place. No copy of the old file is left in the temporary folder.
TEST_F(ListEditorTest, ASaveOnAFullDiskLeavesTheWholeOldFile) {
  const wintest::SmallDisk disk(scratch + "/disk", 64);
  if (!disk.problem.empty())
    GTEST_SKIP() << disk.problem;
  const std::string file = scratch + "/disk/Rechner.txt", full = scratch + "/disk/voll";
  std::string old = "//begin\r\n", temp(MAX_PATH, '\0');
  temp.resize(GetTempPathA(MAX_PATH, temp.data()));
  for (int i = 1; i <= 40; ++i)
    old += Format("PC%d Station %d\r\n", i, i);
  wintest::WriteTextFile(file, old += "//end\r\n");
  wintest::WriteTextFile(full, std::string(64 * 1024, ' '));  // as much as fits
  app->settings().SetRechnerListePfad(file);
  for (const int pass : {0, 1, 2}) {
    SCOPED_TRACE(pass);
    if (pass == 1)
      CreateDirectoryA((file + ".neu").c_str(), nullptr);
    if (pass == 2)
      DeleteFileA(full.c_str());
    boxes->Clear();
    Open();
    // Far more entries than the old file's room; the editor works on the directory itself.
    Edit([this](HWND editor) {
      for (int i = 100; i < 400; ++i)
        app->directory().AddSingle(Format("Neu %d", i), Format("PC%d", i));
      Click(editor, IDC_EDITOR_OK);
    });
    EXPECT_EQ(app->directory().SingleCount(), pass == 2 ? 340 : 40);
    if (pass < 2) {
      EXPECT_EQ(wintest::ReadTextFile(file), old);
      EXPECT_THAT(BoxTexts(), ElementsAre(::testing::StartsWith(
                                  "Die Rechnerliste wurde nicht gespeichert: auf dem Datenträger "
                                  "ist nicht genug Platz. Die Datei ist unverändert.\n")));
    }
    EXPECT_THAT(wintest::FilesIn(file + "*"), ElementsAre("Rechner.txt"));
    EXPECT_THAT(wintest::FilesIn(temp + "Rechner.txt*"), ElementsAre());
    Close();
  }
}

// Edits on the recipient side show in the member view when the editor comes back to the
// lists, and the member buttons act on the members shown.
TEST_F(ListEditorTest, MemberButtonsActOnTheMembersShownAfterAModeSwitch) {
  app->settings().SetListenTyp(1);
  Open();
  EXPECT_FALSE(Edit([](HWND editor) {
    Pick(editor, IDC_EDITOR_LISTS, {0});
    EXPECT_THAT(Rows(editor, IDC_EDITOR_MEMBERS), ElementsAre("Empfang", "Lager", "Versand"));
    Click(editor, IDC_EDITOR_MODE_SINGLES);
    Pick(editor, IDC_EDITOR_SINGLES, {0});
    Enter(editor, IDC_EDITOR_SINGLE_REMOVE, kRemove, {});
    Click(editor, IDC_EDITOR_MODE_LISTS);
    EXPECT_THAT(Rows(editor, IDC_EDITOR_MEMBERS), ElementsAre("Lager", "Versand"));
    Pick(editor, IDC_EDITOR_MEMBERS, {1}, IDC_EDITOR_MEMBER_UP);
    EXPECT_THAT(Rows(editor, IDC_EDITOR_MEMBERS), ElementsAre("Versand", "Lager"));
    Pick(editor, IDC_EDITOR_MEMBERS, {1}, IDC_EDITOR_MEMBER_REMOVE);
    EXPECT_THAT(Rows(editor, IDC_EDITOR_MEMBERS), ElementsAre("Versand"));
    Click(editor, IDC_EDITOR_OK);
  }));
  EXPECT_THAT(ListFile(), ::testing::HasSubstr("\r\nAlle [PC3]\r\n"));
}

// The program sorts as CompareString does with the user's (German) locale, letter case aside:
// every pair of characters, and every pair of two-character names of those with rules of their
// own.
TEST(SortOrderTest, IsThatOfWindowsOwnLists) {
  std::vector<std::string> texts;
  for (int c = 1; c < 256; ++c)
    texts.push_back(std::string(1, static_cast<char>(c)));
  for (char a : std::string("aAäoöOsß-' 1²æthþ\x96"))
    for (char b : std::string("aAäoöOsß-' 1²æthþ\x96"))
      texts.push_back({a, b});
  const auto sign = [](int value) { return (value > 0) - (value < 0); };
  int differing = 0;
  for (const std::string& a : texts) {
    for (const std::string& b : texts) {
      const int system =
          CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                         b.data(), static_cast<int>(b.size())) -
          CSTR_EQUAL;
      if (sign(system) != sign(SortKey1252(a).compare(SortKey1252(b))) && differing++ < 10)
        ADD_FAILURE() << "\"" << a << "\" and \"" << b << "\": " << system;
    }
  }
}

}  // namespace
}  // namespace botenruf
