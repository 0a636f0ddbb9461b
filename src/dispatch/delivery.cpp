#include "dispatch/delivery.h"

#include "dispatch/crt_arguments.h"
#include "settings/settings.h"
#include "text/text.h"

namespace botenruf {

bool IsVistaOrLater(SystemInfo& system) {
  OsVersion version;
  return system.GetOsVersion(version) && version.platformId != kPlatformWin32Windows &&
         version.major >= 6;
}

Delivery ResolveDelivery(int32_t zustellung, SystemInfo& system) {
  switch (DeliveryChoice(zustellung)) {
    case kDeliveryNetSend:
      return Delivery::kNetSend;
    case kDeliveryMsg:
      return Delivery::kMsg;
    default:
      break;
  }
  return IsVistaOrLater(system) ? Delivery::kMsg : Delivery::kNetSend;
}

std::string AutomaticDeliveryItem(SystemInfo& system) {
  const bool msg = ResolveDelivery(kDeliveryAuto, system) == Delivery::kMsg;
  return Format("&Automatisch (jetzt: %s)", msg ? "msg" : "net send");
}

std::string FindMsgProgram(SystemInfo& system, FileSystem& files) {
  std::string directory = system.SystemDirectory();
  if (directory.empty())
    return {};
  if (directory.back() == '\\')
    directory.pop_back();
  const std::string own = directory + "\\msg.exe";
  if (files.Exists(own))
    return own;
  const size_t parent = directory.find_last_of('\\');
  if (parent == std::string::npos)
    return {};
  const std::string native = directory.substr(0, parent) + "\\Sysnative\\msg.exe";
  return files.Exists(native) ? native : std::string();
}

bool ChooseDeliveryTool(int32_t zustellung, SystemInfo& system, FileSystem& files,
                        DeliveryTool& tool) {
  tool = {};
  if (ResolveDelivery(zustellung, system) == Delivery::kNetSend)
    return true;
  tool.delivery = Delivery::kMsg;
  tool.msgProgram = FindMsgProgram(system, files);
  return !tool.msgProgram.empty();
}

BoxRequest MsgMissingBox() {
  return {
      "Die Nachricht wurde nicht verschickt: Dieses Windows hat kein Programm \"msg\" für "
      "Sitzungsnachrichten (den Home-Editionen fehlt es).\r\n\r\n"
      "Unter \"Einstellungen\" > \"Zustellung\" lässt sich \"Nachrichtendienst (net send)\" "
      "wählen, wenn dieser Dienst hier noch läuft.",
      kErrorTitle, BoxIcon::kStop};
}

std::string MsgMessageArgument(std::string message) {
  // msg takes every argument that starts with "/" or "-" for an option, its message too ("-v"
  // would switch on its verbose mode), so such a first character becomes "'", as net send's
  // leading "/" does.
  const size_t first = message.find_first_not_of(" \t");
  if (first != std::string::npos && (message[first] == '/' || message[first] == '-'))
    message[first] = '\'';
  return QuoteArgument(message);
}

std::string MsgCommandLine(const std::string& program, const std::string& station,
                           const std::string& message) {
  const char* format =
      program.find(' ') == std::string::npos ? "%s * /server:%s %s" : "\"%s\" * /server:%s %s";
  return Format(format, program.c_str(), station.c_str(), MsgMessageArgument(message).c_str());
}

}  // namespace botenruf
