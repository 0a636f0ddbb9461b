// What the About box says and the rules of its hidden extras: a dedication on a right double
// click, and a text that three counting left double clicks reveal.
#pragma once

#include <string>

#include "platform/version_block.h"

namespace botenruf {

inline constexpr const char* kFeedbackAddress = "feedback@botenruf.example";

// "Botenruf Version (%s)" with the file version; with an empty version when the program file
// carries no version block.
std::string AboutVersionLine(const VersionBlock& block);

// The two letter keys (virtual-key codes of "B" and "R") that must both be held down for a
// left double click to count.
inline constexpr int kHiddenKeyFirst = 'B';
inline constexpr int kHiddenKeySecond = 'R';

// What a left double click on the About box does to its icon.
struct HiddenStep {
  int icon = 0;             // icon resource to show in the About box now
  bool revealText = false;  // show the hidden text; afterwards the program icon returns
  bool operator==(const HiddenStep&) const = default;
};

// The hidden sequence: a double click counts when it lies in the animation's corner (client
// pixels x 5..72, y 4..70, both ends included) while both keys are held. Three counting
// double clicks in a row reveal the text; any other double click starts over.
class HiddenSequence {
 public:
  HiddenStep OnLeftDoubleClick(int x, int y, bool keysHeld);

 private:
  int counted_ = 0;  // counting double clicks so far
};

// The hidden text, unscrambled character by character from the form the program file keeps
// it in (so that it cannot be read there).
std::string UnscrambleHiddenText();

}  // namespace botenruf
