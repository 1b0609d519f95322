// The browser's editing commands on the compilation: Add, New directory,
// Remove, the import of a disc's recorded content, and clearing. They take
// the disc tree's selection as an argument (kNoEntry for none), talk to the
// user, the file system and the capacity gauge through their seams, and
// return 1 for success and 0 when they stopped or changed nothing.
#pragma once

#include <string>

#include "browser/capacity_charges.h"
#include "browser/compilation_tree.h"
#include "browser/file_system.h"
#include "common/user_seam.h"

namespace tarvo {

struct CompilationContext {
  CompilationTree& tree;
  FileSystem& fileSystem;
  UserSeam& user;
  CapacityCharger& gauge;
};

// The item selected in the source tree.
enum class SourceKind : uint8_t { File, Directory, DriveRoot };
struct SourceItem {
  std::string displayName;  // a drive shows its root and label
  SourceKind kind = SourceKind::File;
};

// Where insertions go for a disc-tree selection: the root for none, a
// selected directory itself, the directory holding a selected file.
EntryId ResolveTarget(const CompilationTree& tree, EntryId selection);

// The Add command. `sourceItem` is null when nothing is selected in the
// source tree; `selectedSourcePath` ends in the separator: the folder that
// holds a file, a directory's own path, a drive's root. A file is inserted
// next to the target's first child; a directory (or a drive, with or
// without a holding directory) is walked depth first, dot-directories and
// WIN386.SWP left out. Charges the gauge once with everything inserted,
// also when a refused insertion stopped the walk.
int AddFromSource(CompilationContext& context, const SourceItem* sourceItem,
                  const std::string& selectedSourcePath, EntryId selection);

// Puts what the disc in the recorder holds (through its drive root, such as
// "E:\\") at the root as Recorded entries; charges nothing.
int ImportRecorded(CompilationContext& context, const std::string& recorderRoot);

// New directory, after the name dialog: a Created directory placed after the
// target's first child; only the root entries are sorted. Returns the new
// entry, or kNoEntry when refused.
EntryId MakeDirectory(CompilationContext& context, const std::string& name, EntryId selection);

// Remove: deletes the selected subtree, giving the gauge back every entry of
// it that is not Recorded; a Recorded selection is deleted only when the user
// confirms, and charges nothing.
int RemoveSelected(CompilationContext& context, EntryId selection);

// Deletes everything without charging (loading a list, closing the browser).
void ClearTree(CompilationTree& tree);

}  // namespace tarvo
