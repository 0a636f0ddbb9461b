#include "directory/entry_rules.h"

#include "text/text.h"

namespace botenruf {
namespace {

constexpr std::string_view kSectionMarkers[] = {"//begin", "//end", "//v_begin", "//v_end"};

bool ContainsControlCharacter(std::string_view text) {
  for (char c : text) {
    const unsigned char b = static_cast<unsigned char>(c);
    if (b < 0x20 || b == 0x7F)
      return true;
  }
  return false;
}

bool ContainsAnyOf(std::string_view text, std::string_view characters) {
  return text.find_first_of(characters) != std::string_view::npos;
}

// The checks every kind of name shares; `subject` starts the message ("Der Bezeichner").
std::string CheckCommon(std::string_view text, const std::string& subject) {
  if (ContainsControlCharacter(text))
    return subject + " darf keine Steuerzeichen enthalten.";
  if (ContainsSectionMarker(text)) {
    return subject + " darf keine Abschnittsmarke (//begin, //end, //v_begin, //v_end) enthalten.";
  }
  return std::string();
}

std::string CheckLength(std::string_view text, const std::string& subject) {
  if (text.size() > kMaxEnteredLength) {
    return subject +
           Format(" darf höchstens %d Zeichen lang sein.", static_cast<int>(kMaxEnteredLength));
  }
  return std::string();
}

}  // namespace

bool ContainsSectionMarker(std::string_view text) {
  for (std::string_view marker : kSectionMarkers) {
    if (Contains(text, marker))
      return true;
  }
  return false;
}

bool ListFileCanCarry(std::string_view text) {
  return !ContainsAnyOf(text, "\r\n") && !ContainsSectionMarker(text);
}

std::string CheckStationName(std::string_view station) {
  const std::string subject = "Der Stationsname";
  std::string message = CheckLength(station, subject);
  if (!message.empty())
    return message;
  // A station ends at the first blank in the list file, and "," separates list members.
  if (ContainsAnyOf(station, " \t"))
    return subject + " darf keine Leerzeichen enthalten.";
  if (ContainsAnyOf(station, ","))
    return subject + " darf kein Komma enthalten.";
  return CheckCommon(station, subject);
}

std::string CheckAlias(std::string_view alias) {
  const std::string subject = "Der Bezeichner";
  std::string message = CheckLength(alias, subject);
  if (!message.empty())
    return message;
  return CheckCommon(alias, subject);
}

std::string CheckListName(std::string_view name) {
  const std::string subject = "Der Name der Verteilerliste";
  std::string message = CheckLength(name, subject);
  if (!message.empty())
    return message;
  // The list file separates name and members at the first "[" and ends them at the first "]".
  if (ContainsAnyOf(name, "[]"))
    return subject + " darf keine eckigen Klammern enthalten.";
  return CheckCommon(name, subject);
}

std::string CheckMemberText(std::string_view members) {
  const std::string subject = "Die Mitgliederliste";
  std::string message = CheckLength(members, subject);
  if (!message.empty())
    return message;
  if (ContainsAnyOf(members, "]"))
    return subject + " darf kein \"]\" enthalten.";
  return CheckCommon(members, subject);
}

std::string CheckAppendedMember(std::string_view members, std::string_view station) {
  if (ContainsAnyOf(station, ","))
    return CheckStationName(station);
  return CheckMemberText(std::string(members) + std::string(station));
}

std::string CheckSingleEntry(std::string_view alias, std::string_view station) {
  std::string message = CheckAlias(alias);
  return message.empty() ? CheckStationName(station) : message;
}

}  // namespace botenruf
