// How net send and msg get their arguments: the C runtime they are built with cuts the command
// line at blanks and tabs, and reads the backslashes before a double quote by rules of its own
// (2n of them give n and a quote that opens or closes a quoted part, 2n+1 give n and a quote
// that is part of the text). A message must reach them as text, never as an option.
#pragma once

#include <string>

namespace botenruf {

inline bool SeparatesArguments(char c) {
  return c == ' ' || c == '\t';
}

// Removes every blank and tab that directly precedes a "/": the word would otherwise reach the
// tool as an argument of its own that starts with "/", which both take for an option.
void RemoveSeparatorsBeforeSlashes(std::string& text);

// Puts a backslash before every double quote and doubles the backslashes right before it, so
// that the runtime gives back each quote and backslash as it stands in the text.
void EscapeQuotes(std::string& text);

// Both of the above: for text that stands unquoted among a command line's arguments.
void ProtectArguments(std::string& text);

// The text as one argument that the runtime gives back exactly: in double quotes, its quotes
// escaped and the backslashes before a quote, or before the closing one, doubled.
std::string QuoteArgument(const std::string& text);

}  // namespace botenruf
