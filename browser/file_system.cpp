#include "browser/file_system.h"

namespace tarvo {

std::string WithTrailingSeparator(const std::string& directory, char separator) {
  if (!directory.empty() && directory.back() == separator) return directory;
  return directory + separator;
}

}  // namespace tarvo
