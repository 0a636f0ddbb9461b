// What the notification-area icon says and how it answers the mouse.
#pragma once

#include <cstdint>
#include <string>

#include "platform/notify_icon.h"

namespace botenruf {

// "Einzelempfänger", "Verteilerliste" or, for every other value, "Domänenweit".
std::string ModeName(int mode);

// "Botenruf[%d] (%s)" with the count and mode name when the box is empty, else
// "%s[%d]: %s" with mode name, count and the box's text; cut to 63 characters.
std::string TrayTip(int count, int mode, const std::string& boxText);

enum class TrayAction { kNone, kRestore, kRestoreIfSystray, kPopupMenu, kAbout };

// The mouse message reduced to its three lowest bits: 1 left button down (restores only
// when minimising goes to the tray), 3 left double click, 4 right button down, 6 right
// double click; everything else does nothing.
TrayAction TrayActionFor(uint32_t mouseMessage);

}  // namespace botenruf
