#pragma once

#include "DataLink.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace initdb {

struct InitOptions
{
    // Exactly one of the two: an SQLite file, or a PostgreSQL database.
    QString sqliteFile;
    std::optional<data::DataLink> postgres;

    QString udlFile;
    QString adminName = QStringLiteral("admin");
    QString adminPassword;
    bool force = false;

    std::optional<int> demoClients;
    std::optional<int> demoContacts;
    std::uint64_t seed = 1;
    QDate today;
};

struct CommandLine
{
    InitOptions options;
    // --help or --version: print this on standard output and do nothing else.
    std::optional<QString> info;
};

// `arguments` includes the program name first. Throws UsageError.
CommandLine parseCommandLine(const QStringList &arguments);

} // namespace initdb
