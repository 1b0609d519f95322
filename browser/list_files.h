// Saving and loading the compilation as list files, and the list paths the
// browser and the recorder share.
#pragma once

#include <string>

#include "browser/capacity_charges.h"
#include "browser/compilation_tree.h"
#include "browser/file_system.h"
#include "common/user_seam.h"

namespace tarvo {

// The list last loaded or saved by the browser; the recorder reads it.
// Empty when the program starts.
inline std::string currentListPath;

// The default list of a tab group: "defiso01.dat" for the recording tab
// (page 0), "defiso02.dat" for every other, in the program directory.
std::string DefaultListPath(const std::string& programDir, int page);

// Writes the whole tree to `path`, crash-safely (beside it, then renamed
// over it). Saving an empty tree resets the gauge to the disc's figures.
// Returns 1, or 0 without a message when the file can't be written.
int SaveList(const CompilationTree& tree, const std::string& path, CapacityCharger& gauge);

// Empties the tree and rebuilds it from `path` in file order. Returns 0
// without a message when the file can't be opened or its header is short;
// a wrong magic or a damaged file is refused with a message and leaves the
// tree empty. A Local entry whose source is gone is left out with its
// subtree, and the user is warned until they answer No.
int LoadList(CompilationTree& tree, const std::string& path, FileSystem& fileSystem, UserSeam& user);

}  // namespace tarvo
