#include "ReportExport.h"

#include "Error.h"
#include "PreparedReport.h"
#include "ReportContent.h"
#include "SpreadsheetWriter.h"

#include <QFileInfo>
#include <QPdfWriter>

namespace {

QString heading(const QString &label)
{
    QString h = label.trimmed();
    while (h.endsWith(QStringLiteral("：")) || h.endsWith(QLatin1Char(':')))
        h.chop(1);
    return h;
}

// Numbers and dates go in as themselves; everything else as it prints.
QVariant cellValue(const ReportCell &cell)
{
    switch (cell.value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Double:
    case QMetaType::QDate:
    case QMetaType::QDateTime:
        return cell.value;
    default:
        return cell.text;
    }
}

} // namespace

void writeReportPdf(const PreparedReport &report, const QString &path)
{
    {
        QPdfWriter writer(path);
        writer.setPageLayout(report.pageLayout());
        writer.setResolution(int(PreparedReport::unitsPerInch));
        writer.setCreator(QStringLiteral("Lumora CRM"));
        if (report.print(&writer))
            return;
    }
    throw data::Error(QStringLiteral("无法写入文件“%1”。").arg(QFileInfo(path).absoluteFilePath()));
}

void writeReportSpreadsheet(const ReportContent &content, const QString &path)
{
    const ReportTemplate &t = content.layout;
    SpreadsheetWriter sheet(path, t.title);
    sheet.writeRow({t.title});
    QVariantList headings;
    if (!t.isTable())
        headings << QStringLiteral("编号");
    if (!t.heading.column.isEmpty())
        headings << t.heading.label;
    for (const ReportField &f : t.isTable() ? t.table : t.fields)
        headings << heading(f.label);
    sheet.writeRow(headings);
    for (const ReportRecord &record : content.records) {
        QVariantList row;
        if (!t.isTable())
            row << record.number;
        if (!t.heading.column.isEmpty())
            row << record.heading;
        for (const ReportCell &cell : record.cells)
            row << cellValue(cell);
        sheet.writeRow(row);
        if (!t.hasLines)
            continue;
        QVariantList lineHeadings{QString(), t.lines.heading};
        for (const ReportField &f : t.lines.fields)
            lineHeadings << heading(f.label);
        sheet.writeRow(lineHeadings);
        for (const QList<ReportCell> &line : record.lines) {
            QVariantList r{QString(), QString()};
            for (const ReportCell &cell : line)
                r << cellValue(cell);
            sheet.writeRow(r);
        }
        if (!record.total.label.isEmpty())
            sheet.writeRow({QString(), heading(record.total.label), record.total.value});
    }
    sheet.close();
}
