// The single-recipient and list-name dialogs from the real resources.
#include <gtest/gtest.h>

#include "directory/win32/entry_dialogs.h"
#include "fakes/fake_message_boxes.h"
#include "resource.h"
#include "support/win_test_support.h"

namespace botenruf {
namespace {

using wintest::Click;
using wintest::RunModalWithScript;
using wintest::WindowText;

std::string Text(HWND dialog, int id) {
  return WindowText(GetDlgItem(dialog, id));
}
bool Enabled(HWND dialog, int id) {
  return IsWindowEnabled(GetDlgItem(dialog, id)) != 0;
}
void Type(HWND dialog, int id, const std::string& text) {
  SendMessageA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

class EntryDialogsTest : public ::testing::Test {
 protected:
  fakes::FakeMessageBoxes boxes;
};

TEST_F(EntryDialogsTest, EditingASingleRecipientReturnsTheValuesAsTyped) {
  win::SingleRecipientDialog dialog(nullptr, boxes);
  dialog.SetValues("Empfang", "PC017");
  dialog.SetTitleSuffix("bearbeiten");
  const INT_PTR result = RunModalWithScript(dialog, [](HWND window) {
    EXPECT_EQ(WindowText(window), "Einzelempfänger bearbeiten");
    EXPECT_EQ(Text(window, IDC_ALIAS), "Empfang");
    EXPECT_EQ(Text(window, IDC_STATION), "PC017");
    EXPECT_TRUE(Enabled(window, IDC_ALIAS));
    EXPECT_TRUE(Enabled(window, IDC_STATION));
    Type(window, IDC_ALIAS, "  Büro Süd ");
    Type(window, IDC_STATION, "PC018");
    Click(window, IDOK);
  });
  EXPECT_EQ(result, IDOK);
  std::string alias, station;
  dialog.GetValues(alias, station);
  EXPECT_EQ(alias, "  Büro Süd ");
  EXPECT_EQ(station, "PC018");
  EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(EntryDialogsTest, EmptyFieldsAreAcceptedAndTheEmptySuffixLeavesABlank) {
  win::SingleRecipientDialog dialog(nullptr, boxes);
  const INT_PTR result = RunModalWithScript(dialog, [](HWND window) {
    EXPECT_EQ(WindowText(window), "Einzelempfänger ");
    Click(window, IDOK);
  });
  EXPECT_EQ(result, IDOK);
  std::string alias = "x", station = "y";
  dialog.GetValues(alias, station);
  EXPECT_EQ(alias, "");
  EXPECT_EQ(station, "");
}

TEST_F(EntryDialogsTest, DeleteConfirmationShowsDisabledValues) {
  for (int button : {IDOK, IDCANCEL}) {
    SCOPED_TRACE(button);
    win::SingleRecipientDialog dialog(nullptr, boxes);
    dialog.SetValues("Empfang", "PC 17//end");  // shown as it is, even if it could not be typed
    dialog.SetTitleSuffix("wirklich löschen ?");
    dialog.SetReadOnly(true);
    const INT_PTR result = RunModalWithScript(dialog, [button](HWND window) {
      EXPECT_EQ(WindowText(window), "Einzelempfänger wirklich löschen ?");
      EXPECT_EQ(Text(window, IDC_STATION), "PC 17//end");
      EXPECT_FALSE(Enabled(window, IDC_ALIAS));
      EXPECT_FALSE(Enabled(window, IDC_STATION));
      EXPECT_TRUE(Enabled(window, IDOK));
      EXPECT_TRUE(Enabled(window, IDCANCEL));
      Click(window, button);
    });
    EXPECT_EQ(result, button);
  }
  EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(EntryDialogsTest, NamesTheListFileCannotCarryAreRefusedWithAMessage) {
  win::SingleRecipientDialog dialog(nullptr, boxes);
  dialog.SetValues("Empfang", "PC017");
  const INT_PTR result = RunModalWithScript(dialog, [this](HWND window) {
    Type(window, IDC_STATION, "PC 17");
    Click(window, IDOK);
    EXPECT_TRUE(IsWindowVisible(window));  // refused: the dialog stays open
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].title, "Botenruf");
    EXPECT_NE(boxes.boxes()[0].text.find("Leerzeichen"), std::string::npos);
    Type(window, IDC_STATION, "PC17");
    Type(window, IDC_ALIAS, "Alle //end");
    Click(window, IDOK);
    EXPECT_EQ(boxes.boxes().size(), 2u);
    Click(window, IDCANCEL);
  });
  EXPECT_EQ(result, IDCANCEL);
  std::string alias, station;
  dialog.GetValues(alias, station);
  EXPECT_EQ(station, "PC017");  // cancel returns nothing of what was typed
}

TEST_F(EntryDialogsTest, ListNameDialog) {
  win::ListNameDialog dialog(nullptr, boxes);
  dialog.SetName("EDV");
  dialog.SetTitleSuffix("bearbeiten");
  const INT_PTR result = RunModalWithScript(dialog, [this](HWND window) {
    EXPECT_EQ(WindowText(window), "Verteiler bearbeiten");
    EXPECT_EQ(Text(window, IDC_ALIAS), "EDV");
    Type(window, IDC_ALIAS, "EDV [alt]");
    Click(window, IDOK);
    EXPECT_EQ(boxes.boxes().size(), 1u);
    Type(window, IDC_ALIAS, "EDV-Abteilung");
    Click(window, IDOK);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(dialog.GetName(), "EDV-Abteilung");

  win::ListNameDialog confirm(nullptr, boxes);
  confirm.SetName("EDV");
  confirm.SetReadOnly(true);
  confirm.SetTitleSuffix("wirklich löschen ?");
  EXPECT_EQ(RunModalWithScript(confirm,
                               [](HWND window) {
                                 EXPECT_FALSE(Enabled(window, IDC_ALIAS));
                                 Click(window, IDCANCEL);
                               }),
            IDCANCEL);
}

TEST_F(EntryDialogsTest, EnterPressesOkAndEscapeCancels) {
  win::ListNameDialog dialog(nullptr, boxes);
  dialog.SetName("EDV");
  EXPECT_EQ(RunModalWithScript(dialog,
                               [](HWND window) {
                                 SetFocus(GetDlgItem(window, IDC_ALIAS));
                                 wintest::PostKey(GetDlgItem(window, IDC_ALIAS), VK_RETURN);
                               }),
            IDOK);
  win::ListNameDialog again(nullptr, boxes);
  EXPECT_EQ(RunModalWithScript(again,
                               [](HWND window) {
                                 SetFocus(GetDlgItem(window, IDC_ALIAS));
                                 wintest::PostKey(GetDlgItem(window, IDC_ALIAS), VK_ESCAPE);
                               }),
            IDCANCEL);
}

}  // namespace
}  // namespace botenruf
