#pragma once

#include "CommandLine.h"
#include "RowCounts.h"

namespace data {
class Connection;
}

namespace initdb {

// Creates the program's tables in an empty database and writes the start rows
// and, when asked for, the demo data: one transaction, joined to the caller's.
RowCounts populate(data::Connection &connection, const InitOptions &options);

} // namespace initdb
