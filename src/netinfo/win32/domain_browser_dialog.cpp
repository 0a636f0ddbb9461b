#include "netinfo/win32/domain_browser_dialog.h"

#include <commctrl.h>

#include "netinfo/table_query.h"
#include "resource.h"

namespace botenruf::win {

const MessageEntry<DomainBrowserDialog> DomainBrowserDialog::kMessageMap[] = {
    OnCommand(IDM_TAKE_OVER_SINGLES, &DomainBrowserDialog::OnTakeOverSingles),
    OnCommand(IDM_TAKE_OVER_LIST, &DomainBrowserDialog::OnTakeOverIntoList),
    OnCommand(IDM_SHOW_SHARES, &DomainBrowserDialog::OnShares),
    OnCommand(IDM_SELECT_ALL, &DomainBrowserDialog::SelectAll),
    OnMessage(WM_APP_SHARES_DONE, &DomainBrowserDialog::OnSharesDone),
    OnNotify(IDC_DOMAIN_STATIONS, LVN_COLUMNCLICK, &DomainBrowserDialog::OnColumnClick),
    OnNotify(IDC_DOMAIN_STATIONS, NM_DBLCLK, &DomainBrowserDialog::OnDoubleClick),
    OnMessage(WM_CONTEXTMENU, &DomainBrowserDialog::OnContextMenu),
};

DomainBrowserDialog::DomainBrowserDialog(HWND owner, std::string title,
                                         std::shared_ptr<NetQuery> query, DomainBrowserHost& host,
                                         ListLook look)
    : BrowserDialog(IDD_DOMAIN_BROWSER, owner, std::move(title), std::move(query),
                    IDC_DOMAIN_STATIONS, {"Station", "Alias", 3}, look),
      host_(host) {}

DomainBrowserDialog::~DomainBrowserDialog() {
  sharesDialog_.reset();  // the shares browser goes before this window
  if (listProc_ && IsWindow(list().hwnd()))
    SetWindowLongPtrA(list().hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listProc_));
}

bool DomainBrowserDialog::OnInitDialog() {
  BrowserDialog::OnInitDialog();
  // Typing "WS2" finds the station "\\WS2...".
  list().SkipWhenTyped("\\\\");
  // The station list: the program's cursor over it, and Ctrl+A selects every row.
  listCursor_ = LoadCursorA(instance(), MAKEINTRESOURCEA(IDC_EDITOR_CURSOR));
  SetWindowLongPtrA(list().hwnd(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  listProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(list().hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StationListProc)));
  return true;
}

LRESULT CALLBACK DomainBrowserDialog::StationListProc(HWND list, UINT message, WPARAM wParam,
                                                      LPARAM lParam) {
  auto* self = reinterpret_cast<DomainBrowserDialog*>(GetWindowLongPtrA(list, GWLP_USERDATA));
  if (message == WM_SETCURSOR && self->listCursor_ && LOWORD(lParam) == HTCLIENT) {
    SetCursor(self->listCursor_);
    return TRUE;
  }
  if (message == WM_CHAR && wParam == 1)
    self->SelectAll();
  // The menu key asks for the menu as Shift+F10 does. The list has no use for the key, and
  // kept from it the key opens one menu, also where the system opens none for it.
  if ((message == WM_KEYDOWN || message == WM_KEYUP) && wParam == VK_APPS) {
    if (message == WM_KEYUP)
      SendMessageA(GetParent(list), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), -1);
    return 0;
  }
  return CallWindowProcA(self->listProc_, list, message, wParam, lParam);
}

bool DomainBrowserDialog::DispatchOwn(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return DispatchTable(*this, kMessageMap, message, wParam, lParam, result);
}

void DomainBrowserDialog::SelectAll() {
  list().SelectAll();
}

void DomainBrowserDialog::ShowStatus(const std::vector<std::string>& texts) {
  // The texts follow each other faster than they could be read: the last one stays.
  if (!texts.empty())
    SetItemText(IDC_BROWSER_STATUS, texts.back());
}

void DomainBrowserDialog::TakeOver(bool intoList) {
  const ListChoice choice = host_.CurrentListChoice();
  TakeOverRequest request;
  request.intoList = intoList;
  AimAtTargetList(request, choice, host_.Directory());
  request.maxMembers = host_.MaxListMembers();
  request.editorOpen = host_.ListEditorOpen();
  for (int row : list().SelectedRows())
    request.rows.push_back({list().Text(row, 0), list().Text(row, 1)});
  // The stations go into the file as it is now: what was added by hand meanwhile stays.
  host_.ReadChangedListFile();
  TakeOverOutcome outcome = TakeOverStations(host_.Directory(), request);
  if (outcome.singlesChanged || outcome.listsChanged) {
    const std::string problem = host_.SaveTakeOver(outcome.singlesChanged, outcome.listsChanged);
    if (!problem.empty())
      outcome.statusTexts.push_back(problem);
  }
  ShowStatus(outcome.statusTexts);
}

// The right mouse button on a row, Shift+F10 or the menu key: the list asks for its menu. The
// keyboard's menu (the point -1, -1) opens below the focused row, the mouse's where it points;
// neither opens one without a row.
LRESULT DomainBrowserDialog::OnContextMenu(WPARAM window, LPARAM point) {
  if (reinterpret_cast<HWND>(window) != list().hwnd())
    return 0;
  POINT at = {static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
  const bool byKeyboard = point == -1;
  if (byKeyboard) {
    const int row = list().MenuRow();
    if (row < 0)
      return 0;
    list().EnsureVisible(row);
    const RECT place = list().RowOnScreen(row);
    at = {place.left, place.bottom};
  } else {
    POINT inList = at;
    ScreenToClient(list().hwnd(), &inList);
    if (list().RowAt(inList) < 0)
      return 0;
  }
  const ListChoice choice = host_.CurrentListChoice();
  const std::string label = ListLabel(choice, host_.Directory());
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING, IDM_TAKE_OVER_SINGLES, "&Einzelempfänger");
  if (!label.empty())
    AppendMenuA(menu, MF_STRING, IDM_TAKE_OVER_LIST, ListMenuText(label).c_str());
  AppendMenuA(menu, MF_STRING, IDM_SHOW_SHARES, "&Freigaben");
  AppendMenuA(menu, MF_STRING, IDM_SELECT_ALL, "&Alle markieren");
  TrackPopupMenu(menu, (byKeyboard ? TPM_LEFTALIGN : TPM_CENTERALIGN) | TPM_LEFTBUTTON, at.x, at.y,
                 0, hwnd(), nullptr);
  DestroyMenu(menu);
  return 0;
}

LRESULT DomainBrowserDialog::OnDoubleClick(NMHDR*) {
  OnShares();
  return 0;
}

void DomainBrowserDialog::OnShares() {
  if (sharesDialog_)
    return;
  const int row = list().FirstSelected();
  if (row < 0)
    return;
  const std::string station = QueryTarget(list().Text(row, 0));
  if (station.empty())
    return;
  auto shares = std::make_shared<NetQuery>(query().services(), station);
  auto dialog = std::make_unique<SharesDialog>(hwnd(), station, shares);
  if (!dialog->CreateModeless())
    return;
  // Offset from this window, which it would otherwise cover exactly.
  RECT own;
  GetWindowRect(hwnd(), &own);
  SetWindowPos(dialog->hwnd(), nullptr, own.left + 24, own.top + 24, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER);
  ShowWindow(dialog->hwnd(), SW_SHOW);
  const WaitCursor wait(*query().services().boxes);
  sharesDialog_ = std::move(dialog);
  StartTableWorker(shares, RunSharesQuery, *sharesDialog_, hwnd(), WM_APP_SHARES_DONE);
}

LRESULT DomainBrowserDialog::OnSharesDone(WPARAM, LPARAM) {
  sharesDialog_.reset();
  return 0;
}

LRESULT DomainBrowserDialog::OnColumnClick(NMHDR* header) {
  SortRows(host_.Directory(), reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
  return 0;
}

void DomainBrowserDialog::OnCloseCommand() {
  // An open shares browser is closed first; the domain browser stays until the next close.
  if (sharesDialog_ && !sharesDialog_->closeRequested()) {
    sharesDialog_->RequestClose();
    return;
  }
  RequestClose();
}

}  // namespace botenruf::win
