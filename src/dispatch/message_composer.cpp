#include "dispatch/message_composer.h"

#include "dispatch/crt_arguments.h"
#include "text/text.h"

namespace botenruf {
namespace {

BoxRequest ErrorBox(std::string text) {
  return {std::move(text), kErrorTitle, BoxIcon::kStop};
}

bool IsEmptyName(const std::string& name) {
  return Trim(name).empty();
}

// The recipient information for `name`, where it is wanted; empty otherwise.
std::string Trailer(int mode, bool versandInfo, const std::string& name,
                    const std::string& listTrailer) {
  if (mode == 2 && versandInfo)
    return Format("\n{An DOMAIN: \"%s\"}", name.c_str());
  if (mode == 1 && versandInfo)
    return listTrailer;
  return {};
}

// The message in both forms: net send's, rewritten by the parser, and the text as typed, which
// msg gets as one quoted argument.
struct MessageForms {
  std::string netSend;
  std::string typed;
};

// A step for one name; its line is still to be checked for length.
SendStep NameStep(int mode, bool versandInfo, const std::string& name, const MessageForms& message,
                  const std::string& listTrailer, const DeliveryTool& tool) {
  SendStep step;
  step.recipient = name;
  if (tool.delivery == Delivery::kNetSend) {
    // The trailer's names (aliases, a domain) are words among net send's arguments as well.
    std::string trailer = Trailer(mode, versandInfo, name, listTrailer);
    ProtectArguments(trailer);
    const std::string text = message.netSend + trailer;
    step.commandLine =
        Format(mode == 2 ? "net send /DOMAIN:%s %s" : "net send %s %s", name.c_str(), text.c_str());
    return step;
  }
  const std::string station = Trim(name);
  std::string text = message.typed + Trailer(mode, versandInfo, station, listTrailer);
  if (mode == 2) {
    step.msgDomain = MsgDomainSend{station, tool.msgProgram, std::move(text)};
    return step;
  }
  step.commandLine = MsgCommandLine(tool.msgProgram, station, text);
  step.msgStation = station;
  return step;
}

}  // namespace

void MessageParser(std::string& text) {
  if (text.empty())
    return;
  RemoveSeparatorsBeforeSlashes(text);
  if (text[0] == '/')
    text[0] = '\'';
  EscapeQuotes(text);
  if (text.find_first_not_of(' ') == std::string::npos)
    text += "\r\n";
}

std::string RecipientNameFault(const std::string& name) {
  const std::string core = Trim(name);
  if (core.find_first_of(" \t") != std::string::npos)
    return "enthält ein Leerzeichen";
  for (char c : core) {
    if (static_cast<unsigned char>(c) < 0x20 || c == '\x7F')
      return "enthält ein Steuerzeichen";
  }
  if (core == "*")
    return "steht für alle Stationen der Domäne";
  if (!core.empty() && (core[0] == '/' || core[0] == '-'))
    return Format("beginnt mit \"%c\"", core[0]);
  return {};
}

BoxRequest SkippedNameBox(const std::string& name, const std::string& fault) {
  return ErrorBox(
      Format("Der Empfängername \"%s\" %s und wird übersprungen.", name.c_str(), fault.c_str()));
}

BoxRequest TooLongBox(size_t length) {
  return ErrorBox(Format("Die maximale Gesamtlänge (IST: %ld / SOLL: %ld) wurde überschritten.",
                         static_cast<long>(length), static_cast<long>(kMaxCommandLineLength)));
}

std::string ListedStationFault(const std::string& name) {
  std::string fault = RecipientNameFault(name);
  if (fault.empty() && Trim(name).size() > kMaxNetBiosName)
    fault = Format("ist länger als %d Zeichen", static_cast<int>(kMaxNetBiosName));
  return fault;
}

SendStep CheckedStep(const std::string& name, SendStep step, bool listed) {
  if (const std::string fault = listed ? ListedStationFault(name) : RecipientNameFault(name);
      !fault.empty())
    return {{}, SkippedNameBox(name, fault), name};
  if (step.commandLine.size() > kMaxCommandLineLength)
    return {{}, TooLongBox(step.commandLine.size()), name};
  return step;
}

BoxRequest EmptyRecipientBox() {
  return ErrorBox("Bitte einen Stations-Namen als Empfänger angeben.");
}

SendPress PressSend(int mode, const std::string& editorText) {
  if (mode != 2)
    return SendPress::kDispatch;
  return editorText.empty() ? SendPress::kRefuseEmpty : SendPress::kStartCountdown;
}

BoxRequest EmptyMessageBox() {
  return ErrorBox("Bitte keine leeren Meldungen verschicken.");
}

std::string ListTrailer(const std::vector<std::string>& names,
                        const RecipientDirectory& directory) {
  std::string joined;
  for (const std::string& name : names) {
    if (!joined.empty())
      joined += ',';
    const int index = directory.FindStation(name);
    if (index >= 0) {
      std::string station, alias;
      directory.GetSingle(index, station, alias);
      joined += alias;
    } else {
      joined += name;
    }
  }
  return Format("\n{An:%s}", joined.c_str());
}

std::vector<SendStep> ComposeSend(int mode, std::string recipientText, std::string message,
                                  bool versandInfo, const RecipientDirectory& directory,
                                  const DeliveryTool& tool) {
  std::vector<SendStep> steps;
  RecipientDirectory::EnsureTrailingComma(recipientText);
  MessageForms forms{message, message};
  MessageParser(forms.netSend);
  std::vector<std::string> names = RecipientDirectory::MembersBeforeCommas(recipientText);
  // A name of blanks would leave net send to take the message's first word for the station.
  std::erase_if(names, IsEmptyName);
  if (names.empty()) {
    steps.push_back({{}, EmptyRecipientBox()});
    return steps;
  }
  if (message.empty()) {
    steps.push_back({{}, EmptyMessageBox()});
    return steps;
  }

  std::vector<std::string> receivers;
  for (const std::string& name : names) {
    if (RecipientNameFault(name).empty())
      receivers.push_back(name);
  }
  // Refused names stay out of the trailer: they do not receive the message.
  const std::string listTrailer = mode == 1 ? ListTrailer(receivers, directory) : std::string();

  for (const std::string& name : names)
    steps.push_back(CheckedStep(name, NameStep(mode, versandInfo, name, forms, listTrailer, tool)));
  return steps;
}

}  // namespace botenruf
