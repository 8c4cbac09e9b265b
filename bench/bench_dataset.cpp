// Opening the client dataset against a plain forward-only read of the same
// rows, memory per row, and one move of the client dataset with its detail
// datasets following, on an SQLite database made by lumora-crm-initdb.
//
//   bench_dataset [--clients N] [--contacts M] [--db FILE] [--moves K]

#include "DM.h"
#include "Dataset.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSqlQuery>
#include <QSqlRecord>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>

namespace {

double bestOf(int runs, const std::function<void()> &body)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        body();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

size_t heapInUse()
{
    return mallinfo2().uordblks;
}

void ensureDatabase(const QString &folder, int clients, int contacts)
{
    const QString db = QDir(folder).filePath(QStringLiteral("bench.db"));
    const QString stamp = QDir(folder).filePath(QStringLiteral("bench.%1.%2").arg(clients).arg(contacts));
    if (QFileInfo::exists(db) && QFileInfo::exists(stamp))
        return;
    QDir().mkpath(folder);
    std::printf("creating %d clients with %d contacts ...\n", clients, contacts);
    std::fflush(stdout);
    QElapsedTimer timer;
    timer.start();
    const int code = QProcess::execute(QStringLiteral(LUMORA_INITDB),
                                       {QStringLiteral("--sqlite"), db, QStringLiteral("--udl"),
                                        QDir(folder).filePath(QStringLiteral("Connect.udl")),
                                        QStringLiteral("--demo"), QString::number(clients),
                                        QStringLiteral("--contacts"), QString::number(contacts),
                                        QStringLiteral("--force")});
    if (code != 0) {
        std::fprintf(stderr, "lumora-crm-initdb failed (%d)\n", code);
        std::exit(1);
    }
    std::printf("  made in %.1f s\n", timer.elapsed() / 1000.0);
    QFile(stamp).open(QIODevice::WriteOnly);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({QStringLiteral("clients"), QStringLiteral("clients in the database"), QStringLiteral("N"),
                      QStringLiteral("100000")});
    parser.addOption({QStringLiteral("contacts"), QStringLiteral("contacts in the database"), QStringLiteral("M"),
                      QStringLiteral("400000")});
    parser.addOption({QStringLiteral("db"), QStringLiteral("folder of the benchmark database"),
                      QStringLiteral("DIR"), QDir::current().filePath(QStringLiteral("bench-data"))});
    parser.addOption({QStringLiteral("moves"), QStringLiteral("client moves to time"), QStringLiteral("K"),
                      QStringLiteral("2000")});
    parser.process(app);
    const QString folder = parser.value(QStringLiteral("db"));
    ensureDatabase(folder, parser.value(QStringLiteral("clients")).toInt(),
                   parser.value(QStringLiteral("contacts")).toInt());

    data::Connection connection;
    connection.setWorkingDirectory(folder);
    connection.setConnectionString(QStringLiteral("FILE NAME=Connect.udl"));
    connection.open();
    const QString sql = QStringLiteral("select * from \"ClientData\"");

    qint64 plainRows = 0;
    const double plain = bestOf(5, [&] {
        QSqlQuery query(connection.database());
        query.setForwardOnly(true);
        query.exec(sql);
        const int columns = query.record().count();
        std::vector<QVariant> sink(columns);
        plainRows = 0;
        while (query.next()) {
            for (int i = 0; i < columns; ++i)
                sink[i] = query.value(i);
            ++plainRows;
        }
    });

    data::Dataset clients(&connection, QStringLiteral("ADODataSet1"));
    clients.setCommandText(sql);
    const double open = bestOf(5, [&] {
        clients.close();
        clients.open();
    });
    const double sort = bestOf(3, [&] {
        clients.setSort(QString());
        clients.setSort(QStringLiteral("ID ASC"));
    });
    clients.close();
    malloc_trim(0);
    const size_t before = heapInUse();
    clients.open();
    const size_t after = heapInUse();
    const double bytesPerRow = double(after - before) / std::max(1, clients.recordCount());
    clients.close();
    connection.close();

    // The data module itself: the client dataset with its four details (and the order lines).
    TDM1 dm(nullptr, folder);
    if (!dm.ADODataSet1->isActive())
        return 1;
    const int moves = std::min(parser.value(QStringLiteral("moves")).toInt(), dm.ADODataSet1->recordCount() - 1);
    dm.ADODataSet1->first();
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < moves; ++i)
        dm.ADODataSet1->next();
    const double perNext = timer.nsecsElapsed() / 1e6 / moves;
    std::mt19937 random(7);
    std::uniform_int_distribution<int> anywhere(0, dm.ADODataSet1->recordCount() - 1);
    timer.restart();
    for (int i = 0; i < moves; ++i)
        dm.ADODataSet1->moveTo(anywhere(random));
    const double perJump = timer.nsecsElapsed() / 1e6 / moves;

    std::printf("\n%-52s %10s\n", "measure (best of runs)", "value");
    std::printf("%-52s %10lld\n", "client rows", plainRows);
    std::printf("%-52s %8.1f ms\n", "plain forward-only QSqlQuery loop", plain);
    std::printf("%-52s %8.1f ms\n", "Dataset::open of ADODataSet1", open);
    std::printf("%-52s %8.2f x   (target <= 1.5)\n", "  ratio open / plain loop", open / plain);
    std::printf("%-52s %8.1f ms\n", "in-memory sort \"ID ASC\"", sort);
    std::printf("%-52s %8.0f B\n", "heap per client row", bytesPerRow);
    std::printf("%-52s %8.3f ms  (target < 2)\n", "move to next client, details following", perNext);
    std::printf("%-52s %8.3f ms\n", "move to a random client, details following", perJump);
    return 0;
}
