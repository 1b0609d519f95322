#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "iso/codepage.h"
#include "iso/iso_names.h"

namespace tarvo {
namespace {

std::string Ucs2(const std::u16string& s) {
  std::string out;
  for (char16_t c : s) out += std::string{char(c >> 8), char(c & 0xFF)};
  return out;
}

struct UniqueCase {
  const char* what;
  std::vector<NameItem> items;
  TreeKind kind;
  std::vector<std::string> expected;
};

TEST(IsoNames, IdentifiersAreMadeUniqueWithinADirectory) {
  const std::string long60(60, 'x');
  const std::string long70a = std::string(70, 'a') + ".txt";
  const std::string long70b = std::string(70, 'a') + "b.txt";
  const UniqueCase cases[] = {
      {"8.3 collision: later one mangled, first kept",
       {{"longfilename1.txt", false}, {"longfilename2.txt", false}, {"other.txt", false}},
       TreeKind::Primary,
       {"LONGFILE.TXT;1", "LONGFIL0.TXT;1", "OTHER.TXT;1"}},
      {"a mangled name avoids one that exists later",
       {{"abcdefghi.c", false}, {"abcdefghj.c", false}, {"abcdefg0.c", false}},
       TreeKind::Primary,
       {"ABCDEFGH.C;1", "ABCDEFG1.C;1", "ABCDEFG0.C;1"}},
      {"short bases get the counter appended",
       {{"a b", false}, {"a+b", false}, {"a-b", false}},
       TreeKind::Primary,
       {"A_B;1", "A_B0;1", "A_B1;1"}},
      {"files and directories share one name space",
       {{"read me", true}, {"read!me", false}},
       TreeKind::Primary,
       {"READ_ME", "READ_ME0;1"}},
      {"directories longer than 8",
       {{"documents1", true}, {"documents2", true}},
       TreeKind::Primary,
       {"DOCUMENT", "DOCUMEN0"}},
      {"Joliet names up to 64 characters are kept",
       {{long60.c_str(), false}},
       TreeKind::Joliet,
       {Ucs2(std::u16string(long60.begin(), long60.end()) + u";1")}},
      {"Joliet cut at 64 keeps the extension; equal cuts made distinct",
       {{long70a, false}, {long70b, false}},
       TreeKind::Joliet,
       {Ucs2(std::u16string(60, u'a') + u".txt;1"), Ucs2(std::u16string(59, u'a') + u"0.txt;1")}},
      {"Joliet compares case-insensitively",
       {{"Read.me", false}, {"READ.ME", false}},
       TreeKind::Joliet,
       {Ucs2(u"Read.me;1"), Ucs2(u"READ0.ME;1")}},
  };
  for (const UniqueCase& c : cases) EXPECT_EQ(DirectoryIdentifiers(c.items, c.kind), c.expected) << c.what;
}

TEST(IsoNames, CodePageToUcs2) {
  struct Case {
    std::string in;
    std::u16string out;
  } cases[] = {
      {"plain", u"plain"},
      {"\xC3\xA9t\xC3\xA9", u"\u00E9t\u00E9"},       // UTF-8 Latin-1 letters: same as widening
      {"\xE2\x82\xAC", u"\u20AC"},                   // the euro sign
      {"\xE6\x97\xA5\xE6\x9C\xAC", u"\u65E5\u672C"},  // CJK
      {"caf\xE9", u"caf\u00E9"},                     // a lone Latin-1 byte is widened
      {"\xF0\x9F\x98\x80", u"_"},                    // outside UCS-2
  };
  for (const Case& c : cases) EXPECT_EQ(CodePageToUcs2(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace tarvo
