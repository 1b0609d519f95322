// `tarvo-iso image LIST.dat OUT.iso [--label L] [--no-data] [--yes]`: the
// "Create ISO file" page's recording, headless.
#pragma once

#include <string>
#include <vector>

namespace tarvo {

int RunImageCommand(const std::vector<std::string>& args);

}  // namespace tarvo
