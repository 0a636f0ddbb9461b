#include "mainwindow/win32/message_editor.h"

#include <shellapi.h>

#include "resource.h"

namespace botenruf::win {
namespace {
constexpr char kEditorProperty[] = "Botenruf.MessageEditor";
}  // namespace

void MessageEditor::Attach(HWND edit, HWND owner) {
  edit_ = edit;
  owner_ = owner;
  SetPropA(edit, kEditorProperty, this);
  original_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditProc)));
}

bool MessageEditor::TakeDroppedPath(std::string& path) {
  if (droppedPath_.empty())
    return false;
  path = droppedPath_;
  return true;
}

void MessageEditor::OnDropFiles(HDROP drop) {
  if (DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0) != 1)
    return;
  char name[MAX_PATH] = {};
  if (DragQueryFileA(drop, 0, name, sizeof(name)) == 0)
    return;
  droppedPath_ = name;
  SendMessageA(owner_, WM_APP_FILE_DROPPED, 0, 0);
}

LRESULT CALLBACK MessageEditor::EditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<MessageEditor*>(GetPropA(edit, kEditorProperty));
  if (!self)
    return DefWindowProcA(edit, message, wParam, lParam);
  const WNDPROC original = self->original_;
  switch (message) {
    case WM_DROPFILES: {
      HDROP drop = reinterpret_cast<HDROP>(wParam);
      self->OnDropFiles(drop);
      const LRESULT result = CallWindowProcA(original, edit, message, wParam, lParam);
      // The edit control does not release the drop; without this its memory would leak.
      DragFinish(drop);
      return result;
    }
    case WM_SETCURSOR: {
      HCURSOR cursor = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_EDITOR_CURSOR));
      if (cursor) {
        SetCursor(cursor);
        return TRUE;
      }
      break;
    }
    case WM_NCDESTROY:
      SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
      RemovePropA(edit, kEditorProperty);
      break;
    default:
      break;
  }
  return CallWindowProcA(original, edit, message, wParam, lParam);
}

}  // namespace botenruf::win
