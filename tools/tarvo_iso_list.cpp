#include "tools/tarvo_iso_list.h"

#include <cstdio>
#include <string>
#include <vector>

#include "browser/headless_list.h"

namespace tarvo {

int RunListCommand(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: tarvo-iso list OUT.dat DIR...\n");
    return 2;
  }
  const std::string outList = argv[1];
  const std::vector<std::string> sourceDirs(argv + 2, argv + argc);
  ConsoleUser user;
  return TarvoIsoList(outList, sourceDirs, *MakeSystemFileSystem(), user);
}

}  // namespace tarvo
