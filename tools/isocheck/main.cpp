// isocheck IMAGE [--session-start LBA] [--allow-short]
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "isocheck.h"

int main(int argc, char** argv) {
  tarvo::IsoCheckOptions options;
  const char* image = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--session-start") == 0 && i + 1 < argc) {
      options.sessionStart = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 10));
    } else if (std::strcmp(argv[i], "--allow-short") == 0) {
      options.allowShort = true;
    } else if (image == nullptr && argv[i][0] != '-') {
      image = argv[i];
    } else {
      image = nullptr;
      break;
    }
  }
  if (image == nullptr) {
    std::fprintf(stderr, "usage: isocheck IMAGE [--session-start LBA] [--allow-short]\n");
    return 2;
  }
  const tarvo::IsoCheckReport report = tarvo::CheckIsoImage(image, options);
  for (const std::string& problem : report.problems) std::printf("%s: %s\n", image, problem.c_str());
  if (!report.ok()) return 1;
  std::printf("%s: ok, volume space size %u, %u directories and %u files per tree\n", image,
              report.volumeSpaceSize, report.directories, report.files);
  return 0;
}
