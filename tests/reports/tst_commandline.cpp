#include "PasswordHash.h"
#include "SpreadsheetReader.h"
#include "TestDatabase.h"
#include "TestMain.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct Run
{
    int exitCode = -1;
    QStringList errorLines;
    QByteArray output;
};

} // namespace

// "lumora-crm --report N --pdf/--xlsx FILE --user NAME": the login check, the
// right to export, the exit codes, and no display needed.
class TestCommandLine : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;

    QString file(const QString &name) const { return QDir(m_db->workingDirectory()).filePath(name); }

    // Runs the program in the database's folder, without a display.
    Run run(const QStringList &arguments, const QString &password, bool passwordOnStandardInput = false)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(u"DISPLAY"_s);
        env.remove(u"WAYLAND_DISPLAY"_s);
        env.remove(u"QT_QPA_PLATFORM"_s);
        env.remove(u"LUMORA_PASSWORD"_s);
        if (!passwordOnStandardInput)
            env.insert(u"LUMORA_PASSWORD"_s, password);
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(m_db->workingDirectory());
        p.start(QStringLiteral(LUMORA_CRM), arguments);
        if (!p.waitForStarted(10000))
            return {};
        if (passwordOnStandardInput)
            p.write(password.toUtf8() + '\n');
        p.closeWriteChannel();
        Run r;
        if (!p.waitForFinished(60000)) {
            p.kill();
            p.waitForFinished();
            return r;
        }
        r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.output = p.readAllStandardOutput();
        for (const QString &line : QString::fromUtf8(p.readAllStandardError()).split(u'\n', Qt::SkipEmptyParts)) {
            // Qt's own notes about the environment are not the program's.
            if (!line.startsWith(u"QStandardPaths:"_s))
                r.errorLines << line;
        }
        return r;
    }

private slots:
    void initTestCase_data() { addBackendRows(); }
    void init()
    {
        LUMORA_INIT_BACKEND(backend);
        m_db = std::make_unique<TestDatabase>(backend);
        m_db->exec(u"INSERT INTO \"用户\" (\"用户名\", \"密码\", \"用户类型\", \"导出数据\") VALUES "
                   "('clerk', :clerk, '普通用户', :no), ('boss', :boss, '系统管理员', :yes)"_s,
                   {{u"clerk"_s, data::hashPassword(u"secret"_s)}, {u"boss"_s, data::hashPassword(u"总经理"_s)},
                    {u"no"_s, false}, {u"yes"_s, true}});
        m_db->exec(u"INSERT INTO \"ClientData\" (\"ID\", \"CoName\", \"Area\") VALUES "
                   "('K1', '上海博远贸易有限公司', '华东'), ('K2', '北京华信科技有限公司', '华北')"_s);
    }
    void cleanup() { m_db.reset(); }

    void failures_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("reason");
        const QString pdf = u"clients.pdf"_s;
        QTest::newRow("wrong password") << QStringList{u"--report"_s, u"1"_s, u"--pdf"_s, pdf, u"--user"_s, u"clerk"_s}
                                        << u"Secret"_s << 4 << u"用户名或密码错误。"_s;
        QTest::newRow("unknown user") << QStringList{u"--report"_s, u"1"_s, u"--pdf"_s, pdf, u"--user"_s, u"nobody"_s}
                                      << u""_s << 4 << u"用户名或密码错误。"_s;
        QTest::newRow("export without the right")
            << QStringList{u"--report"_s, u"1"_s, u"--xlsx"_s, u"clients.xlsx"_s, u"--user"_s, u"clerk"_s}
            << u"secret"_s << 5 << u"用户“clerk”没有导出数据的权限。"_s;
        QTest::newRow("no user") << QStringList{u"--report"_s, u"1"_s, u"--pdf"_s, pdf} << u"secret"_s << 2
                                 << u"请用 --user NAME 指定用户。"_s;
        QTest::newRow("unknown report")
            << QStringList{u"--report"_s, u"8"_s, u"--pdf"_s, pdf, u"--user"_s, u"clerk"_s} << u"secret"_s << 2
            << u"没有编号为“8”的报表。"_s;
        QTest::newRow("no output") << QStringList{u"--report"_s, u"1"_s, u"--user"_s, u"clerk"_s} << u"secret"_s << 2
                                   << u"请用 --pdf FILE 或 --xlsx FILE 指定一个输出文件。"_s;
        QTest::newRow("nothing to print")
            << QStringList{u"--report"_s, u"6"_s, u"--pdf"_s, pdf, u"--user"_s, u"clerk"_s} << u"secret"_s << 6
            << u"没有可打印的报表数据！"_s;
    }
    void failures()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, password);
        QFETCH(int, exitCode);
        QFETCH(QString, reason);
        const Run r = run(arguments, password);
        QCOMPARE(r.exitCode, exitCode);
        QCOMPARE(r.errorLines, QStringList{u"lumora-crm: "_s + reason});
        QVERIFY(r.output.isEmpty());
        QVERIFY(!QFile::exists(file(u"clients.pdf"_s)));
        QVERIFY(!QFile::exists(file(u"clients.xlsx"_s)));
    }

    void writesThePdf()
    {
        const Run r = run({u"--report"_s, u"1"_s, u"--pdf"_s, u"clients.pdf"_s, u"--user"_s, u"clerk"_s}, u"secret"_s);
        QCOMPARE(r.errorLines, QStringList());
        QCOMPARE(r.exitCode, 0);
        QFile pdf(file(u"clients.pdf"_s));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QCOMPARE(pdf.read(5), QByteArray("%PDF-"));
    }

    void writesTheWorksheetWithThePasswordOnStandardInput()
    {
        const Run r = run({u"--report"_s, u"1"_s, u"--xlsx"_s, u"clients.xlsx"_s, u"--user"_s, u"boss"_s},
                          u"总经理"_s, true);
        QCOMPARE(r.errorLines, QStringList());
        QCOMPARE(r.exitCode, 0);
        const SpreadsheetContent sheet = readXlsx(file(u"clients.xlsx"_s));
        QVERIFY2(sheet.error.isEmpty(), qPrintable(sheet.error));
        QCOMPARE(sheet.rows.size(), 4);
        QCOMPARE(sheet.rows.at(2).mid(0, 3), (QStringList{u"1"_s, u"上海博远贸易有限公司"_s, u"K1"_s}));
        QCOMPARE(sheet.rows.at(3).mid(0, 3), (QStringList{u"2"_s, u"北京华信科技有限公司"_s, u"K2"_s}));
    }

    void withoutADatabase()
    {
        QVERIFY(QFile::remove(file(u"Connect.udl"_s)));
        const Run r = run({u"--report"_s, u"1"_s, u"--pdf"_s, u"clients.pdf"_s, u"--user"_s, u"clerk"_s}, u"secret"_s);
        QCOMPARE(r.exitCode, 3);
        QCOMPARE(r.errorLines.size(), 1);
        QVERIFY2(r.errorLines.first().startsWith(u"lumora-crm: 无法打开数据库："_s), qPrintable(r.errorLines.first()));
    }
};

LUMORA_TEST_CLASS(TestCommandLine)
#include "tst_commandline.moc"
