// Windows-1252 text helpers of the simulated network tools.
#pragma once

#include <string>
#include <string_view>

namespace botenruf::netsim {

// Upper case by the Windows-1252 letters (ä/Ä, é/É, š/Š, ÿ/Ÿ ...), as NetBIOS names are shown.
char ToUpper1252(char c);
std::string ToUpper1252(std::string_view text);
bool EqualsIgnoreCase1252(std::string_view a, std::string_view b);
bool StartsWithIgnoreCase1252(std::string_view text, std::string_view prefix);

// Removes blanks and tabs at both ends, or only at the end.
std::string_view TrimBlanks(std::string_view text);
std::string_view TrimRightBlanks(std::string_view text);

// Pads with blanks on the right to width characters; longer text stays as it is.
std::string PadRight(std::string_view text, std::size_t width);

// Converts Windows-1252 text to the OEM code page 850 of a German console. Letters that 850
// lacks become their nearest plain form ("“" becomes a double quote), the rest a question mark.
std::string ToOem850(std::string_view text);

}  // namespace botenruf::netsim
