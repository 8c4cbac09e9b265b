// Report 1 (every client) on a large database: the time to read the records
// into a report, to lay out the pages and to write the PDF, against the time
// the data module takes to open its datasets in the same run. Makes its own
// SQLite database with lumora-crm-initdb the first time.
//
//   QT_QPA_PLATFORM=offscreen bench_reports [--db DIR] [--clients N]

#include "DM.h"
#include "IniFile.h"
#include "PreparedReport.h"
#include "ReportData.h"
#include "ReportExport.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
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

bool ensureDatabase(const QString &folder, int clients)
{
    const QString stamp = QDir(folder).filePath(QStringLiteral("bench.%1").arg(clients));
    if (QFileInfo::exists(stamp))
        return true;
    QDir().mkpath(folder);
    std::printf("creating %d clients ...\n", clients);
    std::fflush(stdout);
    const int code = QProcess::execute(
        QStringLiteral(LUMORA_INITDB),
        {QStringLiteral("--sqlite"), QDir(folder).filePath(QStringLiteral("bench.db")), QStringLiteral("--udl"),
         QDir(folder).filePath(QStringLiteral("Connect.udl")), QStringLiteral("--demo"), QString::number(clients),
         QStringLiteral("--force")});
    if (code != 0) {
        std::fprintf(stderr, "lumora-crm-initdb failed (%d)\n", code);
        return false;
    }
    QFile(stamp).open(QIODevice::WriteOnly);
    return true;
}

double msSince(QElapsedTimer &timer)
{
    const double ms = timer.nsecsElapsed() / 1e6;
    timer.restart();
    return ms;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({QStringLiteral("db"), QStringLiteral("folder of the benchmark database"), QStringLiteral("DIR"),
                      QDir::current().filePath(QStringLiteral("bench-reports-data"))});
    parser.addOption({QStringLiteral("clients"), QStringLiteral("clients in the database"), QStringLiteral("N"),
                      QStringLiteral("10000")});
    parser.process(app);
    const QString folder = parser.value(QStringLiteral("db"));
    if (!ensureDatabase(folder, parser.value(QStringLiteral("clients")).toInt()))
        return 1;
    QTemporaryDir program;
    ProgramFolder::setPath(program.path());
    try {
        QElapsedTimer timer;
        timer.start();
        TDM1 dm(nullptr, folder);
        const double baseline = msSince(timer);
        const long before = peakResidentKiB();

        const std::optional<ReportContent> content = captureNumberedReport(1);
        if (!content) {
            std::fprintf(stderr, "no clients to print\n");
            return 1;
        }
        const double capture = msSince(timer);
        const PreparedReport report(*content, PreparedReport::defaultPageLayout(), QDate::currentDate());
        const double layout = msSince(timer);
        QTemporaryDir out;
        const QString pdf = out.filePath(QStringLiteral("clients.pdf"));
        writeReportPdf(report, pdf);
        const double write = msSince(timer);
        const QString xlsx = out.filePath(QStringLiteral("clients.xlsx"));
        writeReportSpreadsheet(*content, xlsx);
        const double sheet = msSince(timer);
        // The orders' report reads the lines of every order.
        const std::optional<ReportContent> orders = captureNumberedReport(5);
        if (!orders) {
            std::fprintf(stderr, "no orders to print\n");
            return 1;
        }
        const double orderCapture = msSince(timer);
        const PreparedReport orderReport(*orders, PreparedReport::defaultPageLayout(), QDate::currentDate());
        const double orderLayout = msSince(timer);

        const auto line = [baseline](const char *what, double ms) {
            std::printf("%-48s %9.0f ms %7.2f x\n", what, ms, ms / baseline);
        };
        std::printf("%-48s %9d\n", "clients printed", int(content->records.size()));
        std::printf("%-48s %9d\n", "pages", report.pageCount());
        line("baseline: data module opened", baseline);
        line("records read into the report", capture);
        line("pages laid out", layout);
        line("PDF written", write);
        line("report 1 total (read, lay out, PDF)", capture + layout + write);
        line("worksheet of the report written", sheet);
        std::printf("%-48s %9d\n", "orders printed (report 5)", int(orders->records.size()));
        std::printf("%-48s %9d\n", "pages of report 5", orderReport.pageCount());
        line("orders and their lines read", orderCapture);
        line("order pages laid out", orderLayout);
        std::printf("%-48s %9.1f MB\n", "PDF size", QFileInfo(pdf).size() / 1e6);
        std::printf("%-48s %9.1f MB\n", "peak memory added by the report", (peakResidentKiB() - before) / 1024.0);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
