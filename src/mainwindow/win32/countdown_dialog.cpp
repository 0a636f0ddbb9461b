#include "mainwindow/win32/countdown_dialog.h"

#include <commctrl.h>

#include "resource.h"
#include "text/text.h"

namespace botenruf::win {
namespace {
// Differences of two readings stay right across the tick count's wrap-around.
uint32_t Milliseconds() {
  return GetTickCount();
}
}  // namespace

const MessageEntry<DomainCountdownDialog> DomainCountdownDialog::kMessageMap[] = {
    OnMessage(WM_TIMER, &DomainCountdownDialog::OnTimer),
};

DomainCountdownDialog::DomainCountdownDialog(HWND owner, std::string domain, int32_t step,
                                             int32_t intervalMs)
    : Dialog(IDD_DOMAIN_COUNTDOWN, owner), domain_(std::move(domain)), model_(step, intervalMs) {}

DomainCountdownDialog::~DomainCountdownDialog() {
  if (hwnd())
    KillTimer(hwnd(), IDT_COUNTDOWN);
}

bool DomainCountdownDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return DispatchTable(*this, kMessageMap, message, wParam, lParam, result);
}

bool DomainCountdownDialog::OnInitDialog() {
  HWND bar = Item(IDC_COUNTDOWN_PROGRESS);
  SendMessageA(bar, PBM_SETRANGE32, 0, CountdownModel::kRangeEnd);
  SendMessageA(bar, PBM_SETPOS, 0, 0);
  SetItemText(IDC_COUNTDOWN_TEXT,
              Format("Nach Ablauf dieser Zeit wird die Nachricht an die komplette Domäne \"%s\" "
                     "verschickt.",
                     domain_.c_str()));
  started_ = Milliseconds();
  SetTimer(hwnd(), IDT_COUNTDOWN, static_cast<UINT>(model_.intervalMs()), nullptr);
  return true;
}

LRESULT DomainCountdownDialog::OnTimer(WPARAM wParam, LPARAM) {
  if (wParam != IDT_COUNTDOWN || model_.finished())
    return 0;
  model_.AdvanceTo(static_cast<uint32_t>(Milliseconds() - started_));
  SendMessageA(Item(IDC_COUNTDOWN_PROGRESS), PBM_SETPOS, model_.position(), 0);
  if (model_.finished()) {
    KillTimer(hwnd(), IDT_COUNTDOWN);
    Publish();
  }
  return 0;
}

void DomainCountdownDialog::OnCancel() {
  // The window stays open until the main window has taken the outcome.
  KillTimer(hwnd(), IDT_COUNTDOWN);
  model_.Cancel();
  Publish();
}

void DomainCountdownDialog::Publish() {
  outcome_->send = model_.send();
  outcome_->finished = true;  // last, so a reader that sees it also sees the send flag
}

bool DomainCountdownDialog::IsFinished(bool& send) const {
  send = outcome_->send;
  return outcome_->finished;
}

}  // namespace botenruf::win
