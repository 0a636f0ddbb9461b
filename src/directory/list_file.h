// The list file ("Rechner.txt"): single recipients between "//begin" and "//end" as
// "station alias" lines, distribution lists between "//v_begin" and "//v_end" as
// "name [members]" lines. Users edit it by hand, so the readers are lenient: markers count
// anywhere in a line, LF alone ends a line as well as CR LF, and malformed list lines are
// skipped. There is no escape mechanism; the writer leaves out entries it cannot carry.
#pragma once

#include <string>
#include <vector>

#include "directory/recipient_directory.h"
#include "platform/system.h"

namespace botenruf {

// Names and member texts read from the file keep at most this many characters (a
// single-recipient line without a blank is the one exception: it is taken whole).
inline constexpr size_t kListFileFieldLength = 256;

// Append the single recipients of every "//begin" section (up to "//end", or to the end of
// the file when "//end" is missing) to the directory.
void ReadSingles(const std::string& fileBytes, RecipientDirectory& directory);
// Append the distribution lists of every "//v_begin" section (up to "//v_end" or the end of
// the file) to the directory.
void ReadLists(const std::string& fileBytes, RecipientDirectory& directory);

// The whole file as written, with CR LF line ends. The date is the local date of writing,
// the version the program's file version. Entries that the file cannot carry without
// damaging other entries are left out and counted in `skippedEntries`.
std::string ListFileText(const RecipientDirectory& directory, const LocalTime& date,
                         const std::string& version, int* skippedEntries = nullptr);

// The directory as text lines for the "Listen-Info" viewer.
std::vector<std::string> ListInfoText(const RecipientDirectory& directory);

}  // namespace botenruf
