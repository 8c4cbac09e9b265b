#include "ClientList.h"
#include "ClientsFixture.h"
#include "DM.h"
#include "Main.h"
#include "MainCommands.h"
#include "PreparedReport.h"
#include "ReportPreview.h"
#include "ReportPrinter.h"
#include "ReportTexts.h"
#include "TestMain.h"

#include <QAction>
#include <QMenu>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const Message kNothingToPrint{u"错误"_s, u"没有可打印的报表数据！"_s, MessageIcon::Warning};

} // namespace

// PrintReport: the records of each number, the order lines and totals, the
// box when there is nothing to print, and the datasets left where they stood.
class TestPrintReport : public QObject
{
    Q_OBJECT

    std::unique_ptr<ClientsFixture> m_app;

    ReportPreview *preview() const { return m_app->app().main->reportPrinter()->preview(); }

    // Prints `number` and returns its record blocks.
    QList<QStringList> print(int number)
    {
        m_app->app().main->PrintReport(number);
        return preview() ? recordTexts(preview()->report()) : QList<QStringList>();
    }

    void setPrices()
    {
        // 打印机 1500, 扫描仪 800.50 at 9 tenths, 复印纸 25.
        m_app->db().exec(u"UPDATE \"SellDetail\" SET \"UnitPrice\" = 1500, \"Agio\" = 10 WHERE \"ProductName\" = '打印机'"_s);
        m_app->db().exec(u"UPDATE \"SellDetail\" SET \"UnitPrice\" = 800.5, \"Agio\" = 9 WHERE \"ProductName\" = '扫描仪'"_s);
        m_app->db().exec(u"UPDATE \"SellDetail\" SET \"UnitPrice\" = 25, \"Agio\" = 10 WHERE \"ProductName\" = '复印纸'"_s);
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

    void nothingToPrintShowsTheBoxAndNoPreview()
    {
        m_app->db().exec(u"DELETE FROM \"ClientData\""_s);
        DM1->ADODataSet1->requery();
        m_app->app().main->PrintReport(1);
        QCOMPARE(m_app->prompt.shown(), QList<Message>{kNothingToPrint});
        QVERIFY(!preview());
    }

    void everyNumberPrintsItsDataset_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("records");
        QTest::newRow("1 clients") << 1 << u"客户资料列表"_s << 2;
        QTest::newRow("2 contacts") << 2 << u"客户联系人资料"_s << 3;
        QTest::newRow("3 visits") << 3 << u"客户拜访记录"_s << 2;
        QTest::newRow("4 appointments") << 4 << u"客户预约记录"_s << 2;
        QTest::newRow("5 orders") << 5 << u"产品销售记录"_s << 3;
        QTest::newRow("211 the client's contacts") << 211 << u"客户联系人资料"_s << 2;
        QTest::newRow("212 the client's visits") << 212 << u"客户拜访记录"_s << 1;
        QTest::newRow("213 the client's orders") << 213 << u"产品销售记录"_s << 2;
        QTest::newRow("214 the client's appointments") << 214 << u"客户预约记录"_s << 1;
    }
    void everyNumberPrintsItsDataset()
    {
        QFETCH(int, number);
        QFETCH(QString, title);
        QFETCH(int, records);
        QVERIFY(m_app->openClientList(ClientsFixture::A));
        QCOMPARE(print(number).size(), records);
        QVERIFY(preview());
        QVERIFY(preview()->isVisible());
        QCOMPARE(preview()->windowTitle(), u"Lumora客户关系管理系统(免费)"_s);
        QCOMPARE(preview()->report().pageTexts(0).first(), title);
        QCOMPARE(m_app->prompt.count(), 0);
    }

    void productsAndLogPrintTheirRows()
    {
        m_app->db().exec(u"INSERT INTO \"ProductInfo\" (\"ID\", \"ProductName\", \"Price\") VALUES ('P1', '打印机', 1500)"_s);
        m_app->db().exec(u"INSERT INTO \"Log\" (\"UserName\", \"LoadDate\") VALUES ('admin', :d)"_s,
                         {{u"d"_s, QDateTime(QDate(2026, 12, 11), QTime(8, 0, 5))}});
        DM1->ADODataSet5->requery();
        DM1->LogData->requery();
        QCOMPARE(valueAfter(print(6).value(0), u"产品名称："_s), u"打印机"_s);
        print(7);
        QVERIFY(preview());
        const QStringList log = preview()->report().pageTexts(0);
        QVERIFY2(log.contains(u"2026年12月11日　星期五　08:00:05"_s), qPrintable(log.join(u'|')));
    }

    void theClientsContactsOnly()
    {
        QVERIFY(m_app->openClientList(ClientsFixture::B));
        QList<QStringList> records = print(211);
        QCOMPARE(records.size(), 1);
        QCOMPARE(records.at(0).mid(0, 3), (QStringList{u"编号："_s, u"1"_s, u"张敏"_s}));
        QCOMPARE(valueAfter(records.at(0), u"所属公司："_s), ClientsFixture::B);

        DM1->ADODataSet1->locate(u"CoName"_s, ClientsFixture::A);
        records = print(211);
        QStringList names;
        for (const QStringList &r : records) {
            QCOMPARE(valueAfter(r, u"所属公司："_s), ClientsFixture::A);
            names << r.at(2);
        }
        names.sort();
        QCOMPARE(names, (QStringList{u"李娜"_s, u"王伟"_s}));
    }

    void everyOrderWithItsOwnLinesAndTotal_data()
    {
        QTest::addColumn<int>("number");
        QTest::newRow("5 all orders") << 5;
        QTest::newRow("213 the client's orders") << 213;
    }
    void everyOrderWithItsOwnLinesAndTotal()
    {
        QFETCH(int, number);
        setPrices();
        // The datasets hold what they read; the program's refresh reads again.
        m_app->app().main->refreshAll();
        QVERIFY(m_app->openClientList(ClientsFixture::A));
        QHash<QString, QString> expected = {{u"XS20261201001"_s, u"打印机 扫描仪 | ￥2,940.90"_s},
                                            {u"XS20261201002"_s, u"复印纸 | ￥75.00"_s}};
        if (number == 5)
            expected.insert(u"XS20261201003"_s, u"打印机 | ￥6,000.00"_s);
        QHash<QString, QString> printed;
        for (const QStringList &record : print(number)) {
            QVERIFY(record.contains(u"销售明细"_s));
            QStringList products = valuesAfter(record, u"产品名称："_s);
            products.sort();
            printed.insert(valueAfter(record, u"订单号："_s),
                           products.join(u' ') + u" | "_s + valueAfter(record, u"本订单总金额为："_s));
        }
        QCOMPARE(printed, expected);
        // A line's own amounts.
        const QStringList texts = allTexts(preview()->report());
        QVERIFY(valuesAfter(texts, u"总金额："_s).contains(u"￥1,440.90"_s));
        QVERIFY(valuesAfter(texts, u"单价："_s).contains(u"￥800.50"_s));
    }

    void printingLeavesTheDatasetsWhereTheyStood()
    {
        QVERIFY(m_app->openClientList(ClientsFixture::A));
        data::Dataset *orders = DM1->ADODataSet6;
        orders->first(); // the report walks on to the last order
        const QString order = orders->fieldByName(u"OrderFormID"_s).asString();
        const int lines = DM1->ADODataSet7->recordCount();
        for (int number : {1, 213, 5, 211}) {
            print(number);
            QVERIFY(preview());
            QCOMPARE(DM1->ADODataSet1->fieldByName(u"CoName"_s).asString(), ClientsFixture::A);
            QCOMPARE(orders->fieldByName(u"OrderFormID"_s).asString(), order);
            QCOMPARE(DM1->ADODataSet7->recordCount(), lines);
            QCOMPARE(DM1->ADODataSet7->fieldByName(u"OrderFormID"_s).asString(), order);
        }
    }

    void theNextReportReplacesThePreview()
    {
        print(1);
        QPointer<ReportPreview> first = preview();
        QVERIFY(first);
        print(2);
        QVERIFY(first.isNull());
        QVERIFY(preview());
        QCOMPARE(preview()->report().pageTexts(0).first(), u"客户联系人资料"_s);
    }

    void aReportFollowsTheDatasetsFilterAndOrder()
    {
        // As the appointment list narrows its dataset to overdue appointments.
        data::Dataset *appointments = DM1->ADODataSet9;
        appointments->close();
        appointments->setCommandText(u"select * from \"ClientBespeak\" where \"Dates\" < :today"_s);
        appointments->setParameter(u"today"_s, QDate(2026, 12, 12));
        appointments->open();
        QList<QStringList> records = print(4);
        QCOMPARE(records.size(), 1);
        QCOMPARE(valueAfter(records.at(0), u"客户名称："_s), ClientsFixture::A);
        QCOMPARE(valueAfter(records.at(0), u"联系时间："_s), u"2026年12月11日  星期五"_s);

        DM1->ADODataSet1->setSort(u"ID DESC"_s);
        records = print(1);
        QCOMPARE(records.size(), 2);
        QCOMPARE(records.at(0).mid(0, 3), (QStringList{u"编号："_s, u"1"_s, ClientsFixture::A}));
        QCOMPARE(records.at(1).mid(0, 3), (QStringList{u"编号："_s, u"2"_s, ClientsFixture::B}));
    }

    void theMainMenuCommandsPrint_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("title");
        const QStringList titles = {u"客户资料列表"_s, u"客户联系人资料"_s, u"客户拜访记录"_s, u"客户预约记录"_s,
                                    u"产品销售记录"_s, u"产品目录"_s, u"系统登陆日志"_s};
        for (int i = 0; i < titles.size(); ++i)
            QTest::addRow("tag %d", i + 1) << i << titles.at(i);
    }
    void theMainMenuCommandsPrint()
    {
        QFETCH(int, index);
        QFETCH(QString, title);
        m_app->db().exec(u"INSERT INTO \"ProductInfo\" (\"ID\", \"ProductName\") VALUES ('P1', '打印机')"_s);
        m_app->db().exec(u"INSERT INTO \"Log\" (\"UserName\") VALUES ('admin')"_s);
        DM1->ADODataSet5->requery();
        DM1->LogData->requery();
        QAction *command = m_app->app().main->Actions->reportCommands().at(index);
        QCOMPARE(MainCommands::tagOf(command), index + 1);
        command->setEnabled(true);
        command->trigger();
        QVERIFY(preview());
        QCOMPARE(preview()->report().pageTexts(0).first(), title);
    }

    void theClientListMenusPrint_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("records");
        QTest::newRow("clients") << u"打印客户资料"_s << u"客户资料列表"_s << 2;
        QTest::newRow("contacts") << u"打印联系人资料"_s << u"客户联系人资料"_s << 1;
        QTest::newRow("visits") << u"打印拜访记录"_s << u"客户拜访记录"_s << 1;
        QTest::newRow("orders") << u"打印销售记录"_s << u"产品销售记录"_s << 1;
        QTest::newRow("appointments") << u"打印预约记录"_s << u"客户预约记录"_s << 1;
    }
    void theClientListMenusPrint()
    {
        QFETCH(QString, caption);
        QFETCH(QString, title);
        QFETCH(int, records);
        TClientListForm *list = m_app->openClientList(ClientsFixture::B);
        QVERIFY(list);
        QAction *command = nullptr;
        for (QMenu *menu : {list->clientMenu, list->contactMenu, list->visitMenu, list->salesMenu, list->bespeakMenu}) {
            for (QAction *a : menu->actions()) {
                if (a->text() == caption)
                    command = a;
            }
        }
        QVERIFY(command);
        command->trigger();
        QVERIFY(preview());
        QCOMPARE(preview()->report().pageTexts(0).first(), title);
        QCOMPARE(recordTexts(preview()->report()).size(), records);
    }

    void otherFailuresShowNothing()
    {
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"报表 99 未能打印"_s));
        m_app->app().main->PrintReport(99);
        QVERIFY(!preview());
        QCOMPARE(m_app->prompt.count(), 0);
    }
};

LUMORA_TEST_CLASS(TestPrintReport)
#include "tst_printreport.moc"
