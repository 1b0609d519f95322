#include "app/browser_command.h"

namespace tarvo {

std::string BrowserProgramFromCommand(std::string_view command) {
  if (!command.empty() && command.front() == '"') {
    const size_t close = command.find('"', 1);
    if (close == std::string_view::npos) return {};
    return std::string(command.substr(1, close - 1));
  }
  return std::string(command.substr(0, command.find(' ')));
}

}  // namespace tarvo
