#pragma once

#include "Connection.h"
#include "Schema.h"

#include <QList>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace initdb {

// Writes rows into one table with multi-row INSERT statements, so that a
// large demo database costs one statement per `rowsPerStatement` rows. The
// full-size statement is prepared once; values are bound, converted for the
// column types of the schema.
class TableWriter
{
public:
    TableWriter(data::Connection &connection, const QString &table, const QStringList &columns,
                int rowsPerStatement = 200);
    TableWriter(const TableWriter &) = delete;
    TableWriter &operator=(const TableWriter &) = delete;

    // One value per column, in the order of the columns given. An invalid
    // QVariant is written as NULL.
    void add(const QVariantList &values);
    // Writes the rows still held. Not done by the destructor: rows held when
    // an error unwinds must not be written.
    void flush();

    const QString &table() const { return m_table; }
    qint64 rowsWritten() const { return m_written; }

private:
    QString insertStatement(int rows) const;
    void write(QSqlQuery &query, int rows);

    data::Connection &m_connection;
    QString m_table;
    QStringList m_columns;
    QList<data::ColumnType> m_types;
    int m_rowsPerStatement;
    QVariantList m_pending; // converted values, row after row
    QSqlQuery m_fullBatch;
    bool m_fullBatchPrepared = false;
    qint64 m_written = 0;
};

} // namespace initdb
