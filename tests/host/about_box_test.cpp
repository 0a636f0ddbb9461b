// The About box's extras: the version history, the hidden sequence and its text, and the
// text viewer's layout and body.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "about/about_box.h"
#include "about/text_viewer.h"
#include "about/version_history.h"
#include "resource.h"

namespace botenruf {
namespace {

TEST(AboutTest, HistoryHiddenTextAndViewer) {
  EXPECT_EQ(VersionHistoryLines().front(), "1.0.0.0\tDie Urversion");
  EXPECT_THAT(UnscrambleHiddenText(), ::testing::StartsWith("Schön, dass Sie"));
  EXPECT_EQ(ViewerBody({"<<<Einzelempfänger>>>", "", "PC1 = Eins"}),
            "<<<Einzelempfänger>>>\r\n\r\nPC1 = Eins\r\n");
  // The viewer's OK stays centred above the bottom; its text never gets a negative size.
  const ViewerLayout wide = ComputeViewerLayout(801, 601, {76, 24});  // halves toward zero
  EXPECT_EQ(wide.text, (Rect{5, 11, 788, 559}));
  EXPECT_EQ(wide.ok, (Rect{361, 574, 76, 24}));
  const ViewerLayout tiny = ComputeViewerLayout(10, 20, {75, 23});
  EXPECT_EQ(tiny.text, (Rect{5, 11, 0, 0}));
  EXPECT_EQ(tiny.ok, (Rect{-33, -6, 75, 23}));
}

TEST(AboutTest, ThreeCountingDoubleClicksRevealTheTextAndAnyMissStartsOver) {
  using Click = std::tuple<int, int, bool, HiddenStep>;  // where, with both keys, and the step
  const HiddenStep first{IDI_HIDDEN_FIRST, false}, second{IDI_HIDDEN_SECOND, false},
      reveal{IDI_HIDDEN_REVEAL, true}, reset{IDR_MAINFRAME, false};
  const std::vector<std::vector<Click>> runs = {
      // The corners of the area count; after the text the sequence starts again.
      {{5, 4, true, first}, {72, 70, true, second}, {40, 40, true, reveal}, {40, 40, true, first}},
      // Outside by one pixel, or without both keys: back to the start.
      {{5, 4, true, first}, {73, 4, true, reset}, {5, 4, true, first}, {5, 3, true, reset}},
      {{5, 4, true, first}, {72, 70, true, second}, {30, 30, false, reset}, {6, 6, true, first}},
  };
  for (size_t run = 0; run < runs.size(); ++run) {
    HiddenSequence sequence;
    for (size_t i = 0; i < runs[run].size(); ++i) {
      SCOPED_TRACE(::testing::Message() << "run " << run << ", click " << i);
      const auto& [x, y, keys, expected] = runs[run][i];
      EXPECT_EQ(sequence.OnLeftDoubleClick(x, y, keys), expected);
    }
  }
}

}  // namespace
}  // namespace botenruf
