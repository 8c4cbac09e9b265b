#include "DataLink.h"
#include "Error.h"

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include "TestMain.h"

#include <QTest>

using data::DataLink;

class TestDataLink : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString writeFile(const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(QStringLiteral("Connect.udl"));
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(bytes);
        return path;
    }

private slots:
    void readsEncodings_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QString text = QStringLiteral("[oledb]\r\n; Everything after this line is an OLE DB initstring\r\n"
                                            "Provider=SQLite;Data Source=数据/crm.db;Mode=ReadWrite\r\n");
        QStringEncoder le(QStringEncoder::Utf16LE);
        QStringEncoder be(QStringEncoder::Utf16BE);
        QTest::newRow("utf-8") << text.toUtf8();
        QTest::newRow("utf-8 with bom") << QByteArray("\xEF\xBB\xBF") + text.toUtf8();
        QTest::newRow("utf-16le with bom") << QByteArray("\xFF\xFE") + QByteArray(le(text));
        QTest::newRow("utf-16be with bom") << QByteArray("\xFE\xFF") + QByteArray(be(text));
    }
    void readsEncodings()
    {
        QFETCH(QByteArray, bytes);
        const DataLink link = DataLink::readFile(writeFile(bytes));
        QCOMPARE(link.provider, QStringLiteral("SQLite"));
        QCOMPARE(link.dataSource, QStringLiteral("数据/crm.db"));
        QCOMPARE(link.mode, QStringLiteral("ReadWrite"));
        QVERIFY(link.isFileDatabase());
    }

    void parsesServerLink()
    {
        const DataLink link = DataLink::parse(QStringLiteral(
            "Provider=PostgreSQL;Data Source=db.example;Port=5433;Initial Catalog=CRMS;User ID=crm;Password=\"a=b\""));
        QCOMPARE(link.kind(), data::DatabaseKind::Postgres);
        QCOMPARE(link.dataSource, QStringLiteral("db.example"));
        QCOMPARE(link.port, QStringLiteral("5433"));
        QCOMPARE(link.initialCatalog, QStringLiteral("CRMS"));
        QCOMPARE(link.userId, QStringLiteral("crm"));
        QCOMPARE(link.password, QStringLiteral("a=b"));
        // What is written reads back the same.
        const DataLink again = DataLink::parse(link.toConnectionString());
        QCOMPARE(again.toConnectionString(), link.toConnectionString());
    }

    // The file database test is on the provider name, in this letter case.
    void fileDatabaseTestIsCaseSensitive_data()
    {
        QTest::addColumn<QString>("provider");
        QTest::addColumn<bool>("file");
        QTest::newRow("SQLite") << "SQLite" << true;
        QTest::newRow("containing SQLite") << "Lumora.SQLite.3" << true;
        QTest::newRow("sqlite") << "sqlite" << false;
        QTest::newRow("PostgreSQL") << "PostgreSQL" << false;
    }
    void fileDatabaseTestIsCaseSensitive()
    {
        QFETCH(QString, provider);
        QFETCH(bool, file);
        QCOMPARE(DataLink::parse(QStringLiteral("Provider=") + provider).isFileDatabase(), file);
    }

    void refusesBadFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");
        QTest::newRow("unknown provider") << QByteArray("[oledb]\nProvider=Microsoft.Jet.OLEDB.4.0;Data Source=x.mdb\n")
                                          << QStringLiteral("数据提供程序“Microsoft.Jet.OLEDB.4.0”无法识别");
        QTest::newRow("lower-case sqlite") << QByteArray("Provider=sqlite;Data Source=x.db")
                                           << QStringLiteral("数据提供程序“sqlite”无法识别");
        QTest::newRow("no provider") << QByteArray("Data Source=x.db\n")
                                     << QStringLiteral("没有指定数据提供程序");
        QTest::newRow("only comments") << QByteArray("[oledb]\n; nothing here\n\n")
                                       << QStringLiteral("没有连接字符串");
    }
    void refusesBadFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        try {
            DataLink::readFile(writeFile(bytes));
            QFAIL("no error");
        } catch (const data::Error &error) {
            QVERIFY2(error.message().contains(expected), qPrintable(error.message()));
        }
    }

    void missingFileNamesIt()
    {
        const QString path = m_dir.filePath(QStringLiteral("absent/Connect.udl"));
        try {
            DataLink::readFile(path);
            QFAIL("no error");
        } catch (const data::Error &error) {
            QVERIFY2(error.message().contains(path), qPrintable(error.message()));
        }
    }
};

LUMORA_TEST_CLASS(TestDataLink)

#include "tst_datalink.moc"
