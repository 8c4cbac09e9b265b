#pragma once

#include <QString>
#include <QStringList>

namespace data {

class Connection;

// Creates and removes the program's tables. The program itself never does;
// the database tool and the test fixtures do.

// The schema's tables that exist in the connected database.
QStringList existingTables(Connection &connection);
void dropTables(Connection &connection);
void createTables(Connection &connection);
// The rows of Transforms and the first user, a 系统管理员 with all six rights.
// `passwordHash` is stored as given (see hashPassword).
void insertStartRows(Connection &connection, const QString &adminName, const QString &passwordHash);

} // namespace data
