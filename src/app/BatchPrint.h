#pragma once

#include <QStringList>

// Printing without a window: "lumora-crm --report N --pdf FILE --user NAME"
// (or --xlsx FILE) writes report N from the database of Connect.udl in the
// working directory. The password comes from the environment variable
// LUMORA_PASSWORD or, when it is not set, from the first line of standard
// input. Writing a worksheet needs the right 导出数据.

// Whether the arguments ask for it (before the application exists, so that
// it can be started without a display).
bool isBatchPrint(int argc, char **argv);

// Runs it; 0 on success, otherwise one line on standard error and:
// 2 wrong arguments, 3 no database, 4 wrong user or password, 5 no right,
// 6 nothing to print, 7 the report could not be made or written.
int runBatchPrint(const QStringList &arguments);
