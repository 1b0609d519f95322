// The standard message box: a #32770 dialog holding only buttons and
// statics, its text in the static 0xFFFF.
#include <cwctype>

#include "capture_win.h"
#include "uidriver_win.h"

namespace tarvo::uidriver {

namespace {

constexpr int kTextId = 0xFFFF;

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

bool IsTextStatic(HWND control) {
    return (GetDlgCtrlID(control) & 0xFFFF) == kTextId && _wcsicmp(ClassOf(control).c_str(), L"Static") == 0;
}

std::wstring WithoutAccelerator(const std::wstring& text) {
    std::wstring out;
    for (wchar_t c : text)
        if (c != L'&') out += static_cast<wchar_t>(std::towlower(c));
    return out;
}

HWND IconStatic(HWND box) {
    for (HWND child : ChildControls(box)) {
        if (_wcsicmp(ClassOf(child).c_str(), L"Static") != 0 || !IsWindowVisible(child)) continue;
        if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) return child;
    }
    return nullptr;
}

// Which system icon the box shows: the icon static's pixels are compared
// with each system icon drawn over the same background. Icon handles of
// another process cannot be compared directly under Wine.
std::string IconKind(HWND box) {
    HWND icon = IconStatic(box);
    DWORD_PTR handle = 0;
    // Wine keeps the icon static of a box without an icon, holding no icon.
    if (icon == nullptr ||
        (SendMessageTimeoutW(icon, STM_GETICON, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &handle) && handle == 0))
        return "none";
    RECT rect{};
    GetWindowRect(icon, &rect);
    Pixels shown;
    if (!CaptureScreen(rect, &shown)) return "unknown";
    struct Kind {
        const char* name;
        LPCWSTR resource;
    };
    const Kind kinds[] = {{"stop", IDI_HAND}, {"question", IDI_QUESTION}, {"warning", IDI_EXCLAMATION},
                          {"info", IDI_ASTERISK}};
    const char* best = "unknown";
    double bestScore = 1e300;
    for (const Kind& kind : kinds) {
        HICON system = LoadIconW(nullptr, kind.resource);
        Pixels drawn;
        if (system == nullptr || !RenderIcon(system, shown.width, shown.height, shown.At(0, 0), &drawn)) continue;
        double score = 0;
        for (size_t i = 0; i < shown.data.size(); ++i) {
            for (int shift : {0, 8, 16}) {
                const int a = static_cast<int>((shown.data[i] >> shift) & 0xFF);
                const int b = static_cast<int>((drawn.data[i] >> shift) & 0xFF);
                score += a > b ? a - b : b - a;
            }
        }
        score /= static_cast<double>(shown.data.size());
        if (score < bestScore) {
            bestScore = score;
            best = kind.name;
        }
    }
    // Another icon, or the box is covered: say so rather than guess.
    return bestScore <= 24.0 ? best : "unknown";
}

}  // namespace

bool IsMessageBox(HWND window) {
    if (ClassOf(window) != L"#32770") return false;
    bool hasText = false, hasButton = false;
    for (HWND child : ChildControls(window)) {
        const std::wstring kind = ClassOf(child);
        if (_wcsicmp(kind.c_str(), L"Button") == 0) {
            const int id = GetDlgCtrlID(child);
            if (id < IDOK || id > IDCONTINUE) return false;
            hasButton = true;
        } else if (_wcsicmp(kind.c_str(), L"Static") == 0) {
            hasText = hasText || IsTextStatic(child);
        } else {
            return false;
        }
    }
    return hasText && hasButton;
}

HWND FindMessageBox(const Target& target) {
    for (HWND window : TopWindows(target))
        if (IsMessageBox(window)) return window;
    return nullptr;
}

int ReadMessageBox(HWND box, MessageBoxInfo* info) {
    *info = MessageBoxInfo{};
    if (!IsMessageBox(box)) return 0;
    info->hwnd = box;
    GetText(box, &info->caption);
    for (HWND child : ChildControls(box)) {
        if (IsTextStatic(child)) {
            GetText(child, &info->text);
        } else if (_wcsicmp(ClassOf(child).c_str(), L"Button") == 0 && IsWindowVisible(child)) {
            std::wstring text;
            GetText(child, &text);
            info->buttons.emplace_back(GetDlgCtrlID(child), text);
        }
    }
    info->icon = IconKind(box);
    return 1;
}

int AnswerMessageBox(HWND box, int id, const std::wstring& text, std::string* error) {
    MessageBoxInfo info;
    if (!ReadMessageBox(box, &info)) {
        *error = "not a message box";
        return 0;
    }
    for (const auto& [buttonId, buttonText] : info.buttons) {
        if ((id != 0 && buttonId == id) || (id == 0 && WithoutAccelerator(buttonText) == WithoutAccelerator(text)))
            return Click(GetDlgItem(box, buttonId), error);
    }
    *error = "the message box has no such button";
    return 0;
}

}  // namespace tarvo::uidriver
