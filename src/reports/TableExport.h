#pragma once

#include <QList>
#include <QString>

namespace data {
class Connection;
}

// The main menu's spreadsheet exports: each writes every row of one table,
// under the captions its list window shows, to an .xlsx or .csv file.
struct TableExport
{
    struct Column
    {
        QString name;
        QString caption;
    };

    int tag;          // the command's tag, 81-85
    QString table;
    QString title;    // the worksheet's name and the suggested file name
    QList<Column> columns;

    // Writes the table to `path` (".csv" makes a CSV file) and returns the
    // number of rows written. Throws data::Error; a failed export leaves no file.
    int write(data::Connection &connection, const QString &path) const;

    static const QList<TableExport> &all();
    // nullptr for a tag that is no export.
    static const TableExport *ofTag(int tag);
};
