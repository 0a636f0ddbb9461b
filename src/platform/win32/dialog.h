// A small dialog base class: creates a dialog from a template, binds the object to its
// window at WM_INITDIALOG and dispatches through a static table per class.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

namespace botenruf::win {

class Dialog;

template <class T>
struct MessageEntry {
  enum class Kind { kCommand, kNotify, kMessage };
  Kind kind;
  UINT id;    // command or control id; the message number for kMessage
  UINT code;  // notification code (kCommand: BN_CLICKED etc.; kNotify: NM_ code)
  void (T::*onCommand)();
  LRESULT (T::*onNotify)(NMHDR*);
  LRESULT (T::*onMessage)(WPARAM, LPARAM);
};

// Table builders: OnCommand for menu items and button clicks, OnControl for another
// control notification, OnNotify for WM_NOTIFY, OnMessage for any other message.
template <class T>
constexpr MessageEntry<T> OnCommand(UINT id, void (T::*handler)()) {
  return {MessageEntry<T>::Kind::kCommand, id, 0, handler, nullptr, nullptr};
}
template <class T>
constexpr MessageEntry<T> OnControl(UINT id, UINT code, void (T::*handler)()) {
  return {MessageEntry<T>::Kind::kCommand, id, code, handler, nullptr, nullptr};
}
template <class T>
constexpr MessageEntry<T> OnNotify(UINT id, UINT code, LRESULT (T::*handler)(NMHDR*)) {
  return {MessageEntry<T>::Kind::kNotify, id, code, nullptr, handler, nullptr};
}
template <class T>
constexpr MessageEntry<T> OnMessage(UINT message, LRESULT (T::*handler)(WPARAM, LPARAM)) {
  return {MessageEntry<T>::Kind::kMessage, message, 0, nullptr, nullptr, handler};
}

class Dialog {
 public:
  Dialog(int templateId, HWND parent);
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // Runs the dialog modally with a message loop of its own, so that keyboard navigation
  // also works in the modeless dialogs that are open meanwhile. Returns the end result.
  INT_PTR RunModal();
  // Creates the dialog as a modeless window; false when the window could not be created.
  bool CreateModeless();
  void DestroyWindow();
  // Ends a modal run (or hides a modeless dialog) with this result.
  void EndDialog(INT_PTR result);

  HWND hwnd() const { return hwnd_; }
  HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
  std::string ItemText(int id) const;
  void SetItemText(int id, const std::string& text);
  void EnableItem(int id, bool enabled);
  std::string Caption() const;
  void SetCaption(const std::string& text);
  // The icon of the caption and of the task switcher.
  void SetIcon(HICON icon);

  // Called by message loops: lets the dialog that owns msg's window handle keyboard
  // navigation. True when the message was consumed.
  static bool PreTranslate(MSG& msg);

 protected:
  virtual bool OnInitDialog() { return true; }
  virtual void OnOK() { EndDialog(IDOK); }
  virtual void OnCancel() { EndDialog(IDCANCEL); }
  // Derived classes dispatch through their table here.
  virtual bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    (void)message, (void)wParam, (void)lParam, (void)result;
    return false;
  }

  template <class T, size_t N>
  static bool DispatchTable(T& self, const MessageEntry<T> (&table)[N], UINT message, WPARAM wParam,
                            LPARAM lParam, LRESULT& result);

  HINSTANCE instance() const { return GetModuleHandleA(nullptr); }
  // Called by a handler that wants the system's default handling to run after all.
  void PassToDefault() { passToDefault_ = true; }

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // After every new size, once the window's own handler has laid out its controls.
  void RepaintWhole();

  int templateId_;
  HWND parent_;
  HWND hwnd_ = nullptr;
  bool inModalLoop_ = false;
  bool ended_ = false;
  bool passToDefault_ = false;
  INT_PTR result_ = 0;
};

template <class T, size_t N>
bool Dialog::DispatchTable(T& self, const MessageEntry<T> (&table)[N], UINT message, WPARAM wParam,
                           LPARAM lParam, LRESULT& result) {
  using Kind = typename MessageEntry<T>::Kind;
  for (const MessageEntry<T>& entry : table) {
    switch (entry.kind) {
      case Kind::kCommand:
        if (message == WM_COMMAND && LOWORD(wParam) == entry.id && HIWORD(wParam) == entry.code) {
          (self.*entry.onCommand)();
          result = 0;
          return true;
        }
        break;
      case Kind::kNotify:
        if (message == WM_NOTIFY) {
          NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
          if (header->idFrom == entry.id && header->code == entry.code) {
            result = (self.*entry.onNotify)(header);
            return true;
          }
        }
        break;
      case Kind::kMessage:
        if (message == entry.id) {
          result = (self.*entry.onMessage)(wParam, lParam);
          return true;
        }
        break;
    }
  }
  return false;
}

// A string of the program's string table; empty when it has none of that id.
std::string LoadResourceString(int id);

// The top-level dialogs (and message boxes) of any process that carry exactly this caption, in
// the order the system lists its windows.
std::vector<HWND> TopLevelDialogs(const std::string& caption);

}  // namespace botenruf::win
