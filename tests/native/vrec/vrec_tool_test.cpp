// The vrec command-line tool on a disc store: create, record, show, export,
// eject and load, as scripts and end-to-end tests use it.
#include <cstdlib>

#include "vrec_test_support.h"

namespace tarvo::vrec::testing {
namespace {

std::string Tool(const std::string& arguments, const fs::path& output) {
  std::string command = std::string(VREC_TOOL) + " " + arguments + " >" + output.string() + " 2>&1";
  int rc = std::system(command.c_str());
  return (rc == 0 ? "" : "FAILED ") + ReadFile(output);
}

TEST(VrecToolTest, RecordsShowsExportsAndChangesTheTray) {
  TempFolder temp;
  fs::path disc = temp.path() / "d.img";
  fs::path out = temp.path() / "out.txt";
  std::string image(3 * 2048 + 100, 'x');
  image[0] = 'A';
  WriteFile(temp.path() / "s.img", image);
  EXPECT_EQ(Tool("create " + disc.string() + " --kind cdr74", out), "");
  EXPECT_EQ(Tool("record " + disc.string() + " " + (temp.path() / "s.img").string(), out),
            "recorded 4 blocks at 0\n");
  EXPECT_EQ(Tool("record " + disc.string() + " " + (temp.path() / "s.img").string() + " --final", out),
            "recorded 4 blocks at 11700\n");
  std::string shown = Tool("show " + disc.string(), out);
  for (const char* line : {"kind cdr74\n", "status finalised\n", "sessions 2\n", "next-writable none\n",
                           "track 2 session 2 start 11700 size 300 recorded 298 closed mode 4\n", "toc 2 11700\n",
                           "toc lead-out 12000\n"}) {
    EXPECT_NE(shown.find(line), std::string::npos) << line << shown;
  }
  fs::path exported = temp.path() / "s2.iso";
  EXPECT_EQ(Tool("export " + disc.string() + " 2 " + exported.string(), out), "session 2: 298 blocks from 11700\n");
  std::string back = ReadFile(exported);
  ASSERT_EQ(back.size(), 298u * 2048);
  EXPECT_EQ(back.substr(0, image.size()), image);
  EXPECT_EQ(back[image.size()], '\0');

  EXPECT_EQ(Tool("eject " + disc.string(), out), "");
  EXPECT_NE(Tool("show " + disc.string(), out).find("loaded no\n"), std::string::npos);
  EXPECT_EQ(Tool("load " + disc.string(), out), "");
  EXPECT_NE(Tool("show " + disc.string(), out).find("loaded yes\n"), std::string::npos);
  EXPECT_EQ(Tool("create " + disc.string() + " --kind dvd", out).rfind("FAILED usage", 0), 0u);
  EXPECT_EQ(Tool("export " + disc.string() + " 3 x.iso", out).rfind("FAILED vrec: no session 3", 0), 0u);
}

}  // namespace
}  // namespace tarvo::vrec::testing
