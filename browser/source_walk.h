// The depth-first walk of a source directory into the compilation, shared by
// Add and by the import of recorded content.
#pragma once

#include <cstdint>
#include <string>

#include "browser/compilation_commands.h"

namespace tarvo {

// Lists `directory` (ending in the separator) and inserts its entries under
// `parent` in listing order, the first after `firstAfter`, each further one
// after the one before; every subdirectory is walked in turn and its children
// sorted when its listing is exhausted, `parent`'s own children last.
// Directories whose names begin with "." and files named WIN386.SWP are left
// out. `charged` grows by AddCharge of every insertion. Returns false after
// a refused insertion, which it has reported.
bool WalkSource(CompilationContext& context, const std::string& directory, EntryId parent,
                EntryId firstAfter, EntryKind kind, uint64_t& charged);

}  // namespace tarvo
