#include "about/win32/text_viewer_dialog.h"

#include "about/text_viewer.h"
#include "about/version_history.h"
#include "directory/list_file.h"
#include "platform/win32/placement.h"
#include "resource.h"

namespace botenruf::win {

const MessageEntry<TextViewerDialog> TextViewerDialog::kMessageMap[] = {
    OnMessage(WM_SIZE, &TextViewerDialog::OnSize),
    OnMessage(WM_GETMINMAXINFO, &TextViewerDialog::OnGetMinMaxInfo),
};

TextViewerDialog::TextViewerDialog(HWND parent) : Dialog(IDD_TEXT_VIEWER, parent) {}

void TextViewerDialog::SetContents(const std::string& caption,
                                   const std::vector<std::string>& lines) {
  caption_ = caption;
  body_ = ViewerBody(lines);
}

bool TextViewerDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return DispatchTable(*this, kMessageMap, message, wParam, lParam, result);
}

bool TextViewerDialog::OnInitDialog() {
  ready_ = true;
  SetCaption(caption_);
  // A resizable window shows an icon in its caption; let it be the program's.
  SendMessageA(hwnd(), WM_SETICON, ICON_SMALL,
               reinterpret_cast<LPARAM>(LoadIconA(instance(), MAKEINTRESOURCEA(IDR_MAINFRAME))));
  SetItemText(IDC_VIEWER_TEXT, body_);
  RECT client;
  GetClientRect(hwnd(), &client);
  ApplyLayout(client.right, client.bottom);
  // The OK button takes the focus, so the text does not open selected and Enter closes.
  SetFocus(Item(IDOK));
  return false;
}

LRESULT TextViewerDialog::OnSize(WPARAM type, LPARAM lParam) {
  if (ready_ && type != SIZE_MINIMIZED)
    ApplyLayout(LOWORD(lParam), HIWORD(lParam));
  return 0;
}

void TextViewerDialog::ApplyLayout(int clientWidth, int clientHeight) {
  const ViewerLayout layout =
      ComputeViewerLayout(clientWidth, clientHeight, ControlSize(Item(IDOK)));
  Place(Item(IDC_VIEWER_TEXT), layout.text);
  Place(Item(IDOK), layout.ok);
}

LRESULT TextViewerDialog::OnGetMinMaxInfo(WPARAM, LPARAM lParam) {
  return KeepMinimumTrackSize(lParam, kViewerMinimumTrackSize);
}

void ShowVersionHistory(HWND owner) {
  TextViewerDialog viewer(owner);
  viewer.SetContents("Versions-Info", VersionHistoryLines());
  viewer.RunModal();
}

void ShowListInfo(HWND owner, const RecipientDirectory& directory) {
  TextViewerDialog viewer(owner);
  viewer.SetContents("Listen-Info", ListInfoText(directory));
  viewer.RunModal();
}

}  // namespace botenruf::win
