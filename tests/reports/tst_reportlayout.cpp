#include "PreparedReport.h"
#include "ReportContent.h"
#include "ReportFormat.h"
#include "ReportSource.h"
#include "ReportTemplate.h"
#include "ReportTexts.h"
#include "Error.h"
#include "TestMain.h"

#include <QPageLayout>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Records held in memory, with optional lines per record.
class MemorySource : public ReportSource
{
public:
    QStringList columns;
    QList<QVariantList> rows;
    QList<MemorySource> lines;

    int recordCount() override { return int(rows.size()); }
    QVariant value(int record, const QString &column) override
    {
        const qsizetype c = columns.indexOf(column);
        if (c < 0)
            throw data::Error(u"no column "_s + column);
        return rows.at(record).value(c);
    }
    QString plainText(int record, const QString &column) override { return value(record, column).toString(); }
    ReportSource *linesOf(int record) override { return record < lines.size() ? &lines[record] : nullptr; }
};

const QStringList kClientColumns = {u"ID"_s, u"CoName"_s, u"Area"_s, u"Address"_s, u"TEL"_s, u"WEBs"_s,
                                    u"Remark"_s, u"ClientTypes"_s, u"Region"_s, u"FAX"_s, u"EMail"_s,
                                    u"ClientTier"_s, u"Postalcode"_s};

MemorySource clients(int count)
{
    MemorySource s;
    s.columns = kClientColumns;
    for (int i = 1; i <= count; ++i)
        s.rows << QVariantList{u"K%1"_s.arg(i), u"客户公司%1"_s.arg(i), u"华北"_s, u"北京市海淀区中关村大街%1号"_s.arg(i),
                               u"010-6000%1"_s.arg(i), QVariant(), u"主营办公设备，年销售额稳定。"_s, u"重要客户"_s,
                               u"北京"_s, QVariant(), u"k%1@example.com"_s.arg(i), u"A"_s, u"100080"_s};
    return s;
}

QPageLayout a4()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                       QPageLayout::Millimeter);
}

const QDate kPrintDate(2026, 12, 11);

} // namespace

// The value pictures, the template lookup and the page layout of reports.
class TestReportLayout : public QObject
{
    Q_OBJECT

private slots:
    void valuePictures_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("expected");
        const QString day = u"YYYY年MM月DD日  DDDD"_s;
        const QString stamp = u"yyyy年MM月dd日　DDDD　HH:MM:SS"_s;
        QTest::newRow("date with weekday") << QVariant(QDate(2026, 12, 11)) << day << u"2026年12月11日  星期五"_s;
        QTest::newRow("sunday") << QVariant(QDate(2026, 12, 13)) << day << u"2026年12月13日  星期日"_s;
        QTest::newRow("date stored as text") << QVariant(u"2026-01-05"_s) << day << u"2026年01月05日  星期一"_s;
        QTest::newRow("date and time, minutes after hours")
            << QVariant(QDateTime(QDate(2026, 12, 11), QTime(9, 5, 7))) << stamp
            << u"2026年12月11日　星期五　09:05:07"_s;
        QTest::newRow("date-time stored as text") << QVariant(u"2026-12-12 23:59:30"_s) << stamp
                                                  << u"2026年12月12日　星期六　23:59:30"_s;
        QTest::newRow("amount") << QVariant(1234567.891) << u"￥###,##0.#0"_s << u"￥1,234,567.89"_s;
        QTest::newRow("amount, whole") << QVariant(75) << u"￥###,##0.#0"_s << u"￥75.00"_s;
        QTest::newRow("amount, zero") << QVariant(0.0) << u"￥###,##0.#0"_s << u"￥0.00"_s;
        QTest::newRow("quantity") << QVariant(12345) << u"###,##0"_s << u"12,345"_s;
        QTest::newRow("quantity, zero") << QVariant(0) << u"###,##0"_s << u"0"_s;
        QTest::newRow("yes") << QVariant(true) << u"是;"_s << u"是"_s;
        QTest::newRow("no") << QVariant(false) << u"是;"_s << QString();
        QTest::newRow("yes stored as a number") << QVariant(1) << u"是;否"_s << u"是"_s;
        QTest::newRow("null prints nothing") << QVariant() << u"###,##0"_s << QString();
        QTest::newRow("no picture: the plain text") << QVariant(42) << QString() << u"plain"_s;
    }
    void valuePictures()
    {
        QFETCH(QVariant, value);
        QFETCH(QString, picture);
        QFETCH(QString, expected);
        QCOMPARE(formatReportValue(value, picture, u"plain"_s), expected);
    }

    void templatesAreFoundWithoutRegardToCase_data()
    {
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QString>("title");
        QTest::newRow("Client") << u"Client"_s << u"客户资料列表"_s;
        QTest::newRow("linkman") << u"linkman"_s << u"客户联系人资料"_s;
        QTest::newRow("Visit") << u"Visit"_s << u"客户拜访记录"_s;
        QTest::newRow("BESPEAK") << u"BESPEAK"_s << u"客户预约记录"_s;
        QTest::newRow("sell") << u"sell"_s << u"产品销售记录"_s;
        QTest::newRow("Product") << u"Product"_s << u"产品目录"_s;
        QTest::newRow("LoG") << u"LoG"_s << u"系统登陆日志"_s;
    }
    void templatesAreFoundWithoutRegardToCase()
    {
        QFETCH(QString, asked);
        QFETCH(QString, title);
        const ReportTemplate t = loadReportTemplate(asked);
        QCOMPARE(t.name, asked.toUpper());
        QCOMPARE(t.title, title);
    }

    void theSevenTemplatesAndNoOther()
    {
        QStringList names = reportTemplateNames();
        names.sort();
        QCOMPARE(names, (QStringList{u"BESPEAK"_s, u"CLIENT"_s, u"LINKMAN"_s, u"LOG"_s, u"PRODUCT"_s, u"SELL"_s,
                                     u"VISIT"_s}));
        QVERIFY_THROWS_EXCEPTION(data::Error, loadReportTemplate(u"CLIENTS"_s));
        QVERIFY_THROWS_EXCEPTION(data::Error, parseReportTemplate(u"X"_s, "{\"title\": \"x\"}"));
    }

    void footersCountThePages()
    {
        const ReportTemplate t = loadReportTemplate(u"CLIENT"_s);
        // As many clients as make three pages.
        int count = 1;
        PreparedReport report;
        for (; count < 200; ++count) {
            MemorySource source = clients(count);
            report = PreparedReport(captureReport(t, source), a4(), kPrintDate);
            if (report.pageCount() == 3)
                break;
        }
        QCOMPARE(report.pageCount(), 3);
        for (int i = 0; i < 3; ++i) {
            const QStringList page = report.pageTexts(i);
            QCOMPARE(page.first(), u"客户资料列表"_s);
            QCOMPARE(page.at(page.size() - 2), u"第%1页，共3页"_s.arg(i + 1));
            QCOMPARE(page.last(), u"打印日期：2026-12-11"_s);
        }
        // Every record once, numbered in order, and no block cut by a page end:
        // each page's blocks are whole, up to their last field.
        QStringList numbers;
        for (int i = 0; i < 3; ++i) {
            const QStringList page = report.pageTexts(i);
            const QStringList onPage = valuesAfter(page, u"编号："_s);
            QVERIFY(!onPage.isEmpty());
            numbers << onPage;
            QCOMPARE(valuesAfter(page, u"公司概况："_s).size(), onPage.size());
        }
        QStringList expected;
        for (int i = 1; i <= count; ++i)
            expected << QString::number(i);
        QCOMPARE(numbers, expected);
    }

    void aRecordBlockShowsItsLabelsAndValues()
    {
        MemorySource source = clients(2);
        const PreparedReport report(captureReport(loadReportTemplate(u"CLIENT"_s), source), a4(), kPrintDate);
        const QList<QStringList> records = recordTexts(report);
        QCOMPARE(records.size(), 2);
        const QStringList &second = records.at(1);
        QCOMPARE(second.mid(0, 3), (QStringList{u"编号："_s, u"2"_s, u"客户公司2"_s}));
        QCOMPARE(valueAfter(second, u"代码："_s), u"K2"_s);
        QCOMPARE(valueAfter(second, u"邮编："_s), u"100080"_s);
        QCOMPARE(valueAfter(second, u"公司主页："_s), QString());
        QCOMPARE(valueAfter(second, u"E-Mail："_s), u"k2@example.com"_s);
    }

    void anOrderTallerThanAPageBreaksBetweenItsLines()
    {
        MemorySource orders;
        orders.columns = {u"OrderFormID"_s, u"SellDate"_s, u"ClientName"_s, u"Operator"_s, u"Remark"_s};
        orders.rows << QVariantList{u"XS20261211001"_s, u"2026-12-11"_s, u"客户公司"_s, u"admin"_s, QVariant()};
        MemorySource lines;
        lines.columns = {u"ID"_s, u"ProductName"_s, u"Spec"_s, u"Unit"_s, u"UnitPrice"_s, u"Number"_s, u"Agio"_s,
                         u"Money"_s};
        for (int i = 1; i <= 80; ++i)
            lines.rows << QVariantList{u"P%1"_s.arg(i), u"产品%1"_s.arg(i), QVariant(), u"台"_s, 10.0, 1, 10, 10.0};
        orders.lines << lines;
        const PreparedReport report(captureReport(loadReportTemplate(u"SELL"_s), orders), a4(), kPrintDate);
        QVERIFY(report.pageCount() > 1);
        const QStringList texts = allTexts(report);
        QCOMPARE(valuesAfter(texts, u"产品名称："_s).size(), 80);
        QCOMPARE(valuesAfter(texts, u"产品名称："_s).last(), u"产品80"_s);
        QCOMPARE(valueAfter(texts, u"本订单总金额为："_s), u"￥800.00"_s);
    }

    void theLogPrintsOneLinePerRecord()
    {
        MemorySource log;
        log.columns = {u"UserName"_s, u"LoadDate"_s, u"OutDate"_s};
        log.rows << QVariantList{u"admin"_s, QDateTime(QDate(2026, 12, 11), QTime(8, 30, 0)),
                                 QDateTime(QDate(2026, 12, 11), QTime(17, 45, 10))}
                 << QVariantList{u"李娜"_s, QDateTime(QDate(2026, 12, 12), QTime(9, 0, 1)), QVariant()};
        const PreparedReport report(captureReport(loadReportTemplate(u"LOG"_s), log), a4(), kPrintDate);
        QCOMPARE(report.pageCount(), 1);
        const QStringList page = report.pageTexts(0);
        QCOMPARE(page.mid(0, 10),
                 (QStringList{u"系统登陆日志"_s, u"用户名"_s, u"登陆时间"_s, u"退出时间"_s, u"admin"_s,
                              u"2026年12月11日　星期五　08:30:00"_s, u"2026年12月11日　星期五　17:45:10"_s, u"李娜"_s,
                              u"2026年12月12日　星期六　09:00:01"_s, QString()}));
        QVERIFY(!page.contains(u"编号："_s));
    }

    void findingTextGoesToThePageHoldingIt()
    {
        MemorySource source = clients(40);
        const PreparedReport report(captureReport(loadReportTemplate(u"CLIENT"_s), source), a4(), kPrintDate);
        QVERIFY(report.pageCount() > 2);
        const int last = report.pageCount() - 1;
        const QString lastClient = u"客户公司40"_s;
        QCOMPARE(report.findPage(lastClient, 0), last);
        QVERIFY(report.pageTexts(last).contains(lastClient));
        // Searching on from past the last page comes round to the first.
        QCOMPARE(report.findPage(u"中关村大街1号"_s, last), 0);
        QCOMPARE(report.findPage(u"没有这个客户"_s, 0), -1);
    }
};

LUMORA_TEST_CLASS(TestReportLayout)
#include "tst_reportlayout.moc"
