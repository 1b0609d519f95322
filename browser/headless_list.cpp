#include "browser/headless_list.h"

#include <cstdio>

#include "browser/compilation_commands.h"
#include "browser/list_files.h"
#include "browser/text_format.h"

namespace tarvo {

namespace {

bool IsRoot(const std::string& path, char separator) {
  if (path.size() == 1 && path[0] == separator) return true;                        // "/"
  return path.size() == 3 && path[1] == ':' && path[2] == separator;              // "C:\\"
}

std::string LastComponent(const std::string& path, char separator) {
  const size_t cut = path.find_last_of(separator);
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

}  // namespace

int ConsoleUser::ShowMessage(const std::string& text, const std::string& caption, unsigned style) {
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
  const unsigned buttons = style & 0xF;
  return (buttons == kMbYesNo || buttons == kMbYesNoCancel) ? kIdNo : kIdOk;
}

int TarvoIsoList(const std::string& outList, const std::vector<std::string>& sourceDirs, FileSystem& fileSystem,
                 UserSeam& user) {
  CompilationTree tree;
  NoCharges gauge;
  CompilationContext context{tree, fileSystem, user, gauge};
  const char separator = fileSystem.Separator();
  for (const std::string& each : sourceDirs) {
    const std::string full = fileSystem.FullPath(each);
    FileInfo info;
    const bool root = !full.empty() && IsRoot(full, separator);
    if (full.empty() || (!root && (!fileSystem.Lookup(full, info) || !info.IsDirectory()))) {
      user.ShowMessage(FormatText("Can't find a directory: %s", {each}), kProgramTitle, kMbIconStop);
      return 1;
    }
    SourceItem item;
    item.kind = root ? SourceKind::DriveRoot : SourceKind::Directory;
    item.displayName = root ? full : LastComponent(full, separator);
    if (!AddFromSource(context, &item, WithTrailingSeparator(full, separator), kNoEntry)) return 1;
  }
  if (!SaveList(tree, outList, gauge)) {
    user.ShowMessage(FormatText("Can't write the list file: %s", {outList}), kProgramTitle, kMbIconStop);
    return 1;
  }
  return 0;
}

}  // namespace tarvo
