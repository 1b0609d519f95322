// The "list" subcommand of tarvo-iso: tarvo-iso list OUT.dat DIR...
#pragma once

namespace tarvo {

// `argv[0]` is the subcommand's own name ("list"), then OUT.dat and one or
// more folders. Returns the process exit code: 0 when the list was written,
// 1 after an error message, 2 for a usage error.
int RunListCommand(int argc, char** argv);

}  // namespace tarvo
