#include "text/text.h"

#include <cstdarg>
#include <cstdio>

namespace botenruf {
namespace {

unsigned char Byte(char c) {
  return static_cast<unsigned char>(c);
}

}  // namespace

char ToUpper1252(char c) {
  const unsigned char b = Byte(c);
  if (b >= 'a' && b <= 'z')
    return static_cast<char>(b - 32);
  // à..þ except ÷ map to À..Þ; ÿ to Ÿ; š, œ, ž to Š, Œ, Ž.
  if (b >= 0xE0 && b <= 0xFE && b != 0xF7)
    return static_cast<char>(b - 32);
  switch (b) {
    case 0x9A:
      return static_cast<char>(0x8A);
    case 0x9C:
      return static_cast<char>(0x8C);
    case 0x9E:
      return static_cast<char>(0x8E);
    case 0xFF:
      return static_cast<char>(0x9F);
    default:
      return c;
  }
}

char ToLower1252(char c) {
  const unsigned char b = Byte(c);
  if (b >= 'A' && b <= 'Z')
    return static_cast<char>(b + 32);
  if (b >= 0xC0 && b <= 0xDE && b != 0xD7)
    return static_cast<char>(b + 32);
  switch (b) {
    case 0x8A:
      return static_cast<char>(0x9A);
    case 0x8C:
      return static_cast<char>(0x9C);
    case 0x8E:
      return static_cast<char>(0x9E);
    case 0x9F:
      return static_cast<char>(0xFF);
    default:
      return c;
  }
}

std::string ToUpper1252(std::string_view text) {
  std::string result(text);
  for (char& c : result)
    c = ToUpper1252(c);
  return result;
}

std::string ToLower1252(std::string_view text) {
  std::string result(text);
  for (char& c : result)
    c = ToLower1252(c);
  return result;
}

int CompareIgnoreCase1252(std::string_view a, std::string_view b) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    const int ca = Byte(ToLower1252(a[i]));
    const int cb = Byte(ToLower1252(b[i]));
    if (ca != cb)
      return ca - cb;
  }
  if (a.size() == b.size())
    return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool EqualsIgnoreCase1252(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareIgnoreCase1252(a, b) == 0;
}

int FindTyped(const std::vector<std::string>& texts, int start, std::string_view typed, bool whole,
              bool wrap, std::string_view skipped) {
  const int count = static_cast<int>(texts.size());
  if (start < 0 || start >= count)
    start = 0;
  const auto begins = [&](std::string_view text) {
    return whole ? EqualsIgnoreCase1252(text, typed)
                 : text.size() >= typed.size() &&
                       CompareIgnoreCase1252(text.substr(0, typed.size()), typed) == 0;
  };
  const auto matches = [&](std::string_view text) {
    return begins(text) || (!skipped.empty() && text.substr(0, skipped.size()) == skipped &&
                            begins(text.substr(skipped.size())));
  };
  const int end = wrap ? start + count : count;
  for (int i = start; i < end; ++i) {
    if (matches(texts[i % count]))
      return i % count;
  }
  return -1;
}

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string TrimLeft(std::string_view text) {
  size_t start = 0;
  while (start < text.size() && IsSpace(text[start]))
    ++start;
  return std::string(text.substr(start));
}

std::string TrimRight(std::string_view text) {
  size_t end = text.size();
  while (end > 0 && IsSpace(text[end - 1]))
    --end;
  return std::string(text.substr(0, end));
}

std::string Trim(std::string_view text) {
  return TrimLeft(TrimRight(text));
}

std::string TrimRightBlanks(std::string_view text) {
  size_t end = text.size();
  while (end > 0 && text[end - 1] == ' ')
    --end;
  return std::string(text.substr(0, end));
}

std::string TrimLeftBlanks(std::string_view text) {
  size_t start = 0;
  while (start < text.size() && text[start] == ' ')
    ++start;
  return std::string(text.substr(start));
}

std::string TrimBlanks(std::string_view text) {
  return TrimRightBlanks(TrimLeftBlanks(text));
}

std::string Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string result;
  if (length > 0) {
    result.resize(static_cast<size_t>(length) + 1);
    std::vsnprintf(result.data(), result.size(), format, args);
    result.resize(static_cast<size_t>(length));
  }
  va_end(args);
  return result;
}

int32_t ParseLong(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsSpace(text[i]))
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  const int64_t limit = negative ? 2147483648LL : 2147483647LL;
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > limit)
      value = limit;
  }
  return static_cast<int32_t>(negative ? -value : value);
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos)
      end = text.size();
    size_t lineEnd = end;
    if (lineEnd > start && text[lineEnd - 1] == '\r')
      --lineEnd;
    lines.emplace_back(text.substr(start, lineEnd - start));
    start = end + 1;
  }
  return lines;
}

bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

std::string OneLine(std::string_view text) {
  std::string line;
  for (char c : text) {
    const bool breaks = c == '\r' || c == '\n' || c == '\t';
    if (!breaks)
      line += c;
    else if (!line.empty() && line.back() != ' ')
      line += ' ';
  }
  return line;
}

}  // namespace botenruf
