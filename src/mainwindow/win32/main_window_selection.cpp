// The recipient box and the mode controls of the main window.
#include "mainwindow/win32/main_window.h"
#include "resource.h"

namespace botenruf::win {

void MainWindow::SwitchMode(int mode) {
  const int leaving = settings_.ListenTyp();
  savedSelection_.Remember(leaving, SelectedEntry());
  settings_.SetListenTyp(mode);
  UpdateModeControls();
  RefillRecipientBox();
  const int count = static_cast<int>(SendMessageA(Item(IDC_RECIPIENT), CB_GETCOUNT, 0, 0));
  const int restore = savedSelection_.Restore(mode, count);
  if (restore >= 0)
    SendMessageA(Item(IDC_RECIPIENT), CB_SETCURSEL, restore, 0);
  // Kept for the next start, which shows this entry of this mode again.
  settings_.SetAuswahl(AuswahlAfterSwitch(mode, SelectedEntry(), savedSelection_));
}

int MainWindow::SelectedEntry() {
  return static_cast<int>(SendMessageA(Item(IDC_RECIPIENT), CB_GETCURSEL, 0, 0));
}

// After a refill while the window runs: the next start shows what the box shows now. While
// domain names are on their way, the index they will select stays.
void MainWindow::RememberShownEntry() {
  if (settings_.ListenTyp() != kModeDomain || !domainListJob_)
    settings_.SetAuswahl(SelectedEntry());
}

// A refill that keeps what the user chose: the same entry, or the typed text.
void MainWindow::RefillKeepingSelection() {
  const int index = SelectedEntry();
  const std::string text = ItemText(IDC_RECIPIENT);
  RefillRecipientBox();
  // What the box now holds, without reading back thousands of entries.
  const int keep =
      KeptSelection(RefillContent(settings_.ListenTyp(), app_.directory()).entries, index, text);
  SendMessageA(Item(IDC_RECIPIENT), CB_SETCURSEL, keep, 0);
  if (keep < 0)
    SetItemText(IDC_RECIPIENT, text);
  RememberShownEntry();
}

void MainWindow::UpdateModeControls() {
  const int mode = settings_.ListenTyp();
  for (int item : {IDM_MODE_LIST, IDM_MODE_SINGLE, IDM_MODE_DOMAIN})
    SetCheck(item, false);
  UpdateInfoButton();
  if (const int item = ModeMenuItem(mode))
    SetCheck(item, true);
  CheckDlgButton(hwnd(), IDC_MODE_SINGLE, mode == kModeSingle ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(hwnd(), IDC_MODE_LIST, mode == kModeList ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(hwnd(), IDC_MODE_DOMAIN, mode == kModeDomain ? BST_CHECKED : BST_UNCHECKED);
  HWND box = Item(IDC_RECIPIENT);
  const int count = static_cast<int>(SendMessageA(box, CB_GETCOUNT, 0, 0));
  if (settings_.Auswahl() < count)
    SendMessageA(box, CB_SETCURSEL, settings_.Auswahl(), 0);
}

void MainWindow::FillBox(const std::vector<std::string>& entries, int select) {
  HWND box = Item(IDC_RECIPIENT);
  SendMessageA(box, CB_RESETCONTENT, 0, 0);
  // A domain's thousands of recipients: the box's list neither redraws nor sets its scroll bar
  // for each of them.
  SendMessageA(box, WM_SETREDRAW, FALSE, 0);
  for (const std::string& entry : entries) {
    SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
  }
  SendMessageA(box, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(box, nullptr, TRUE);
  SendMessageA(box, CB_SETCURSEL, select, 0);
}

void MainWindow::EnableModeButtons(bool enabled) {
  for (int id : {IDC_MODE_SINGLE, IDC_MODE_LIST, IDC_MODE_DOMAIN})
    EnableItem(id, enabled);
}

void MainWindow::RefillRecipientBox() {
  const BoxContent content = RefillContent(settings_.ListenTyp(), app_.directory());
  FillBox(content.entries, content.select);
  if (content.clearText)
    SetItemText(IDC_RECIPIENT, "");
  if (!content.startDomainRefresh || domainListJob_)
    return;
  EnableModeButtons(false);
  domainListJob_ = std::make_shared<DomainListJob>();
  HWND window = hwnd();
  StartDomainListRefresh(services_.workers, domainListJob_,
                         [window] { SendMessageA(window, WM_APP_DOMAIN_LIST_READY, 0, 0); });
}

LRESULT MainWindow::OnDomainListReady(WPARAM, LPARAM) {
  if (!domainListJob_)
    return 0;
  std::shared_ptr<DomainListJob> job = std::move(domainListJob_);
  app_.directory().StoreDomainNames(job->domains);
  // Names that arrive after the mode was changed through the menu stay out of the box: its
  // indexes would otherwise be taken as single recipients or lists.
  if (settings_.ListenTyp() == kModeDomain) {
    int32_t auswahl = settings_.Auswahl();
    const int select = DomainSelection(auswahl, static_cast<int>(job->domains.size()));
    settings_.SetAuswahl(auswahl);
    FillBox(job->domains, select);
  }
  EnableModeButtons(true);
  return 0;
}

void MainWindow::OnRecipientSelected() {
  settings_.SetAuswahl(SelectedEntry());
}

std::string MainWindow::ReadRecipientText(bool trailingComma) {
  const int index = SelectedEntry();
  int32_t auswahl = settings_.Auswahl();
  const std::string text =
      botenruf::ReadRecipientText(settings_.ListenTyp(), index, ItemText(IDC_RECIPIENT),
                                  trailingComma, app_.directory(), auswahl);
  settings_.SetAuswahl(auswahl);
  return text;
}

}  // namespace botenruf::win
