#include "fakes/fake_system.h"

namespace botenruf::fakes {

std::string Oem850ToAnsi(const std::string& text) {
  std::string result = text;
  for (char& c : result) {
    switch (static_cast<unsigned char>(c)) {
      case 0x84:
        c = '\xE4';
        break;  // ä
      case 0x94:
        c = '\xF6';
        break;  // ö
      case 0x81:
        c = '\xFC';
        break;  // ü
      case 0x8E:
        c = '\xC4';
        break;  // Ä
      case 0x99:
        c = '\xD6';
        break;  // Ö
      case 0x9A:
        c = '\xDC';
        break;  // Ü
      case 0xE1:
        c = '\xDF';
        break;  // ß
      case 0x82:
        c = '\xE9';
        break;  // é
      default:
        break;
    }
  }
  return result;
}

std::string FakeSystem::ConsoleToAnsi(const std::string& text) {
  return Oem850ToAnsi(text);
}

}  // namespace botenruf::fakes
