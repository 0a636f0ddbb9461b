#include "mainwindow/tray_text.h"

#include "text/text.h"

namespace botenruf {

std::string ModeName(int mode) {
  switch (mode) {
    case 0:
      return "Einzelempfänger";
    case 1:
      return "Verteilerliste";
    default:
      return "Domänenweit";
  }
}

std::string TrayTip(int count, int mode, const std::string& boxText) {
  const std::string name = ModeName(mode);
  std::string tip = boxText.empty() ? Format("Botenruf[%d] (%s)", count, name.c_str())
                                    : Format("%s[%d]: %s", name.c_str(), count, boxText.c_str());
  if (tip.size() > kMaxTipLength)
    tip.resize(kMaxTipLength);
  return tip;
}

TrayAction TrayActionFor(uint32_t mouseMessage) {
  switch (mouseMessage & 7) {
    case 1:
      return TrayAction::kRestoreIfSystray;
    case 3:
      return TrayAction::kRestore;
    case 4:
      return TrayAction::kPopupMenu;
    case 6:
      return TrayAction::kAbout;
    default:
      return TrayAction::kNone;
  }
}

}  // namespace botenruf
