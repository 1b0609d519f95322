#include "app/page_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

namespace tarvo {
namespace {

// Visibility after applying a page's layout to a dialog whose controls were
// all visible.
std::set<int> VisibleAfter(const PageLayout& l) {
  std::set<int> visible(MainDialogControlIds().begin(), MainDialogControlIds().end());
  for (int id : l.shown) visible.insert(id);
  for (int id : l.hidden) visible.erase(id);
  return visible;
}

TEST(PageLayout, EachPageShowsExactlyItsControls) {
  const std::set<int> always = {2, 9, 100, 101, 404, 405};
  const std::map<int, std::set<int>> pageOnly = {
      {kPageRecording, {290, 300, 301, 302, 303, 304, 305, 307, 308, 500, 501, 502}},
      {kPageErase, {290, 304, 305, 400, 401, 402, 500, 501, 502}},
      {kPageIsoFile, {299, 300, 301, 302, 303, 304, 305, 306, 308, 500, 501, 502}},
      {kPageInformation, {199, 200, 201, 202, 203, 204, 205, 206, 207, 208, 209, 210, 212, 213, 214, 215}},
  };
  for (const auto& [page, expected] : pageOnly) {
    std::set<int> want = expected;
    want.insert(always.begin(), always.end());
    EXPECT_EQ(VisibleAfter(LayoutForPage(page, Settings{}, false)), want) << "page " << page;
  }
}

TEST(PageLayout, TextsChecksAndEnabling) {
  Settings s;
  s.multiSession = 0;
  s.copyFlag = 1;
  s.includeFileData = 1;
  auto text = [](const PageLayout& l, int id) {
    for (const auto& t : l.texts)
      if (t.id == id) return t.text;
    return std::string("<none>");
  };
  auto check = [](const PageLayout& l, int id) {
    for (const auto& c : l.checks)
      if (c.id == id) return c.checked ? 1 : 0;
    return -1;
  };
  PageLayout rec = LayoutForPage(kPageRecording, s, false);
  EXPECT_EQ(text(rec, 304), "Set writting speed. Look at your CD-R/W disk.");
  EXPECT_EQ(text(rec, 302), "Multi session mode.");
  EXPECT_EQ(text(rec, 305), "Start Recording - Burning CD-R/W");
  EXPECT_EQ(check(rec, 302), 0);
  EXPECT_EQ(check(rec, 307), 1);
  EXPECT_FALSE(rec.enableStart);

  PageLayout erase = LayoutForPage(kPageErase, s, true);
  EXPECT_EQ(text(erase, 305), "Erase CD-RW Now");
  EXPECT_EQ(text(erase, 500), "CD-RW Erase");
  EXPECT_TRUE(erase.enableStart);

  PageLayout iso = LayoutForPage(kPageIsoFile, s, false);
  EXPECT_EQ(text(iso, 305), "Create ISO-9660 file Now");
  EXPECT_EQ(text(iso, 304), "ISO-9660 File name");
  EXPECT_EQ(check(iso, 302), 1);
  EXPECT_TRUE(iso.enableStart) << "the ISO page can always start";
  EXPECT_TRUE(iso.enableAdd);
}

}  // namespace
}  // namespace tarvo
