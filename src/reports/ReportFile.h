#pragma once

#include "ReportContent.h"

#include <QDate>

// A prepared report kept in a file of its own (".lrp", JSON): the template
// it was made with and every record as it printed, so that the preview can
// show it again later, laid out for any page, without the database.
struct SavedReport
{
    ReportContent content;
    QDate printDate;
};

// Both throw data::Error naming the file when it cannot be written or read.
void saveReportFile(const ReportContent &content, const QDate &printDate, const QString &path);
SavedReport loadReportFile(const QString &path);

bool isReportFilePath(const QString &path);
