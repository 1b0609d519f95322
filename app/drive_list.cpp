#include "app/drive_list.h"

#include <cctype>

namespace tarvo {

std::vector<DriveRoot> ParseDriveRoots(const char* buffer, size_t length,
                                       const std::function<uint32_t(const std::string&)>& typeOf) {
  std::vector<DriveRoot> roots;
  const size_t limit = length < 255 ? length : 255;
  size_t at = 0;
  while (at < limit && buffer[at] != '\0' && int(roots.size()) < kMaxDriveRoots) {
    DriveRoot entry;
    while (at < limit && buffer[at] != '\0') {
      if (entry.root.size() < 9) entry.root.push_back(char(std::toupper(static_cast<unsigned char>(buffer[at]))));
      ++at;
    }
    ++at;  // the NUL that ends this root
    entry.type = typeOf(entry.root);
    roots.push_back(std::move(entry));
  }
  return roots;
}

DriveListPlan PlanDriveList(const std::vector<DriveRoot>& roots, const std::vector<DriveSummary>& drives) {
  DriveListPlan plan;
  int chosen = -1;
  for (size_t i = 0; i < roots.size(); ++i) {
    if (roots[i].type != kDriveTypeCdrom) continue;
    const size_t k = plan.items.size();
    if (k >= drives.size()) break;
    plan.items.push_back({"CD-ROM [" + roots[i].root + "] - " + drives[k].identity, int(i)});
    if (chosen == -1 && (drives[k].canWriteCdRw || drives[k].canWriteCdR)) chosen = int(k);
  }
  plan.selectedDrive = chosen == -1 ? 0 : chosen;
  if (size_t(plan.selectedDrive) < plan.items.size()) plan.selectedRootIndex = plan.items[plan.selectedDrive].rootIndex;
  return plan;
}

}  // namespace tarvo
