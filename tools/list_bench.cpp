// tarvo-list-bench DIR WORK: times the browser's Add of DIR, saving its list
// into the folder WORK and loading it back, and prints one table row
// (milliseconds). Run by scripts/bench-list.sh natively and under Wine.
#include <chrono>
#include <cstdio>
#include <string>

#include "browser/capacity_charges.h"
#include "browser/compilation_commands.h"
#include "browser/headless_list.h"
#include "browser/list_files.h"

namespace {

double Since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tarvo;
  if (argc != 4) {
    std::fprintf(stderr, "usage: tarvo-list-bench LABEL DIR WORK\n");
    return 2;
  }
  auto fs = MakeSystemFileSystem();
  ConsoleUser user;
  NoCharges gauge;
  CompilationTree tree;
  CompilationContext context{tree, *fs, user, gauge};
  const std::string dir = fs->FullPath(argv[2]);
  const std::string list = WithTrailingSeparator(fs->FullPath(argv[3]), fs->Separator()) + "bench.dat";
  const size_t cut = dir.find_last_of(fs->Separator());
  const SourceItem item{dir.substr(cut + 1), SourceKind::Directory};

  auto start = std::chrono::steady_clock::now();
  if (!AddFromSource(context, &item, WithTrailingSeparator(dir, fs->Separator()), kNoEntry)) return 1;
  const double add = Since(start);
  const size_t entries = tree.EntryCount();

  start = std::chrono::steady_clock::now();
  if (!SaveList(tree, list, gauge)) return 1;
  const double save = Since(start);

  CompilationTree loaded;
  start = std::chrono::steady_clock::now();
  if (!LoadList(loaded, list, *fs, user)) return 1;
  const double load = Since(start);
  if (loaded.EntryCount() != entries) return 1;

  std::printf("| %-8s | %8zu | %9.1f | %9.1f | %9.1f |\n", argv[1], entries, add, save, load);
  return 0;
}
