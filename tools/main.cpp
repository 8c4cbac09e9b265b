#include "CommandLine.h"
#include "InitDatabase.h"
#include "UsageError.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdio>

namespace {

// Every failure is one line, so that scripts can log it as it stands: line
// breaks in a database's message become spaces.
int fail(const QString &message, int exitCode)
{
    std::fprintf(stderr, "lumora-crm-initdb: %s\n", message.simplified().toUtf8().constData());
    return exitCode;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lumora-crm-initdb"));
    QCoreApplication::setApplicationVersion(QStringLiteral(LUMORA_VERSION));

    // Qt's own Chinese for the command-line parser's messages.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTranslator);

    try {
        const initdb::CommandLine command = initdb::parseCommandLine(QCoreApplication::arguments());
        if (command.info) {
            std::fputs(command.info->toUtf8().constData(), stdout);
            return 0;
        }
        const QString summary = initdb::initDatabase(command.options);
        std::printf("%s\n", summary.toUtf8().constData());
        return 0;
    } catch (const initdb::UsageError &error) {
        return fail(error.message(), 2);
    } catch (const data::Error &error) {
        return fail(error.message(), 1);
    } catch (const std::exception &error) {
        return fail(QString::fromLocal8Bit(error.what()), 1);
    }
}
