#include "Dataset.h"

#include "DatasetInternal.h"
#include "SortText.h"
#include "TextFormats.h"

#include <QRegularExpression>
#include <QSqlField>
#include <QSqlRecord>

#include <algorithm>
#include <cmath>

namespace data {

using detail::formatDisplay;
using detail::sameValue;

namespace {

const QString kDetailAlias = QStringLiteral("__detail");

// The table of a plain "select * from <table> [where ...|order by ...]".
QString baseTableOf(const QString &sql)
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*select\\s+\\*\\s+from\\s+(?:\"((?:[^\"]|\"\")+)\"|([^\\s;\",()]+))"
                       "\\s*(?:(?:where|order\\s+by)\\b.*)?;?\\s*$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = pattern.match(sql);
    if (!m.hasMatch())
        return QString();
    if (!m.captured(1).isEmpty())
        return m.captured(1).replace(QLatin1String("\"\""), QLatin1String("\""));
    return m.captured(2);
}

// Placeholders ":name" of a statement, in order, outside quoted text and casts.
QStringList placeholdersOf(const QString &sql)
{
    QStringList names;
    QChar quote;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
            continue;
        }
        if (c != QLatin1Char(':') || i + 1 >= sql.size())
            continue;
        if (sql.at(i + 1) == QLatin1Char(':')) { // a PostgreSQL cast
            ++i;
            continue;
        }
        qsizetype j = i + 1;
        while (j < sql.size() && (sql.at(j).isLetterOrNumber() || sql.at(j) == QLatin1Char('_')))
            ++j;
        if (j > i + 1 && !sql.at(i + 1).isDigit()) {
            const QString name = sql.mid(i + 1, j - i - 1);
            if (!names.contains(name))
                names << name;
        }
        i = j - 1;
    }
    return names;
}

ColumnType typeOfField(const QSqlField &field)
{
    switch (field.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
        return ColumnType::Integer;
    case QMetaType::Double:
    case QMetaType::Float:
        return ColumnType::Decimal;
    case QMetaType::Bool:
        return ColumnType::Boolean;
    case QMetaType::QDate:
        return ColumnType::Date;
    case QMetaType::QTime:
        return ColumnType::Time;
    case QMetaType::QDateTime:
        return ColumnType::DateTime;
    default:
        return ColumnType::LongText;
    }
}

int compareValues(const QVariant &a, const QVariant &b, ColumnType type)
{
    const bool aNull = !a.isValid() || a.isNull();
    const bool bNull = !b.isValid() || b.isNull();
    if (aNull || bNull)
        return aNull == bNull ? 0 : (aNull ? -1 : 1);
    switch (type) {
    case ColumnType::Integer:
    case ColumnType::AutoNumber:
    case ColumnType::Decimal:
    case ColumnType::Boolean: {
        const double x = a.toDouble();
        const double y = b.toDouble();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    case ColumnType::Date:
        return a.toDate() < b.toDate() ? -1 : (b.toDate() < a.toDate() ? 1 : 0);
    case ColumnType::Time:
        return a.toTime() < b.toTime() ? -1 : (b.toTime() < a.toTime() ? 1 : 0);
    case ColumnType::DateTime:
        return a.toDateTime() < b.toDateTime() ? -1 : (b.toDateTime() < a.toDateTime() ? 1 : 0);
    default:
        // Read in place: a sort of 100 000 rows makes millions of comparisons.
        if (a.typeId() == QMetaType::QString && b.typeId() == QMetaType::QString)
            return static_cast<const QString *>(a.constData())->compare(*static_cast<const QString *>(b.constData()));
        return a.toString().compare(b.toString());
    }
}

} // namespace

// --- Dataset: statement ---------------------------------------------------------

Dataset::Dataset(Connection *connection, const QString &name, QObject *parent)
    : QObject(parent)
    , m_connection(connection)
{
    setObjectName(name);
    if (connection) {
        // Datasets close with their connection, before the driver goes away.
        connect(connection, &Connection::aboutToClose, this, [this] {
            if (!m_memory)
                close();
            m_cachedQuery = QSqlQuery();
            m_cachedSql.clear();
        });
    }
}

Dataset::~Dataset()
{
    if (m_master)
        m_master->m_details.removeAll(QPointer<Dataset>(this));
    m_cachedQuery = QSqlQuery();
}

void Dataset::setCommandText(const QString &sql)
{
    if (isActive())
        throw Error(QStringLiteral("数据集“%1”已打开，不能更改它的查询语句。").arg(objectName()));
    m_commandText = sql;
    m_tableName = baseTableOf(sql);
    m_table = Schema::table(m_tableName);
    if (m_table)
        m_tableName = m_table->name;
    m_memory = false;
    clearParameters();
    m_cachedQuery = QSqlQuery();
    m_cachedSql.clear();
}

void Dataset::setTableName(const QString &table)
{
    setCommandText(QStringLiteral("SELECT * FROM ") + Dialect::quote(table));
}

QString Dataset::tableName() const
{
    return m_table ? m_tableName : QString();
}

void Dataset::setParameter(const QString &name, const QVariant &value)
{
    QString key = name;
    if (key.startsWith(QLatin1Char(':')))
        key.remove(0, 1);
    m_parameters.insert(key.toUpper(), value);
}

QVariant Dataset::parameter(const QString &name) const
{
    QString key = name;
    if (key.startsWith(QLatin1Char(':')))
        key.remove(0, 1);
    return m_parameters.value(key.toUpper());
}

QStringList Dataset::parameterNames() const
{
    return placeholdersOf(m_commandText);
}

void Dataset::clearParameters()
{
    m_parameters.clear();
}

void Dataset::setMasterLink(Dataset *master, const QStringList &masterFields,
                            const QStringList &indexFields)
{
    if (masterFields.size() != indexFields.size())
        throw Error(QStringLiteral("主从关联的字段数目不一致。"));
    if (m_master)
        m_master->m_details.removeAll(QPointer<Dataset>(this));
    m_master = master;
    m_masterFields = masterFields;
    m_indexFields = indexFields;
    m_lastMasterRow = -2;
    if (master)
        master->m_details.append(QPointer<Dataset>(this));
}

void Dataset::addCalculatedField(const QString &name, ColumnType type)
{
    if (isActive())
        throw Error(QStringLiteral("数据集“%1”已打开，不能增加计算字段。").arg(objectName()));
    DatasetColumn column;
    column.name = name;
    column.type = type;
    column.calculated = true;
    m_calculated.append(column);
}

void Dataset::setDisplayFormat(const QString &column, const QString &format)
{
    m_displayFormats.insert(column.toLower(), format);
    for (DatasetColumn &c : m_columns) {
        if (c.name.compare(column, Qt::CaseInsensitive) == 0)
            c.displayFormat = format;
    }
}

// --- Dataset: life ----------------------------------------------------------------

Dataset::Statement Dataset::selectStatement() const
{
    Statement statement;
    statement.sql = m_commandText;
    for (const QString &name : placeholdersOf(m_commandText))
        statement.values.append({name, m_parameters.value(name.toUpper())});
    if (m_master) {
        QStringList conditions;
        const QVariantList linkValues = masterLinkValues();
        for (int i = 0; i < m_indexFields.size(); ++i) {
            const QString placeholder = QStringLiteral("__link%1").arg(i);
            conditions << Dialect::quote(kDetailAlias) + QLatin1Char('.') + Dialect::quote(m_indexFields.at(i))
                              + QLatin1String(" = :") + placeholder;
            statement.values.append({placeholder, linkValues.value(i)});
        }
        statement.sql = QStringLiteral("SELECT * FROM (%1) AS %2 WHERE %3")
                            .arg(m_commandText, Dialect::quote(kDetailAlias),
                                 conditions.join(QLatin1String(" AND ")));
    }
    return statement;
}

void Dataset::runSelect()
{
    if (!m_connection)
        throw Error(QStringLiteral("数据集“%1”没有数据库连接。").arg(objectName()));
    if (m_commandText.trimmed().isEmpty())
        throw Error(QStringLiteral("数据集“%1”没有查询语句。").arg(objectName()));
    const Statement statement = selectStatement();
    m_connection->open();
    const Dialect &dialect = m_connection->dialect();

    // Details run the same statement at every move of their master: prepare it once.
    if (m_cachedSql != statement.sql) {
        m_cachedQuery = QSqlQuery(m_connection->database());
        m_cachedQuery.setForwardOnly(true);
        if (!m_cachedQuery.prepare(statement.sql)) {
            const QString message = Dialect::errorText(m_cachedQuery.lastError());
            m_cachedQuery = QSqlQuery();
            throw Error(message);
        }
        m_cachedSql = statement.sql;
    }
    for (const auto &[name, value] : statement.values)
        m_cachedQuery.bindValue(QLatin1Char(':') + name, dialect.toDatabase(value));
    if (!m_cachedQuery.exec()) {
        const QString message = Dialect::errorText(m_cachedQuery.lastError());
        m_cachedQuery.finish();
        throw Error(message);
    }
    setColumnsFrom(m_cachedQuery.record());
    fetch(m_cachedQuery);
    // An unfinished statement would keep a read lock on a file database.
    m_cachedQuery.finish();
}

void Dataset::setColumnsFrom(const QSqlRecord &record)
{
    QList<DatasetColumn> columns;
    columns.reserve(record.count() + m_calculated.size());
    for (int i = 0; i < record.count(); ++i) {
        DatasetColumn c;
        c.name = record.fieldName(i);
        const Column *schemaColumn = m_table ? m_table->column(c.name) : nullptr;
        if (schemaColumn) {
            c.type = schemaColumn->type;
            c.length = schemaColumn->length;
            c.inTable = true;
        } else {
            c.type = typeOfField(record.field(i));
        }
        columns.append(c);
    }
    m_tableColumns = int(columns.size());
    columns.append(m_calculated);
    for (DatasetColumn &c : columns)
        c.displayFormat = m_displayFormats.value(c.name.toLower());
    m_columns = columns;
}

void Dataset::fetch(QSqlQuery &query)
{
    m_cells.clear();
    m_alive.clear();
    const int stored = m_tableColumns;
    const int calculated = columnCount() - stored;
    std::vector<ColumnType> types;
    types.reserve(stored);
    for (int i = 0; i < stored; ++i)
        types.push_back(m_columns.at(i).type);

    // The last fetch's size is the best guess of this one's (a requery, a master's move).
    m_cells.reserve(m_lastFetchCells);
    while (query.next()) {
        for (int i = 0; i < stored; ++i) {
            QVariant value = query.value(i);
            // Text arrives as text; only other types need normalising.
            if (!isTextType(types[i]) || value.typeId() != QMetaType::QString)
                value = Dialect::fromDatabase(value, types[i]);
            m_cells.push_back(std::move(value));
        }
        for (int i = 0; i < calculated; ++i)
            m_cells.emplace_back();
    }
    m_lastFetchCells = m_cells.size();
    const size_t rows = columnCount() ? m_cells.size() / size_t(columnCount()) : 0;
    m_alive.assign(rows, true);
}

void Dataset::calculate(QVariant *row)
{
    if (!onCalcFields || m_calculated.isEmpty())
        return;
    QVariant *saved = m_calcTarget;
    m_calcTarget = row;
    try {
        onCalcFields(*this);
    } catch (...) {
        m_calcTarget = saved;
        throw;
    }
    m_calcTarget = saved;
}

void Dataset::calculateAll()
{
    if (!onCalcFields || m_calculated.isEmpty())
        return;
    const int cols = columnCount();
    for (size_t r = 0; r < m_alive.size(); ++r) {
        if (m_alive[r])
            calculate(&m_cells[r * cols]);
    }
}

void Dataset::open()
{
    if (isActive())
        return;
    runSelect();
    m_lastMasterRow = m_master ? m_master->recNo() : -2;
    m_lastLinkValues = masterLinkValues();
    calculateAll();
    m_buffer.clear();
    m_modified = false;
    rebuildView(-1);
    setState(DatasetState::Browse);
    if (emitting())
        emit reset();
    notifyDetails(true);
    if (afterOpen)
        afterOpen(*this);
    if (!isEmpty() && afterScroll)
        afterScroll(*this);
    if (emitting())
        emit currentChanged(m_position);
}

void Dataset::close()
{
    if (!isActive())
        return;
    // A closed dataset gives its rows' memory back.
    std::vector<QVariant>().swap(m_cells);
    std::vector<bool>().swap(m_alive);
    std::vector<int>().swap(m_view);
    m_buffer.clear();
    m_modified = false;
    m_position = -1;
    m_bof = m_eof = true;
    m_memory = false;
    setState(DatasetState::Inactive);
    if (emitting())
        emit reset();
    notifyDetails(true);
}

void Dataset::requery()
{
    if (!isActive()) {
        open();
        return;
    }
    if (m_memory) {
        first();
        return;
    }
    checkBrowseMode();
    runSelect();
    m_lastMasterRow = m_master ? m_master->recNo() : -2;
    m_lastLinkValues = masterLinkValues();
    calculateAll();
    rebuildView(-1);
    if (emitting())
        emit reset();
    notifyDetails(true);
    if (!isEmpty() && afterScroll)
        afterScroll(*this);
    if (emitting())
        emit currentChanged(m_position);
}

int Dataset::execSQL()
{
    if (!m_connection)
        throw Error(QStringLiteral("数据集“%1”没有数据库连接。").arg(objectName()));
    NamedValues values;
    for (const QString &name : placeholdersOf(m_commandText))
        values.append({name, m_parameters.value(name.toUpper())});
    QSqlQuery query = m_connection->exec(m_commandText, values);
    const int affected = query.numRowsAffected();
    query.finish();
    return affected;
}

void Dataset::loadRecords(const QList<DatasetColumn> &columns, const QList<QVariantList> &rows)
{
    close();
    m_commandText.clear();
    m_tableName.clear();
    m_table = nullptr;
    m_columns = columns;
    m_tableColumns = int(columns.size());
    for (DatasetColumn &c : m_columns) {
        c.inTable = false;
        c.displayFormat = m_displayFormats.value(c.name.toLower());
    }
    m_cells.clear();
    for (const QVariantList &row : rows) {
        for (int i = 0; i < m_tableColumns; ++i)
            m_cells.push_back(Dialect::fromDatabase(row.value(i), m_columns.at(i).type));
    }
    m_alive.assign(rows.size(), true);
    m_memory = true;
    rebuildView(-1);
    setState(DatasetState::Browse);
    if (emitting()) {
        emit reset();
        emit currentChanged(m_position);
    }
}

// --- Dataset: columns -----------------------------------------------------------

int Dataset::columnIndex(const QString &name) const
{
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QStringList Dataset::columnNames() const
{
    QStringList names;
    for (const DatasetColumn &c : m_columns)
        names << c.name;
    return names;
}

int Dataset::requireColumn(const QString &name) const
{
    const int i = columnIndex(name);
    if (i < 0)
        throw Error(QStringLiteral("数据集“%1”中找不到字段“%2”。").arg(objectName(), name));
    return i;
}

Field Dataset::fieldByName(const QString &name)
{
    return Field(this, requireColumn(name));
}

const QVariant *Dataset::currentValues() const
{
    if (m_calcTarget)
        return m_calcTarget;
    if (isEditing())
        return m_buffer.data();
    if (m_position < 0 || m_position >= int(m_view.size()))
        return nullptr;
    return &m_cells[size_t(m_view[m_position]) * columnCount()];
}

QVariant Dataset::currentValue(int column) const
{
    const QVariant *row = currentValues();
    return row ? row[column] : QVariant();
}

void Dataset::setCurrentValue(int column, const QVariant &value)
{
    const DatasetColumn &c = m_columns.at(column);
    if (m_calcTarget) {
        m_calcTarget[column] = value;
        return;
    }
    if (!isEditing())
        throw Error(QStringLiteral("数据集“%1”不在编辑状态，不能修改字段“%2”。").arg(objectName(), c.name));
    if (c.type == ColumnType::AutoNumber)
        throw Error(QStringLiteral("字段“%1”由数据库自动编号，不能修改。").arg(c.name));
    if (c.calculated)
        throw Error(QStringLiteral("字段“%1”是计算字段，不能修改。").arg(c.name));
    const QVariant converted = convertValue(value, c.type, c.length, c.name);
    if (sameValue(m_buffer[column], converted))
        return;
    m_buffer[column] = converted;
    m_modified = true;
    calculate(m_buffer.data());
    if (emitting())
        emit rowChanged(m_position);
}

// --- Dataset: rows and the cursor --------------------------------------------------

QVariant Dataset::valueAt(int position, int column) const
{
    if (position < 0 || position >= int(m_view.size()) || column < 0 || column >= columnCount())
        return QVariant();
    if (position == m_position && isEditing())
        return m_buffer[column];
    return m_cells[size_t(m_view[position]) * columnCount() + column];
}

QString Dataset::displayTextAt(int position, int column) const
{
    if (column < 0 || column >= columnCount())
        return QString();
    return formatDisplay(valueAt(position, column), m_columns.at(column));
}

void Dataset::scrollTo(int position, bool fireEvenIfSame)
{
    if (!isActive())
        throw Error(QStringLiteral("数据集“%1”未打开。").arg(objectName()));
    checkBrowseMode();
    if (m_view.empty())
        position = -1;
    else
        position = std::clamp(position, 0, int(m_view.size()) - 1);
    const bool moved = position != m_position;
    if (!moved && !fireEvenIfSame)
        return;
    if (beforeScroll)
        beforeScroll(*this);
    m_position = position;
    notifyDetails(false);
    if (emitting())
        emit currentChanged(m_position);
    if (afterScroll)
        afterScroll(*this);
}

void Dataset::first()
{
    scrollTo(0, true);
    m_bof = true;
    m_eof = m_view.empty();
}

void Dataset::last()
{
    scrollTo(int(m_view.size()) - 1, true);
    m_eof = true;
    m_bof = m_view.empty();
}

void Dataset::next()
{
    checkBrowseMode();
    if (m_position >= int(m_view.size()) - 1) {
        m_eof = true;
        return;
    }
    scrollTo(m_position + 1, false);
    m_bof = false;
    m_eof = false;
}

void Dataset::prior()
{
    checkBrowseMode();
    if (m_position <= 0) {
        m_bof = true;
        return;
    }
    scrollTo(m_position - 1, false);
    m_bof = false;
    m_eof = false;
}

void Dataset::moveTo(int position)
{
    scrollTo(position, false);
    m_bof = m_eof = m_view.empty();
}

bool Dataset::locate(const QString &column, const QVariant &value)
{
    const int c = requireColumn(column);
    QVariant wanted;
    try {
        wanted = convertValue(value, m_columns.at(c).type, m_columns.at(c).length, m_columns.at(c).name);
    } catch (const Error &) {
        return false; // a value of another type matches no row
    }
    checkBrowseMode();
    const int cols = columnCount();
    for (int i = 0; i < int(m_view.size()); ++i) {
        if (sameValue(m_cells[size_t(m_view[i]) * cols + c], wanted)) {
            scrollTo(i, true);
            m_bof = m_eof = false;
            return true;
        }
    }
    return false;
}

// --- Dataset: editing ---------------------------------------------------------------

void Dataset::setState(DatasetState state)
{
    if (m_state == state)
        return;
    m_state = state;
    if (emitting())
        emit stateChanged(state);
}

void Dataset::requireTable(const char *operation) const
{
    if (!isActive())
        throw Error(QStringLiteral("数据集“%1”未打开。").arg(objectName()));
    if (!m_table)
        throw Error(QStringLiteral("数据集“%1”是只读的，不能%2。")
                        .arg(objectName(), QString::fromUtf8(operation)));
}

void Dataset::edit()
{
    if (isEditing())
        return;
    if (m_view.empty()) {
        append();
        return;
    }
    requireTable("修改");
    if (beforeEdit)
        beforeEdit(*this);
    const QVariant *row = &m_cells[size_t(m_view[m_position]) * columnCount()];
    m_buffer.assign(row, row + columnCount());
    m_modified = false;
    setState(DatasetState::Edit);
    if (emitting())
        emit rowChanged(m_position);
}

void Dataset::append()
{
    requireTable("增加记录");
    checkBrowseMode();
    if (beforeScroll)
        beforeScroll(*this);
    const int cols = columnCount();
    const int storageRow = int(m_alive.size());
    m_cells.resize(m_cells.size() + cols);
    m_alive.push_back(true);
    m_view.push_back(storageRow);
    m_position = int(m_view.size()) - 1;

    m_buffer.assign(cols, QVariant());
    if (m_master) {
        const QVariantList linkValues = masterLinkValues();
        for (int i = 0; i < m_indexFields.size(); ++i) {
            const int c = columnIndex(m_indexFields.at(i));
            if (c >= 0)
                m_buffer[c] = convertValue(linkValues.value(i), m_columns.at(c).type,
                                           m_columns.at(c).length, m_columns.at(c).name);
        }
    }
    m_modified = false;
    calculate(m_buffer.data());
    m_bof = m_eof = false;
    setState(DatasetState::Insert);
    if (emitting()) {
        emit rowInserted(m_position);
        emit currentChanged(m_position);
    }
    notifyDetails(false);
    if (afterScroll)
        afterScroll(*this);
}

void Dataset::cancel()
{
    if (!isEditing())
        return;
    const bool wasInsert = m_state == DatasetState::Insert;
    const int position = m_position;
    m_buffer.clear();
    m_modified = false;
    if (wasInsert) {
        removeStorageRow(m_view[position]);
        m_position = m_view.empty() ? -1 : std::min(position, int(m_view.size()) - 1);
    }
    setState(DatasetState::Browse);
    if (emitting()) {
        if (wasInsert) {
            emit rowRemoved(position);
            emit currentChanged(m_position);
        } else {
            emit rowChanged(position);
        }
    }
    if (afterCancel)
        afterCancel(*this);
    if (wasInsert) {
        notifyDetails(false);
        if (afterScroll)
            afterScroll(*this);
    }
}

void Dataset::post()
{
    if (!isEditing())
        return;
    if (beforePost)
        beforePost(*this);
    if (!m_modified) {
        // Nothing was set: a new row is dropped, an edit simply ends.
        if (m_state == DatasetState::Insert) {
            cancel();
        } else {
            m_buffer.clear();
            setState(DatasetState::Browse);
            if (emitting())
                emit rowChanged(m_position);
        }
        return;
    }
    for (;;) {
        try {
            if (beforeWrite) {
                // Writes that belong with the row's: all of them or none.
                Transaction transaction(*m_connection);
                beforeWrite(*this);
                writeRow();
                transaction.commit();
            } else {
                writeRow();
            }
            break;
        } catch (const Error &error) {
            const PostErrorAction action = onPostError ? onPostError(*this, error)
                                                       : PostErrorAction::Fail;
            if (action == PostErrorAction::Retry && isEditing())
                continue;
            if (action == PostErrorAction::Abort)
                throw Abort();
            throw;
        }
    }
    m_buffer.clear();
    m_modified = false;
    setState(DatasetState::Browse);
    if (emitting())
        emit rowChanged(m_position);
    if (afterPost)
        afterPost(*this);
    notifyDetails(false);
}

void Dataset::updateBatch()
{
    post();
}

void Dataset::checkBrowseMode()
{
    for (const QPointer<Dataset> &detail : std::as_const(m_details)) {
        if (detail)
            detail->checkBrowseMode();
    }
    if (!isEditing())
        return;
    if (m_modified)
        post();
    else
        cancel();
}

// --- Dataset: master-detail ------------------------------------------------------------

QVariantList Dataset::masterLinkValues() const
{
    QVariantList values;
    if (!m_master)
        return values;
    for (const QString &field : m_masterFields) {
        const int c = m_master->columnIndex(field);
        values << (c >= 0 && m_master->isActive() ? m_master->currentValue(c) : QVariant());
    }
    return values;
}

void Dataset::notifyDetails(bool force)
{
    for (const QPointer<Dataset> &detail : std::as_const(m_details)) {
        if (detail)
            detail->masterChanged(force);
    }
}

void Dataset::masterChanged(bool force)
{
    if (!isActive() || m_memory)
        return;
    const int masterRow = m_master && m_master->recNo() >= 0 ? m_master->m_view[m_master->recNo()] : -1;
    const QVariantList linkValues = masterLinkValues();
    if (!force && masterRow == m_lastMasterRow && linkValues == m_lastLinkValues)
        return;
    checkBrowseMode();
    m_lastMasterRow = masterRow;
    m_lastLinkValues = linkValues;

    if (!m_master || !m_master->isActive()) {
        // The master closed (perhaps with the connection): show nothing, ask nothing.
        m_cells.clear();
        m_alive.clear();
        rebuildView(-1);
    } else {
        runSelect();
        calculateAll();
        rebuildView(-1);
    }
    if (emitting())
        emit reset();
    notifyDetails(true);
    if (!isEmpty() && afterScroll)
        afterScroll(*this);
    if (emitting())
        emit currentChanged(m_position);
}

// --- Dataset: order and filter ------------------------------------------------------------

QList<std::pair<int, bool>> Dataset::sortColumns(const QString &sort) const
{
    QList<std::pair<int, bool>> columns;
    for (const SortTerm &term : parseSortText(sort)) {
        const int c = columnIndex(term.field);
        if (c < 0)
            throw Error(QStringLiteral("数据集“%1”中找不到排序字段“%2”。").arg(objectName(), term.field));
        columns.append({c, !term.descending});
    }
    return columns;
}

void Dataset::setSort(const QString &sort)
{
    if (isActive()) {
        sortColumns(sort); // refuse an unknown column before anything changes
        checkBrowseMode();
    }
    m_sortText = sort;
    if (!isActive())
        return;
    const int current = m_position >= 0 ? m_view[m_position] : -1;
    rebuildView(current);
    if (emitting()) {
        emit reset();
        emit currentChanged(m_position);
    }
}

void Dataset::setFilter(const QList<FilterCondition> &conditions)
{
    m_filter = conditions;
    if (m_filtered && isActive())
        applyOrderAndFilter();
}

void Dataset::setFiltered(bool filtered)
{
    if (m_filtered == filtered)
        return;
    m_filtered = filtered;
    if (isActive())
        applyOrderAndFilter();
}

void Dataset::setRowFilter(RowPredicate predicate)
{
    if (!m_rowFilter && !predicate)
        return;
    m_rowFilter = std::move(predicate);
    if (isActive())
        applyOrderAndFilter();
}

void Dataset::applyOrderAndFilter()
{
    checkBrowseMode();
    const int before = m_position >= 0 ? m_view[m_position] : -1;
    rebuildView(before);
    const int after = m_position >= 0 ? m_view[m_position] : -1;
    if (emitting())
        emit reset();
    if (after != before) {
        notifyDetails(false);
        if (afterScroll && after >= 0)
            afterScroll(*this);
    }
    if (emitting())
        emit currentChanged(m_position);
}

bool Dataset::passesFilter(int storageRow) const
{
    const QVariant *row = &m_cells[size_t(storageRow) * columnCount()];
    if (m_rowFilter && !m_rowFilter(*this, row))
        return false;
    if (!m_filtered)
        return true;
    for (const FilterCondition &condition : m_filter) {
        const int c = columnIndex(condition.column);
        if (c < 0)
            return false;
        QVariant wanted;
        try {
            wanted = convertValue(condition.value, m_columns.at(c).type, m_columns.at(c).length,
                                  m_columns.at(c).name);
        } catch (const Error &) {
            return false;
        }
        if (!sameValue(row[c], wanted))
            return false;
    }
    return true;
}

void Dataset::rebuildView(int keepStorageRow)
{
    const QList<std::pair<int, bool>> order = m_columns.isEmpty() ? QList<std::pair<int, bool>>()
                                                                  : sortColumns(m_sortText);
    m_view.clear();
    m_view.reserve(m_alive.size());
    for (int r = 0; r < int(m_alive.size()); ++r) {
        if (m_alive[r] && passesFilter(r))
            m_view.push_back(r);
    }
    if (!order.isEmpty()) {
        const int cols = columnCount();
        std::stable_sort(m_view.begin(), m_view.end(), [&](int a, int b) {
            for (const auto &[c, ascending] : order) {
                const int order = compareValues(m_cells[size_t(a) * cols + c],
                                                m_cells[size_t(b) * cols + c], m_columns.at(c).type);
                if (order != 0)
                    return ascending ? order < 0 : order > 0;
            }
            return false;
        });
    }
    m_position = m_view.empty() ? -1 : 0;
    if (keepStorageRow >= 0) {
        const auto at = std::find(m_view.begin(), m_view.end(), keepStorageRow);
        if (at != m_view.end())
            m_position = int(at - m_view.begin());
    }
    m_bof = m_eof = m_view.empty();
}

void Dataset::disableControls()
{
    ++m_controlsDisabled;
}

void Dataset::enableControls()
{
    if (m_controlsDisabled == 0)
        return;
    if (--m_controlsDisabled == 0) {
        emit reset();
        emit currentChanged(m_position);
    }
}

} // namespace data
