// The compilation: what goes on the disc, as an ordered tree of directories
// and files. Each node carries its name on the disc and a CompilationEntry
// saying where its data comes from. The browser's disc tree mirrors this
// model; list files persist it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "browser/system_time.h"

namespace tarvo {

enum class EntryKind : uint8_t {
  Local = 0,            // taken from a drive of the machine
  Recorded = 1,         // already on the disc from an earlier session
  EmptyDirMarker = 50,  // '2': only in list files, after an empty directory
  Created = 100,        // 'd': a directory made in the browser
};

struct CompilationEntry {
  EntryKind kind = EntryKind::Local;
  SystemTime date;
  uint32_t size = 0;
  uint32_t attributes = 0;  // bit 0x10 makes the entry a directory
  std::string sourcePath;   // see AddFromSource for what it holds per origin

  bool IsDirectory() const { return (attributes & 0x10) != 0; }
};

// Stable for the life of a node; never reused until ClearTree.
using EntryId = uint32_t;
inline constexpr EntryId kRootEntry = 0;
inline constexpr EntryId kNoEntry = 0xFFFFFFFF;
// The `after` argument of InsertEntry meaning "first under the parent".
inline constexpr EntryId kFirstPosition = kNoEntry;

// Limits the tree keeps so that every tree it holds can be written to a list
// file and recorded: names and source paths fit their 255-byte list fields,
// a file stays below 2 GiB (32-bit sizes that every reader takes as signed),
// and the deepest entry leaves one level for an empty-directory marker.
inline constexpr size_t kMaxNameBytes = 255;
inline constexpr size_t kMaxSourcePathBytes = 255;
inline constexpr uint32_t kMaxFileSize = 0x7FFFFFFF;
inline constexpr uint32_t kMaxEntryLevel = 254;

// Why `name` and `entry` can't be a node of the tree, or nullptr when they
// can: an empty name, ".", "..", a name with a NUL or a path separator, a
// name or source path over 255 bytes, a file of 2 GiB or more.
const char* EntryProblem(std::string_view name, const CompilationEntry& entry);
const char* EntryProblem(std::string_view name, std::string_view sourcePath, uint32_t size, uint32_t attributes);

// Case-insensitive order of names, as the tree control sorts them (ASCII
// letters folded, every other byte compared by value).
int CompareNames(std::string_view a, std::string_view b);
bool NamesEqual(std::string_view a, std::string_view b);

// Told about every change, so that a view can mirror the tree.
class CompilationObserver {
 public:
  virtual ~CompilationObserver() = default;
  virtual void EntryInserted(EntryId id) {}
  virtual void EntryDeleting(EntryId id) {}  // before its children are gone
  virtual void ChildrenSorted(EntryId parent) {}
  virtual void TreeCleared() {}
};

class CompilationTree {
 public:
  CompilationTree();

  // Inserts a node under `parent` (the root or a directory) directly after
  // its child `after`, or first for kFirstPosition. Returns the new id, or
  // kNoEntry when the parent or position is not valid, the entry breaks a
  // limit (EntryProblem), or the node would lie deeper than kMaxEntryLevel.
  EntryId InsertEntry(std::string_view name, EntryId parent, EntryId after,
                      const CompilationEntry& entry);

  // True when no child of `target` has `name`, compared case-insensitively.
  bool IsNameFree(EntryId target, std::string_view name) const;

  // Puts the children of `parent` in CompareNames order (stable).
  void SortChildren(EntryId parent);

  // Deletes `id` and its subtree; `visit` (may be empty) sees every entry
  // before it goes, the node itself first.
  template <typename Visit>
  void DeleteSubtree(EntryId id, Visit&& visit);
  void DeleteSubtree(EntryId id);

  // Deletes every node; charges nothing.
  void Clear();

  // Navigation. kNoEntry where there is none; the root has no entry.
  bool Contains(EntryId id) const;
  const CompilationEntry* Entry(EntryId id) const;
  const std::string& Name(EntryId id) const;
  EntryId Parent(EntryId id) const;
  EntryId FirstChild(EntryId id) const;
  EntryId NextSibling(EntryId id) const;
  EntryId PreviousSibling(EntryId id) const;
  std::vector<EntryId> Children(EntryId id) const;
  // Nesting level: entries at the root are level 0.
  uint32_t Level(EntryId id) const;
  bool IsDirectory(EntryId id) const;  // the root counts as one
  bool Empty() const { return FirstChild(kRootEntry) == kNoEntry; }
  size_t EntryCount() const { return liveCount_; }

  void SetObserver(CompilationObserver* observer) { observer_ = observer; }

 private:
  struct Node {
    std::string name;
    CompilationEntry entry;
    EntryId parent = kNoEntry;
    EntryId firstChild = kNoEntry;
    EntryId lastChild = kNoEntry;
    EntryId previous = kNoEntry;
    EntryId next = kNoEntry;
    uint32_t depth = 0;  // root 0, its children 1
    bool alive = false;
  };

  void Unlink(EntryId id);
  void Release(EntryId id);
  std::vector<EntryId> SubtreePreOrder(EntryId id) const;

  std::vector<Node> nodes_;
  size_t liveCount_ = 0;
  CompilationObserver* observer_ = nullptr;
};

template <typename Visit>
void CompilationTree::DeleteSubtree(EntryId id, Visit&& visit) {
  if (id == kRootEntry || !Contains(id)) return;
  const std::vector<EntryId> order = SubtreePreOrder(id);
  for (EntryId each : order) visit(each, nodes_[each].entry);
  if (observer_) observer_->EntryDeleting(id);
  Unlink(id);
  for (EntryId each : order) Release(each);
}

}  // namespace tarvo
