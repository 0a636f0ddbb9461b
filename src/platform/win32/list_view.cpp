#include "platform/win32/list_view.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

#include "resource.h"
#include "text/text.h"

namespace botenruf::win {
namespace {

// The headers' arrows, loaded once and kept for the run. The header of the common controls
// that Windows 2000 has draws no arrow of its own (HDF_SORTUP needs version 6): it draws a
// bitmap beside the text instead, whose grey shades become the button colours as it loads.
HBITMAP SortArrow(bool ascending) {
  const auto load = [](int id) {
    return static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id),
                                           IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
  };
  static const HBITMAP up = load(IDB_SORT_UP), down = load(IDB_SORT_DOWN);
  return ascending ? up : down;
}

}  // namespace

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
  const DWORD current =
      static_cast<DWORD>(SendMessageA(control_, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0)) & mask;
  if (current != style)  // a new look costs the list a new layout
    SendMessageA(control_, LVM_SETEXTENDEDLISTVIEWSTYLE, mask, style);
}

void ListView::ShowAll() {
  if (arrowColumn_ >= 0)
    SetHeaderArrow(arrowColumn_, nullptr);
  // Emptying first drops the selection and the scroll position with the old rows; each step
  // costs the list a new layout, so an empty list is not emptied again.
  if (Count() > 0)
    SendMessageA(control_, LVM_DELETEALLITEMS, 0, 0);
  if (RowCount() > 0)
    SendMessageA(control_, LVM_SETITEMCOUNT, RowCount(), 0);
}

void ListView::ShowAppended() {
  SendMessageA(control_, LVM_SETITEMCOUNT, RowCount(), LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
}

void ListView::ShowSorted(const std::vector<size_t>& order, int column, bool ascending) {
  const int count = static_cast<int>(order.size());
  std::vector<int> place(order.size(), -1);
  for (int row = 0; row < count; ++row) {
    if (order[row] < order.size())
      place[order[row]] = row;
  }
  const auto moved = [&](int row) { return row >= 0 && row < count ? place[row] : -1; };
  const auto setState = [this](int row, UINT state, UINT mask) {
    LVITEMA item = {};
    item.state = state;
    item.stateMask = mask;
    SendMessageA(control_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
  };
  const int focused = static_cast<int>(SendMessageA(control_, LVM_GETNEXTITEM, -1, LVNI_FOCUSED));
  // Only the rows whose state changes are told so: each change is a notification to the dialog.
  // Every row selected (Ctrl+A) stays so without a look at each.
  const bool all = SendMessageA(control_, LVM_GETSELECTEDCOUNT, 0, 0) == count;
  std::vector<char> was(order.size(), 0), wanted(order.size(), 0);
  for (int row : all ? std::vector<int>() : SelectedRows()) {
    if (moved(row) >= 0) {
      was[row] = 1;
      wanted[moved(row)] = 1;
    }
  }
  for (int row = 0; row < count; ++row) {
    if (was[row] != wanted[row])
      setState(row, wanted[row] ? LVIS_SELECTED : 0, LVIS_SELECTED);
  }
  if (moved(focused) >= 0) {
    setState(moved(focused), LVIS_FOCUSED, LVIS_FOCUSED);
    SendMessageA(control_, LVM_SETSELECTIONMARK, 0, moved(focused));
    EnsureVisible(moved(focused));
  }
  // Every shown row may hold another text now; a list asked to redraw each of tens of
  // thousands of rows would take half a second.
  RedrawWindow(control_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
  ShowSortArrow(column, ascending);
}

void ListView::ShowSortArrow(int column, bool ascending) {
  if (arrowColumn_ >= 0 && arrowColumn_ != column)
    SetHeaderArrow(arrowColumn_, nullptr);
  SetHeaderArrow(column, SortArrow(ascending));
}

void ListView::SetHeaderArrow(int column, HBITMAP arrow) {
  HWND header = reinterpret_cast<HWND>(SendMessageA(control_, LVM_GETHEADER, 0, 0));
  HDITEMA item = {};
  item.mask = HDI_FORMAT;
  if (!header || !SendMessageA(header, HDM_GETITEMA, column, reinterpret_cast<LPARAM>(&item)))
    return;
  item.mask = HDI_FORMAT | HDI_BITMAP;
  item.fmt = (item.fmt & ~(HDF_BITMAP | HDF_BITMAP_ON_RIGHT)) |
             (arrow ? HDF_BITMAP | HDF_BITMAP_ON_RIGHT : 0);
  item.hbm = arrow;
  SendMessageA(header, HDM_SETITEMA, column, reinterpret_cast<LPARAM>(&item));
  arrowColumn_ = arrow ? column : -1;
}

void ListView::RedrawRows(int first, int second) {
  SendMessageA(control_, LVM_REDRAWITEMS, first, first);
  SendMessageA(control_, LVM_REDRAWITEMS, second, second);
}

int ListView::RowCount() const {
  return columns_.empty() ? 0 : static_cast<int>(columns_[0]->size());
}

const std::string* ListView::Cell(int row, int column) const {
  if (column < 0 || column >= static_cast<int>(columns_.size()))
    return nullptr;
  const std::vector<std::string>& texts = *columns_[column];
  return row >= 0 && row < static_cast<int>(texts.size()) ? &texts[row] : nullptr;
}

namespace {

// What the list typed so far, in the program's code page: the list sends the ANSI form to an
// ANSI dialog, but some versions send the wide one in any case.
std::string TypedText(const NMHDR* header) {
  if (header->code == LVN_ODFINDITEMA) {
    const char* text = reinterpret_cast<const NMLVFINDITEMA*>(header)->lvfi.psz;
    return text ? text : "";
  }
  const wchar_t* wide = reinterpret_cast<const NMLVFINDITEMW*>(header)->lvfi.psz;
  if (!wide)
    return {};
  char text[MAX_PATH] = {};
  const int length = WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof(text), nullptr, nullptr);
  return length > 0 ? std::string(text, length - 1) : std::string();
}

}  // namespace

bool ListView::Answer(NMHDR* header, LRESULT& result) const {
  if (header->hwndFrom != control_ || columns_.empty())
    return false;
  if (header->code == LVN_GETDISPINFOA) {
    LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(header)->item;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
      const std::string* text = Cell(item.iItem, item.iSubItem);
      const size_t length =
          text ? std::min(text->size(), static_cast<size_t>(item.cchTextMax - 1)) : 0;
      if (length > 0)
        memcpy(item.pszText, text->data(), length);
      item.pszText[length] = '\0';
    }
    result = 0;
    return true;
  }
  if (header->code == LVN_ODFINDITEMA || header->code == LVN_ODFINDITEMW) {
    // Both forms start alike: the header, the start row, then the search.
    const auto* find = reinterpret_cast<const NMLVFINDITEMA*>(header);
    const UINT flags = find->lvfi.flags;
    result = (flags & (LVFI_STRING | LVFI_PARTIAL))
                 ? FindTyped(*columns_[0], find->iStart, TypedText(header), !(flags & LVFI_PARTIAL),
                             (flags & LVFI_WRAP) != 0, typedSkip_)
                 : -1;
    return true;
  }
  return false;
}

bool ListView::InsertRow(int index, const std::string& text) {
  LVITEMA item = {};
  item.mask = LVIF_TEXT;
  item.iItem = index;
  item.pszText = const_cast<char*>(text.c_str());
  return SendMessageA(control_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)) >= 0;
}

std::string ListView::Text(int row, int column) const {
  if (!columns_.empty()) {
    const std::string* text = Cell(row, column);
    return text ? *text : std::string();
  }
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
  // The search for the next selected row walks the rows after the last one found: it stops at
  // the last selected row rather than at the end of a long list.
  const int count = static_cast<int>(SendMessageA(control_, LVM_GETSELECTEDCOUNT, 0, 0));
  std::vector<int> rows;
  for (int row = -1; static_cast<int>(rows.size()) < count;) {
    row = static_cast<int>(SendMessageA(control_, LVM_GETNEXTITEM, row, LVNI_SELECTED));
    if (row < 0)
      break;
    rows.push_back(row);
  }
  return rows;
}

int ListView::FirstSelected() const {
  // The search walks the rows: a long list with nothing selected is not searched.
  if (SendMessageA(control_, LVM_GETSELECTEDCOUNT, 0, 0) == 0)
    return -1;
  return static_cast<int>(SendMessageA(control_, LVM_GETNEXTITEM, -1, LVNI_SELECTED));
}

int ListView::MenuRow() const {
  const int focused = static_cast<int>(SendMessageA(control_, LVM_GETNEXTITEM, -1, LVNI_FOCUSED));
  if (focused >= 0 && SendMessageA(control_, LVM_GETITEMSTATE, focused, LVIS_SELECTED))
    return focused;
  return FirstSelected();
}

RECT ListView::RowOnScreen(int row) const {
  RECT rect = {};
  rect.left = LVIR_LABEL;
  SendMessageA(control_, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
  POINT screenOrigin = {0, 0};  // where the screen's origin lies in the list
  ScreenToClient(control_, &screenOrigin);
  return {rect.left - screenOrigin.x, rect.top - screenOrigin.y, rect.right - screenOrigin.x,
          rect.bottom - screenOrigin.y};
}

void ListView::Select(int row, bool selected) {
  if (row < 0 && !selected) {
    // Some list views change every row of an owner-data list one by one for this: a list with
    // nothing selected and no focus is left as it is.
    const bool focus = SendMessageA(control_, LVM_GETNEXTITEM, -1, LVNI_FOCUSED) >= 0;
    if (!focus && SendMessageA(control_, LVM_GETSELECTEDCOUNT, 0, 0) == 0)
      return;
  }
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
