#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>

#include "about/about_box.h"
#include "about/text_viewer.h"
#include "about/version_history.h"
#include "resource.h"

namespace botenruf {
namespace {

std::array<int, 4> VersionParts(const std::string& version) {
  std::array<int, 4> parts{-1, -1, -1, -1};
  char end = 0;
  EXPECT_EQ(std::sscanf(version.c_str(), "%d.%d.%d.%d%c", &parts[0], &parts[1], &parts[2],
                        &parts[3], &end),
            4)
      << version;
  return parts;
}

TEST(VersionHistoryTest, FortyLinesOfVersionTabDescriptionInReleaseOrder) {
  const std::vector<std::string> lines = VersionHistoryLines();
  ASSERT_EQ(lines.size(), 40u);
  EXPECT_EQ(lines.front(), "1.0.0.0\tDie Urversion");
  EXPECT_EQ(lines[16], "2.0.0.14\tAbschaltbares \"Well done...\"");
  EXPECT_EQ(lines.back(), "3.0.0.15\tSuche nach Update auf den Seiten der Tarvo-Netz");
  std::array<int, 4> previous{};
  for (const std::string& line : lines) {
    SCOPED_TRACE(line);
    ASSERT_EQ(std::count(line.begin(), line.end(), '\t'), 1);
    const std::array<int, 4> version = VersionParts(line.substr(0, line.find('\t')));
    EXPECT_GT(version, previous);  // "2.0.0.10" comes after "2.0.0.9"
    previous = version;
  }
}

TEST(HiddenSequenceTest, ThreeCountingDoubleClicksRevealTheTextAndAnyMissStartsOver) {
  struct Click {
    int x, y;
    bool keys;
    HiddenStep expected;
  };
  const HiddenStep first{IDI_HIDDEN_FIRST, false}, second{IDI_HIDDEN_SECOND, false},
      reveal{IDI_HIDDEN_REVEAL, true}, reset{IDR_MAINFRAME, false};
  const std::vector<std::vector<Click>> runs = {
      // The corners of the area count; after the text the sequence starts again.
      {{5, 4, true, first}, {72, 70, true, second}, {40, 40, true, reveal}, {40, 40, true, first}},
      // Outside by one pixel, or without both keys: back to the start.
      {{5, 4, true, first}, {73, 4, true, reset}, {5, 4, true, first}, {5, 3, true, reset}},
      {{5, 4, true, first}, {72, 70, true, second}, {72, 71, true, reset}, {6, 6, true, first}},
      {{4, 30, true, reset}, {30, 30, false, reset}, {30, 30, true, first}},
      {{30, 30, true, first},
       {30, 30, true, second},
       {30, 30, false, reset},
       {30, 30, true, first},
       {30, 30, true, second},
       {30, 30, true, reveal}},
  };
  for (size_t run = 0; run < runs.size(); ++run) {
    HiddenSequence sequence;
    for (size_t i = 0; i < runs[run].size(); ++i) {
      const Click& click = runs[run][i];
      SCOPED_TRACE(::testing::Message() << "run " << run << ", click " << i);
      EXPECT_EQ(sequence.OnLeftDoubleClick(click.x, click.y, click.keys), click.expected);
    }
  }
}

TEST(HiddenTextTest, UnscramblesTo307CharactersOfReadableText) {
  const std::string text = UnscrambleHiddenText();
  EXPECT_EQ(text.size(), 307u);
  EXPECT_THAT(text, ::testing::StartsWith("Schön, dass Sie"));
  EXPECT_THAT(text, ::testing::EndsWith("Senden!"));
  for (char c : text)  // a wrong key would leave control characters
    EXPECT_GE(static_cast<unsigned char>(c), 0x20) << text;
}

TEST(TextViewerTest, OkStaysCentredAboveTheBottomAndTheTextFollowsTheClient) {
  struct Case {
    int width, height;
    Size ok;
    ViewerLayout expected;
  } cases[] = {
      {357, 206, {75, 23}, {{5, 11, 344, 164}, {140, 180, 75, 23}}},
      {800, 600, {75, 23}, {{5, 11, 787, 558}, {362, 574, 75, 23}}},
      {801, 601, {76, 24}, {{5, 11, 788, 559}, {361, 574, 76, 24}}},  // halves toward zero
      {10, 20, {75, 23}, {{5, 11, 0, 0}, {-33, -6, 75, 23}}},         // never a negative size
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.width << "x" << c.height);
    const ViewerLayout layout = ComputeViewerLayout(c.width, c.height, c.ok);
    EXPECT_EQ(layout.text, c.expected.text);
    EXPECT_EQ(layout.ok, c.expected.ok);
  }
}

TEST(TextViewerTest, BodyEndsEveryLineWithCrLf) {
  EXPECT_EQ(ViewerBody({}), "");
  EXPECT_EQ(ViewerBody({"<<<Einzelempfänger>>>", "", "PC1 = Eins"}),
            "<<<Einzelempfänger>>>\r\n\r\nPC1 = Eins\r\n");
}

}  // namespace
}  // namespace botenruf
