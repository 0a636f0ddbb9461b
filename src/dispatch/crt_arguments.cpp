#include "dispatch/crt_arguments.h"

namespace botenruf {

void RemoveSeparatorsBeforeSlashes(std::string& text) {
  std::string kept;
  kept.reserve(text.size());
  for (char c : text) {
    if (c == '/') {
      while (!kept.empty() && SeparatesArguments(kept.back()))
        kept.pop_back();
    }
    kept += c;
  }
  text = std::move(kept);
}

void EscapeQuotes(std::string& text) {
  std::string escaped;
  escaped.reserve(text.size() + 8);
  size_t backslashes = 0;
  for (char c : text) {
    if (c == '"')
      escaped.append(backslashes + 1, '\\');
    backslashes = c == '\\' ? backslashes + 1 : 0;
    escaped += c;
  }
  text = std::move(escaped);
}

void ProtectArguments(std::string& text) {
  RemoveSeparatorsBeforeSlashes(text);
  EscapeQuotes(text);
}

std::string QuoteArgument(const std::string& text) {
  std::string quoted = text;
  EscapeQuotes(quoted);
  size_t backslashes = 0;
  while (backslashes < quoted.size() && quoted[quoted.size() - 1 - backslashes] == '\\')
    ++backslashes;
  return '"' + quoted + std::string(backslashes, '\\') + '"';
}

}  // namespace botenruf
