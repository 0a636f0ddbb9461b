#include "fakes/fake_system.h"

namespace botenruf::fakes {

std::string Oem850ToAnsi(const std::string& text) {
  // ä ö ü Ä Ö Ü ß é: what the German tools print beyond ASCII.
  static const std::string oem = "\x84\x94\x81\x8E\x99\x9A\xE1\x82";
  static const std::string ansi = "\xE4\xF6\xFC\xC4\xD6\xDC\xDF\xE9";
  std::string result = text;
  for (char& c : result) {
    const size_t at = oem.find(c);
    if (at != std::string::npos)
      c = ansi[at];
  }
  return result;
}

std::string FakeSystem::ConsoleToAnsi(const std::string& text) {
  return Oem850ToAnsi(text);
}

}  // namespace botenruf::fakes
