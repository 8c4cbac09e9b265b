#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Reads back what the program wrote, for checking exports: the cells of the
// first worksheet of an .xlsx file (numbers as the file holds them, dates as
// serial day numbers), or the fields of a CSV file. Rows in file order; a
// file that cannot be read gives no rows and the reason in `error`.
struct SpreadsheetContent
{
    QList<QStringList> rows;
    QString error;
    int sheetCount = 0;
    bool byteOrderMark = false; // CSV
};

SpreadsheetContent readXlsx(const QString &path);
SpreadsheetContent readCsv(const QString &path);
