// Cutting a tool's command line into words. The tools read GetCommandLineA themselves rather
// than argv, because `net send` must see its message exactly as it was passed (line breaks,
// quotes and runs of blanks included). Header-only, standard C++ only.
#pragma once

#include <string>
#include <string_view>

namespace botenruf::netsim {

inline bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

inline std::string_view SkipBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) {
    text.remove_prefix(1);
  }
  return text;
}

// The part of a command line after the program name and the blanks that follow it. The
// program name is either quoted or ends at the first blank, as the system reads it.
inline std::string_view ArgumentsOf(std::string_view commandLine) {
  commandLine = SkipBlanks(commandLine);
  std::size_t end = 0;
  if (!commandLine.empty() && commandLine.front() == '"') {
    end = commandLine.find('"', 1);
    end = end == std::string_view::npos ? commandLine.size() : end + 1;
  }
  while (end < commandLine.size() && !IsBlank(commandLine[end])) {
    ++end;
  }
  return SkipBlanks(commandLine.substr(end));
}

// Takes the next blank-separated word off the front of rest and the blanks after it, so
// that rest then starts at the following word. Double quotes group blanks into a word and
// are dropped.
inline std::string NextWord(std::string_view& rest) {
  rest = SkipBlanks(rest);
  std::string word;
  bool quoted = false;
  std::size_t i = 0;
  for (; i < rest.size(); ++i) {
    const char c = rest[i];
    if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && IsBlank(c)) {
      break;
    } else {
      word += c;
    }
  }
  rest = SkipBlanks(rest.substr(i));
  return word;
}

}  // namespace botenruf::netsim
