// The list editor "Rechnerliste", driven the way a user does it: a second thread clicks,
// types and picks rows while the main window runs the editor modally.
#include <windows.h>

#include <commctrl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

#include "platform/win32/list_view.h"
#include "resource.h"
#include "support/main_window_fixture.h"
#include "support/win_test_support.h"
#include "text/text.h"

namespace botenruf {
namespace {

using ::testing::ElementsAre;

constexpr char kListFile[] =
    "//Stand: 01.02.2003\r\n//Version 3.0.0.15\r\n//begin\r\nPC1 Empfang\r\nPC2 Lager\r\n"
    "PC3 Versand\r\n//end\r\n//v_begin\r\nAlle [PC1,PC2,PC3]\r\nLeer []\r\n//v_end\r\n";

// The simulated user: everything it does goes to the editor's thread as messages.
class User {
 public:
  // The dialog of this process with exactly this caption, once it is there.
  HWND WaitFor(const std::string& caption) {
    for (int i = 0; i < 500; ++i) {
      HWND found = FindWindowA("#32770", caption.c_str());
      if (found && IsWindowVisible(found))
        return found;
      Sleep(10);
    }
    throw std::runtime_error("no dialog " + caption);
  }
  // A button whose command runs to its end.
  void Click(HWND dialog, int id) { Ask(GetDlgItem(dialog, id), BM_CLICK); }
  // A button that opens a modal dialog (its command ends only with that dialog).
  void Open(HWND dialog, int id) { PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
  void Type(HWND dialog, int id, const std::string& text) {
    Ask(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  // Fills an entry dialog and confirms it.
  void Enter(const std::string& caption,
             std::initializer_list<std::pair<int, std::string>> fields) {
    HWND dialog = WaitFor(caption);
    for (const auto& [id, text] : fields)
      Type(dialog, id, text);
    Open(dialog, IDOK);
    WaitGone(dialog);
  }
  void WaitGone(HWND window) {
    for (int i = 0; i < 500 && IsWindow(window); ++i)
      Sleep(10);
  }
  void Pick(HWND dialog, int list, std::initializer_list<int> rows) {
    HWND view = GetDlgItem(dialog, list);
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    Ask(view, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    for (int row : rows)
      Ask(view, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
  }
  std::vector<std::string> Rows(HWND dialog, int list) {
    std::vector<std::string> rows;
    HWND view = GetDlgItem(dialog, list);
    for (int i = 0; i < Ask(view, LVM_GETITEMCOUNT); ++i) {
      char text[256] = {};
      LVITEMA item = {};
      item.pszText = text;
      item.cchTextMax = sizeof(text);
      Ask(view, LVM_GETITEMTEXTA, i, reinterpret_cast<LPARAM>(&item));
      rows.push_back(text);
    }
    return rows;
  }
  bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != 0; }
  std::string Text(HWND dialog, int id) {
    char text[256] = {};
    Ask(GetDlgItem(dialog, id), WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    return text;
  }

 private:
  LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, 5000, &result);
    return static_cast<LRESULT>(result);
  }
};

class ListEditorTest : public wintest::MainWindowFixture {
 protected:
  void SetUp() override { UseListFile(kListFile); }
  std::string ListFile() { return wintest::ReadTextFile(scratch + "\\Rechner.txt"); }
  // Opens the editor from the menu; `script` plays the user on a thread of its own and must
  // end the editor. A failure in the script closes the editor, so the test cannot hang.
  void Edit(const std::function<void(User&, HWND)>& script) {
    std::string failure;
    std::thread user([&] {
      User person;
      HWND editor = nullptr;
      try {
        editor = person.WaitFor("Rechnerliste");
        script(person, editor);
      } catch (const std::exception& error) {
        failure = error.what();
        for (HWND open = GetForegroundWindow(); open && open != window_;
             open = GetForegroundWindow()) {
          PostMessageA(open, WM_COMMAND, IDCANCEL, 0);
          person.WaitGone(open);
        }
      }
    });
    Command(IDM_LIST_EDIT);
    user.join();
    EXPECT_EQ(failure, "");
  }
};

TEST_F(ListEditorTest, BothSidesAreEditedAndOkWritesTheFile) {
  app->settings().SetListenTyp(1);
  Open();
  Edit([](User& user, HWND editor) {
    // List mode: the list side is enabled, the recipient side is not.
    EXPECT_EQ(user.Text(editor, IDC_EDITOR_MODE_LISTS), "&Verteilerliste editieren");
    EXPECT_EQ(IsDlgButtonChecked(editor, IDC_EDITOR_MODE_LISTS), BST_CHECKED);
    EXPECT_TRUE(user.Enabled(editor, IDC_EDITOR_MEMBER_ADD));
    EXPECT_FALSE(user.Enabled(editor, IDC_EDITOR_SINGLE_NEW));
    user.Open(editor, IDC_EDITOR_LIST_NEW);
    user.Enter("Verteiler neu anlegen", {{IDC_ALIAS, "Technik"}});
    EXPECT_THAT(user.Rows(editor, IDC_EDITOR_LISTS), ElementsAre("Alle", "Leer", "Technik"));
    user.Pick(editor, IDC_EDITOR_LISTS, {2});
    user.Pick(editor, IDC_EDITOR_SINGLES, {2, 0});
    user.Click(editor, IDC_EDITOR_MEMBER_ADD);
    EXPECT_THAT(user.Rows(editor, IDC_EDITOR_MEMBERS), ElementsAre("Empfang", "Versand"));
    user.Pick(editor, IDC_EDITOR_MEMBERS, {0});
    user.Click(editor, IDC_EDITOR_MEMBER_DOWN);
    EXPECT_THAT(user.Rows(editor, IDC_EDITOR_MEMBERS), ElementsAre("Versand", "Empfang"));
    user.Pick(editor, IDC_EDITOR_LISTS, {2});
    user.Click(editor, IDC_EDITOR_LIST_UP);
    user.Pick(editor, IDC_EDITOR_LISTS, {0});
    user.Click(editor, IDC_EDITOR_LIST_UP);  // already first
    EXPECT_THAT(user.Rows(editor, IDC_EDITOR_LISTS), ElementsAre("Alle", "Technik", "Leer"));

    // The recipient side.
    user.Click(editor, IDC_EDITOR_MODE_SINGLES);
    EXPECT_FALSE(user.Enabled(editor, IDC_EDITOR_LIST_NEW));
    user.Open(editor, IDC_EDITOR_SINGLE_NEW);
    user.Enter("Einzelempfänger neu anlegen", {{IDC_ALIAS, "Kantine"}, {IDC_STATION, "PC9"}});
    user.Pick(editor, IDC_EDITOR_SINGLES, {1});
    EXPECT_EQ(user.Text(editor, IDC_EDITOR_STATION), "PC2");
    user.Open(editor, IDC_EDITOR_SINGLE_CHANGE);
    user.Enter("Einzelempfänger bearbeiten", {{IDC_ALIAS, "Hochregal"}});
    user.Pick(editor, IDC_EDITOR_SINGLES, {3});
    user.Click(editor, IDC_EDITOR_SINGLE_UP);
    user.Pick(editor, IDC_EDITOR_SINGLES, {0});
    user.Open(editor, IDC_EDITOR_SINGLE_REMOVE);
    HWND confirm = user.WaitFor("Einzelempfänger wirklich löschen ?");
    EXPECT_FALSE(user.Enabled(confirm, IDC_ALIAS));
    user.Open(confirm, IDOK);
    user.WaitGone(confirm);
    EXPECT_THAT(user.Rows(editor, IDC_EDITOR_SINGLES),
                ElementsAre("Hochregal", "Kantine", "Versand"));
    user.Open(editor, IDC_EDITOR_OK);
  });
  SYSTEMTIME today;
  GetLocalTime(&today);
  // The removed PC1 leaves its lists with "OK".
  EXPECT_EQ(ListFile(), Format("//Stand: %02u.%02u.%04u\r\n//Version 3.0.0.15\r\n", today.wDay,
                               today.wMonth, today.wYear) +
                            "//begin\r\nPC2 Hochregal\r\nPC9 Kantine\r\nPC3 Versand\r\n//end\r\n"
                            "//v_begin\r\nAlle [PC2,PC3]\r\nTechnik [PC3,]\r\nLeer []\r\n"
                            "//v_end\r\n");
  EXPECT_THAT(BoxEntries(), ElementsAre("Alle", "Technik", "Leer"));
}

TEST_F(ListEditorTest, UndoShowsTheFileAndAbbruchWritesNothing) {
  Open();
  const std::string before = ListFile();
  WIN32_FILE_ATTRIBUTE_DATA written = {};
  GetFileAttributesExA((scratch + "\\Rechner.txt").c_str(), GetFileExInfoStandard, &written);
  Edit([](User& user, HWND editor) {
    user.Pick(editor, IDC_EDITOR_SINGLES, {0});
    user.Click(editor, IDC_EDITOR_SINGLE_DOWN);
    user.Open(editor, IDC_EDITOR_SINGLE_NEW);
    user.Enter("Einzelempfänger neu anlegen", {{IDC_ALIAS, "Neu"}, {IDC_STATION, "PC8"}});
    user.Click(editor, IDC_EDITOR_UNDO);
    EXPECT_THAT(user.Rows(editor, IDC_EDITOR_SINGLES), ElementsAre("Empfang", "Lager", "Versand"));
    EXPECT_THAT(user.Rows(editor, IDC_EDITOR_LISTS), ElementsAre("Alle", "Leer"));
    user.Open(editor, IDC_EDITOR_SINGLE_NEW);
    user.Enter("Einzelempfänger neu anlegen", {{IDC_ALIAS, "Verworfen"}, {IDC_STATION, "PC7"}});
    user.Open(editor, IDOK);  // "Abbruch"
  });
  EXPECT_EQ(ListFile(), before);
  WIN32_FILE_ATTRIBUTE_DATA after = {};
  GetFileAttributesExA((scratch + "\\Rechner.txt").c_str(), GetFileExInfoStandard, &after);
  EXPECT_EQ(CompareFileTime(&written.ftLastWriteTime, &after.ftLastWriteTime), 0);
  EXPECT_EQ(app->directory().FindStation("PC7"), -1);  // the abandoned edit is gone
  EXPECT_THAT(BoxEntries(), ElementsAre("Empfang", "Lager", "Versand"));
}

TEST_F(ListEditorTest, AFailedSaveKeepsTheEditorOpenWithAMessage) {
  // A list path naming a folder cannot be read, so the editor may not write over it.
  app->settings().SetRechnerListePfad(scratch);
  Open();
  Edit([this](User& user, HWND editor) {
    user.Open(editor, IDC_EDITOR_SINGLE_NEW);
    user.Enter("Einzelempfänger neu anlegen", {{IDC_ALIAS, "Neu"}, {IDC_STATION, "PC8"}});
    user.Open(editor, IDC_EDITOR_OK);
    for (int i = 0; i < 100 && boxes->boxes().empty(); ++i)
      Sleep(20);
    EXPECT_TRUE(IsWindowVisible(editor));
    EXPECT_THAT(user.Rows(editor, IDC_EDITOR_SINGLES), ElementsAre("Neu"));
    user.Open(editor, IDOK);
  });
  ASSERT_EQ(BoxTexts().size(), 1u);
  EXPECT_THAT(BoxTexts()[0], ::testing::StartsWith("Die Rechnerliste wurde nicht gespeichert"));
}

}  // namespace
}  // namespace botenruf
