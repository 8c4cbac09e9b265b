#pragma once

#include "CommandLine.h"
#include "RowCounts.h"

namespace initdb {

// Creates the tables in the database of `options.postgres`. Tables of the
// program already there are refused without --force and dropped with it.
// Dropping, creating and filling are one transaction, so a failure leaves the
// database as it was. Throws data::Error.
RowCounts createPostgresTables(const InitOptions &options);

} // namespace initdb
