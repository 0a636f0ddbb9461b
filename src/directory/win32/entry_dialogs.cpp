#include "directory/win32/entry_dialogs.h"

#include "directory/entry_rules.h"
#include "resource.h"
#include "text/text.h"

namespace botenruf::win {
namespace {

// Values longer than this never come back unchanged from the list file.
void LimitEdit(HWND edit) {
  SendMessageA(edit, EM_LIMITTEXT, kMaxEnteredLength, 0);
}

}  // namespace

SingleRecipientDialog::SingleRecipientDialog(HWND parent, MessageBoxes& boxes)
    : Dialog(IDD_SINGLE_RECIPIENT, parent), boxes_(boxes) {}

void SingleRecipientDialog::SetValues(const std::string& alias, const std::string& station) {
  alias_ = alias;
  station_ = station;
}

void SingleRecipientDialog::GetValues(std::string& alias, std::string& station) const {
  alias = alias_;
  station = station_;
}

bool SingleRecipientDialog::OnInitDialog() {
  SetCaption(Format("Einzelempfänger %s", titleSuffix_.c_str()));
  SetItemText(IDC_ALIAS, alias_);
  SetItemText(IDC_STATION, station_);
  LimitEdit(Item(IDC_ALIAS));
  LimitEdit(Item(IDC_STATION));
  EnableItem(IDC_ALIAS, !readOnly_);
  EnableItem(IDC_STATION, !readOnly_);
  return true;
}

void SingleRecipientDialog::OnOK() {
  const std::string alias = ItemText(IDC_ALIAS);
  const std::string station = ItemText(IDC_STATION);
  // A deletion confirms what is there; only new or changed values are checked.
  if (!readOnly_) {
    const std::string refusal = CheckSingleEntry(alias, station);
    if (!refusal.empty()) {
      boxes_.Show(hwnd(), {refusal, kApplicationTitle, BoxIcon::kExclamation});
      return;
    }
  }
  alias_ = alias;
  station_ = station;
  EndDialog(IDOK);
}

ListNameDialog::ListNameDialog(HWND parent, MessageBoxes& boxes)
    : Dialog(IDD_LIST_NAME, parent), boxes_(boxes) {}

bool ListNameDialog::OnInitDialog() {
  SetCaption(Format("Verteiler %s", titleSuffix_.c_str()));
  SetItemText(IDC_ALIAS, name_);
  LimitEdit(Item(IDC_ALIAS));
  EnableItem(IDC_ALIAS, !readOnly_);
  return true;
}

void ListNameDialog::OnOK() {
  const std::string name = ItemText(IDC_ALIAS);
  if (!readOnly_) {
    const std::string refusal = CheckListName(name);
    if (!refusal.empty()) {
      boxes_.Show(hwnd(), {refusal, kApplicationTitle, BoxIcon::kExclamation});
      return;
    }
  }
  name_ = name;
  EndDialog(IDOK);
}

}  // namespace botenruf::win
