// Turns the editor's text and the chosen recipients into net send (or msg) command lines,
// with the checks and their boxes, in the order the user meets them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "directory/recipient_directory.h"
#include "dispatch/delivery.h"
#include "platform/message_boxes.h"

namespace botenruf {

inline constexpr size_t kMaxCommandLineLength = 2000;

// Rewrites the text so that net send takes it as plain text: no blank before a "/", no "/"
// at the start, a backslash before every double quote; a text of blanks only gets CR LF.
void MessageParser(std::string& text);

// msg names one station per line, so a domain is sent to station by station, as its listing
// names them once the countdown has run out.
struct MsgDomainSend {
  std::string domain;
  std::string program;  // msg's path
  std::string message;  // with the domain's trailer where it has one
};

// One step of a send: a command line for a worker, or a box to show.
struct SendStep {
  std::string commandLine;  // empty for a box
  BoxRequest box;
  std::string recipient = {};    // the name the step is for; empty for a box about the whole send
  std::string msgStation = {};   // the station of a msg line; empty for net send
  std::string description = {};  // a domain's station: its description in the listing
  std::optional<MsgDomainSend> msgDomain = {};  // a domain through msg: no line, no box
};

// Why net send would not take `name` as the one station it names, or empty when it does:
// with a blank between its characters the rest of the name goes out as the message, a "/"
// or "-" at its start makes it an option of net send ("/DOMAIN:BUERO", "/users"), "*"
// stands for every station of the domain, and a control character belongs to no name. Blanks
// at its ends do no harm. The text continues "Der Empfängername ...".
std::string RecipientNameFault(const std::string& name);
// A station's name in a domain listing is a NetBIOS name: at most 15 characters, besides the
// rules above. (A name typed or kept in the list file may be longer: msg takes DNS names.)
inline constexpr size_t kMaxNetBiosName = 15;
std::string ListedStationFault(const std::string& name);
// The box that tells of a name left out of a send or a list check.
BoxRequest SkippedNameBox(const std::string& name, const std::string& fault);
BoxRequest EmptyRecipientBox();
// "Die maximale Gesamtlänge (IST: %ld / SOLL: %ld) wurde überschritten."
BoxRequest TooLongBox(size_t length);
// The step of one station as it goes out, checked the same way on every path: a name that is
// no single station (`listed`: no station of a domain listing), or a line longer than the
// system takes, becomes the box that says so.
SendStep CheckedStep(const std::string& name, SendStep step, bool listed = false);

// Builds the steps for one press of "Senden". `recipientText` is what the recipient box
// stands for in `mode` (the trailing comma may be missing); `message` is the editor's text.
// Empty names (two commas in a row, or blanks only) are skipped, and a text without any
// other name counts as no recipient; a name with a fault is refused with a box. With msg, the
// same message and trailer go into a msg line, and a name loses the blanks at its ends (after
// "/server:" a blank would end the option).
std::vector<SendStep> ComposeSend(int mode, std::string recipientText, std::string message,
                                  bool versandInfo, const RecipientDirectory& directory,
                                  const DeliveryTool& tool = {});

// What a press of "Senden" starts: a domain message waits for the revocation countdown (an
// empty one is refused at once); the other modes are composed and sent right away.
enum class SendPress { kRefuseEmpty, kStartCountdown, kDispatch };
SendPress PressSend(int mode, const std::string& editorText);
BoxRequest EmptyMessageBox();

// The "{An:...}" trailer of a list message: each name's alias where a single recipient has
// exactly that station name, else the name itself.
std::string ListTrailer(const std::vector<std::string>& names, const RecipientDirectory& directory);

}  // namespace botenruf
