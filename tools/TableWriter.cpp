#include "TableWriter.h"

#include "Dialect.h"
#include "Error.h"

#include <QSqlError>

namespace initdb {

TableWriter::TableWriter(data::Connection &connection, const QString &table,
                         const QStringList &columns, int rowsPerStatement)
    : m_connection(connection)
    , m_table(table)
    , m_columns(columns)
    , m_rowsPerStatement(rowsPerStatement)
{
    const data::Table *schema = data::Schema::table(table);
    if (!schema)
        throw data::Error(QStringLiteral("表“%1”不在程序的数据库结构中。").arg(table));
    for (const QString &name : columns) {
        const data::Column *column = schema->column(name);
        if (!column)
            throw data::Error(QStringLiteral("表“%1”没有列“%2”。").arg(table, name));
        m_types << column->type;
    }
    m_pending.reserve(qsizetype(rowsPerStatement) * columns.size());
}

QString TableWriter::insertStatement(int rows) const
{
    QStringList quoted;
    for (const QString &column : m_columns)
        quoted << data::Dialect::quote(column);
    const QString row = QLatin1Char('(') +
                        QStringList(m_columns.size(), QStringLiteral("?")).join(QLatin1Char(',')) +
                        QLatin1Char(')');
    return QStringLiteral("INSERT INTO %1 (%2) VALUES ")
               .arg(data::Dialect::quote(m_table), quoted.join(QLatin1String(", "))) +
           QStringList(rows, row).join(QLatin1Char(','));
}

void TableWriter::add(const QVariantList &values)
{
    if (values.size() != m_columns.size())
        throw data::Error(QStringLiteral("写入表“%1”的一行有 %2 个值，应为 %3 个。")
                              .arg(m_table)
                              .arg(values.size())
                              .arg(m_columns.size()));
    const data::Dialect &dialect = m_connection.dialect();
    for (qsizetype i = 0; i < values.size(); ++i)
        m_pending.append(dialect.toDatabase(values.at(i), m_types.at(i)));
    if (m_pending.size() == qsizetype(m_rowsPerStatement) * m_columns.size()) {
        if (!m_fullBatchPrepared) {
            m_fullBatch = QSqlQuery(m_connection.database());
            if (!m_fullBatch.prepare(insertStatement(m_rowsPerStatement)))
                throw data::Error(data::Dialect::errorText(m_fullBatch.lastError()));
            m_fullBatchPrepared = true;
        }
        write(m_fullBatch, m_rowsPerStatement);
    }
}

void TableWriter::flush()
{
    const int rows = int(m_pending.size() / m_columns.size());
    if (rows == 0)
        return;
    QSqlQuery query(m_connection.database());
    if (!query.prepare(insertStatement(rows)))
        throw data::Error(data::Dialect::errorText(query.lastError()));
    write(query, rows);
}

void TableWriter::write(QSqlQuery &query, int rows)
{
    for (qsizetype i = 0; i < m_pending.size(); ++i)
        query.bindValue(int(i), m_pending.at(i));
    if (!query.exec())
        throw data::Error(QStringLiteral("写入表“%1”失败：%2")
                              .arg(m_table, data::Dialect::errorText(query.lastError())));
    query.finish();
    m_pending.clear();
    m_written += rows;
}

} // namespace initdb
