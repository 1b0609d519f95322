// A file of this process for harnesses whose code under test reads a path:
// in /dev/shm when it is there (memory, so the runs stay fast), else /tmp.
// Removed when the process exits normally.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

inline std::vector<std::string>& FuzzScratchFiles() {
  static std::vector<std::string> files;
  return files;
}

inline std::string FuzzScratchPath(const char* suffix) {
  const char* folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  const std::string path = std::string(folder) + "/tarvo-fuzz-" + std::to_string(getpid()) + suffix;
  if (FuzzScratchFiles().empty())
    std::atexit([] {
      for (const std::string& file : FuzzScratchFiles()) std::remove(file.c_str());
    });
  FuzzScratchFiles().push_back(path);
  return path;
}
