#include "RecordsetFile.h"

#include "Dataset.h"
#include "Error.h"
#include "TextFormats.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace data {

namespace {

const QString kFormat = QStringLiteral("lumora-recordset");
constexpr int kVersion = 1;

const QList<std::pair<ColumnType, QString>> &typeNames()
{
    static const QList<std::pair<ColumnType, QString>> names = {
        {ColumnType::Text, QStringLiteral("text")},
        {ColumnType::FixedText, QStringLiteral("fixed-text")},
        {ColumnType::LongText, QStringLiteral("long-text")},
        {ColumnType::Integer, QStringLiteral("integer")},
        {ColumnType::AutoNumber, QStringLiteral("auto-number")},
        {ColumnType::Date, QStringLiteral("date")},
        {ColumnType::Time, QStringLiteral("time")},
        {ColumnType::DateTime, QStringLiteral("date-time")},
        {ColumnType::Decimal, QStringLiteral("decimal")},
        {ColumnType::Boolean, QStringLiteral("boolean")},
    };
    return names;
}

QString typeName(ColumnType type)
{
    for (const auto &[t, name] : typeNames()) {
        if (t == type)
            return name;
    }
    return QStringLiteral("text");
}

bool typeFromName(const QString &name, ColumnType *type)
{
    for (const auto &[t, n] : typeNames()) {
        if (n == name) {
            *type = t;
            return true;
        }
    }
    return false;
}

QJsonValue toJson(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return QJsonValue::Null;
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool();
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Double:
        return value.toDouble();
    case QMetaType::QDate:
        return formatStorageDate(value.toDate());
    case QMetaType::QTime:
        return formatStorageTime(value.toTime());
    case QMetaType::QDateTime:
        return formatStorageDateTime(value.toDateTime());
    default:
        return value.toString();
    }
}

} // namespace

void saveRecordset(Dataset &dataset, const QString &path)
{
    QJsonArray columns;
    for (int c = 0; c < dataset.columnCount(); ++c) {
        const DatasetColumn &column = dataset.column(c);
        columns.append(QJsonObject{{QStringLiteral("name"), column.name},
                                   {QStringLiteral("type"), typeName(column.type)},
                                   {QStringLiteral("length"), column.length}});
    }
    QJsonArray rows;
    for (int r = 0; r < dataset.recordCount(); ++r) {
        QJsonArray row;
        for (int c = 0; c < dataset.columnCount(); ++c)
            row.append(toJson(dataset.valueAt(r, c)));
        rows.append(row);
    }
    const QJsonObject document{{QStringLiteral("format"), kFormat},
                               {QStringLiteral("version"), kVersion},
                               {QStringLiteral("columns"), columns},
                               {QStringLiteral("rows"), rows}};
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw Error(QStringLiteral("无法写入文件“%1”：%2").arg(path, file.errorString()));
    file.write(QJsonDocument(document).toJson(QJsonDocument::Indented));
    if (!file.commit())
        throw Error(QStringLiteral("无法写入文件“%1”：%2").arg(path, file.errorString()));
}

bool loadRecordset(Dataset &dataset, const QString &path, const QStringList &expectedColumns)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject())
        return false;
    const QJsonObject root = document.object();
    if (root.value(QStringLiteral("format")).toString() != kFormat
        || root.value(QStringLiteral("version")).toInt() != kVersion)
        return false;

    QList<DatasetColumn> columns;
    QStringList names;
    for (const QJsonValue &value : root.value(QStringLiteral("columns")).toArray()) {
        const QJsonObject object = value.toObject();
        DatasetColumn column;
        column.name = object.value(QStringLiteral("name")).toString();
        if (column.name.isEmpty()
            || !typeFromName(object.value(QStringLiteral("type")).toString(), &column.type))
            return false;
        column.length = object.value(QStringLiteral("length")).toInt();
        columns.append(column);
        names << column.name.toLower();
    }
    QStringList expected;
    for (const QString &name : expectedColumns)
        expected << name.toLower();
    QStringList sortedNames = names;
    sortedNames.sort();
    expected.sort();
    if (sortedNames != expected)
        return false;

    QList<QVariantList> rows;
    const QJsonValue rowsValue = root.value(QStringLiteral("rows"));
    if (!rowsValue.isArray())
        return false;
    for (const QJsonValue &value : rowsValue.toArray()) {
        if (!value.isArray())
            return false;
        const QJsonArray array = value.toArray();
        if (array.size() != columns.size())
            return false;
        QVariantList row;
        for (const QJsonValue &cell : array) {
            if (cell.isObject() || cell.isArray() || cell.isUndefined())
                return false;
            row << (cell.isNull() ? QVariant() : cell.toVariant());
        }
        rows.append(row);
    }
    dataset.loadRecords(columns, rows);
    return true;
}

} // namespace data
