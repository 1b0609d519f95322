// tarvo-iso: the headless list and image writer, on the program's own core.
//   tarvo-iso list OUT.dat DIR...
//   tarvo-iso image LIST.dat OUT.iso [--label L] [--no-data] [--yes]
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "image_command.h"
#include "tools/tarvo_iso_list.h"

int main(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "list") == 0) return tarvo::RunListCommand(argc - 1, argv + 1);
  if (argc >= 2 && std::strcmp(argv[1], "image") == 0)
    return tarvo::RunImageCommand(std::vector<std::string>(argv + 2, argv + argc));
  std::fprintf(stderr,
               "usage: tarvo-iso list OUT.dat DIR...\n"
               "       tarvo-iso image LIST.dat OUT.iso [--label L] [--no-data] [--yes]\n");
  return 2;
}
