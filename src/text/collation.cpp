#include "text/collation.h"

#include <array>
#include <cstdint>
#include <tuple>

#include "text/text.h"

namespace botenruf {
namespace {

// Windows builds a sort key in sections: the base weights of all characters, then their accent
// weights, then their case and form weights, then the "special" weights of the characters
// that word sort leaves out of the first sections. The weights below are those of the system's
// sort table for the characters of code page 1252 (read with LCMapString under a German
// locale), renumbered into single bytes that keep their order.

constexpr uint8_t kSeparator = 1;
constexpr uint8_t kPlain = 2;  // no accent, or the ordinary form

struct Weights {
  uint8_t base[2] = {0, 0};  // none for the characters word sort leaves out; two for "ß"
  uint8_t accent = kPlain;
  uint8_t form = kPlain;  // superscript digits and the ordinal indicators
  uint8_t special = 0;    // hyphens, dashes, the apostrophe, control characters
};

// Blanks, punctuation and symbols, lowest first; "ˆ" weighs as "^".
constexpr std::string_view kSymbols =
    " \xA0\t\n\v\f\r!\"#$%&()*,./:;?@[\\]^_`{|}~\xA1\xA6\xA8\xAF\xB4\xB8\xBF\x98\x91\x92\x82\x93"
    "\x94\x84\x8B\x9B\xA2\xA3\xA4\xA5\x80+<=>\xB1\xAB\xBB\xD7\xF7\xA7\xA9\xAC\xAE\xB0\xB5\xB6\xB7"
    "\x85\x86\x87\x95\x89\x81";
// The code points that code page 1252 leaves unassigned weigh alike but for their accent.
constexpr std::string_view kUnassigned = "\x81\x8D\x8F\x90\x9D";
constexpr uint8_t kUnassignedAccents[] = {0x1E, 0x2A, 0x2C, 0x2D, 0x3A};
constexpr std::string_view kDigits =
    "0\xBC\xBD\xBE"
    "123456789";
// "™" stands between t and u.
constexpr std::string_view kLetters = "abcdefghijklmnopqrst\x99uvwxyz";

// Windows' accent weights.
enum Accent : uint8_t {
  kAcute = 0x0E,
  kGrave = 0x0F,
  kCircumflex = 0x12,
  kDiaeresis = 0x13,
  kCaron = 0x14,
  kTilde = 0x19,
  kRing = 0x1A,
  kCedilla = 0x1C,
  kStroke = 0x21,
  kHook = 0x43,
  kEth = 0x68,
};

struct Variant {
  char letter;  // lower case
  char base;
  uint8_t accent;
};
constexpr Variant kVariants[] = {
    {'\xE0', 'a', kGrave},      {'\xE1', 'a', kAcute},      {'\xE2', 'a', kCircumflex},
    {'\xE3', 'a', kTilde},      {'\xE4', 'a', kDiaeresis},  {'\xE5', 'a', kRing},
    {'\xE7', 'c', kCedilla},    {'\xF0', 'd', kEth},        {'\xE8', 'e', kGrave},
    {'\xE9', 'e', kAcute},      {'\xEA', 'e', kCircumflex}, {'\xEB', 'e', kDiaeresis},
    {'\x83', 'f', kHook},       {'\xEC', 'i', kGrave},      {'\xED', 'i', kAcute},
    {'\xEE', 'i', kCircumflex}, {'\xEF', 'i', kDiaeresis},  {'\xF1', 'n', kTilde},
    {'\xF2', 'o', kGrave},      {'\xF3', 'o', kAcute},      {'\xF4', 'o', kCircumflex},
    {'\xF5', 'o', kTilde},      {'\xF6', 'o', kDiaeresis},  {'\xF8', 'o', kStroke},
    {'\x9A', 's', kCaron},      {'\xF9', 'u', kGrave},      {'\xFA', 'u', kAcute},
    {'\xFB', 'u', kCircumflex}, {'\xFC', 'u', kDiaeresis},  {'\xFD', 'y', kAcute},
    {'\xFF', 'y', kDiaeresis},  {'\x9E', 'z', kCaron},
};
// Letters that weigh as two.
constexpr std::string_view kExpansions[] = {
    "\xE6"
    "ae",
    "\x9C"
    "oe",
    "\xDF"
    "ss",
    "\xFE"
    "th"};
// What word sort leaves out, lowest special weight first; the soft hyphen counts not at all.
constexpr std::string_view kSpecials =
    "\x01\x02\x03\x04\x05\x06\x07\x08\x0E\x0F\x10\x11\x12\x13\x14\x15\x16\x17\x18\x19\x1A\x1B"
    "\x1C\x1D\x1E\x1F\x7F'-\x96\x97";

constexpr size_t Index(char c) {
  return static_cast<unsigned char>(c);
}

constexpr std::array<Weights, 256> MakeTable() {
  std::array<Weights, 256> table{};
  uint8_t next = kPlain + 1;
  for (char c : kSymbols)
    table[Index(c)].base[0] = next++;
  table[0x88] = table[Index('^')];
  for (size_t i = 0; i < kUnassigned.size(); ++i)
    table[Index(kUnassigned[i])] = {{table[0x81].base[0], 0}, kUnassignedAccents[i]};
  for (char c : kDigits)
    table[Index(c)].base[0] = next++;
  for (char c : kLetters)
    table[Index(c)].base[0] = next++;
  for (const Variant& v : kVariants)
    table[Index(v.letter)] = {{table[Index(v.base)].base[0], 0}, v.accent};
  for (std::string_view e : kExpansions)
    table[Index(e[0])] = {{table[Index(e[1])].base[0], table[Index(e[2])].base[0]}};
  // Superscript digits and the ordinal indicators: their digit or letter in another form.
  constexpr uint8_t kOtherForm = 6;
  for (auto [c, base, accent] : {std::tuple{'\xB9', '1', kPlain},
                                 {'\xB2', '2', kPlain},
                                 {'\xB3', '3', kPlain},
                                 {'\xAA', 'a', uint8_t{3}},
                                 {'\xBA', 'o', uint8_t{3}}}) {
    table[Index(c)] = {{table[Index(base)].base[0], 0}, accent, kOtherForm};
  }
  for (size_t i = 0; i < kSpecials.size(); ++i)
    table[Index(kSpecials[i])].special = static_cast<uint8_t>(kPlain + i);
  return table;
}

constexpr std::array<Weights, 256> kTable = MakeTable();

// Drops the plain weights at the end of a section: "a" and "a" followed by nothing weigh alike.
void TrimPlain(std::string& section) {
  while (!section.empty() && static_cast<uint8_t>(section.back()) == kPlain)
    section.pop_back();
}

}  // namespace

std::string SortKey1252(std::string_view text) {
  std::string base, accents, forms, specials;
  base.reserve(text.size() + 4);
  for (size_t i = 0; i < text.size(); ++i) {
    const Weights& w = kTable[Index(ToLower1252(text[i]))];
    for (uint8_t weight : w.base) {
      if (weight) {
        base += static_cast<char>(weight);
        accents += static_cast<char>(w.accent);
        forms += static_cast<char>(w.form);
      }
    }
    if (w.special) {
      // An earlier place weighs more, as in Windows' keys.
      const unsigned place = 0xFFFF - static_cast<unsigned>(i < 0xFFFD ? i : 0xFFFD);
      specials += static_cast<char>(place >> 8);
      specials += static_cast<char>(place & 0xFF);
      specials += static_cast<char>(w.special);
    }
  }
  TrimPlain(accents);
  TrimPlain(forms);
  return base + static_cast<char>(kSeparator) + accents + static_cast<char>(kSeparator) + forms +
         static_cast<char>(kSeparator) + specials;
}

}  // namespace botenruf
