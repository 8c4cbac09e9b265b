// The dataset's writes: insert, optimistic update and delete of one row.

#include "Dataset.h"
#include "DatasetInternal.h"

#include <QSqlRecord>

#include <algorithm>

namespace data {

using detail::sameValue;

void Dataset::writeRow()
{
    requireTable("保存");
    if (m_state == DatasetState::Insert)
        insertRow();
    else
        updateRow();
}

void Dataset::insertRow()
{
    const Dialect &dialect = m_connection->dialect();
    QStringList names;
    QStringList placeholders;
    NamedValues values;
    for (int i = 0; i < m_tableColumns; ++i) {
        const DatasetColumn &c = m_columns.at(i);
        if (!c.inTable || c.type == ColumnType::AutoNumber)
            continue;
        const QString placeholder = QStringLiteral("v%1").arg(i);
        names << Dialect::quote(c.name);
        placeholders << QLatin1Char(':') + placeholder;
        values.append({placeholder, dialect.toDatabase(m_buffer[i], c.type)});
    }
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3) RETURNING *")
                            .arg(Dialect::quote(m_tableName), names.join(QLatin1String(", ")),
                                 placeholders.join(QLatin1String(", ")));
    QSqlQuery query = m_connection->exec(sql, values);
    storeReturnedRow(query, m_view[m_position]);
}

QString Dataset::locatorCondition(int storageRow, NamedValues &values, const QList<int> &changed) const
{
    const Dialect &dialect = m_connection->dialect();
    const QVariant *original = &m_cells[size_t(storageRow) * columnCount()];
    QStringList conditions;
    const auto addCondition = [&](int column) {
        const DatasetColumn &c = m_columns.at(column);
        const QString placeholder = QStringLiteral("o%1").arg(column);
        conditions << dialect.nullSafeEquals(Dialect::quote(c.name), QLatin1Char(':') + placeholder);
        values.append({placeholder, dialect.toDatabase(original[column], c.type)});
    };

    if (!m_table->key.isEmpty()) {
        QList<int> used;
        for (const QString &key : m_table->key) {
            const int c = columnIndex(key);
            if (c >= 0) {
                addCondition(c);
                used << c;
            }
        }
        for (int c : changed) {
            if (!used.contains(c))
                addCondition(c);
        }
        return conditions.join(QLatin1String(" AND "));
    }

    // No key: the first row that still holds every value as it was read.
    for (int i = 0; i < m_tableColumns; ++i) {
        if (m_columns.at(i).inTable)
            addCondition(i);
    }
    const QString locator = dialect.rowLocator();
    return QStringLiteral("%1 IN (SELECT %1 FROM %2 WHERE %3 LIMIT 1)")
        .arg(locator, Dialect::quote(m_tableName), conditions.join(QLatin1String(" AND ")));
}

void Dataset::updateRow()
{
    const Dialect &dialect = m_connection->dialect();
    const int storageRow = m_view[m_position];
    const QVariant *original = &m_cells[size_t(storageRow) * columnCount()];
    QList<int> changed;
    for (int i = 0; i < m_tableColumns; ++i) {
        if (m_columns.at(i).inTable && !sameValue(m_buffer[i], original[i]))
            changed << i;
    }
    if (changed.isEmpty())
        return;

    QStringList assignments;
    NamedValues values;
    for (int c : changed) {
        const QString placeholder = QStringLiteral("v%1").arg(c);
        assignments << Dialect::quote(m_columns.at(c).name) + QLatin1String(" = :") + placeholder;
        values.append({placeholder, dialect.toDatabase(m_buffer[c], m_columns.at(c).type)});
    }
    const QString where = locatorCondition(storageRow, values, changed);
    const QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3 RETURNING *")
                            .arg(Dialect::quote(m_tableName), assignments.join(QLatin1String(", ")), where);
    QSqlQuery query = m_connection->exec(sql, values);
    storeReturnedRow(query, storageRow);
}

void Dataset::storeReturnedRow(QSqlQuery &query, int storageRow)
{
    if (!query.next()) {
        query.finish();
        throw Error(QStringLiteral("无法保存这条记录：它已经被其他用户修改或删除。请刷新数据后再试。"));
    }
    const QSqlRecord record = query.record();
    QVariant *row = &m_cells[size_t(storageRow) * columnCount()];
    for (int i = 0; i < m_tableColumns; ++i) {
        const int r = record.indexOf(m_columns.at(i).name);
        if (r >= 0)
            row[i] = Dialect::fromDatabase(query.value(r), m_columns.at(i).type);
        else
            row[i] = m_buffer[i];
    }
    query.finish();
    calculate(row);
}

void Dataset::deleteRow()
{
    if (!isActive() || m_view.empty())
        throw Error(QStringLiteral("不能在空数据集上执行删除操作。"));
    if (m_state == DatasetState::Insert) {
        cancel();
        return;
    }
    requireTable("删除记录");
    if (m_state == DatasetState::Edit) {
        m_buffer.clear();
        m_modified = false;
        setState(DatasetState::Browse);
    }
    if (beforeDelete)
        beforeDelete(*this);
    const int position = m_position;
    const int storageRow = m_view[position];
    NamedValues values;
    const QString where = locatorCondition(storageRow, values, {});
    QSqlQuery query = m_connection->exec(
        QStringLiteral("DELETE FROM %1 WHERE %2 RETURNING *").arg(Dialect::quote(m_tableName), where),
        values);
    const bool found = query.next();
    query.finish();
    if (!found)
        throw Error(QStringLiteral("无法删除这条记录：它已经被其他用户删除。请刷新数据。"));

    removeStorageRow(storageRow);
    m_position = m_view.empty() ? -1 : std::min(position, int(m_view.size()) - 1);
    m_bof = m_eof = m_view.empty();
    if (emitting()) {
        emit rowRemoved(position);
        emit currentChanged(m_position);
    }
    notifyDetails(false);
    if (afterDelete)
        afterDelete(*this);
    if (afterScroll)
        afterScroll(*this);
}

void Dataset::removeStorageRow(int storageRow)
{
    const auto at = std::find(m_view.begin(), m_view.end(), storageRow);
    if (at != m_view.end())
        m_view.erase(at);
    m_alive[storageRow] = false;
    const int cols = columnCount();
    if (storageRow == int(m_alive.size()) - 1) {
        m_alive.pop_back();
        m_cells.resize(m_cells.size() - cols);
    } else {
        for (int i = 0; i < cols; ++i)
            m_cells[size_t(storageRow) * cols + i] = QVariant();
    }
}

} // namespace data
