#include "about/win32/about_dialogs.h"

#include <windowsx.h>

#include "about/win32/animation.h"
#include "about/win32/text_viewer_dialog.h"
#include "resource.h"

namespace botenruf::win {

const MessageEntry<AboutDialog> AboutDialog::kMessageMap[] = {
    OnControl(IDC_ABOUT_ICON, STN_CLICKED, &AboutDialog::OnIconClicked),
    OnMessage(WM_LBUTTONDBLCLK, &AboutDialog::OnLeftDoubleClick),
    OnMessage(WM_RBUTTONDBLCLK, &AboutDialog::OnRightDoubleClick),
};

AboutDialog::AboutDialog(HWND parent, const RecipientDirectory& directory, VersionBlock version)
    : Dialog(IDD_ABOUT, parent), directory_(directory), version_(std::move(version)) {}

bool AboutDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return DispatchTable(*this, kMessageMap, message, wParam, lParam, result);
}

bool AboutDialog::OnInitDialog() {
  PlayAnimationIn(Item(IDC_ABOUT_ANIMATION), IDR_AVI_ABOUT);
  SetItemText(IDC_ABOUT_COMMENTS, version_.comments);
  SetItemText(IDC_ABOUT_VERSION, AboutVersionLine(version_));
  SetItemText(IDC_ABOUT_LEGAL, version_.legalNotice);
  SetItemText(IDC_ABOUT_FEEDBACK, kFeedbackAddress);
  return true;
}

void AboutDialog::OnIconClicked() {
  ShowListInfo(hwnd(), directory_);
}

void AboutDialog::ShowIcon(int iconResource) {
  HICON icon = LoadIconA(instance(), MAKEINTRESOURCEA(iconResource));
  SendMessageA(Item(IDC_ABOUT_ICON), STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
}

LRESULT AboutDialog::OnLeftDoubleClick(WPARAM, LPARAM lParam) {
  // The keys as they were when this double click was queued, not as they are now.
  const bool keysHeld =
      (GetKeyState(kHiddenKeyFirst) & 0x8000) && (GetKeyState(kHiddenKeySecond) & 0x8000);
  const HiddenStep step =
      sequence_.OnLeftDoubleClick(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), keysHeld);
  ShowIcon(step.icon);
  if (step.revealText) {
    HiddenTextDialog text(hwnd(), LoadResourceString(IDS_ABOUTBOX), UnscrambleHiddenText());
    text.RunModal();
    ShowIcon(IDR_MAINFRAME);
  }
  PassToDefault();
  return 0;
}

LRESULT AboutDialog::OnRightDoubleClick(WPARAM, LPARAM) {
  DedicationDialog dedication(hwnd());
  dedication.RunModal();
  PassToDefault();
  return 0;
}

HelpHintDialog::HelpHintDialog(HWND parent, std::string hint)
    : Dialog(IDD_HELP_HINT, parent), hint_(std::move(hint)) {}

bool HelpHintDialog::OnInitDialog() {
  PlayAnimationIn(Item(IDC_HINT_ANIMATION), IDR_AVI_HELP_HINT);
  SetItemText(IDC_HINT_TEXT, hint_);
  return true;
}

DedicationDialog::DedicationDialog(HWND parent) : Dialog(IDD_DEDICATION, parent) {}

bool DedicationDialog::OnInitDialog() {
  PlayAnimationIn(Item(IDC_DEDICATION_ANIMATION), IDR_AVI_DEDICATION);
  return true;
}

HiddenTextDialog::HiddenTextDialog(HWND parent, std::string caption, std::string body)
    : Dialog(IDD_HIDDEN_TEXT, parent), caption_(std::move(caption)), body_(std::move(body)) {}

bool HiddenTextDialog::OnInitDialog() {
  SetCaption(caption_);
  SetItemText(IDC_HIDDEN_TEXT, body_);
  return true;
}

}  // namespace botenruf::win
