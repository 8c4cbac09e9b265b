#pragma once

#include "ReportTemplate.h"

#include <QList>
#include <QVariant>

class ReportSource;

// A report's records as they will print: every value already formatted by its
// template picture, with the value itself kept for spreadsheets. It holds no
// link to the data it was read from, so it can be laid out again (page setup)
// after the datasets have moved on.
struct ReportCell
{
    QString label;
    QString text;
    QVariant value;
    int span = 1;
};

struct ReportRecord
{
    int number = 0; // running number within the report, from 1
    QString heading;
    QList<ReportCell> cells;
    QList<QList<ReportCell>> lines;
    ReportCell total; // valid when the template sums its lines
};

struct ReportContent
{
    ReportTemplate layout;
    QList<ReportRecord> records;
};

// Reads every record of `source` (and each record's lines) through `layout`.
ReportContent captureReport(const ReportTemplate &layout, ReportSource &source);
