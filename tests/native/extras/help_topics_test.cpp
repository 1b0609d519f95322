#include "app/help_topics.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace tarvo {
namespace {

const std::string kMarker = std::string(kHelpMarkerLine) + "\n";

HelpTopic Scan(const std::string& text, long long topic, HelpLoad expected = HelpLoad::kScanned) {
  HelpTopic shown{"previous title", "previous body"};
  EXPECT_EQ(ScanHelpText(text, topic, shown), expected) << text;
  return shown;
}

TEST(HelpMarker, OnlyTheExactFirstLineIsAccepted) {
  struct Case {
    std::string text;
    HelpLoad expected;
  };
  const std::string m(kHelpMarkerLine);
  const Case cases[] = {
      {m + "\n{1090 T\nB}", HelpLoad::kScanned},
      {m, HelpLoad::kScanned},  // no line end at all
      {m + " \n{1090 T\nB}", HelpLoad::kMarkerChanged},
      {" " + m + "\n{1090 T\nB}", HelpLoad::kMarkerChanged},
      {m.substr(0, m.size() - 1) + "\n{1090 T\nB}", HelpLoad::kMarkerChanged},
      {"\n" + m + "\n{1090 T\nB}", HelpLoad::kMarkerChanged},
      {m + std::string(1000, 'x') + "\n{1090 T\nB}", HelpLoad::kMarkerChanged},
      {"", HelpLoad::kMarkerChanged},
  };
  for (const Case& c : cases) {
    HelpTopic shown{"previous title", "previous body"};
    EXPECT_EQ(ScanHelpText(c.text, 1090, shown), c.expected) << c.text.substr(0, 80);
    if (c.expected == HelpLoad::kMarkerChanged) {
      EXPECT_EQ(shown.title, "previous title");
      EXPECT_EQ(shown.body, "previous body");
    }
  }
}

TEST(HelpTopics, HeaderForms) {
  struct Case {
    const char* topics;
    long long topic;
    const char* title;
    const char* body;
  };
  const Case cases[] = {
      {"{1090 Contents\nline one\nline two\n}", 1090, "Contents", "line one\r\nline two\r\n"},
      // No blank after the number: the line feed ends it, the next line is the title.
      {"{1090\nWhole next line\nbody}", 1090, "Whole next line", "body"},
      {"{1090}", 1090, "", ""},
      {"{1090 Closed in the title} after", 1090, "Closed in the title", ""},
      {"  {  1090 Skipped to the digits\nb}", 1090, "Skipped to the digits", "b"},
      // The character after the digits is consumed, whatever it is.
      {"{1090Contents\nb}", 1090, "ontents", "b"},
      // Ten digits end the number without consuming anything.
      {"{1234567890X\nb}", 1234567890, "X", "b"},
      {"{12345678901 T\nb}", 1234567890, "1 T", "b"},
      // Other topics are skipped whole, braces inside them included.
      {"{1091 Other\nx {1090 fake\n}\n{1090 Real\nr}", 1090, "Real", "r"},
      {"{no number}{1090 After\nb}", 1090, "After", "b"},
      {"{\n{1090 Header on the next line of an empty one\n}{1090 Real\nr}", 1090, "Real", "r"},
      // The wanted topic ends the scan; a later header clears nothing.
      {"{1090 First\nf}{1091 Second\ns}", 1090, "First", "f"},
      {"{1090 Unclosed\nto the end\n", 1090, "Unclosed", "to the end\r\n"},
      {"{1091 Other\nx}", 1090, "", ""},
      {"{1093 Third\n\n\nb}", 1093, "Third", "\r\n\r\nb"},
  };
  for (const Case& c : cases) {
    const HelpTopic shown = Scan(kMarker + c.topics, c.topic);
    EXPECT_EQ(shown.title, c.title) << c.topics;
    EXPECT_EQ(shown.body, c.body) << c.topics;
  }
}

TEST(HelpTopics, AFileWithoutHeadersKeepsThePreviousTopic) {
  const HelpTopic shown = Scan(kMarker + "text without topics }\n", 1090);
  EXPECT_EQ(shown.title, "previous title");
  EXPECT_EQ(shown.body, "previous body");
}

TEST(HelpTopics, LongTitleAndBodyAreCutAndTheBraceStillEndsTheTopic) {
  const std::string longTitle(400, 't');
  const std::string longBody(10000, 'b');
  HelpTopic shown = Scan(kMarker + "{1090 " + longTitle + "\n" + longBody + "}{1090 Again\nx}", 1090);
  EXPECT_EQ(shown.title, std::string(kHelpTitleMax, 't'));
  EXPECT_EQ(shown.body, std::string(kHelpBodyMax, 'b'));

  // A line feed that no longer fits as CR LF leaves no half pair behind.
  shown = Scan(kMarker + "{1090 T\n" + std::string(kHelpBodyMax - 1, 'b') + "\n}", 1090);
  EXPECT_EQ(shown.body, std::string(kHelpBodyMax - 1, 'b'));
}

TEST(HelpTopics, ArbitraryBytesStayWithinTheLimits) {
  std::mt19937 random(9);
  const char alphabet[] = {'{', '}', '\n', '\r', ' ', '1', '0', '9', 'a', '\0'};
  for (int round = 0; round < 300; ++round) {
    std::string text = kMarker;
    const size_t length = random() % 30000;
    for (size_t i = 0; i < length; ++i) {
      text.push_back(random() % 4 == 0 ? char(random() % 256) : alphabet[random() % sizeof(alphabet)]);
    }
    HelpTopic shown;
    ASSERT_EQ(ScanHelpText(text, 1090 + random() % 10, shown), HelpLoad::kScanned);
    EXPECT_LE(shown.title.size(), kHelpTitleMax);
    EXPECT_LE(shown.body.size(), kHelpBodyMax);
  }
}

class HelpFile : public ::testing::Test {
 protected:
  std::filesystem::path dir_ = std::filesystem::temp_directory_path() / ("tarvo-help-" + std::to_string(::getpid()));
  void SetUp() override { std::filesystem::create_directories(dir_); }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Write(const std::string& bytes) {
    const auto path = dir_ / kHelpFileName;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }
};

TEST_F(HelpFile, MissingFileKeepsThePreviousTopic) {
  HelpTopic shown{"previous title", "previous body"};
  EXPECT_EQ(LoadHelpTopic((dir_ / "absent.txt").string(), 1090, shown), HelpLoad::kNoFile);
  EXPECT_EQ(shown.title, "previous title");
  EXPECT_EQ(shown.body, "previous body");
}

TEST_F(HelpFile, WindowsLineEndsReadAsLineFeeds) {
  const std::string path =
      Write(std::string(kHelpMarkerLine) + "\r\n{1091 Program functions\r\nfirst\r\nsecond\r\n}\r\n");
  HelpTopic shown;
  ASSERT_EQ(LoadHelpTopic(path, 1091, shown), HelpLoad::kScanned);
  EXPECT_EQ(shown.title, "Program functions");
  EXPECT_EQ(shown.body, "first\r\nsecond\r\n");

  // A carriage return alone stays in the text; one at the very end too.
  const std::string lone = Write(kMarker + "{1091 T\na\rb\r");
  ASSERT_EQ(LoadHelpTopic(lone, 1091, shown), HelpLoad::kScanned);
  EXPECT_EQ(shown.body, "a\rb\r");
}

TEST_F(HelpFile, TrailingBlankAfterTheMarkerIsRefused) {
  HelpTopic shown;
  EXPECT_EQ(LoadHelpTopic(Write(std::string(kHelpMarkerLine) + " \r\n{1090 T\nB}"), 1090, shown),
            HelpLoad::kMarkerChanged);
}

TEST(ShippedHelpFile, HoldsEveryTopicTheMenuAsksFor) {
  for (long long topic : {1090, 1091, 1093, 1094}) {
    HelpTopic shown;
    ASSERT_EQ(LoadHelpTopic(TARVO_SHIPPED_HELP_FILE, topic, shown), HelpLoad::kScanned) << topic;
    EXPECT_FALSE(shown.title.empty()) << topic;
    EXPECT_GT(shown.body.size(), 200u) << topic;
    // Not cut: the topic ends with its closing brace well inside the limit.
    EXPECT_LT(shown.body.size(), kHelpBodyMax - 200) << topic;
  }
}

}  // namespace
}  // namespace tarvo
