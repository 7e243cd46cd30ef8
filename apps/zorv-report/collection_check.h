#pragma once
// zorv-report --check: what a run would find in the collection, one line each,
// so a user learns why a sheet is empty or a run stops without reading the
// design of the files. It reads what a run reads, the way a run reads it, and
// writes nothing (the log included).
#include <ostream>

#include "platform/program_folder.h"

namespace zorv {

// Writes the lines to `out`; the exit status: 0 when nothing is wrong, 1 otherwise.
int CheckCollection(const CollectionFolder& folder, std::ostream& out);

}  // namespace zorv
