// The order in which the program's lists sort names: that of Windows' own lists for a German
// user (CompareString with the user's locale, letter case ignored), written down for the
// Windows-1252 characters so that the host and every Windows agree.
#pragma once

#include <string>
#include <string_view>

namespace botenruf {

// A key whose byte order (as std::string compares) is the order of the texts: letters with
// accents sort with their base letter ("Öztürk" with O, before "Pahl"), an accent deciding only
// between texts that are otherwise equal; "ß", "æ", "œ" and "þ" count as "ss", "ae", "oe" and
// "th"; hyphens, dashes and the apostrophe count only between texts that are otherwise equal
// ("coop" before "co-op" before "cop"); symbols come before digits, digits before letters.
// Texts that differ in letter case alone get the same key.
std::string SortKey1252(std::string_view text);

}  // namespace botenruf
