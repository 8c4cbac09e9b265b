#pragma once

#include "CommandLine.h"

#include <QString>

namespace initdb {

// Creates the database the options name and writes its data-link file.
// Returns the one-line summary; throws data::Error.
QString initDatabase(const InitOptions &options);

// The link written for an SQLite file: the path relative to the data-link
// file's folder when the database lies in or below it, else absolute.
QString sqliteDataSource(const QString &databaseFile, const QString &udlFile);

} // namespace initdb
