// Drives modal loops from inside: steps run from a thread timer while a
// dialog box or message box of this thread runs its own loop. A step returns
// true when done, false to be tried again at the next tick. Steps that open a
// modal loop themselves must post, not send, so the timer keeps running.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace tarvo::test {

class ModalSteps {
 public:
  using Step = std::function<bool()>;
  explicit ModalSteps(std::vector<Step> steps);
  ~ModalSteps();
  ModalSteps(const ModalSteps&) = delete;
  ModalSteps& operator=(const ModalSteps&) = delete;

  // True when every step ran; false when they ran out of time, in which case
  // every dialog of the thread was cancelled so the test could go on.
  bool Finished() const { return next_ == steps_.size(); }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
  void RunDue();

  std::vector<Step> steps_;
  size_t next_ = 0;
  UINT_PTR timer_ = 0;
  DWORD deadline_ = 0;
  bool busy_ = false;
};

// A visible dialog-class window (#32770) of this thread with this caption
// (nullptr: any), or nullptr.
HWND FindThreadDialog(const char* caption);
// The text of a message box (its static 0xFFFF).
std::string MessageBoxText(HWND box);
std::string WindowText(HWND window);

}  // namespace tarvo::test
