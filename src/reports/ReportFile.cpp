#include "ReportFile.h"

#include "Error.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace {

const QString kSignature = QStringLiteral("Lumora report 1");

// Values keep their kind, so that a loaded report exports as the original did.
QJsonValue toJson(const QVariant &value)
{
    switch (value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Double:
        return value.toDouble();
    case QMetaType::QDate:
        return QJsonObject{{QStringLiteral("date"), value.toDate().toString(Qt::ISODate)}};
    case QMetaType::QDateTime:
        return QJsonObject{{QStringLiteral("dateTime"), value.toDateTime().toString(Qt::ISODate)}};
    default:
        return value.isNull() ? QJsonValue() : QJsonValue(value.toString());
    }
}

QVariant fromJson(const QJsonValue &value)
{
    if (value.isDouble())
        return value.toDouble();
    if (value.isString())
        return value.toString();
    const QJsonObject o = value.toObject();
    if (o.contains(QLatin1String("date")))
        return QDate::fromString(o.value(QLatin1String("date")).toString(), Qt::ISODate);
    if (o.contains(QLatin1String("dateTime")))
        return QDateTime::fromString(o.value(QLatin1String("dateTime")).toString(), Qt::ISODate);
    return QVariant();
}

QJsonObject cellToJson(const ReportCell &cell)
{
    return {{QStringLiteral("label"), cell.label}, {QStringLiteral("text"), cell.text},
            {QStringLiteral("value"), toJson(cell.value)}, {QStringLiteral("span"), cell.span}};
}

ReportCell cellFromJson(const QJsonObject &o)
{
    ReportCell cell;
    cell.label = o.value(QLatin1String("label")).toString();
    cell.text = o.value(QLatin1String("text")).toString();
    cell.value = fromJson(o.value(QLatin1String("value")));
    cell.span = qMax(1, o.value(QLatin1String("span")).toInt(1));
    return cell;
}

QJsonArray cellsToJson(const QList<ReportCell> &cells)
{
    QJsonArray a;
    for (const ReportCell &c : cells)
        a.append(cellToJson(c));
    return a;
}

QList<ReportCell> cellsFromJson(const QJsonValue &value)
{
    QList<ReportCell> cells;
    for (const QJsonValue &v : value.toArray())
        cells << cellFromJson(v.toObject());
    return cells;
}

data::Error fileError(const QString &path, const QString &what)
{
    return data::Error(QStringLiteral("无法%1文件“%2”。").arg(what, QFileInfo(path).absoluteFilePath()));
}

} // namespace

bool isReportFilePath(const QString &path)
{
    return QFileInfo(path).suffix().compare(QLatin1String("lrp"), Qt::CaseInsensitive) == 0;
}

void saveReportFile(const ReportContent &content, const QDate &printDate, const QString &path)
{
    QJsonArray records;
    for (const ReportRecord &r : content.records) {
        QJsonArray lines;
        for (const QList<ReportCell> &line : r.lines)
            lines.append(cellsToJson(line));
        records.append(QJsonObject{{QStringLiteral("number"), r.number},
                                   {QStringLiteral("heading"), r.heading},
                                   {QStringLiteral("cells"), cellsToJson(r.cells)},
                                   {QStringLiteral("lines"), lines},
                                   {QStringLiteral("total"), cellToJson(r.total)}});
    }
    const QJsonObject layout =
        QJsonDocument::fromJson(reportTemplateText(content.layout.name)).object();
    const QJsonObject root{{QStringLiteral("format"), kSignature},
                           {QStringLiteral("template"), content.layout.name},
                           {QStringLiteral("layout"), layout},
                           {QStringLiteral("printDate"), printDate.toString(Qt::ISODate)},
                           {QStringLiteral("records"), records}};
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(root).toJson(QJsonDocument::Compact)) < 0
        || !file.commit())
        throw fileError(path, QStringLiteral("写入"));
}

SavedReport loadReportFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw fileError(path, QStringLiteral("打开"));
    QJsonParseError error;
    const QJsonObject root = QJsonDocument::fromJson(file.readAll(), &error).object();
    if (error.error != QJsonParseError::NoError || root.value(QLatin1String("format")).toString() != kSignature)
        throw data::Error(QStringLiteral("文件“%1”不是报表文件。").arg(QFileInfo(path).absoluteFilePath()));
    SavedReport saved;
    const QString name = root.value(QLatin1String("template")).toString();
    saved.content.layout =
        parseReportTemplate(name, QJsonDocument(root.value(QLatin1String("layout")).toObject()).toJson());
    saved.printDate = QDate::fromString(root.value(QLatin1String("printDate")).toString(), Qt::ISODate);
    for (const QJsonValue &v : root.value(QLatin1String("records")).toArray()) {
        const QJsonObject o = v.toObject();
        ReportRecord r;
        r.number = o.value(QLatin1String("number")).toInt();
        r.heading = o.value(QLatin1String("heading")).toString();
        r.cells = cellsFromJson(o.value(QLatin1String("cells")));
        for (const QJsonValue &line : o.value(QLatin1String("lines")).toArray())
            r.lines << cellsFromJson(line);
        r.total = cellFromJson(o.value(QLatin1String("total")).toObject());
        saved.content.records << std::move(r);
    }
    return saved;
}
