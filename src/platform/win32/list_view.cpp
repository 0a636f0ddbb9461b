#include "platform/win32/list_view.h"

#include <commctrl.h>

namespace botenruf::win {

void ListView::AddColumn(int index, const std::string& title, int width) {
  LVCOLUMNA column = {};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
  column.fmt = LVCFMT_LEFT;
  column.cx = width;
  column.pszText = const_cast<char*>(title.c_str());
  column.iSubItem = index;
  SendMessageA(control_, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
}

int ListView::ColumnSpace() const {
  RECT client = {};
  GetClientRect(control_, &client);
  const bool scrollBarShown = (GetWindowLongA(control_, GWL_STYLE) & WS_VSCROLL) != 0;
  return client.right - client.left - (scrollBarShown ? 0 : GetSystemMetrics(SM_CXVSCROLL));
}

void ListView::SetLook(const ListLook& look) {
  const DWORD mask = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT;
  const DWORD style =
      (look.gridLines ? LVS_EX_GRIDLINES : 0) | (look.fullRow ? LVS_EX_FULLROWSELECT : 0);
  SendMessageA(control_, LVM_SETEXTENDEDLISTVIEWSTYLE, mask, style);
}

void ListView::SetRedraw(bool on) {
  SendMessageA(control_, WM_SETREDRAW, on ? TRUE : FALSE, 0);
}

bool ListView::InsertRow(int index, const std::string& text) {
  LVITEMA item = {};
  item.mask = LVIF_TEXT;
  item.iItem = index;
  item.pszText = const_cast<char*>(text.c_str());
  return SendMessageA(control_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)) >= 0;
}

bool ListView::SetText(int row, int column, const std::string& text) {
  LVITEMA item = {};
  item.iSubItem = column;
  item.pszText = const_cast<char*>(text.c_str());
  return SendMessageA(control_, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item)) != 0;
}

std::string ListView::Text(int row, int column) const {
  char buffer[1024] = {};
  LVITEMA item = {};
  item.iSubItem = column;
  item.pszText = buffer;
  item.cchTextMax = sizeof(buffer);
  const LRESULT length =
      SendMessageA(control_, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
  return std::string(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

int ListView::Count() const {
  return static_cast<int>(SendMessageA(control_, LVM_GETITEMCOUNT, 0, 0));
}

void ListView::DeleteAll() {
  SendMessageA(control_, LVM_DELETEALLITEMS, 0, 0);
}

std::vector<int> ListView::SelectedRows() const {
  std::vector<int> rows;
  for (int row = -1;;) {
    row = static_cast<int>(SendMessageA(control_, LVM_GETNEXTITEM, row, LVNI_SELECTED));
    if (row < 0)
      return rows;
    rows.push_back(row);
  }
}

int ListView::FirstSelected() const {
  return static_cast<int>(SendMessageA(control_, LVM_GETNEXTITEM, -1, LVNI_SELECTED));
}

void ListView::Select(int row, bool selected) {
  LVITEMA item = {};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = selected ? LVIS_SELECTED | LVIS_FOCUSED : 0;
  SendMessageA(control_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

void ListView::SelectAll() {
  LVITEMA item = {};
  item.stateMask = LVIS_SELECTED;
  item.state = LVIS_SELECTED;
  SendMessageA(control_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
               reinterpret_cast<LPARAM>(&item));
}

void ListView::EnsureVisible(int row) {
  SendMessageA(control_, LVM_ENSUREVISIBLE, row, FALSE);
}

int ListView::RowAt(POINT point) const {
  LVHITTESTINFO hit = {};
  hit.pt = point;
  const LRESULT row = SendMessageA(control_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
  return (hit.flags & LVHT_ONITEM) ? static_cast<int>(row) : -1;
}

}  // namespace botenruf::win
