#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include "browser/replace_file.h"

namespace tarvo {

bool WriteFileReplacing(const std::string& path, const std::vector<uint8_t>& bytes) {
  const std::string temporary = ReplacementPath(path);
  const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
    if (n <= 0) break;
    written += static_cast<size_t>(n);
  }
  const bool complete = written == bytes.size() && fsync(fd) == 0;
  const bool closed = close(fd) == 0;
  if (!complete || !closed || std::rename(temporary.c_str(), path.c_str()) != 0) {
    unlink(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace tarvo
