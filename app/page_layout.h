// Which of the main dialog's shared controls each of the four tab pages shows,
// hides, retitles and checks. Pure data, so the layout is testable without a
// window; the shell applies it with ShowWindow and SetDlgItemTextA.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/settings.h"

namespace tarvo {

enum Page : int32_t { kPageRecording = 0, kPageErase = 1, kPageIsoFile = 2, kPageInformation = 3 };

struct ControlText {
  int id;
  std::string text;
};

struct ControlCheck {
  int id;
  bool checked;
};

struct PageLayout {
  std::vector<int> shown;   // applied first
  std::vector<int> hidden;  // applied after `shown`, so hiding wins
  std::vector<ControlText> texts;
  std::vector<ControlCheck> checks;
  bool enableAdd = false;    // control 300
  bool enableStart = false;  // control 305
};

// Every control id of the main dialog template, in ascending order.
const std::vector<int>& MainDialogControlIds();

PageLayout LayoutForPage(int page, const Settings& settings, bool canStart);

}  // namespace tarvo
