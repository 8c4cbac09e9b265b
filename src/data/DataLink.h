#pragma once

#include "Dialect.h"

#include <QString>

namespace data {

// The connection named by the data-link file Connect.udl: a text file (UTF-8,
// or UTF-16 with its byte-order mark) whose first line that is neither
// "[oledb]" nor a ";" comment holds "Key=Value;..." pairs.
struct DataLink
{
    QString provider;       // "SQLite" or "PostgreSQL"
    QString dataSource;     // SQLite: the database file; PostgreSQL: the host
    QString port;
    QString initialCatalog; // PostgreSQL database, normally CRMS
    QString userId;
    QString password;
    QString mode;
    QString connectionString; // the line as read

    static constexpr const char *fileName = "Connect.udl";

    // Throws data::Error, naming the file, when it is missing or unreadable,
    // holds no connection string or names a provider that is not known.
    static DataLink readFile(const QString &path);
    static DataLink parse(const QString &connectionString);

    // The file database test: the provider name contains "SQLite", in this letter case.
    bool isFileDatabase() const;
    DatabaseKind kind() const;

    QString toConnectionString() const;
    // Writes the file as UTF-8 with the [oledb] header; throws data::Error.
    void writeFile(const QString &path) const;
};

} // namespace data
