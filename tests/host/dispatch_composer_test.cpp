#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "dispatch/message_composer.h"

namespace botenruf {
namespace {

using ::testing::ElementsAre;

std::string Parsed(std::string text) {
  MessageParser(text);
  return text;
}

TEST(MessageParserTest, RewritesWhatNetSendWouldTakeAsSwitchesOrQuotes) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"Bitte /x und /y", "Bitte/x und/y"},
      {" /x", "'x"},
      {"a   /b", "a/b"},
      {"/DOMAIN:x", "'DOMAIN:x"},
      {"Der \"Chef\" kommt", "Der \\\"Chef\\\" kommt"},
      {"schon \\\"da", "schon \\\\\"da"},
      {"   ", "   \r\n"},
      {"", ""},
      {"Zeile 1\r\nZeile 2", "Zeile 1\r\nZeile 2"},
      {"\r\n /", "\r\n/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(Parsed(c.in), c.out);
  }
}

class ComposeTest : public ::testing::Test {
 protected:
  ComposeTest() {
    directory.AddSingle("Empfang", "pc1");
    directory.AddSingle("Buchhaltung 2. Stock", "PC3");
    directory.AddList("EDV", "pc1,pc2");
  }
  static std::vector<std::string> Lines(const std::vector<SendStep>& steps) {
    std::vector<std::string> lines;
    for (const SendStep& step : steps)
      lines.push_back(step.commandLine.empty() ? "BOX: " + step.box.text : step.commandLine);
    return lines;
  }
  RecipientDirectory directory;
};

TEST_F(ComposeTest, CommandLineFormatsPerModeAndTrailer) {
  struct Case {
    int mode;
    bool versandInfo;
    const char* recipients;
    std::vector<std::string> expected;
  } cases[] = {
      {0, false, "pc1", {"net send pc1 Hallo"}},
      {0, true, "pc1", {"net send pc1 Hallo"}},
      {0, false, "pc1,PC3", {"net send pc1 Hallo", "net send PC3 Hallo"}},
      {1, false, "pc1,pc2,", {"net send pc1 Hallo", "net send pc2 Hallo"}},
      {1,
       true,
       "pc1,pc2",
       {"net send pc1 Hallo\n{An:Empfang,pc2}", "net send pc2 Hallo\n{An:Empfang,pc2}"}},
      {1,
       true,
       "PC1,PC3",
       {"net send PC1 Hallo\n{An:PC1,Buchhaltung 2. Stock}",
        "net send PC3 Hallo\n{An:PC1,Buchhaltung 2. Stock}"}},
      {2, false, "BUERO", {"net send /DOMAIN:BUERO Hallo"}},
      {2, true, "BUERO", {"net send /DOMAIN:BUERO Hallo\n{An DOMAIN: \"BUERO\"}"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.mode << " " << c.versandInfo << " " << c.recipients);
    EXPECT_EQ(Lines(ComposeSend(c.mode, c.recipients, "Hallo", c.versandInfo, directory)),
              c.expected);
  }
}

TEST_F(ComposeTest, EmptyRecipientComesBeforeEmptyMessage) {
  const auto steps = ComposeSend(0, "", "", false, directory);
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_EQ(steps[0].box, (BoxRequest{"Bitte einen Stations-Namen als Empfänger angeben.", "Error",
                                      BoxIcon::kStop}));
  const auto empty = ComposeSend(1, "pc1", "", true, directory);
  ASSERT_EQ(empty.size(), 1u);
  EXPECT_EQ(empty[0].box,
            (BoxRequest{"Bitte keine leeren Meldungen verschicken.", "Error", BoxIcon::kStop}));
  EXPECT_THAT(Lines(ComposeSend(0, "pc1", "   ", false, directory)),
              ElementsAre("net send pc1    \r\n"));
}

TEST(PressSendTest, OnlyADomainMessageWaitsForTheCountdown) {
  EXPECT_EQ(PressSend(2, "x"), SendPress::kStartCountdown);
  EXPECT_EQ(PressSend(2, ""), SendPress::kRefuseEmpty);
  EXPECT_EQ(PressSend(2, " "), SendPress::kStartCountdown);  // checked again after the parser
  EXPECT_EQ(PressSend(0, ""), SendPress::kDispatch);         // the composition refuses it
  EXPECT_EQ(PressSend(1, "x"), SendPress::kDispatch);
}

TEST_F(ComposeTest, TheLengthLimitSkipsOnlyTheLongLine) {
  // "net send " + name + " " + message: with the name "ab" that is 12 + message characters.
  const std::string message(2000 - 12, 'x');
  const auto steps = ComposeSend(0, "ab,abc,cd", message, false, directory);
  ASSERT_EQ(steps.size(), 3u);
  EXPECT_EQ(steps[0].commandLine.size(), 2000u);
  EXPECT_TRUE(steps[1].commandLine.empty());
  EXPECT_EQ(steps[1].box, (BoxRequest{"Die maximale Gesamtlänge (IST: 2001 / SOLL: 2000) wurde "
                                      "überschritten.",
                                      "Error", BoxIcon::kStop}));
  EXPECT_EQ(steps[2].commandLine, "net send cd " + message);
}

TEST_F(ComposeTest, EmptyNamesAreSkippedAndInnerBlanksRefused) {
  const auto steps = ComposeSend(1, "pc1,,PC 7, pc2 ,", "Hallo", true, directory);
  EXPECT_THAT(Lines(steps),
              ElementsAre("net send pc1 Hallo\n{An:Empfang, pc2 }",
                          "BOX: Der Empfängername \"PC 7\" enthält ein Leerzeichen und wird "
                          "übersprungen.",
                          "net send  pc2  Hallo\n{An:Empfang, pc2 }"));
  EXPECT_EQ(steps[1].box.title, "Error");
  EXPECT_THAT(Lines(ComposeSend(0, ",", "Hallo", false, directory)), ElementsAre());
}

}  // namespace
}  // namespace botenruf
