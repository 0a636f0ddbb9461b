#include "about/win32/animation.h"

#include <commctrl.h>

namespace botenruf::win {

HWND PlayAnimationIn(HWND frame, int aviResource) {
  if (!frame)
    return nullptr;
  RECT client;
  GetClientRect(frame, &client);
  // Transparent: the clip's background takes the colour of the dialog behind it.
  HWND animation = CreateWindowExA(
      0, ANIMATE_CLASSA, nullptr, WS_CHILD | WS_VISIBLE | ACS_CENTER | ACS_TRANSPARENT, 0, 0,
      client.right, client.bottom, frame, reinterpret_cast<HMENU>(GetDlgCtrlID(frame)),
      GetModuleHandleA(nullptr), nullptr);
  if (!animation)
    return nullptr;
  SendMessageA(animation, ACM_OPENA, 0, reinterpret_cast<LPARAM>(MAKEINTRESOURCEA(aviResource)));
  SendMessageA(animation, ACM_PLAY, static_cast<WPARAM>(-1), MAKELONG(0, 0xFFFF));
  return animation;
}

}  // namespace botenruf::win
