// The headless list builder behind "tarvo-iso list": adds folders to an
// empty compilation exactly as the browser's Add does with nothing selected
// (same walk, same rules, same messages) and saves the list.
#pragma once

#include <string>
#include <vector>

#include "browser/file_system.h"
#include "common/user_seam.h"

namespace tarvo {

// Each of `sourceDirs` becomes a directory at the root of the compilation
// holding its walked content; a drive or file-system root is merged into the
// root instead (the answer No to the holding-directory question). Returns 0
// when the list was written, 1 after a message (a missing folder, a name
// clash, a refused entry, a list that can't be written).
int TarvoIsoList(const std::string& outList, const std::vector<std::string>& sourceDirs, FileSystem& fileSystem,
                 UserSeam& user);

// Messages on standard error, prefixed with the program's title; questions
// answered No (Cancel would stop where No goes on).
class ConsoleUser final : public UserSeam {
 public:
  int ShowMessage(const std::string& text, const std::string& caption, unsigned style) override;
};

}  // namespace tarvo
