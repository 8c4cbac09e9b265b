#pragma once

#include <QString>

class PreparedReport;
struct ReportContent;

// Writes the pages as a PDF; throws data::Error when the file cannot be written.
void writeReportPdf(const PreparedReport &report, const QString &path);

// One worksheet for the whole report: the title, a row of headings (the
// record labels), then a row per record; an order's lines follow its row,
// one column in, under their own headings, and then the order's total.
// Throws data::Error (from SpreadsheetWriter) on failure.
void writeReportSpreadsheet(const ReportContent &content, const QString &path);
