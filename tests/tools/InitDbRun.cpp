#include "InitDbRun.h"

#include "ConnInfo.h"
#include "Error.h"
#include "Schema.h"

#include <QFileInfo>
#include <QProcess>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

using namespace Qt::StringLiterals;

InitDbRun runInitDb(const QStringList &arguments, const QString &workingDirectory)
{
    QProcess process;
    process.setWorkingDirectory(workingDirectory);
    process.start(QStringLiteral(LUMORA_INITDB_PATH), arguments);
    InitDbRun run;
    // A safeguard against a hung tool, not a measure of its speed.
    run.finished = process.waitForFinished(300000) && process.exitStatus() == QProcess::NormalExit;
    run.exitCode = process.exitCode();
    run.output = QString::fromUtf8(process.readAllStandardOutput());
    const QString errors = QString::fromUtf8(process.readAllStandardError());
    run.errorLines = errors.split(u'\n', Qt::SkipEmptyParts);
    return run;
}

void verifyFailure(const InitDbRun &run, int exitCode)
{
    QVERIFY2(run.finished, "the tool did not end normally");
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(run.errorLines.size(), 1);
    QVERIFY2(run.errorLines.first().startsWith(u"lumora-crm-initdb: "_s),
             qPrintable(run.errorLines.first()));
    QVERIFY2(run.errorLines.first().size() > int(strlen("lumora-crm-initdb: ")) + 5,
             qPrintable(run.errorLines.first()));
    QCOMPARE(run.output, QString());
}

void verifySuccess(const InitDbRun &run)
{
    QVERIFY2(run.finished, "the tool did not end normally");
    QVERIFY2(run.errorLines.isEmpty(), qPrintable(run.errorLines.join(u'\n')));
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.output.count(u'\n'), 1);
    QVERIFY(run.output.endsWith(u'\n'));
}

void failOnError(const data::Error &error, const char *file, int line)
{
    QTest::qFail(qPrintable(error.message()), file, line);
}

std::unique_ptr<data::Connection> openConnection(const QString &connectionString,
                                                 const QString &folder)
{
    auto connection = std::make_unique<data::Connection>();
    connection->setWorkingDirectory(folder);
    connection->setConnectionString(connectionString);
    try {
        connection->open();
    } catch (const data::Error &error) {
        failOnError(error, __FILE__, __LINE__);
    }
    return connection;
}

std::unique_ptr<data::Connection> openSqliteFile(const QString &path)
{
    const QFileInfo file(path);
    return openConnection(u"Provider=SQLite;Data Source="_s + file.absoluteFilePath(),
                          file.absolutePath());
}

std::unique_ptr<data::Connection> openDataLink(const QString &udlPath)
{
    const QFileInfo udl(udlPath);
    return openConnection(u"FILE NAME="_s + udl.absoluteFilePath(), udl.absolutePath());
}

bool execute(data::Connection &connection, const QString &sql, const data::NamedValues &values)
{
    try {
        connection.exec(sql, values).finish();
        return true;
    } catch (const data::Error &error) {
        failOnError(error, __FILE__, __LINE__);
        return false;
    }
}

QVariant scalar(data::Connection &connection, const QString &sql, const data::NamedValues &values)
{
    const auto all = rows(connection, sql, values);
    return all.isEmpty() ? QVariant() : all.first().value(0);
}

QList<QVariantList> rows(data::Connection &connection, const QString &sql,
                         const data::NamedValues &values)
{
    QList<QVariantList> result;
    try {
        QSqlQuery query = connection.exec(sql, values);
        while (query.next()) {
            QVariantList row;
            for (int i = 0; i < query.record().count(); ++i)
                row << query.value(i);
            result << row;
        }
        query.finish();
    } catch (const data::Error &error) {
        failOnError(error, __FILE__, __LINE__);
    }
    return result;
}

QString dumpDatabase(data::Connection &connection)
{
    QString text;
    for (const data::Table &table : data::Schema::tables()) {
        QStringList columns;
        for (int i = 1; i <= table.columns.size(); ++i)
            columns << QString::number(i);
        text += table.name + u'\n';
        const auto all =
            rows(connection, u"SELECT * FROM %1 ORDER BY %2"_s.arg(data::Dialect::quote(table.name),
                                                                   columns.join(u", "_s)));
        for (const QVariantList &row : all) {
            QStringList cells;
            for (int i = 0; i < row.size(); ++i)
                cells
                    << data::Dialect::fromDatabase(row.at(i), table.columns.at(i).type).toString();
            text += cells.join(u'|') + u'\n';
        }
    }
    return text;
}

QString postgresConnInfo(const QString &database)
{
    const data::DataLink server = initdb::parseConnInfo(qEnvironmentVariable("CRM_TEST_PG"));
    const auto quoted = [](QString value) {
        value.replace(u"\\"_s, u"\\\\"_s).replace(u"'"_s, u"\\'"_s);
        return u'\'' + value + u'\'';
    };
    QStringList words = {u"host="_s + quoted(server.dataSource), u"dbname="_s + quoted(database)};
    if (!server.port.isEmpty())
        words << u"port="_s + quoted(server.port);
    if (!server.userId.isEmpty())
        words << u"user="_s + quoted(server.userId);
    if (!server.password.isEmpty())
        words << u"password="_s + quoted(server.password);
    return words.join(u' ');
}
