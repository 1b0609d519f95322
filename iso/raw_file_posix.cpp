#include "iso/raw_file.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include "iso/file_access.h"

namespace tarvo {

bool RawFile::Open(const std::string& path, Mode mode) {
  Close();
  const std::string native = NativePath(path);
  fd_ = mode == Mode::Read ? ::open(native.c_str(), O_RDONLY | O_CLOEXEC)
                           : ::open(native.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
#ifdef POSIX_FADV_SEQUENTIAL
  if (fd_ >= 0 && mode == Mode::Read) ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
#endif
  return fd_ >= 0;
}

bool RawFile::IsOpen() const { return fd_ >= 0; }

size_t RawFile::Read(void* buffer, size_t n) {
  size_t got = 0;
  while (got < n) {
    const ssize_t r = ::read(fd_, static_cast<char*>(buffer) + got, n - got);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) break;
    got += static_cast<size_t>(r);
  }
  return got;
}

bool RawFile::Write(const void* buffer, size_t n) {
  size_t done = 0;
  while (done < n) {
    const ssize_t r = ::write(fd_, static_cast<const char*>(buffer) + done, n - done);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) return false;
    done += static_cast<size_t>(r);
  }
  return true;
}

bool RawFile::Close() {
  if (fd_ < 0) return true;
  const bool ok = ::close(fd_) == 0;
  fd_ = -1;
  return ok;
}

}  // namespace tarvo
