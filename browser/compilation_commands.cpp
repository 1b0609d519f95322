#include "browser/compilation_commands.h"

#include <algorithm>

#include "browser/compilation_messages.h"
#include "browser/source_walk.h"
#include "browser/text_format.h"

namespace tarvo {

namespace {

void Stop(UserSeam& user, const std::string& text, unsigned style = kMbIconStop) {
  user.ShowMessage(text, kProgramTitle, style);
}

// Shared by Add and New directory: the selection must be readable and not
// Recorded. Returns the target, or kNoEntry after a refusal.
EntryId CheckSelection(CompilationContext& context, EntryId selection) {
  if (selection != kNoEntry) {
    const CompilationEntry* entry = context.tree.Entry(selection);
    if (entry == nullptr) {
      Stop(context.user, kMsgItemUnreadable);
      return kNoEntry;
    }
    if (entry->kind == EntryKind::Recorded) {
      Stop(context.user, kMsgRecordedRefusal);
      return kNoEntry;
    }
  }
  return ResolveTarget(context.tree, selection);
}

// "After the target's first child", or first when it has none.
EntryId SecondPlace(const CompilationTree& tree, EntryId target) {
  const EntryId first = tree.FirstChild(target);
  return first == kNoEntry ? kFirstPosition : first;
}

class BusyCursor {
 public:
  explicit BusyCursor(UserSeam& user) : user_(user) { user_.SetBusy(true); }
  ~BusyCursor() { user_.SetBusy(false); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

 private:
  UserSeam& user_;
};

uint32_t Saturate32(uint64_t amount) {
  return amount > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(amount);
}

std::string WithoutTrailingSeparator(const std::string& path, char separator) {
  if (path.size() > 1 && path.back() == separator) return path.substr(0, path.size() - 1);
  return path;
}

// Inserts the file `selectedSourcePath` + name next to the target's first child.
bool AddFile(CompilationContext& context, const std::string& name, const std::string& folder,
             EntryId target, uint64_t& charged) {
  FileInfo info;
  if (!context.fileSystem.Lookup(folder + name, info)) {
    Stop(context.user, kMsgFileGone);
    return false;
  }
  CompilationEntry entry;
  entry.kind = EntryKind::Local;
  entry.date = info.modified;
  entry.size = info.size > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(info.size);
  entry.attributes = info.attributes;
  entry.sourcePath = folder;
  if (context.tree.InsertEntry(name, target, SecondPlace(context.tree, target), entry) == kNoEntry) {
    Stop(context.user, FormatText(kFmtCantAddFile, {name}));
    return false;
  }
  charged += AddCharge(name, entry);
  context.tree.SortChildren(target);
  return true;
}

// The holding directory of a directory or drive Add; kNoEntry after a
// refusal (reported) or when the user cancelled; `merge` is set when a
// drive's content goes straight into the target.
EntryId HoldingDirectory(CompilationContext& context, const SourceItem& item, const std::string& path,
                         EntryId target, bool& merge, uint64_t& charged) {
  CompilationEntry entry;
  entry.size = 0;
  entry.attributes = 0x10;
  entry.sourcePath = path;
  std::string name = item.displayName;
  merge = false;
  if (item.kind == SourceKind::Directory) {
    FileInfo info;
    if (!context.fileSystem.Lookup(WithoutTrailingSeparator(path, context.fileSystem.Separator()), info)) {
      Stop(context.user, FormatText(kFmtCantAddDirectory, {name}));
      return kNoEntry;
    }
    entry.kind = EntryKind::Local;
    entry.date = info.createdUtc;
  } else {
    const int answer = context.user.ShowMessage(kMsgDriveQuestion, kProgramTitle, kMbYesNoCancel | kMbIconQuestion);
    if (answer == kIdNo) {
      merge = true;
      return kNoEntry;
    }
    if (answer != kIdYes) return kNoEntry;
    const char letter = path.empty() ? 'C' : path[0];
    name = FormatText(kFmtDriveDirectoryName, {std::string_view(&letter, 1)});
    if (!context.user.AskName(name) || name.empty()) return kNoEntry;
    entry.kind = EntryKind::Created;
    entry.date = context.fileSystem.UtcTime();
  }
  const EntryId id = context.tree.InsertEntry(name, target, SecondPlace(context.tree, target), entry);
  if (id == kNoEntry) {
    Stop(context.user, FormatText(kFmtCantAddDirectory, {name}));
    return kNoEntry;
  }
  charged += AddCharge(name, entry);
  return id;
}

}  // namespace

EntryId ResolveTarget(const CompilationTree& tree, EntryId selection) {
  if (selection == kNoEntry || !tree.Contains(selection)) return kRootEntry;
  if (tree.IsDirectory(selection)) return selection;
  return tree.Parent(selection);
}

int AddFromSource(CompilationContext& context, const SourceItem* sourceItem,
                  const std::string& selectedSourcePath, EntryId selection) {
  const EntryId target = CheckSelection(context, selection);
  if (target == kNoEntry) return 0;
  if (sourceItem == nullptr) {
    Stop(context.user, kMsgSelectSource);
    return 0;
  }
  if (sourceItem->displayName.empty()) {
    Stop(context.user, kMsgItemUnreadable);
    return 0;
  }
  if (!context.tree.IsNameFree(target, sourceItem->displayName)) {
    Stop(context.user, kMsgNameTaken);
    return 0;
  }

  BusyCursor busy(context.user);
  uint64_t charged = 0;
  bool completed = false;
  if (sourceItem->kind == SourceKind::File) {
    completed = AddFile(context, sourceItem->displayName, selectedSourcePath, target, charged);
  } else {
    bool merge = false;
    const EntryId holder = HoldingDirectory(context, *sourceItem, selectedSourcePath, target, merge, charged);
    if (holder != kNoEntry) {
      completed = WalkSource(context, selectedSourcePath, holder, kFirstPosition, EntryKind::Local, charged);
    } else if (merge) {
      completed = WalkSource(context, selectedSourcePath, target, SecondPlace(context.tree, target),
                             EntryKind::Local, charged);
    }
  }
  // What a stopped walk inserted stays in the tree, so it is charged too:
  // removing it later gives it back.
  if (completed || charged > 0) {
    context.tree.SortChildren(kRootEntry);
    context.gauge.ChargeAdd(Saturate32(charged));
  }
  return completed ? 1 : 0;
}

int ImportRecorded(CompilationContext& context, const std::string& recorderRoot) {
  uint64_t ignored = 0;
  const bool completed = WalkSource(context, recorderRoot, kRootEntry, SecondPlace(context.tree, kRootEntry),
                                    EntryKind::Recorded, ignored);
  context.tree.SortChildren(kRootEntry);
  return completed ? 1 : 0;
}

EntryId MakeDirectory(CompilationContext& context, const std::string& name, EntryId selection) {
  if (name.empty()) return kNoEntry;
  const EntryId target = CheckSelection(context, selection);
  if (target == kNoEntry) return kNoEntry;
  if (!context.tree.IsNameFree(target, name)) {
    Stop(context.user, kMsgNameTaken);
    return kNoEntry;
  }
  CompilationEntry entry;
  entry.kind = EntryKind::Created;
  entry.date = context.fileSystem.LocalTime();
  entry.attributes = 0x10;
  const EntryId id = context.tree.InsertEntry(name, target, SecondPlace(context.tree, target), entry);
  if (id == kNoEntry) {
    Stop(context.user, FormatText(kFmtCantAddDirectory, {name}));
    return kNoEntry;
  }
  context.tree.SortChildren(kRootEntry);
  return id;
}

int RemoveSelected(CompilationContext& context, EntryId selection) {
  if (selection == kNoEntry) return 0;
  const CompilationEntry* entry = context.tree.Entry(selection);
  if (entry == nullptr) {
    Stop(context.user, kMsgItemUnreadable);
    return 0;
  }
  if (entry->kind != EntryKind::Recorded) {
    BusyCursor busy(context.user);
    // Recorded entries inside the subtree were never charged; nor are they given back.
    context.tree.DeleteSubtree(selection, [&](EntryId, const CompilationEntry& deleted) {
      if (deleted.kind != EntryKind::Recorded) context.gauge.ChargeRemove(deleted);
    });
    return 1;
  }
  if (context.user.ShowMessage(kMsgRemoveRecorded, kProgramTitle, kMbYesNo | kMbIconQuestion) != kIdYes)
    return 0;
  context.tree.DeleteSubtree(selection);
  return 1;
}

void ClearTree(CompilationTree& tree) { tree.Clear(); }

}  // namespace tarvo
