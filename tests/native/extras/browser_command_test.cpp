#include "app/browser_command.h"

#include <gtest/gtest.h>

namespace tarvo {
namespace {

TEST(BrowserCommand, ProgramOfTheOpenCommand) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\web\\web.exe %1", "C:\\web\\web.exe"},
      {"C:\\web\\web.exe", "C:\\web\\web.exe"},
      {"\"C:\\Program Files\\Web\\web.exe\" -osint -url \"%1\"", "C:\\Program Files\\Web\\web.exe"},
      {"\"C:\\Program Files\\Web\\web.exe\"", "C:\\Program Files\\Web\\web.exe"},
      {"\"C:\\Program Files\\unclosed", ""},
      {"", ""},
      {" leading blank", ""},
  };
  for (const auto& [command, program] : cases) EXPECT_EQ(BrowserProgramFromCommand(command), program) << command;
}

}  // namespace
}  // namespace tarvo
