// tarvo-uidriver: `tarvo-uidriver serve` reads one command per line from
// standard input and writes one JSON reply line per command; any other
// arguments are one command, run once (README.md).
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <iostream>
#include <string>

#include "command_line.h"
#include "session_win.h"

namespace {

void WriteLine(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    tarvo::uidriver::Session session;
    bool quit = false;
    if (argc >= 2 && std::string(argv[1]) != "serve") {
        // The C runtime already split the command line; quote the words again.
        std::string line;
        for (int i = 1; i < argc; ++i) line += (i > 1 ? " " : "") + tarvo::uidriver::QuoteWord(argv[i]);
        const std::string reply = session.Run(line, &quit);
        WriteLine(reply);
        return reply.rfind("{\"ok\":true", 0) == 0 ? 0 : 1;
    }
    std::string line;
    while (!quit && std::getline(std::cin, line)) {
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        WriteLine(session.Run(line, &quit));
    }
    return 0;
}
