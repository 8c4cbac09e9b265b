// The main menu's client export on a large database: time and memory to write
// every client to .xlsx and to .csv. Uses the database of bench_dataset (run
// that first).
//
//   bench_export [--db DIR]

#include "Connection.h"
#include "TableExport.h"

#include <QCoreApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/resource.h>

namespace {

long peakResidentKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({QStringLiteral("db"), QStringLiteral("folder of the benchmark database"), QStringLiteral("DIR"),
                      QDir::current().filePath(QStringLiteral("bench-data"))});
    parser.process(app);
    const QString folder = parser.value(QStringLiteral("db"));
    const QString udl = QDir(folder).filePath(QStringLiteral("Connect.udl"));
    if (!QFileInfo::exists(udl)) {
        std::fprintf(stderr, "no database in %s: run bench_dataset first\n", qPrintable(folder));
        return 1;
    }
    try {
        data::Connection connection;
        connection.setWorkingDirectory(folder);
        connection.setConnectionString(QStringLiteral("FILE NAME=Connect.udl"));
        connection.open();
        const TableExport *clients = TableExport::ofTag(81);
        QTemporaryDir out;
        const long before = peakResidentKiB();
        for (const char *suffix : {".xlsx", ".csv"}) {
            const QString path = out.filePath(QStringLiteral("clients") + QLatin1String(suffix));
            QElapsedTimer timer;
            timer.start();
            const int rows = clients->write(connection, path);
            const double ms = timer.nsecsElapsed() / 1e6;
            std::printf("%-40s %8d rows %8.0f ms %8.1f MB file\n",
                        qPrintable(QStringLiteral("clients to %1").arg(QLatin1String(suffix))), rows, ms,
                        QFileInfo(path).size() / 1e6);
        }
        std::printf("%-40s %8.1f MB (before the exports: %.1f MB)\n", "peak resident memory",
                    peakResidentKiB() / 1024.0, before / 1024.0);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
