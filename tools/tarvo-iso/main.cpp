// tarvo-iso: the headless list and image writer, on the program's own core.
#include <cstdio>
#include <string>
#include <vector>

#include "image_command.h"
#include "tools/tarvo_iso_list.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (!args.empty() && args[0] == "list") return tarvo::RunListCommand(argc - 1, argv + 1);
  if (!args.empty() && args[0] == "image") return tarvo::RunImageCommand({args.begin() + 1, args.end()});
  std::fprintf(stderr, "usage: tarvo-iso list OUT.dat DIR...\n");
  std::fprintf(stderr, "       tarvo-iso image LIST.dat OUT.iso [--label L] [--no-data] [--yes]\n");
  return 2;
}
