// The progress meter painted onto the status line (control 501). The long
// operations run on the user-interface thread without dispatching messages,
// so the meter keeps a device context of the control for the operation and
// paints each visible change at once.
#pragma once

#include <windows.h>

#include <cstdint>

#include "app/progress_meter.h"

namespace tarvo {

void BeginProgress(HWND window, int32_t steps);
void StepProgress();
void EndProgress();

// Paints done since the last BeginProgress (steps that changed nothing
// visible paint nothing).
int32_t ProgressPaintCount();

// Puts a text (the capacity line) into the status line of the dialog and has
// it repainted. The control's window text follows, so that screen readers
// and the UI tests can read what the owner-drawn control shows.
void SetStatusLine(HWND dialog, const char* text);

// The meter on the main dialog's control 501, for the erase and the recorder.
ProgressSink& MainDialogProgress();

}  // namespace tarvo
