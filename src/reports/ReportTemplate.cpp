#include "ReportTemplate.h"

#include "Error.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QString kFolder = QStringLiteral(":/REP");
const QString kSignature = QStringLiteral("Lumora report template 1");

ReportField readField(const QJsonObject &o)
{
    ReportField f;
    f.label = o.value(QLatin1String("label")).toString();
    f.column = o.value(QLatin1String("column")).toString();
    f.format = o.value(QLatin1String("format")).toString();
    f.then = o.value(QLatin1String("then")).toString();
    f.span = qMax(1, o.value(QLatin1String("span")).toInt(1));
    f.width = qMax(0.1, o.value(QLatin1String("width")).toDouble(1));
    return f;
}

QList<ReportField> readFields(const QJsonValue &value)
{
    QList<ReportField> fields;
    for (const QJsonValue &v : value.toArray())
        fields << readField(v.toObject());
    return fields;
}

} // namespace

ReportTemplate parseReportTemplate(const QString &name, const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    const QJsonObject root = doc.object();
    if (error.error != QJsonParseError::NoError || root.value(QLatin1String("format")).toString() != kSignature)
        throw data::Error(QStringLiteral("报表模板“%1”的格式不正确。").arg(name));
    ReportTemplate t;
    t.name = name.toUpper();
    t.title = root.value(QLatin1String("title")).toString();
    t.columns = qMax(1, root.value(QLatin1String("columns")).toInt(2));
    t.heading = readField(root.value(QLatin1String("heading")).toObject());
    t.fields = readFields(root.value(QLatin1String("fields")));
    t.table = readFields(root.value(QLatin1String("table")));
    const QJsonObject lines = root.value(QLatin1String("lines")).toObject();
    t.hasLines = !lines.isEmpty();
    if (t.hasLines) {
        t.lines.heading = lines.value(QLatin1String("heading")).toString();
        t.lines.columns = qMax(1, lines.value(QLatin1String("columns")).toInt(4));
        t.lines.fields = readFields(lines.value(QLatin1String("fields")));
        t.lines.total = readField(lines.value(QLatin1String("total")).toObject());
    }
    return t;
}

QStringList reportTemplateNames()
{
    QStringList names;
    for (const QString &entry : QDir(kFolder).entryList(QDir::Files))
        names << entry.toUpper();
    return names;
}

QByteArray reportTemplateText(const QString &name)
{
    for (const QString &entry : QDir(kFolder).entryList(QDir::Files)) {
        if (entry.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        QFile file(kFolder + QLatin1Char('/') + entry);
        if (file.open(QIODevice::ReadOnly))
            return file.readAll();
        break;
    }
    throw data::Error(QStringLiteral("找不到报表模板“%1”。").arg(name));
}

ReportTemplate loadReportTemplate(const QString &name)
{
    return parseReportTemplate(name, reportTemplateText(name));
}
