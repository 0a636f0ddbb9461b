#include "netsim_text.h"

#include <array>

namespace botenruf::netsim {

namespace {

// Code page 850 bytes for the Windows-1252 bytes 0x80 to 0xFF. The typographic marks of
// 0x80..0x9F have no place in 850; they get the best-fit forms the system's conversion uses.
constexpr std::array<unsigned char, 128> kOem850 = {
    '?',  '?',  ',',  0x9F, '"',  '.',  '?',  '?',   // 0x80
    '^',  '?',  'S',  '<',  'O',  '?',  'Z',  '?',   // 0x88
    '?',  '\'', '\'', '"',  '"',  0xFA, '-',  '-',   // 0x90
    '~',  '?',  's',  '>',  'o',  '?',  'z',  'Y',   // 0x98
    0xFF, 0xAD, 0xBD, 0x9C, 0xCF, 0xBE, 0xDD, 0xF5,  // 0xA0
    0xF9, 0xB8, 0xA6, 0xAE, 0xAA, 0xF0, 0xA9, 0xEE,  // 0xA8
    0xF8, 0xF1, 0xFD, 0xFC, 0xEF, 0xE6, 0xF4, 0xFA,  // 0xB0
    0xF7, 0xFB, 0xA7, 0xAF, 0xAC, 0xAB, 0xF3, 0xA8,  // 0xB8
    0xB7, 0xB5, 0xB6, 0xC7, 0x8E, 0x8F, 0x92, 0x80,  // 0xC0
    0xD4, 0x90, 0xD2, 0xD3, 0xDE, 0xD6, 0xD7, 0xD8,  // 0xC8
    0xD1, 0xA5, 0xE3, 0xE0, 0xE2, 0xE5, 0x99, 0x9E,  // 0xD0
    0x9D, 0xEB, 0xE9, 0xEA, 0x9A, 0xED, 0xE8, 0xE1,  // 0xD8
    0x85, 0xA0, 0x83, 0xC6, 0x84, 0x86, 0x91, 0x87,  // 0xE0
    0x8A, 0x82, 0x88, 0x89, 0x8D, 0xA1, 0x8C, 0x8B,  // 0xE8
    0xD0, 0xA4, 0x95, 0xA2, 0x93, 0xE4, 0x94, 0xF6,  // 0xF0
    0x9B, 0x97, 0xA3, 0x96, 0x81, 0xEC, 0xE7, 0x98,  // 0xF8
};

}  // namespace

char ToUpper1252(char c) {
  const auto u = static_cast<unsigned char>(c);
  if ((u >= 'a' && u <= 'z') || (u >= 0xE0 && u <= 0xFE && u != 0xF7)) {
    return static_cast<char>(u - 0x20);
  }
  switch (u) {
    case 0x9A:  // š
    case 0x9C:  // œ
    case 0x9E:  // ž
      return static_cast<char>(u - 0x10);
    case 0xFF:  // ÿ
      return static_cast<char>(0x9F);
    default:
      return c;
  }
}

std::string ToUpper1252(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    c = ToUpper1252(c);
  }
  return out;
}

bool EqualsIgnoreCase1252(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (ToUpper1252(a[i]) != ToUpper1252(b[i])) {
      return false;
    }
  }
  return true;
}

bool StartsWithIgnoreCase1252(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         EqualsIgnoreCase1252(text.substr(0, prefix.size()), prefix);
}

std::string_view TrimRightBlanks(std::string_view text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
    text.remove_suffix(1);
  }
  return text;
}

std::string_view TrimBlanks(std::string_view text) {
  text = TrimRightBlanks(text);
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
    text.remove_prefix(1);
  }
  return text;
}

std::string PadRight(std::string_view text, std::size_t width) {
  std::string out(text);
  if (out.size() < width) {
    out.append(width - out.size(), ' ');
  }
  return out;
}

std::string ToOem850(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x80) {
      c = static_cast<char>(kOem850[u - 0x80]);
    }
  }
  return out;
}

}  // namespace botenruf::netsim
