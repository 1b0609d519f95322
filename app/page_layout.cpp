#include "app/page_layout.h"

#include <algorithm>

namespace tarvo {
namespace {

// Inclusive id ranges touch only the ids that exist in the template.
void AddRange(std::vector<int>& out, int first, int last) {
  for (int id : MainDialogControlIds()) {
    if (id >= first && id <= last) out.push_back(id);
  }
}

void AddRangeExcept(std::vector<int>& out, int first, int last, std::initializer_list<int> except) {
  for (int id : MainDialogControlIds()) {
    if (id >= first && id <= last && std::find(except.begin(), except.end(), id) == except.end()) out.push_back(id);
  }
}

}  // namespace

const std::vector<int>& MainDialogControlIds() {
  static const std::vector<int> ids = {2,   9,   100, 101, 199, 200, 201, 202, 203, 204, 205, 206,
                                       207, 208, 209, 210, 212, 213, 214, 215, 290, 299, 300, 301,
                                       302, 303, 304, 305, 306, 307, 308, 400, 401, 402, 404, 405,
                                       500, 501, 502};
  return ids;
}

PageLayout LayoutForPage(int page, const Settings& settings, bool canStart) {
  PageLayout l;
  switch (page) {
    case kPageRecording:
      AddRange(l.shown, 300, 308);
      AddRange(l.shown, 500, 502);
      l.shown.push_back(290);
      AddRange(l.hidden, 400, 403);
      AddRange(l.hidden, 199, 215);
      l.hidden.push_back(299);
      l.hidden.push_back(306);
      l.texts = {{500, "CD-R/W Recording"},
                 {304, "Set writting speed. Look at your CD-R/W disk."},
                 {302, "Multi session mode."},
                 {305, "Start Recording - Burning CD-R/W"}};
      l.checks = {{302, settings.multiSession != 0}, {307, settings.copyFlag != 0}};
      break;
    case kPageErase:
      AddRange(l.shown, 400, 403);
      AddRange(l.shown, 500, 502);
      l.shown.insert(l.shown.end(), {290, 304, 305});
      AddRangeExcept(l.hidden, 299, 308, {304, 305});
      AddRange(l.hidden, 199, 215);
      l.hidden.push_back(303);
      l.texts = {{304, "Set erasing speed. Look at your CD-RW disk."},
                 {500, "CD-RW Erase"},
                 {305, "Erase CD-RW Now"}};
      break;
    case kPageIsoFile:
      AddRange(l.shown, 299, 308);
      AddRange(l.shown, 500, 502);
      AddRange(l.hidden, 400, 403);
      AddRange(l.hidden, 199, 215);
      l.hidden.push_back(307);
      l.hidden.push_back(290);
      l.texts = {{500, "Create ISO-9660 file"},
                 {304, "ISO-9660 File name"},
                 {302, "Save all files into ISO-9660 file"},
                 {305, "Create ISO-9660 file Now"}};
      l.checks = {{302, settings.includeFileData != 0}};
      break;
    case kPageInformation:
      AddRange(l.shown, 199, 215);
      AddRange(l.hidden, 299, 308);
      AddRange(l.hidden, 400, 403);
      AddRange(l.hidden, 500, 502);
      l.hidden.push_back(290);
      break;
    default:
      break;
  }
  l.enableAdd = page == kPageIsoFile ? true : canStart;
  l.enableStart = l.enableAdd;
  return l;
}

}  // namespace tarvo
