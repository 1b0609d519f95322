#include "browser/source_walk.h"

#include <vector>

#include "browser/compilation_messages.h"
#include "browser/text_format.h"

namespace tarvo {

namespace {

struct WalkLevel {
  std::string directory;
  EntryId parent;
  EntryId previous;
  std::vector<FileInfo> listing;
  size_t next = 0;
};

uint32_t Clamp32(uint64_t size) { return size > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(size); }

}  // namespace

bool WalkSource(CompilationContext& context, const std::string& directory, EntryId parent,
                EntryId firstAfter, EntryKind kind, uint64_t& charged) {
  FileSystem& fs = context.fileSystem;
  const char separator = fs.Separator();
  std::vector<WalkLevel> levels;
  levels.push_back({directory, parent, firstAfter, {}, 0});
  fs.ListFolder(directory, levels.back().listing);  // an unreadable folder adds nothing

  while (!levels.empty()) {
    const size_t top = levels.size() - 1;
    if (levels[top].next == levels[top].listing.size()) {
      context.tree.SortChildren(levels[top].parent);
      levels.pop_back();
      continue;
    }
    const FileInfo info = std::move(levels[top].listing[levels[top].next++]);
    const bool isDirectory = info.IsDirectory();
    if (isDirectory && !info.name.empty() && info.name[0] == '.') continue;
    if (!isDirectory && NamesEqual(info.name, "WIN386.SWP")) continue;

    CompilationEntry entry;
    entry.kind = kind;
    entry.date = info.modified;
    entry.size = Clamp32(info.size);
    entry.attributes = info.attributes;
    entry.sourcePath = levels[top].directory;
    const EntryId id = context.tree.InsertEntry(info.name, levels[top].parent, levels[top].previous, entry);
    if (id == kNoEntry) {
      context.user.ShowMessage(FormatText(isDirectory ? kFmtCantAddDirectory : kFmtCantAddFile, {info.name}),
                               kProgramTitle, kMbIconStop);
      return false;
    }
    levels[top].previous = id;
    charged += AddCharge(info.name, entry);
    if (isDirectory) {
      WalkLevel deeper{levels[top].directory + info.name + separator, id, kFirstPosition, {}, 0};
      fs.ListFolder(deeper.directory, deeper.listing);
      levels.push_back(std::move(deeper));
    }
  }
  return true;
}

}  // namespace tarvo
