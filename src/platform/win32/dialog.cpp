#include "platform/win32/dialog.h"

#include <vector>

namespace botenruf::win {
namespace {

// Messages whose dialog procedure result is returned directly instead of through
// DWLP_MSGRESULT.
bool ReturnsDirectly(UINT message) {
  switch (message) {
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_INITDIALOG:
    case WM_QUERYDRAGICON:
    case WM_VKEYTOITEM:
      return true;
    default:
      return false;
  }
}

}  // namespace

Dialog::Dialog(int templateId, HWND parent) : templateId_(templateId), parent_(parent) {}

Dialog::~Dialog() {
  DestroyWindow();
}

bool Dialog::CreateModeless() {
  if (hwnd_)
    return true;
  hwnd_ = CreateDialogParamA(instance(), MAKEINTRESOURCEA(templateId_), parent_, &DialogProc,
                             reinterpret_cast<LPARAM>(this));
  return hwnd_ != nullptr;
}

void Dialog::DestroyWindow() {
  if (hwnd_) {
    HWND window = hwnd_;
    SetWindowLongPtrA(window, DWLP_USER, 0);
    hwnd_ = nullptr;
    ::DestroyWindow(window);
  }
}

INT_PTR Dialog::RunModal() {
  ended_ = false;
  result_ = -1;
  if (!CreateModeless())
    return -1;
  const bool ownerWasEnabled = parent_ && IsWindowEnabled(parent_);
  if (ownerWasEnabled)
    EnableWindow(parent_, FALSE);
  inModalLoop_ = true;
  if (!ended_)
    ShowWindow(hwnd_, SW_SHOW);
  MSG msg;
  while (!ended_) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (got == -1)
      break;
    if (!PreTranslate(msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  inModalLoop_ = false;
  if (ownerWasEnabled) {
    EnableWindow(parent_, TRUE);
    SetActiveWindow(parent_);
  }
  DestroyWindow();
  return result_;
}

void Dialog::EndDialog(INT_PTR result) {
  result_ = result;
  ended_ = true;
  if (inModalLoop_) {
    PostMessageA(hwnd_, WM_NULL, 0, 0);
  } else if (hwnd_) {
    ShowWindow(hwnd_, SW_HIDE);
  }
}

bool Dialog::PreTranslate(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST || !msg.hwnd)
    return false;
  HWND root = GetAncestor(msg.hwnd, GA_ROOT);
  if (!root)
    return false;
  char className[16] = {};
  GetClassNameA(root, className, sizeof(className));
  if (lstrcmpA(className, "#32770") != 0)
    return false;
  return IsDialogMessageA(root, &msg) != 0;
}

std::string Dialog::ItemText(int id) const {
  HWND item = Item(id);
  const int length = item ? GetWindowTextLengthA(item) : 0;
  if (length <= 0)
    return {};
  std::vector<char> buffer(static_cast<size_t>(length) + 1);
  const int got = GetWindowTextA(item, buffer.data(), length + 1);
  return std::string(buffer.data(), got > 0 ? static_cast<size_t>(got) : 0);
}

void Dialog::SetItemText(int id, const std::string& text) {
  SetDlgItemTextA(hwnd_, id, text.c_str());
}

void Dialog::EnableItem(int id, bool enabled) {
  HWND item = Item(id);
  if ((IsWindowEnabled(item) != FALSE) != enabled)  // each change costs the window a message
    EnableWindow(item, enabled ? TRUE : FALSE);
}

std::string Dialog::Caption() const {
  const int length = GetWindowTextLengthA(hwnd_);
  if (length <= 0)
    return {};
  std::vector<char> buffer(static_cast<size_t>(length) + 1);
  const int got = GetWindowTextA(hwnd_, buffer.data(), length + 1);
  return std::string(buffer.data(), got > 0 ? static_cast<size_t>(got) : 0);
}

void Dialog::SetCaption(const std::string& text) {
  SetWindowTextA(hwnd_, text.c_str());
}

void Dialog::SetIcon(HICON icon) {
  SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

INT_PTR CALLBACK Dialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Dialog* self = nullptr;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<Dialog*>(lParam);
    self->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
  } else {
    self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
  }
  if (!self)
    return FALSE;
  return self->HandleMessage(message, wParam, lParam);
}

INT_PTR Dialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG)
    return OnInitDialog() ? TRUE : FALSE;
  LRESULT result = 0;
  passToDefault_ = false;
  const bool handled = Dispatch(message, wParam, lParam, result) && !passToDefault_;
  if (message == WM_SIZE && wParam != SIZE_MINIMIZED)
    RepaintWhole();
  if (handled) {
    if (ReturnsDirectly(message))
      return static_cast<INT_PTR>(result);
    SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
    return TRUE;
  }
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    if (LOWORD(wParam) == IDOK) {
      OnOK();
      return TRUE;
    }
    if (LOWORD(wParam) == IDCANCEL) {
      OnCancel();
      return TRUE;
    }
  }
  if (message == WM_CLOSE) {
    // The close box sends IDCANCEL through the default dialog handling; keep it one path.
    OnCancel();
    return TRUE;
  }
  return FALSE;
}

void Dialog::RepaintWhole() {
  // A dialog does not paint beneath its children: without a full repaint, controls moved into
  // the area the window erases next are wiped until something else repaints them, frames and
  // rows stay where they were drawn before, and a list scrolled by its growth shows rows twice.
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

namespace {

struct DialogSearch {
  const std::string& caption;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectDialog(HWND window, LPARAM data) {
  auto& search = *reinterpret_cast<DialogSearch*>(data);
  char name[16] = {};
  GetClassNameA(window, name, sizeof(name));
  if (std::string(name) != "#32770")
    return TRUE;
  std::vector<char> text(search.caption.size() + 2);
  const int length = GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
  if (length >= 0 && std::string(text.data(), static_cast<size_t>(length)) == search.caption)
    search.found.push_back(window);
  return TRUE;
}

}  // namespace

std::vector<HWND> TopLevelDialogs(const std::string& caption) {
  DialogSearch search{caption, {}};
  EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string LoadResourceString(int id) {
  char text[1024] = {};
  const int length = LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof(text));
  return std::string(text, length > 0 ? static_cast<size_t>(length) : 0);
}

}  // namespace botenruf::win
