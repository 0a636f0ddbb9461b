// Text helpers for single-byte Windows-1252 strings, shared by every subsystem.
// Case rules follow the Windows-1252 letters (ä/Ä, é/É, š/Š, ÿ/Ÿ ...) so that the host
// and Windows agree byte for byte.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace botenruf {

char ToUpper1252(char c);
char ToLower1252(char c);
std::string ToUpper1252(std::string_view text);
std::string ToLower1252(std::string_view text);

// Compares like the runtime's case-insensitive multibyte compare in code page 1252:
// both sides folded to lower case, then byte values. <0, 0 or >0. The same order as comparing
// the ToLower1252 forms as strings.
int CompareIgnoreCase1252(std::string_view a, std::string_view b);
bool EqualsIgnoreCase1252(std::string_view a, std::string_view b);

// Where a list goes when the user types letters in it: the first of `texts` from `start` on
// that begins with `typed`, letter case aside (with `whole`: that is `typed`), then, with
// `wrap`, the first such before `start`; -1 when there is none. A text that begins with
// `skipped` matches as well by what follows it (a station "\\WS2" when "WS2" is typed).
int FindTyped(const std::vector<std::string>& texts, int start, std::string_view typed, bool whole,
              bool wrap, std::string_view skipped = {});

// White space in the C locale sense: blank, tab, line feed, vertical tab, form feed, CR.
bool IsSpace(char c);
std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);
std::string Trim(std::string_view text);
// Removes blanks (only the space character) at both ends.
std::string TrimBlanks(std::string_view text);
std::string TrimLeftBlanks(std::string_view text);
std::string TrimRightBlanks(std::string_view text);

// printf-style formatting into a std::string.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The leading decimal number by the usual string-to-long rules: leading white space and one
// sign allowed, digits up to the first other character, no digits gives 0. The result is
// kept within the signed 32-bit range, as on the program's target system.
int32_t ParseLong(std::string_view text);

// Splits text into lines: CR LF and LF alone end a line; a last line without an end counts.
// A file that ends in a line end has no empty line after it.
std::vector<std::string> SplitLines(std::string_view text);

// The text on one line: each run of line ends and tabs becomes one blank (the system's texts
// break theirs: "...\r\n(Code 5).").
std::string OneLine(std::string_view text);

bool Contains(std::string_view text, std::string_view part);
bool EndsWith(std::string_view text, std::string_view end);

}  // namespace botenruf
