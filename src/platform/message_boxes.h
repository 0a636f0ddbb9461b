// Message boxes and the wait cursor. Worker threads show boxes too.
#pragma once

#include <string>

namespace botenruf {

// An opaque native window (HWND on Windows); null for boxes without an owner.
using NativeWindow = void*;

enum class BoxIcon { kNone, kStop, kExclamation, kInformation, kQuestion };

struct BoxRequest {
  std::string text;
  std::string title;
  BoxIcon icon = BoxIcon::kNone;

  bool operator==(const BoxRequest&) const = default;
};

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // Shows a box with an OK button and waits until it is closed.
  virtual void Show(NativeWindow owner, const BoxRequest& box) = 0;
  // Shows a box with the buttons Yes and No and waits for the answer; true for Yes.
  virtual bool Ask(NativeWindow owner, const BoxRequest& box) = 0;
  virtual void BeginWaitCursor() = 0;
  virtual void EndWaitCursor() = 0;
};

// Shows the wait cursor from construction to the end of the scope.
class WaitCursor {
 public:
  explicit WaitCursor(MessageBoxes& boxes) : boxes_(boxes) { boxes_.BeginWaitCursor(); }
  ~WaitCursor() { boxes_.EndWaitCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  MessageBoxes& boxes_;
};

// The title of application boxes (the framework's boxes carry the program's name).
inline constexpr const char* kApplicationTitle = "Botenruf";
inline constexpr const char* kErrorTitle = "Error";

}  // namespace botenruf
