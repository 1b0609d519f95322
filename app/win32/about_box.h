// The About box DIALOGAUTHOR: who makes Tarvo, the team's other programs and
// two buttons that open the web site in a browser.
#pragma once

#include <windows.h>

namespace tarvo {

// Runs DIALOGAUTHOR modally, owned by `owner` (the main dialog).
void ShowAboutBox(HWND owner);

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Starts a program as ShellExecuteA does; above 32 is success. Replaceable so
// that tests never start a real browser.
using ProgramLauncher = INT_PTR (*)(HWND parent, const char* verb, const char* program, const char* parameters,
                                    const char* directory, int show);
// Sets the launcher and returns the previous one; nullptr restores ShellExecuteA.
ProgramLauncher SetProgramLauncher(ProgramLauncher launcher);

// The web addresses behind the buttons 427 and 428.
inline constexpr char kWebSiteAddress[] = "http://www.tarvo.example/";
inline constexpr char kProgramsAddress[] = "http://www.tarvo.example/programs/";

}  // namespace tarvo
