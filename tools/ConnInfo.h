#pragma once

#include "DataLink.h"

#include <QString>

namespace initdb {

// Reads a libpq connection string of key=value words ("host=db port=5432
// dbname=CRMS user=crm password='a b'") into a PostgreSQL data link. Values
// may be single-quoted, with \' and \\ inside. Keys: host, port, dbname,
// user, password; the host defaults to localhost and dbname to CRMS.
// Throws UsageError.
data::DataLink parseConnInfo(const QString &conninfo);

} // namespace initdb
