#include "listeditor/win32/list_editor_dialog.h"

#include <commctrl.h>

#include "directory/win32/entry_dialogs.h"
#include "listeditor/list_editor.h"
#include "resource.h"

namespace botenruf::win {

const MessageEntry<ListEditorDialog> ListEditorDialog::kMessageMap[] = {
    OnControl(IDC_EDITOR_MODE_SINGLES, BN_CLICKED, &ListEditorDialog::OnModeSingles),
    OnControl(IDC_EDITOR_MODE_LISTS, BN_CLICKED, &ListEditorDialog::OnModeLists),
    OnControl(IDC_EDITOR_SINGLE_NEW, BN_CLICKED, &ListEditorDialog::OnNewSingle),
    OnControl(IDC_EDITOR_SINGLE_CHANGE, BN_CLICKED, &ListEditorDialog::OnChangeSingle),
    OnControl(IDC_EDITOR_SINGLE_REMOVE, BN_CLICKED, &ListEditorDialog::OnRemoveSingle),
    OnControl(IDC_EDITOR_SINGLE_UP, BN_CLICKED, &ListEditorDialog::OnSingleUp),
    OnControl(IDC_EDITOR_SINGLE_DOWN, BN_CLICKED, &ListEditorDialog::OnSingleDown),
    OnControl(IDC_EDITOR_LIST_NEW, BN_CLICKED, &ListEditorDialog::OnNewList),
    OnControl(IDC_EDITOR_LIST_CHANGE, BN_CLICKED, &ListEditorDialog::OnChangeList),
    OnControl(IDC_EDITOR_LIST_REMOVE, BN_CLICKED, &ListEditorDialog::OnRemoveList),
    OnControl(IDC_EDITOR_LIST_UP, BN_CLICKED, &ListEditorDialog::OnListUp),
    OnControl(IDC_EDITOR_LIST_DOWN, BN_CLICKED, &ListEditorDialog::OnListDown),
    OnControl(IDC_EDITOR_MEMBER_ADD, BN_CLICKED, &ListEditorDialog::OnAddMembers),
    OnControl(IDC_EDITOR_MEMBER_REMOVE, BN_CLICKED, &ListEditorDialog::OnRemoveMembers),
    OnControl(IDC_EDITOR_MEMBER_UP, BN_CLICKED, &ListEditorDialog::OnMemberUp),
    OnControl(IDC_EDITOR_MEMBER_DOWN, BN_CLICKED, &ListEditorDialog::OnMemberDown),
    OnControl(IDC_EDITOR_UNDO, BN_CLICKED, &ListEditorDialog::OnUndo),
    OnControl(IDC_EDITOR_OK, BN_CLICKED, &ListEditorDialog::OnSave),
    OnNotify(IDC_EDITOR_SINGLES, LVN_ITEMCHANGED, &ListEditorDialog::OnSinglesChanged),
    OnNotify(IDC_EDITOR_SINGLES, LVN_ODSTATECHANGED, &ListEditorDialog::OnSinglesRangeChanged),
    OnNotify(IDC_EDITOR_LISTS, LVN_ITEMCHANGED, &ListEditorDialog::OnListsChanged),
    OnNotify(IDC_EDITOR_SINGLES, NM_DBLCLK, &ListEditorDialog::OnSinglesDoubleClick),
    OnNotify(IDC_EDITOR_LISTS, NM_DBLCLK, &ListEditorDialog::OnListsDoubleClick),
    OnNotify(IDC_EDITOR_MEMBERS, NM_DBLCLK, &ListEditorDialog::OnMembersDoubleClick),
    OnNotify(IDC_EDITOR_SINGLES, LVN_COLUMNCLICK, &ListEditorDialog::OnSinglesHeader),
    OnNotify(IDC_EDITOR_LISTS, LVN_COLUMNCLICK, &ListEditorDialog::OnListsHeader),
    OnNotify(IDC_EDITOR_MEMBERS, LVN_COLUMNCLICK, &ListEditorDialog::OnMembersHeader),
};

namespace {

constexpr const char* kNewSuffix = "neu anlegen";
constexpr const char* kChangeSuffix = "bearbeiten";
constexpr const char* kRemoveSuffix = "wirklich löschen ?";

void SetUpView(ListView& view, const char* title, const ListLook& look) {
  view.AddColumn(0, title, view.ColumnSpace());
  view.SetLook(look);
}

bool SelectionChanged(NMHDR* header) {
  const auto* change = reinterpret_cast<NMLISTVIEW*>(header);
  return (change->uChanged & LVIF_STATE) &&
         ((change->uNewState ^ change->uOldState) & LVIS_SELECTED);
}

}  // namespace

ListEditorDialog::ListEditorDialog(HWND owner, ListEditorHost& host, MessageBoxes& boxes,
                                   ListLook look, bool listMode)
    : Dialog(IDD_LIST_EDITOR, owner),
      host_(host),
      boxes_(boxes),
      look_(look),
      recipientMode_(!listMode) {}

bool ListEditorDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_NOTIFY) {
    NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
    if (singles_.Answer(header, result) || lists_.Answer(header, result) ||
        members_.Answer(header, result))
      return true;
  }
  return DispatchTable(*this, kMessageMap, message, wParam, lParam, result);
}

bool ListEditorDialog::OnInitDialog() {
  // The views show the directory itself; the member view the aliases of the chosen list.
  singles_ = ListView(Item(IDC_EDITOR_SINGLES), {&directory().Aliases()});
  lists_ = ListView(Item(IDC_EDITOR_LISTS), {&directory().ListNames()});
  members_ = ListView(Item(IDC_EDITOR_MEMBERS), {&memberAliases_});
  SetUpView(singles_, "Einzelempfänger", look_);
  SetUpView(lists_, "Verteiler", look_);
  SetUpView(members_, "Mitglieder", look_);
  FillSingles();
  ApplyMode();
  return true;
}

void ListEditorDialog::ApplyMode() {
  CheckDlgButton(hwnd(), IDC_EDITOR_MODE_SINGLES, recipientMode_ ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(hwnd(), IDC_EDITOR_MODE_LISTS, recipientMode_ ? BST_UNCHECKED : BST_CHECKED);
  // Several recipients go into a list at once; a recipient is edited alone.
  const LONG_PTR style = GetWindowLongPtrA(singles_.hwnd(), GWL_STYLE);
  const LONG_PTR wanted =
      recipientMode_ ? (style | LVS_SINGLESEL) : (style & ~LONG_PTR{LVS_SINGLESEL});
  if (wanted != style)  // a new style costs the list a new layout
    SetWindowLongPtrA(singles_.hwnd(), GWL_STYLE, wanted);
  const EditModeControls controls = ControlsForMode(recipientMode_);
  for (int id : controls.enabled)
    EnableItem(id, true);
  for (int id : controls.disabled)
    EnableItem(id, false);
  singles_.Select(-1, false);  // every row
  SetItemText(IDC_EDITOR_STATION, "");
  // The other side's edits change which members a list shows: both list views are filled
  // anew, and the selected list stays selected.
  const int list = SelectedList();
  FillLists();
  if (list >= 0 && list < directory().ListCount())
    Reselect(lists_, list);
  FillMembers();
}

void ListEditorDialog::FillSingles() {
  singles_.ShowAll();
}

void ListEditorDialog::FillLists() {
  lists_.ShowAll();
}

void ListEditorDialog::FillMembers() {
  memberAliases_.clear();
  const int list = SelectedList();
  if (list >= 0) {
    for (const MemberRow& row : MemberRows(directory().MemberTexts()[list], directory()))
      memberAliases_.push_back(row.alias);
  }
  members_.ShowAll();
}

void ListEditorDialog::ClearMembers() {
  memberAliases_.clear();
  members_.ShowAll();
}

void ListEditorDialog::ShowSelectedStation() {
  const int single = SelectedSingle();
  SetItemText(IDC_EDITOR_STATION, single >= 0 ? directory().Stations()[single] : "");
}

void ListEditorDialog::Reselect(ListView& view, int row) {
  view.Select(-1, false);
  view.Select(row, true);
  view.EnsureVisible(row);
}

// A move exchanged two entries (none when `to` is negative): only their two rows change.
void ListEditorDialog::ShowExchange(ListView& view, int from, int to) {
  if (to < 0)
    return;
  view.RedrawRows(from, to);
  Reselect(view, to);
}

void ListEditorDialog::OnModeSingles() {
  recipientMode_ = true;
  ApplyMode();
}

void ListEditorDialog::OnModeLists() {
  recipientMode_ = false;
  ApplyMode();
}

bool ListEditorDialog::AskSingle(const char* suffix, int single, bool readOnly, std::string& alias,
                                 std::string& station) {
  SingleRecipientDialog dialog(hwnd(), boxes_);
  dialog.SetTitleSuffix(suffix);
  if (single >= 0)
    dialog.SetValues(directory().Aliases()[single], directory().Stations()[single]);
  dialog.SetReadOnly(readOnly);
  if (dialog.RunModal() != IDOK)
    return false;
  dialog.GetValues(alias, station);
  return true;
}

bool ListEditorDialog::AskListName(const char* suffix, int list, bool readOnly, std::string& name) {
  ListNameDialog dialog(hwnd(), boxes_);
  dialog.SetTitleSuffix(suffix);
  if (list >= 0)
    dialog.SetName(directory().ListNames()[list]);
  dialog.SetReadOnly(readOnly);
  if (dialog.RunModal() != IDOK)
    return false;
  name = dialog.GetName();
  return true;
}

void ListEditorDialog::OnNewSingle() {
  std::string alias, station;
  if (!AskSingle(kNewSuffix, -1, false, alias, station))
    return;
  directory().AddSingle(alias, station);
  FillSingles();
  FillMembers();
}

void ListEditorDialog::OnChangeSingle() {
  const int single = SelectedSingle();
  std::string alias, station;
  if (single < 0 || !AskSingle(kChangeSuffix, single, false, alias, station))
    return;
  directory().SetStation(single, station);
  directory().SetAlias(single, alias);
  singles_.RedrawRows(single, single);
  ShowSelectedStation();
  FillMembers();
}

void ListEditorDialog::OnRemoveSingle() {
  const int single = SelectedSingle();
  std::string alias, station;
  if (single < 0 || !AskSingle(kRemoveSuffix, single, true, alias, station))
    return;
  directory().RemoveSingle(single);
  FillSingles();
  SetItemText(IDC_EDITOR_STATION, "");
  FillMembers();
}

void ListEditorDialog::MoveSelectedSingle(int direction) {
  const int single = SelectedSingle();
  const int target = MoveSingle(directory(), single, direction);
  ShowExchange(singles_, single, target);
}

void ListEditorDialog::OnNewList() {
  std::string name;
  if (!AskListName(kNewSuffix, -1, false, name))
    return;
  directory().AddList(name, "");
  FillLists();
}

void ListEditorDialog::OnChangeList() {
  const int list = SelectedList();
  std::string name;
  if (list < 0 || !AskListName(kChangeSuffix, list, false, name))
    return;
  directory().SetListName(list, name);
  lists_.RedrawRows(list, list);
}

void ListEditorDialog::OnRemoveList() {
  const int list = SelectedList();
  std::string name;
  if (list < 0 || !AskListName(kRemoveSuffix, list, true, name))
    return;
  directory().RemoveList(list);
  FillLists();
  FillMembers();
}

void ListEditorDialog::MoveSelectedList(int direction) {
  const int list = SelectedList();
  const int target = MoveList(directory(), list, direction);
  ShowExchange(lists_, list, target);
}

void ListEditorDialog::OnAddMembers() {
  const int list = SelectedList();
  if (list < 0)
    return;
  const std::optional<std::string> refusal =
      AddMembers(directory(), list, singles_.SelectedRows(), host_.MaxListMembers());
  FillMembers();
  if (refusal)
    boxes_.Show(hwnd(), {*refusal, kApplicationTitle, BoxIcon::kNone});
}

void ListEditorDialog::OnRemoveMembers() {
  const int list = SelectedList();
  if (list < 0)
    return;
  RemoveMembers(directory(), list, members_.SelectedRows());
  FillMembers();
}

void ListEditorDialog::MoveSelectedMember(int direction) {
  const int list = SelectedList();
  const int row = members_.FirstSelected();
  if (list < 0 || row < 0)
    return;
  const int target = MoveMember(directory(), list, row, direction);
  if (target < 0)
    return;
  FillMembers();
  Reselect(members_, target);
}

void ListEditorDialog::OnUndo() {
  host_.ReloadDirectory();
  ClearMembers();
  FillSingles();
  FillLists();
  SetItemText(IDC_EDITOR_STATION, "");
}

void ListEditorDialog::OnSave() {
  directory().PurgeMembers();
  const std::string problem = SaveProblemText(host_.SaveDirectory(hwnd()));
  if (!problem.empty()) {
    // The edits stay here: the user may try again or leave with "Abbruch".
    // A box shows "&" as it is: the buttons are named without their access keys.
    boxes_.Show(hwnd(), {problem + "\nDie Änderungen sind noch im Editor: \"OK\" versucht es "
                                   "erneut, \"Abbruch\" verwirft sie.",
                         kApplicationTitle, BoxIcon::kExclamation});
    FillMembers();
    return;
  }
  EndDialog(IDOK);
}

LRESULT ListEditorDialog::OnSinglesChanged(NMHDR* header) {
  if (SelectionChanged(header))
    ShowSelectedStation();
  return 0;
}

// A range of rows selected at once (Shift and a click) is told as one change.
LRESULT ListEditorDialog::OnSinglesRangeChanged(NMHDR* header) {
  const auto* change = reinterpret_cast<NMLVODSTATECHANGE*>(header);
  if ((change->uNewState ^ change->uOldState) & LVIS_SELECTED)
    ShowSelectedStation();
  return 0;
}

LRESULT ListEditorDialog::OnListsChanged(NMHDR* header) {
  if (SelectionChanged(header) && !recipientMode_ && !sortingLists_)
    FillMembers();
  return 0;
}

LRESULT ListEditorDialog::OnSinglesDoubleClick(NMHDR*) {
  if (recipientMode_)
    OnChangeSingle();
  else
    OnAddMembers();
  return 0;
}

LRESULT ListEditorDialog::OnListsDoubleClick(NMHDR*) {
  OnChangeList();
  return 0;
}

LRESULT ListEditorDialog::OnMembersDoubleClick(NMHDR*) {
  if (!recipientMode_)
    OnRemoveMembers();
  return 0;
}

// A header click sorts the view by what it shows; the selection stays with its entries.
LRESULT ListEditorDialog::OnSinglesHeader(NMHDR*) {
  singles_.ShowSorted(directory().SortSingles(1), 0, directory().sortState().ascending);
  ShowSelectedStation();
  return 0;
}

LRESULT ListEditorDialog::OnListsHeader(NMHDR*) {
  // The chosen list moves, but stays chosen: its members stay as they are shown.
  sortingLists_ = true;
  lists_.ShowSorted(directory().SortLists(0), 0, directory().sortState().ascending);
  sortingLists_ = false;
  return 0;
}

LRESULT ListEditorDialog::OnMembersHeader(NMHDR*) {
  const int list = SelectedList();
  if (list < 0)
    return 0;
  const std::vector<MemberRow> before = MemberRows(directory().MemberTexts()[list], directory());
  const std::vector<size_t> pieces = directory().SortMembers(list);
  const std::vector<MemberRow> after = MemberRows(directory().MemberTexts()[list], directory());
  const std::vector<size_t> order = MemberRowOrder(before, after, pieces);
  if (order.empty()) {
    FillMembers();
    return 0;
  }
  memberAliases_.clear();
  for (const MemberRow& row : after)
    memberAliases_.push_back(row.alias);
  members_.ShowSorted(order, 0, directory().sortState().ascending);
  return 0;
}

}  // namespace botenruf::win
