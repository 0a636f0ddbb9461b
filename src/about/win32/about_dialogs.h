// The About box (dialog 100) with its hidden extras, and the small dialogs around it: the
// help hint (157), the dedication (152) and the hidden text (164).
#pragma once

#include <string>

#include "about/about_box.h"
#include "directory/recipient_directory.h"
#include "platform/version_block.h"
#include "platform/win32/dialog.h"

namespace botenruf::win {

class AboutDialog : public Dialog {
 public:
  // `version` is the program file's block as read for this showing (empty fields when the
  // file carries none); the directory feeds the list info behind the icon.
  AboutDialog(HWND parent, const RecipientDirectory& directory, VersionBlock version);

 protected:
  bool OnInitDialog() override;
  bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void OnIconClicked();
  LRESULT OnLeftDoubleClick(WPARAM, LPARAM);
  LRESULT OnRightDoubleClick(WPARAM, LPARAM);
  void ShowIcon(int iconResource);

  const RecipientDirectory& directory_;
  VersionBlock version_;
  HiddenSequence sequence_;
  static const MessageEntry<AboutDialog> kMessageMap[];
};

class HelpHintDialog : public Dialog {
 public:
  HelpHintDialog(HWND parent, std::string hint);

 protected:
  bool OnInitDialog() override;

 private:
  std::string hint_;
};

class DedicationDialog : public Dialog {
 public:
  explicit DedicationDialog(HWND parent);

 protected:
  bool OnInitDialog() override;
};

class HiddenTextDialog : public Dialog {
 public:
  HiddenTextDialog(HWND parent, std::string caption, std::string body);

 protected:
  bool OnInitDialog() override;

 private:
  std::string caption_;
  std::string body_;
};

}  // namespace botenruf::win
