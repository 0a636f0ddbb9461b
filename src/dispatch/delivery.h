// Which tool carries a message: net send (the messenger service, up to Windows XP and Server
// 2003) or msg (a session message, the way Windows Vista and newer pop up a text on another
// station), and the msg command line.
#pragma once

#include <cstdint>
#include <string>

#include "platform/file_system.h"
#include "platform/message_boxes.h"
#include "platform/system.h"

namespace botenruf {

enum class Delivery { kNetSend, kMsg };

struct DeliveryTool {
  Delivery delivery = Delivery::kNetSend;
  std::string msgProgram;  // the full path of msg.exe, for Delivery::kMsg
};

// Whether the system reports Windows NT 6.0 (Vista) or newer; false when it reports none.
bool IsVistaOrLater(SystemInfo& system);

// The tool of a `Zustellung` setting: automatic takes msg from Windows NT 6.0 (Vista) on, as
// the system reports its version, and net send before it or when the version is unknown.
Delivery ResolveDelivery(int32_t zustellung, SystemInfo& system);

// The menu item of the automatic choice, naming the tool it takes on this system:
// "&Automatisch (jetzt: msg)" or "&Automatisch (jetzt: net send)".
std::string AutomaticDeliveryItem(SystemInfo& system);

// Where msg.exe is: in the system directory, or, for a 32-bit program on 64-bit Windows (whose
// system directory is the 32-bit one, which has no msg), in the 64-bit one that "Sysnative"
// beside it names. Empty when neither has it (the Home editions lack msg).
std::string FindMsgProgram(SystemInfo& system, FileSystem& files);

// The tool for a send; false when msg is to carry it but the system has no msg.
bool ChooseDeliveryTool(int32_t zustellung, SystemInfo& system, FileSystem& files,
                        DeliveryTool& tool);
BoxRequest MsgMissingBox();

// "<msg> * /server:<station> <message>": the message to every session of that station. The
// program's path is quoted when it has a blank; the message is one quoted argument that msg's
// runtime gives back exactly as typed (MsgMessageArgument).
std::string MsgCommandLine(const std::string& program, const std::string& station,
                           const std::string& message);
std::string MsgMessageArgument(std::string message);

}  // namespace botenruf
