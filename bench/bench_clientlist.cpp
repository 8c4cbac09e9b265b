// The client list window on a large database: how long it takes to open and
// how long one move of the client takes with the four detail grids showing.
// Uses the database of bench_dataset (run that first).
//
//   QT_QPA_PLATFORM=offscreen bench_clientlist [--db DIR] [--moves K]

#include "ClientList.h"
#include "DM.h"
#include "DataGrid.h"
#include "IniFile.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({QStringLiteral("db"), QStringLiteral("folder of the benchmark database"), QStringLiteral("DIR"),
                      QDir::current().filePath(QStringLiteral("bench-data"))});
    parser.addOption({QStringLiteral("moves"), QStringLiteral("client moves to time"), QStringLiteral("K"),
                      QStringLiteral("500")});
    parser.process(app);
    const QString folder = parser.value(QStringLiteral("db"));
    if (!QFileInfo::exists(QDir(folder).filePath(QStringLiteral("Connect.udl")))) {
        std::fprintf(stderr, "no database in %s: run bench_dataset first\n", qPrintable(folder));
        return 1;
    }
    QTemporaryDir program;
    ProgramFolder::setPath(program.path());

    QElapsedTimer timer;
    timer.start();
    TDM1 dm(nullptr, folder);
    const double dataModule = timer.nsecsElapsed() / 1e6;
    timer.restart();
    auto *list = new TClientListForm;
    list->resize(1200, 800);
    list->show();
    QApplication::processEvents();
    const double window = timer.nsecsElapsed() / 1e6;

    const int moves = parser.value(QStringLiteral("moves")).toInt();
    timer.restart();
    for (int i = 0; i < moves; ++i) {
        dm.ADODataSet1->next();
        QApplication::processEvents(); // the grids repaint as they would for the user
    }
    const double perMove = timer.nsecsElapsed() / 1e6 / moves;

    std::printf("%-56s %10d\n", "clients", dm.ADODataSet1->recordCount());
    std::printf("%-56s %8.0f ms\n", "data module created (every shared dataset opened)", dataModule);
    std::printf("%-56s %8.0f ms\n", "client list window opened and shown", window);
    std::printf("%-56s %8.2f ms\n", "one client move, detail grids following and painted", perMove);
    delete list;
    return 0;
}
