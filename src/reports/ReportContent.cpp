#include "ReportContent.h"

#include "ReportFormat.h"
#include "ReportSource.h"

namespace {

ReportCell readCell(ReportSource &source, int record, const ReportField &field)
{
    ReportCell cell;
    cell.label = field.label;
    cell.span = field.span;
    cell.value = source.value(record, field.column);
    cell.text = formatReportValue(cell.value, field.format, source.plainText(record, field.column));
    if (!field.then.isEmpty()) {
        const QString more = source.plainText(record, field.then);
        if (!more.isEmpty())
            cell.text += (cell.text.isEmpty() ? QString() : QStringLiteral("  ")) + more;
        cell.value = cell.text; // two values in one cell export as their text
    }
    return cell;
}

QList<ReportCell> readCells(ReportSource &source, int record, const QList<ReportField> &fields)
{
    QList<ReportCell> cells;
    cells.reserve(fields.size());
    for (const ReportField &field : fields)
        cells << readCell(source, record, field);
    return cells;
}

} // namespace

ReportContent captureReport(const ReportTemplate &layout, ReportSource &source)
{
    ReportContent content;
    content.layout = layout;
    const int count = source.recordCount();
    content.records.reserve(count);
    for (int r = 0; r < count; ++r) {
        ReportRecord record;
        record.number = r + 1;
        if (!layout.heading.column.isEmpty())
            record.heading = source.plainText(r, layout.heading.column);
        record.cells = readCells(source, r, layout.isTable() ? layout.table : layout.fields);
        if (layout.hasLines) {
            double sum = 0;
            if (ReportSource *lines = source.linesOf(r)) {
                const QString &summed = layout.lines.total.column;
                for (int l = 0, n = lines->recordCount(); l < n; ++l) {
                    record.lines << readCells(*lines, l, layout.lines.fields);
                    if (!summed.isEmpty())
                        sum += lines->value(l, summed).toDouble();
                }
            }
            if (!layout.lines.total.column.isEmpty()) {
                record.total.label = layout.lines.total.label;
                record.total.value = sum;
                record.total.text = formatReportValue(sum, layout.lines.total.format, QString::number(sum));
            }
        }
        content.records << std::move(record);
    }
    return content;
}
