#include "about/about_box.h"

#include <array>
#include <iterator>

#include "resource.h"
#include "text/text.h"

namespace botenruf {
namespace {

// Each character is stored XOR a key that changes with its position.
constexpr unsigned char ScrambleKey(size_t position) {
  return static_cast<unsigned char>(0x5A + 7 * position);
}

template <size_t N>
consteval std::array<unsigned char, N - 1> Scramble(const char (&text)[N]) {
  std::array<unsigned char, N - 1> scrambled{};
  for (size_t i = 0; i + 1 < N; ++i)
    scrambled[i] = static_cast<unsigned char>(static_cast<unsigned char>(text[i]) ^ ScrambleKey(i));
  return scrambled;
}

// Only the scrambled form reaches the program file: the literal is used at compile time alone.
constexpr auto kScrambledHiddenText = Scramble(
    "Schön, dass Sie hierher gefunden haben! Botenruf bringt kurze Nachrichten als Pop-up auf "
    "die Bildschirme im Netzwerk: an einen Rechner, an eine Verteilerliste oder an die ganze "
    "Domäne. Er ist für alle da, die lieber kurz Bescheid geben, als durchs Haus zu laufen. "
    "Danke fürs Benutzen, viel Spaß beim Senden!");
static_assert(kScrambledHiddenText.size() == 307);  // the text keeps its length

constexpr bool InHiddenCorner(int x, int y) {
  return x >= 5 && x <= 72 && y >= 4 && y <= 70;
}

}  // namespace

std::string AboutVersionLine(const VersionBlock& block) {
  return Format("Botenruf Version (%s)", block.fileVersion.c_str());
}

HiddenStep HiddenSequence::OnLeftDoubleClick(int x, int y, bool keysHeld) {
  static constexpr int kIcons[] = {IDI_HIDDEN_FIRST, IDI_HIDDEN_SECOND, IDI_HIDDEN_REVEAL};
  if (!keysHeld || !InHiddenCorner(x, y)) {
    counted_ = 0;
    return {IDR_MAINFRAME, false};
  }
  const int icon = kIcons[counted_];
  counted_ = (counted_ + 1) % static_cast<int>(std::size(kIcons));
  return {icon, counted_ == 0};
}

std::string UnscrambleHiddenText() {
  std::string text(kScrambledHiddenText.size(), '\0');
  for (size_t i = 0; i < text.size(); ++i)
    text[i] = static_cast<char>(kScrambledHiddenText[i] ^ ScrambleKey(i));
  return text;
}

}  // namespace botenruf
