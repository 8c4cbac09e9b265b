#include "SpreadsheetReader.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <archive.h>
#include <archive_entry.h>

namespace {

QHash<QString, QByteArray> unzip(const QString &path, QString &error)
{
    QHash<QString, QByteArray> entries;
    archive *a = archive_read_new();
    archive_read_support_format_zip(a);
    const QByteArray file = QFile::encodeName(path);
    if (archive_read_open_filename(a, file.constData(), 65536) != ARCHIVE_OK) {
        error = QString::fromUtf8(archive_error_string(a));
        archive_read_free(a);
        return entries;
    }
    archive_entry *entry = nullptr;
    while (archive_read_next_header(a, &entry) == ARCHIVE_OK) {
        QByteArray data;
        char buffer[65536];
        la_ssize_t n = 0;
        while ((n = archive_read_data(a, buffer, sizeof buffer)) > 0)
            data.append(buffer, n);
        entries.insert(QString::fromUtf8(archive_entry_pathname(entry)), data);
    }
    archive_read_free(a);
    return entries;
}

int columnOf(const QString &reference)
{
    int column = 0;
    for (const QChar c : reference) {
        if (!c.isLetter())
            break;
        column = column * 26 + (c.unicode() - 'A' + 1);
    }
    return column - 1;
}

QStringList sharedStrings(const QByteArray &xml)
{
    QStringList strings;
    QXmlStreamReader reader(xml);
    QString current;
    bool inItem = false;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == QLatin1String("si")) {
            inItem = true;
            current.clear();
        } else if (inItem && reader.isStartElement() && reader.name() == QLatin1String("t")) {
            current += reader.readElementText();
        } else if (reader.isEndElement() && reader.name() == QLatin1String("si")) {
            strings << current;
            inItem = false;
        }
    }
    return strings;
}

} // namespace

SpreadsheetContent readXlsx(const QString &path)
{
    SpreadsheetContent content;
    const QHash<QString, QByteArray> entries = unzip(path, content.error);
    if (!content.error.isEmpty())
        return content;
    static const QRegularExpression sheetName(QStringLiteral("^xl/worksheets/sheet\\d+\\.xml$"));
    for (const QString &name : entries.keys())
        content.sheetCount += sheetName.match(name).hasMatch() ? 1 : 0;
    if (!entries.contains(QStringLiteral("xl/worksheets/sheet1.xml"))) {
        content.error = QStringLiteral("no first worksheet");
        return content;
    }
    const QStringList strings = sharedStrings(entries.value(QStringLiteral("xl/sharedStrings.xml")));
    QXmlStreamReader reader(entries.value(QStringLiteral("xl/worksheets/sheet1.xml")));
    QStringList row;
    int column = 0;
    QString type;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            if (reader.name() == QLatin1String("row")) {
                row.clear();
            } else if (reader.name() == QLatin1String("c")) {
                column = columnOf(reader.attributes().value(QLatin1String("r")).toString());
                type = reader.attributes().value(QLatin1String("t")).toString();
                while (row.size() <= column)
                    row << QString();
            } else if (reader.name() == QLatin1String("v")) {
                const QString value = reader.readElementText();
                row[column] = type == QLatin1String("s") ? strings.value(value.toInt()) : value;
            } else if (reader.name() == QLatin1String("t")) {
                row[column] += reader.readElementText(); // inline string
            }
        } else if (reader.isEndElement() && reader.name() == QLatin1String("row")) {
            content.rows << row;
        }
    }
    if (reader.hasError())
        content.error = reader.errorString();
    return content;
}

SpreadsheetContent readCsv(const QString &path)
{
    SpreadsheetContent content;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        content.error = file.errorString();
        return content;
    }
    QByteArray bytes = file.readAll();
    content.byteOrderMark = bytes.startsWith("\xEF\xBB\xBF");
    if (content.byteOrderMark)
        bytes.remove(0, 3);
    const QString text = QString::fromUtf8(bytes);
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"')) {
                field += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            row << field;
            field.clear();
        } else if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) {
            row << field;
            content.rows << row;
            row.clear();
            field.clear();
            ++i;
        } else {
            field += c;
        }
    }
    if (!field.isEmpty() || !row.isEmpty()) {
        row << field;
        content.rows << row;
    }
    return content;
}
