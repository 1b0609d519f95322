// One driver session: the target process and the commands of the line
// protocol (README.md lists them).
#pragma once

#include <string>

#include "command_line.h"
#include "uidriver_win.h"

namespace tarvo::uidriver {

class Session {
public:
    // Runs one command line and returns its reply line (a JSON object).
    // `quit` turns true on the quit command.
    std::string Run(const std::string& line, bool* quit);

    Target& target() { return target_; }

private:
    Target target_;
};

// Helpers shared by the command handlers.
struct CommandContext {
    Target& target;
    const Command& command;
    JsonObject& reply;
    std::string& error;

    // The window the selector options (--title, --class, --hwnd) name, or the
    // front window of the target without them. nullptr with `error` set.
    HWND Window();
    // The control --id of Window(); nullptr with `error` set.
    HWND Control();
    // --key as an integer; `fallback` when absent. Sets `error` when malformed.
    long long Int(const std::string& key, long long fallback);
    DWORD Timeout(DWORD fallback = 10000) { return static_cast<DWORD>(Int("timeout", fallback)); }
};

std::string WindowJson(HWND window);

using CommandHandler = int (*)(CommandContext& context);
// The handler of a command name, or nullptr.
CommandHandler FindHandler(const std::string& name);

}  // namespace tarvo::uidriver
