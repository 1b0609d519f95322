// tarvo-iso-list OUT.dat DIR...: the list subcommand on its own.
#include "tools/tarvo_iso_list.h"

int main(int argc, char** argv) { return tarvo::RunListCommand(argc, argv); }
