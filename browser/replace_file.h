// Writing a file so that a failure never destroys what was there: the bytes
// go to a file beside the target, are flushed to the disk, and that file is
// then renamed over the target.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tarvo {

// False when the file beside the target can't be created or written, or the
// rename fails; the target is then as it was and no temporary file is left.
bool WriteFileReplacing(const std::string& path, const std::vector<uint8_t>& bytes);

// The name of the file written beside `path` before the rename.
inline std::string ReplacementPath(const std::string& path) { return path + ".tmp~"; }

}  // namespace tarvo
