// The process under test and its windows.
#include <vector>

#include "uidriver_win.h"

namespace tarvo::uidriver {

namespace {

constexpr DWORD kProcessAccess = PROCESS_QUERY_INFORMATION | PROCESS_VM_OPERATION | PROCESS_VM_READ |
                                 PROCESS_VM_WRITE | PROCESS_TERMINATE | SYNCHRONIZE;

std::string LastErrorText(const char* what) {
    return std::string(what) + " failed, error " + std::to_string(GetLastError());
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

struct TopWindowWalk {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopWindow(HWND window, LPARAM param) {
    auto* walk = reinterpret_cast<TopWindowWalk*>(param);
    if (!IsWindowVisible(window)) return TRUE;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (walk->pid == 0 || pid == walk->pid) walk->found.push_back(window);
    return TRUE;
}

struct ChildWalk {
    int id;
    HWND found = nullptr;
    std::vector<HWND>* all = nullptr;
};

BOOL CALLBACK VisitChild(HWND window, LPARAM param) {
    auto* walk = reinterpret_cast<ChildWalk*>(param);
    if (walk->all != nullptr) {
        walk->all->push_back(window);
        return TRUE;
    }
    if (GetDlgCtrlID(window) == walk->id) {
        walk->found = window;
        return FALSE;
    }
    return TRUE;
}

bool Matches(HWND window, const WindowQuery& query) {
    if (!query.title.empty()) {
        std::wstring title;
        if (!GetText(window, &title) || title != query.title) return false;
    }
    if (!query.className.empty() && ClassOf(window) != query.className) return false;
    if (query.title.empty() && query.className.empty()) return IsWindowEnabled(window) != FALSE;
    return true;
}

}  // namespace

int Target::Start(const std::wstring& exe, const std::wstring& arguments, const std::wstring& workingDir,
                  std::string* error) {
    Detach();
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workingDir.empty() ? nullptr : workingDir.c_str(), &startup, &info)) {
        *error = LastErrorText("CreateProcess");
        return 0;
    }
    CloseHandle(info.hThread);
    process_.Reset(info.hProcess);
    pid_ = info.dwProcessId;
    // Lets the program create its first window before the first query.
    WaitForInputIdle(info.hProcess, 10000);
    return 1;
}

int Target::Attach(HWND window, std::string* error) {
    Detach();
    DWORD pid = 0;
    if (!IsWindow(window) || !GetWindowThreadProcessId(window, &pid)) {
        *error = "no such window";
        return 0;
    }
    HANDLE process = OpenProcess(kProcessAccess, FALSE, pid);
    if (process == nullptr) {
        *error = LastErrorText("OpenProcess");
        return 0;
    }
    process_.Reset(process);
    pid_ = pid;
    return 1;
}

void Target::Detach() {
    process_.Reset();
    pid_ = 0;
}

DWORD Target::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (process_) GetExitCodeProcess(process_.Get(), &code);
    return code;
}

int Target::WaitExit(DWORD timeoutMs) const {
    if (!process_) return 0;
    return WaitForSingleObject(process_.Get(), timeoutMs) == WAIT_OBJECT_0 ? 1 : 0;
}

void Target::Terminate(UINT exitCode) {
    if (process_) {
        TerminateProcess(process_.Get(), exitCode);
        WaitForSingleObject(process_.Get(), 5000);
    }
}

WindowInfo Describe(HWND window) {
    WindowInfo info;
    info.hwnd = window;
    GetText(window, &info.title);
    info.className = ClassOf(window);
    info.id = GetDlgCtrlID(window);
    info.visible = IsWindowVisible(window) != FALSE;
    info.enabled = IsWindowEnabled(window) != FALSE;
    info.owner = GetWindow(window, GW_OWNER);
    info.style = GetWindowLongW(window, GWL_STYLE);
    GetWindowRect(window, &info.rect);
    return info;
}

std::vector<HWND> TopWindows(const Target& target) {
    TopWindowWalk walk{target.Pid(), {}};
    EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&walk));
    return walk.found;
}

HWND FindTopWindow(const Target& target, const WindowQuery& query) {
    if (query.hwnd != nullptr) return IsWindow(query.hwnd) ? query.hwnd : nullptr;
    for (HWND window : TopWindows(target)) {
        if (Matches(window, query)) return window;
    }
    return nullptr;
}

HWND WaitTopWindow(const Target& target, const WindowQuery& query, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND window = FindTopWindow(target, query)) return window;
        if (GetTickCount() - start >= timeoutMs) return nullptr;
        Sleep(50);
    }
}

HWND FindControl(HWND window, int id) {
    if (HWND direct = GetDlgItem(window, id)) return direct;
    ChildWalk walk{id};
    EnumChildWindows(window, VisitChild, reinterpret_cast<LPARAM>(&walk));
    return walk.found;
}

std::vector<HWND> ChildControls(HWND window) {
    std::vector<HWND> all;
    ChildWalk walk{0};
    walk.all = &all;
    EnumChildWindows(window, VisitChild, reinterpret_cast<LPARAM>(&walk));
    return all;
}

}  // namespace tarvo::uidriver
