// "Rechnerliste" (dialog 146): the editor of single recipients and distribution lists. The
// editing rules are portable (listeditor/list_editor.h); this class wires the controls.
#pragma once

#include <string>
#include <vector>

#include "listeditor/list_editor.h"
#include "platform/message_boxes.h"
#include "platform/win32/dialog.h"
#include "platform/win32/list_view.h"

namespace botenruf::win {

class ListEditorDialog : public Dialog {
 public:
  // `listMode` opens on the distribution lists, else on the single recipients.
  ListEditorDialog(HWND owner, ListEditorHost& host, MessageBoxes& boxes, ListLook look,
                   bool listMode);

 protected:
  bool OnInitDialog() override;
  void OnOK() override { EndDialog(IDCANCEL); }  // button 1 is "Abbruch"
  bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  RecipientDirectory& directory() { return host_.directory(); }
  void ApplyMode();
  void FillSingles();
  void FillLists();
  void FillMembers();
  void ClearMembers();
  void ShowSelectedStation();
  int SelectedSingle() const { return singles_.FirstSelected(); }
  int SelectedList() const { return lists_.FirstSelected(); }
  void Reselect(ListView& view, int row);
  void ShowExchange(ListView& view, int from, int to);

  // The entry dialogs with the values of entry `index` (-1: empty); true on OK.
  bool AskSingle(const char* suffix, int single, bool readOnly, std::string& alias,
                 std::string& station);
  bool AskListName(const char* suffix, int list, bool readOnly, std::string& name);

  void OnModeSingles();
  void OnModeLists();
  void OnNewSingle();
  void OnChangeSingle();
  void OnRemoveSingle();
  void OnSingleUp() { MoveSelectedSingle(-1); }
  void OnSingleDown() { MoveSelectedSingle(+1); }
  void MoveSelectedSingle(int direction);
  void OnNewList();
  void OnChangeList();
  void OnRemoveList();
  void OnListUp() { MoveSelectedList(-1); }
  void OnListDown() { MoveSelectedList(+1); }
  void MoveSelectedList(int direction);
  void OnAddMembers();
  void OnRemoveMembers();
  void OnMemberUp() { MoveSelectedMember(-1); }
  void OnMemberDown() { MoveSelectedMember(+1); }
  void MoveSelectedMember(int direction);
  void OnUndo();
  void OnSave();

  LRESULT OnSinglesChanged(NMHDR* header);
  LRESULT OnSinglesRangeChanged(NMHDR* header);
  LRESULT OnListsChanged(NMHDR* header);
  LRESULT OnSinglesDoubleClick(NMHDR*);
  LRESULT OnListsDoubleClick(NMHDR*);
  LRESULT OnMembersDoubleClick(NMHDR*);
  LRESULT OnSinglesHeader(NMHDR*);
  LRESULT OnListsHeader(NMHDR*);
  LRESULT OnMembersHeader(NMHDR*);

  ListEditorHost& host_;
  MessageBoxes& boxes_;
  ListLook look_;
  bool recipientMode_;
  bool sortingLists_ = false;
  ListView singles_;
  ListView lists_;
  ListView members_;
  std::vector<std::string> memberAliases_;  // what the member view shows

  static const MessageEntry<ListEditorDialog> kMessageMap[];
};

}  // namespace botenruf::win
