#include "ClientsFixture.h"
#include "DM.h"
#include "Main.h"
#include "MainCommands.h"
#include "Search.h"
#include "SpreadsheetReader.h"
#include "SpreadsheetWriter.h"
#include "TableExport.h"
#include "TestMain.h"

#include <QAction>
#include <QComboBox>
#include <QCheckBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// Spreadsheet files as other programs read them: cells, types, quoting, and
// what a failed write leaves behind.
class TestSpreadsheetWriter : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    static QVariantList sampleRow()
    {
        return {u"杭州科技'创新, \"公司\""_s, 42, 1234.5, QDate(2026, 12, 11), QTime(9, 5, 0), true, QVariant(),
                u"两行\n文字"_s};
    }

private slots:
    void xlsxCells()
    {
        const QString path = m_dir.filePath(u"sample.xlsx"_s);
        SpreadsheetWriter writer(path, u"客户资料"_s);
        writer.writeRow({u"公司名称"_s, u"数量"_s});
        writer.writeRow(sampleRow());
        writer.close();
        const SpreadsheetContent content = readXlsx(path);
        QCOMPARE(content.error, QString());
        QCOMPARE(content.sheetCount, 1);
        QCOMPARE(content.rows.size(), 2);
        QCOMPARE(content.rows.at(0), (QStringList{u"公司名称"_s, u"数量"_s}));
        const QStringList row = content.rows.at(1);
        QCOMPARE(row.value(0), u"杭州科技'创新, \"公司\""_s);
        QCOMPARE(row.value(1), u"42"_s);
        QCOMPARE(row.value(2), u"1234.5"_s);
        // Dates are day numbers counted from 1899-12-30, times fractions of a day.
        QCOMPARE(row.value(3).toDouble(), double(QDate(1899, 12, 30).daysTo(QDate(2026, 12, 11))));
        QCOMPARE(row.value(4).toDouble(), (9 * 60 + 5) / 1440.0);
        QCOMPARE(row.value(5), u"是"_s);
        QCOMPARE(row.value(6), QString());
        QCOMPARE(row.value(7), u"两行\n文字"_s);
    }

    void csvFields()
    {
        const QString path = m_dir.filePath(u"sample.csv"_s);
        SpreadsheetWriter writer(path, u"ignored"_s);
        writer.writeRow(sampleRow());
        writer.close();
        const SpreadsheetContent content = readCsv(path);
        QVERIFY(content.byteOrderMark);
        QCOMPARE(content.rows, (QList<QStringList>{{u"杭州科技'创新, \"公司\""_s, u"42"_s, u"1234.5"_s, u"2026-12-11"_s,
                                                    u"09:05:00"_s, u"是"_s, QString(), u"两行\n文字"_s}}));
    }

    void failedWritesLeaveNoFile_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::newRow("xlsx") << u".xlsx"_s;
        QTest::newRow("csv") << u".csv"_s;
    }
    void failedWritesLeaveNoFile()
    {
        QFETCH(QString, suffix);
        QTemporaryDir dir;
        // Into a folder that is not there.
        const QString missing = dir.filePath(u"missing/out"_s + suffix);
        QVERIFY_THROWS_EXCEPTION(data::Error, {
            SpreadsheetWriter writer(missing, u"表"_s);
            writer.writeRow({1});
            writer.close();
        });
        QVERIFY(!QFile::exists(missing));
        // Given up half way: the existing file under that name is kept as it was.
        const QString path = dir.filePath(u"kept"_s + suffix);
        {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("old");
        }
        {
            SpreadsheetWriter writer(path, u"表"_s);
            writer.writeRow({1});
        }
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u"kept"_s + suffix});
        QFile kept(path);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("old"));
    }
};

LUMORA_TEST_CLASS(TestSpreadsheetWriter)

// The main menu's five exports: every row of the table under the list's captions.
class TestTableExport : public QObject
{
    Q_OBJECT

    std::unique_ptr<ClientsFixture> m_app;
    QTemporaryDir m_dir;

    QAction *command(int tag)
    {
        for (QAction *a : m_app->app().main->Actions->exportCommands())
            if (MainCommands::tagOf(a) == tag)
                return a;
        return nullptr;
    }

private slots:
    void initTestCase_data() { addBackendRows(); }
    void init()
    {
        LUMORA_INIT_BACKEND(backend);
        m_app = std::make_unique<ClientsFixture>(backend);
        m_app->prompt.clear();
    }
    void cleanup() { m_app.reset(); }

    void exportsTheWholeTable_data()
    {
        QTest::addColumn<int>("tag");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("headers");
        QTest::addColumn<int>("rows");
        QTest::newRow("clients") << 81 << u"clients.xlsx"_s
                                 << QStringList{u"代号"_s, u"公司名称"_s, u"客户等级"_s, u"客户类型"_s, u"联系地址"_s,
                                                u"邮编"_s, u"地区"_s, u"联系电话"_s, u"传真"_s, u"电子邮件"_s, u"主页"_s}
                                 << 2;
        QTest::newRow("contacts as csv") << 82 << u"contacts.csv"_s
                                         << QStringList{u"联系人"_s, u"所属公司"_s, u"主联系人"_s, u"职务"_s,
                                                        u"部门"_s, u"电子邮件"_s, u"家庭地址"_s, u"办公电话"_s,
                                                        u"手机"_s, u"家庭电话"_s, u"传真"_s, u"生日"_s}
                                         << 3;
        QTest::newRow("visits") << 83 << u"visits.xlsx"_s
                                << QStringList{u"日期"_s, u"时间"_s, u"主题"_s, u"客户名称"_s, u"联系方式"_s,
                                               u"联系人"_s, u"我方人员"_s}
                                << 2;
        QTest::newRow("appointments") << 84 << u"appointments.xlsx"_s
                                      << QStringList{u"日期"_s, u"时间"_s, u"客户名称"_s, u"主题"_s, u"联系方式"_s,
                                                     u"负责人"_s}
                                      << 2;
        QTest::newRow("products, no suffix typed") << 85 << u"products"_s
                                                   << QStringList{u"产品代码"_s, u"产品名称"_s, u"规格"_s, u"单位"_s,
                                                                  u"销售价"_s, u"成本价"_s, u"销量"_s, u"备注"_s}
                                                   << 0;
    }
    void exportsTheWholeTable()
    {
        QFETCH(int, tag);
        QFETCH(QString, file);
        QFETCH(QStringList, headers);
        QFETCH(int, rows);
        ScriptedFileChooser files;
        const QString path = m_dir.filePath(file);
        files.answers << path;
        command(tag)->trigger();
        QCOMPARE(m_app->prompt.shown(), QList<Message>{});
        const QString written = path.endsWith(u".csv"_s) || path.endsWith(u".xlsx"_s) ? path : path + u".xlsx"_s;
        const SpreadsheetContent content = written.endsWith(u".csv"_s) ? readCsv(written) : readXlsx(written);
        QCOMPARE(content.error, QString());
        QCOMPARE(content.rows.value(0), headers);
        QCOMPARE(content.rows.size(), rows + 1);
        QCOMPARE(m_app->shell.opened, QStringList{written});
    }

    void ignoresTheSearchAndKeepsTheValues()
    {
        // The client list narrowed by a search: the export still holds every client.
        TSearchForm *search = m_app->app().search.get();
        search->Mode->setCurrentIndex(0);
        search->row1->setChecked(true);
        search->RzComboBox1->setCurrentIndex(search->RzComboBox1->findText(u"客户代码"_s));
        search->RzEdit1->setText(u"K1"_s);
        search->SearchButton->click();
        QCOMPARE(DM1->ADODataSet1->recordCount(), 1);
        m_app->db().exec(u"UPDATE \"ClientData\" SET \"Address\" = :a WHERE \"ID\" = 'K2'"_s,
                         {{u"a"_s, u"北京市海淀区\"中关村\", 1号"_s}});
        ScriptedFileChooser files;
        files.answers << m_dir.filePath(u"all.csv"_s);
        command(81)->trigger();
        const SpreadsheetContent content = readCsv(m_dir.filePath(u"all.csv"_s));
        QCOMPARE(content.rows.size(), 3);
        QStringList codes;
        for (const QStringList &row : content.rows.mid(1))
            codes << row.value(0);
        codes.sort();
        QCOMPARE(codes, (QStringList{u"K1"_s, u"K2"_s}));
        bool found = false;
        for (const QStringList &row : content.rows)
            found = found || row.value(4) == u"北京市海淀区\"中关村\", 1号"_s;
        QVERIFY(found);
    }

    void cancelledOrFailedExport()
    {
        ScriptedFileChooser files;
        files.answers << QString(); // cancelled
        command(81)->trigger();
        QCOMPARE(files.captions, QStringList{u"导出客户资料"_s});
        QCOMPARE(m_app->prompt.shown(), QList<Message>{});
        QVERIFY(m_app->shell.opened.isEmpty());

        const QString missing = m_dir.filePath(u"no such folder/clients.xlsx"_s);
        files.answers << missing;
        command(81)->trigger();
        QCOMPARE(m_app->prompt.count(), 1);
        QCOMPARE(m_app->prompt.shown().first().caption, u"Lumora客户关系管理系统(免费)"_s);
        QVERIFY(m_app->prompt.shown().first().text.contains(missing));
        QVERIFY(!QFile::exists(missing));
        QVERIFY(m_app->shell.opened.isEmpty());
    }
};

LUMORA_TEST_CLASS(TestTableExport)
#include "tst_export.moc"
