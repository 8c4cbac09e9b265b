#pragma once

#include <QString>
#include <QVariantList>

#include <memory>

// Writes one worksheet row by row: a real .xlsx workbook, or, when the path
// ends in ".csv", UTF-8 text with a byte-order mark so that spreadsheet
// programs show Chinese correctly. Rows are streamed to the file, so a
// hundred thousand of them cost little memory.
//
// Numbers are written as numbers, dates and times as dates in the workbook
// (as "yyyy-MM-dd", "HH:mm:ss" text in CSV), Booleans as "是" / "否", the rest
// as text. Every failure throws data::Error with a message naming the file.
class SpreadsheetWriter
{
public:
    SpreadsheetWriter(const QString &path, const QString &sheetName);
    ~SpreadsheetWriter();
    SpreadsheetWriter(const SpreadsheetWriter &) = delete;
    SpreadsheetWriter &operator=(const SpreadsheetWriter &) = delete;

    void writeRow(const QVariantList &values);
    // Writes the file out; until then it is incomplete. Not closing (an
    // exception on the way) removes the partial file.
    void close();

    static bool isCsvPath(const QString &path);

    class Format;

private:
    std::unique_ptr<Format> m_format;
};
