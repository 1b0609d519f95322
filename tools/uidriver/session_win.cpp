#include "session_win.h"

#include <vector>

namespace tarvo::uidriver {

HWND CommandContext::Window() {
    WindowQuery query;
    query.title = Widen(command.Get("title"));
    query.className = Widen(command.Get("class"));
    if (command.Has("hwnd")) {
        query.hwnd = ParseHwnd(command.Get("hwnd"));
        if (query.hwnd == nullptr) {
            error = "malformed --hwnd";
            return nullptr;
        }
    }
    HWND window = FindTopWindow(target, query);
    if (window == nullptr) error = "no such window";
    return window;
}

HWND CommandContext::Control() {
    HWND window = Window();
    if (window == nullptr) return nullptr;
    if (!command.Has("id")) {
        error = "missing --id";
        return nullptr;
    }
    const long long id = Int("id", 0);
    if (!error.empty()) return nullptr;
    HWND control = FindControl(window, static_cast<int>(id));
    if (control == nullptr) error = "no control " + std::to_string(id);
    return control;
}

long long CommandContext::Int(const std::string& key, long long fallback) {
    bool ok = true;
    long long value = command.GetInt(key, fallback, &ok);
    if (!ok) error = "malformed --" + key;
    return value;
}

std::string WindowJson(HWND window) {
    const WindowInfo info = Describe(window);
    JsonObject o;
    o.Add("hwnd", HexHandle(info.hwnd))
        .Add("title", Narrow(info.title))
        .Add("class", Narrow(info.className))
        .Add("id", info.id)
        .AddBool("visible", info.visible)
        .AddBool("enabled", info.enabled)
        .Add("style", static_cast<long long>(static_cast<unsigned long>(info.style)))
        .AddRaw("rect", JsonArray({std::to_string(info.rect.left), std::to_string(info.rect.top),
                                   std::to_string(info.rect.right), std::to_string(info.rect.bottom)}));
    if (GetParent(window) == nullptr || (info.style & WS_CHILD) == 0) {
        o.Add("owner", HexHandle(info.owner)).AddBool("messagebox", IsMessageBox(window));
    }
    return o.Text();
}

std::string Session::Run(const std::string& line, bool* quit) {
    *quit = false;
    std::vector<std::string> words;
    Command command;
    std::string error;
    JsonObject reply;
    if (!SplitWords(line, &words, &error) || !ParseCommand(words, &command, &error)) {
        return JsonObject().AddBool("ok", false).Add("error", error).Text();
    }
    if (command.name == "quit") {
        *quit = true;
        return JsonObject().AddBool("ok", true).Text();
    }
    CommandHandler handler = FindHandler(command.name);
    if (handler == nullptr) {
        return JsonObject().AddBool("ok", false).Add("error", "unknown command '" + command.name + "'").Text();
    }
    JsonObject body;
    CommandContext context{target_, command, body, error};
    const int ok = handler(context) && error.empty();
    JsonObject head;
    head.AddBool("ok", ok != 0);
    if (!ok) head.Add("error", error.empty() ? std::string("failed") : error);
    std::string text = head.Text();
    const std::string rest = body.Text();
    if (rest.size() > 2) text = text.substr(0, text.size() - 1) + "," + rest.substr(1);
    return text;
}

}  // namespace tarvo::uidriver
