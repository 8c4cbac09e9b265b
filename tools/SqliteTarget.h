#pragma once

#include "CommandLine.h"
#include "RowCounts.h"

namespace initdb {

// Refuses an existing file without --force. The database is built in a
// temporary file beside the target and renamed over it only when complete, so
// a failure leaves the target as it was and no half-written file behind.
// Throws data::Error.
RowCounts createSqliteDatabase(const InitOptions &options);

} // namespace initdb
