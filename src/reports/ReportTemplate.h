#pragma once

#include <QList>
#include <QString>

// A report layout, read from one of the templates compiled into the program
// (resource folder ":/REP", JSON). A template either repeats a record block
// for every record — a heading, then labelled values in a grid — or, when it
// has table columns, prints one line per record under column headings.
struct ReportField
{
    QString label;      // printed before the value, "代码："
    QString column;     // the dataset's column
    QString format;     // a date or number picture; empty for the plain value
    QString then;       // a second column printed after the first ("Dates" then "Times")
    int span = 1;       // grid columns taken
    double width = 1;   // relative width of a table column
};

struct ReportLines
{
    QString heading; // "销售明细"
    int columns = 4;
    QList<ReportField> fields;
    ReportField total; // label, summed column and format; empty column: no total
};

struct ReportTemplate
{
    QString name; // the resource name, upper case
    QString title;
    int columns = 2;
    ReportField heading; // printed large beside the record number; empty column: none
    QList<ReportField> fields;
    bool hasLines = false;
    ReportLines lines;
    QList<ReportField> table; // non-empty: a one-line-per-record report

    bool isTable() const { return !table.isEmpty(); }
};

// The template named `name`, matched without regard to letter case. Throws
// data::Error when there is none or it cannot be read.
ReportTemplate loadReportTemplate(const QString &name);
// The text of that template.
QByteArray reportTemplateText(const QString &name);
// Parses the template text; throws data::Error naming `name` when it is not one.
ReportTemplate parseReportTemplate(const QString &name, const QByteArray &json);
// The names of the templates the program carries, upper case.
QStringList reportTemplateNames();
