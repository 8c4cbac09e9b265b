#pragma once

#include "ReportContent.h"

#include <optional>

// The eleven report numbers: which dataset of the data module gives the
// records, which template prints them and where an order's lines come from.
// Reads the records as the datasets hold them now (their filter and order)
// and leaves every dataset on the row it stood on.
//
// Returns nothing when the records dataset holds no record. Throws
// data::Error for a number without a report, a closed data module, a missing
// template or a database error.
std::optional<ReportContent> captureNumberedReport(int number);

// The report numbers the program knows.
QList<int> reportNumbers();
