// The resizable text viewer (dialog 137) and the two texts it shows: the version history
// ("Versions-Info") and the recipient directory ("Listen-Info").
#pragma once

#include <string>
#include <vector>

#include "directory/recipient_directory.h"
#include "platform/win32/dialog.h"

namespace botenruf::win {

class TextViewerDialog : public Dialog {
 public:
  explicit TextViewerDialog(HWND parent);
  // The caption, and the body: every line followed by CR LF.
  void SetContents(const std::string& caption, const std::vector<std::string>& lines);

 protected:
  bool OnInitDialog() override;
  bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  LRESULT OnSize(WPARAM, LPARAM);
  LRESULT OnGetMinMaxInfo(WPARAM, LPARAM);
  void ApplyLayout(int clientWidth, int clientHeight);

  std::string caption_;
  std::string body_;
  bool ready_ = false;
  static const MessageEntry<TextViewerDialog> kMessageMap[];
};

// Both run the viewer modally over `owner`.
void ShowVersionHistory(HWND owner);
// The directory's lines as they are at this moment.
void ShowListInfo(HWND owner, const RecipientDirectory& directory);

}  // namespace botenruf::win
