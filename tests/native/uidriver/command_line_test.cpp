// The UI driver's line protocol: what a harness quotes comes back unchanged,
// and malformed lines are refused with a reason.
#include "command_line.h"

#include <gtest/gtest.h>

namespace tarvo::uidriver {
namespace {

TEST(CommandLine, QuotedWordsComeBackUnchanged) {
    const std::vector<std::string> words = {"set-text", "--text", "", "a b", "say \"hi\"", "back\\slash",
                                            "line\nbreak\ttab\rcr", "C:\\dir\\file.iso", "Grüße"};
    std::string line;
    for (const auto& w : words) line += QuoteWord(w) + "  ";
    std::vector<std::string> back;
    std::string error;
    ASSERT_TRUE(SplitWords(line, &back, &error)) << error;
    EXPECT_EQ(back, words);
}

TEST(CommandLine, SplitsPlainAndMixedWords) {
    std::vector<std::string> words;
    std::string error;
    ASSERT_TRUE(SplitWords("  click --title Tarvo\t--id 305\r\n", &words, &error));
    EXPECT_EQ(words, (std::vector<std::string>{"click", "--title", "Tarvo", "--id", "305"}));
    ASSERT_TRUE(SplitWords("--text pre\"fix with\"post", &words, &error));
    EXPECT_EQ(words, (std::vector<std::string>{"--text", "prefix withpost"}));
    EXPECT_FALSE(SplitWords("set-text --text \"open", &words, &error));
    EXPECT_EQ(error, "unterminated quote");
}

TEST(CommandLine, ParsesOptionsAndRefusesMalformedOnes) {
    Command command;
    std::string error;
    ASSERT_TRUE(ParseCommand({"click", "--title", "Tarvo", "--id", "0x131", "--text", "--not-an-option"}, &command,
                             &error));
    EXPECT_EQ(command.name, "click");
    EXPECT_EQ(command.Get("title"), "Tarvo");
    EXPECT_EQ(command.Get("text"), "--not-an-option");  // every option takes the next word as its value
    bool ok = true;
    EXPECT_EQ(command.GetInt("id", 0, &ok), 0x131);
    EXPECT_EQ(command.GetInt("missing", -5, &ok), -5);
    EXPECT_TRUE(ok);
    command.options["id"] = "30x";
    EXPECT_EQ(command.GetInt("id", 0, &ok), 0);
    EXPECT_FALSE(ok);

    struct Bad {
        std::vector<std::string> words;
        std::string error;
    };
    const Bad bad[] = {{{}, "empty command"},
                       {{"click", "305"}, "expected an option (--name value), got '305'"},
                       {{"click", "--id"}, "option --id has no value"},
                       {{"click", "--", "x"}, "expected an option (--name value), got '--'"}};
    for (const Bad& b : bad) {
        EXPECT_FALSE(ParseCommand(b.words, &command, &error));
        EXPECT_EQ(error, b.error);
    }
}

TEST(CommandLine, RepliesAreOneLineOfJson) {
    JsonObject o;
    o.AddBool("ok", true).Add("text", "a\"b\\c\nd\x01").Add("n", -3).AddRaw("items",
                                                                           JsonArray({JsonString("x"), "1"}));
    EXPECT_EQ(o.Text(), "{\"ok\":true,\"text\":\"a\\\"b\\\\c\\nd\\u0001\",\"n\":-3,\"items\":[\"x\",1]}");
    EXPECT_EQ(JsonObject().Text(), "{}");
}

}  // namespace
}  // namespace tarvo::uidriver
