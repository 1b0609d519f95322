#include "browser/list_files.h"

#include <unordered_map>
#include <vector>

#include "browser/compilation_messages.h"
#include "browser/file_list.h"
#include "browser/replace_file.h"
#include "browser/text_format.h"

namespace tarvo {

std::string DefaultListPath(const std::string& programDir, int page) {
  return programDir + (page == 0 ? "\\defiso01.dat" : "\\defiso02.dat");
}

int SaveList(const CompilationTree& tree, const std::string& path, CapacityCharger& gauge) {
  const FileList list = FileListFromTree(tree);
  if (!WriteFileReplacing(path, EncodeFileList(list))) return 0;
  if (tree.Empty()) gauge.ResetToDisc();
  return 1;
}

namespace {

// Places the records of a sound list under the root, in file order.
class ListPlacer {
 public:
  ListPlacer(CompilationTree& tree, FileSystem& fileSystem, UserSeam& user)
      : tree_(tree), fileSystem_(fileSystem), user_(user) {}

  void Place(const std::vector<ListRecord>& records) {
    for (const ListRecord& r : records) {
      if (skipping_ && r.level > skipLevel_) continue;
      skipping_ = false;
      if (r.IsMarker()) continue;
      if (r.kind == EntryKind::Local && !SourceExists(r.sourcePath)) {
        SkipFrom(r.level);
        WarnMissing(r);
        continue;
      }
      Insert(r);
    }
  }

 private:
  // Many entries share a folder; each folder is tested once per load.
  bool SourceExists(const std::string& path) {
    const auto [found, added] = exists_.try_emplace(path, false);
    if (added) found->second = fileSystem_.Exists(path);
    return found->second;
  }

  void WarnMissing(const ListRecord& r) {
    if (!warn_) return;
    const std::string text = FormatText(kFmtMissingSource, {r.IsDirectory() ? "Directory" : "File", r.sourcePath});
    warn_ = user_.ShowMessage(text, kProgramTitle, kMbYesNo | kMbIconStop) == kIdYes;
  }

  void SkipFrom(uint32_t level) {
    skipping_ = true;
    skipLevel_ = level;
  }

  void Insert(const ListRecord& r) {
    // chain_[k] is the entry placed last at level k on the current path.
    if (r.level > chain_.size()) {
      user_.ShowMessage(kMsgUnknownError, kProgramTitle, kMbIconExclamation);
      SkipFrom(r.level);
      return;
    }
    chain_.resize(r.level + 1, kNoEntry);
    const EntryId parent = r.level == 0 ? kRootEntry : chain_[r.level - 1];
    const EntryId after = chain_[r.level] == kNoEntry ? kFirstPosition : chain_[r.level];
    CompilationEntry entry;
    entry.kind = r.kind;
    entry.date = r.date;
    entry.size = r.size;
    entry.attributes = r.attributes;
    entry.sourcePath = r.sourcePath;
    const EntryId id = tree_.InsertEntry(r.name, parent, after, entry);
    if (id == kNoEntry) {
      user_.ShowMessage(FormatText(kFmtCantCreateItem, {r.name}), kProgramTitle, kMbIconExclamation);
      SkipFrom(r.level);
      return;
    }
    chain_[r.level] = id;
  }

  CompilationTree& tree_;
  FileSystem& fileSystem_;
  UserSeam& user_;
  std::vector<EntryId> chain_;
  std::unordered_map<std::string, bool> exists_;
  bool warn_ = true;
  bool skipping_ = false;
  uint32_t skipLevel_ = 0;
};

}  // namespace

int LoadList(CompilationTree& tree, const std::string& path, FileSystem& fileSystem, UserSeam& user) {
  tree.Clear();
  FileList list;
  std::string detail;
  switch (ReadFileList(path, list, detail)) {
    case ListStatus::Ok:
      break;
    case ListStatus::NotAList:
      user.ShowMessage(kMsgNotAFileList, kProgramTitle, kMbIconStop);
      return 0;
    case ListStatus::Damaged:
      user.ShowMessage(FormatText(kFmtDamagedList, {detail}), kProgramTitle, kMbIconStop);
      return 0;
    case ListStatus::CantOpen:
    case ListStatus::ShortHeader:
      return 0;
  }
  ListPlacer(tree, fileSystem, user).Place(list.records);
  return 1;
}

}  // namespace tarvo
