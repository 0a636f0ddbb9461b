// Rules for the names that users type into the directory: station names, aliases, list
// names and member texts. The list file has no escape mechanism, so a value that would end
// or restart a section or break a line must not get into the directory in the first place.
// The Check functions return an empty text when the value may be stored, otherwise the
// German message for the box that refuses it.
#pragma once

#include <string>
#include <string_view>

namespace botenruf {

// Longest name or member text that comes back unchanged from the list file.
inline constexpr size_t kMaxEnteredLength = 255;

// "//begin", "//end", "//v_begin" or "//v_end" anywhere in the text (case-sensitive, as the
// readers look for them).
bool ContainsSectionMarker(std::string_view text);

// True when the text holds no section marker and no CR or LF: the list file can hold it in
// any place without damaging other entries (the writer judges whole entries more finely).
bool ListFileCanCarry(std::string_view text);

// Empty names stay allowed: the entry dialogs have always accepted them.
std::string CheckStationName(std::string_view station);
// Blanks at the ends stay allowed (the alias keeps them until the next load).
std::string CheckAlias(std::string_view alias);
std::string CheckListName(std::string_view name);
std::string CheckMemberText(std::string_view members);

// A station appended to a list's member text ("A,B," + station): a station with a comma would
// become two members, and the whole text must stay one the list file keeps (no "]", and no
// section marker formed where the two meet).
std::string CheckAppendedMember(std::string_view members, std::string_view station);

// The checks of one whole entry as the entry dialogs take it: the first refusal, or empty.
std::string CheckSingleEntry(std::string_view alias, std::string_view station);

}  // namespace botenruf
