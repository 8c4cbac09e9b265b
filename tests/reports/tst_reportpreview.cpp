#include "ClientsFixture.h"
#include "DM.h"
#include "LoginSession.h"
#include "Main.h"
#include "PreparedReport.h"
#include "ReportPreview.h"
#include "ReportPrinter.h"
#include "ReportTexts.h"
#include "SpreadsheetReader.h"
#include "TestMain.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The text of a PDF as pdftotext reads it; a null string when the tool is missing.
QString pdfText(const QString &path)
{
    const QString tool = QStandardPaths::findExecutable(u"pdftotext"_s);
    if (tool.isEmpty())
        return QString();
    QProcess p;
    p.start(tool, {u"-layout"_s, path, u"-"_s});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return u"(pdftotext failed: %1)"_s.arg(QString::fromUtf8(p.readAllStandardError()));
    return QString::fromUtf8(p.readAllStandardOutput());
}

bool isPdf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && f.read(5) == "%PDF-";
}

} // namespace

// The preview window's commands: saving a PDF, exporting a worksheet,
// printing, page setup and finding text.
class TestReportPreview : public QObject
{
    Q_OBJECT

    std::unique_ptr<ClientsFixture> m_app;
    std::unique_ptr<ScriptedFileChooser> m_files;
    std::unique_ptr<QTemporaryDir> m_dir;
    ReportPreview *m_preview = nullptr;

    ReportPreview *preview() const { return m_app->app().main->reportPrinter()->preview(); }
    QString path(const QString &name) const { return m_dir->filePath(name); }

private slots:
    void initTestCase_data() { addBackendRows(); }
    void init()
    {
        LUMORA_INIT_BACKEND(backend);
        m_app = std::make_unique<ClientsFixture>(backend);
        m_files = std::make_unique<ScriptedFileChooser>();
        m_dir = std::make_unique<QTemporaryDir>();
        m_app->app().main->PrintReport(1);
        m_preview = preview();
        QVERIFY(m_preview);
        m_app->prompt.clear();
    }
    void cleanup()
    {
        m_preview = nullptr;
        m_files.reset();
        m_dir.reset();
        m_app.reset();
    }

    void savesThePagesAsPdf()
    {
        m_files->answers << path(u"clients"_s);
        m_preview->saveAction->trigger();
        QCOMPARE(m_files->captions, QStringList{u"保存报表"_s});
        const QString file = path(u"clients.pdf"_s);
        QVERIFY2(isPdf(file), qPrintable(file));
        const QString text = pdfText(file);
        if (text.isNull())
            QSKIP("pdftotext is not installed");
        for (const QString &expected : {u"客户资料列表"_s, ClientsFixture::A, ClientsFixture::B, u"第1页，共1页"_s,
                                        u"打印日期：2026-12-11"_s, u"sales@huaxin.com.cn"_s})
            QVERIFY2(text.contains(expected), qPrintable(expected + u" not in:\n"_s + text));
        QCOMPARE(m_app->prompt.count(), 0);
    }

    void aCancelledSaveWritesNothing()
    {
        m_preview->saveAction->trigger();
        m_preview->spreadsheetAction->trigger();
        QCOMPARE(m_files->captions.size(), 2);
        QVERIFY(QDir(m_dir->path()).isEmpty());
        QVERIFY(m_app->shell.opened.isEmpty());
        QCOMPARE(m_app->prompt.count(), 0);
    }

    void exportsOneWorksheetAndOpensIt()
    {
        // Open to every user, whatever the rights of the login.
        LoginSession.loggedIn = true;
        LoginSession.rights.fill(false);
        m_files->answers << path(u"clients.xlsx"_s);
        m_preview->spreadsheetAction->trigger();
        const QString file = path(u"clients.xlsx"_s);
        QCOMPARE(m_app->shell.opened, QStringList{file});
        const SpreadsheetContent sheet = readXlsx(file);
        QVERIFY2(sheet.error.isEmpty(), qPrintable(sheet.error));
        QCOMPARE(sheet.sheetCount, 1);
        QCOMPARE(sheet.rows.size(), 4);
        QCOMPARE(sheet.rows.at(0).value(0), u"客户资料列表"_s);
        QCOMPARE(sheet.rows.at(1).mid(0, 4), (QStringList{u"编号"_s, u"公司名称"_s, u"代码"_s, u"所属区域"_s}));
        // In the report's order: by code, K1 before K2.
        QCOMPARE(sheet.rows.at(2).mid(0, 4), (QStringList{u"1"_s, ClientsFixture::B, u"K1"_s, u"华东"_s}));
        QCOMPARE(sheet.rows.at(3).mid(0, 4), (QStringList{u"2"_s, ClientsFixture::A, u"K2"_s, u"华北"_s}));
    }

    void anOrderExportsItsLinesUnderIt()
    {
        m_app->db().exec(u"UPDATE \"SellDetail\" SET \"UnitPrice\" = 10, \"Agio\" = 10"_s);
        DM1->SellList->requery();
        m_app->app().main->PrintReport(5);
        QVERIFY(preview());
        m_files->answers << path(u"orders.xlsx"_s);
        preview()->spreadsheetAction->trigger();
        const SpreadsheetContent sheet = readXlsx(path(u"orders.xlsx"_s));
        QVERIFY2(sheet.error.isEmpty(), qPrintable(sheet.error));
        int totals = 0;
        QStringList products;
        for (const QStringList &row : sheet.rows) {
            if (row.value(1) == u"本订单总金额为"_s)
                ++totals;
            // A line: two cells in, its product code, then its name.
            if (row.value(0).isEmpty() && row.value(1).isEmpty())
                products << row.value(3);
        }
        QCOMPARE(totals, 3);
        products.sort();
        QCOMPARE(products, (QStringList{u"复印纸"_s, u"打印机"_s, u"打印机"_s, u"扫描仪"_s}));
    }

    void printsThroughThePrintDialog()
    {
        const QString file = path(u"printed.pdf"_s);
        m_app->modals.expect([file](QDialog *dialog) {
            auto *print = qobject_cast<QPrintDialog *>(dialog);
            QVERIFY(print);
            // Print to file: the dialog's own file field, which it applies on accept.
            auto *name = print->findChild<QLineEdit *>(u"filename"_s);
            QVERIFY(name);
            name->setText(file);
            print->accept();
        });
        m_preview->printAction->trigger();
        QCOMPARE(m_app->modals.pending(), 0);
        QVERIFY2(isPdf(file), qPrintable(file));
        // A cancelled dialog prints nothing.
        QFile::remove(file);
        m_preview->printAction->trigger();
        QVERIFY(!QFile::exists(file));
        QCOMPARE(m_app->prompt.count(), 0);
    }

    void pageSetupLaysThePagesOutAgain()
    {
        QCOMPARE(m_preview->report().pageLayout().orientation(), QPageLayout::Portrait);
        m_app->modals.expect([](QDialog *dialog) {
            auto *setup = qobject_cast<QPageSetupDialog *>(dialog);
            QVERIFY(setup);
            setup->printer()->setPageOrientation(QPageLayout::Landscape);
            setup->accept();
        });
        m_preview->pageSetupAction->trigger();
        QCOMPARE(m_preview->report().pageLayout().orientation(), QPageLayout::Landscape);
        QCOMPARE(m_preview->view()->orientation(), QPageLayout::Landscape);
        QCOMPARE(m_preview->report().pageTexts(0).first(), u"客户资料列表"_s);
    }

    void findGoesToThePageOrSaysItIsNotThere()
    {
        // Enough clients for several pages; the last one is on the last page.
        for (int i = 3; i <= 40; ++i)
            m_app->db().exec(u"INSERT INTO \"ClientData\" (\"ID\", \"CoName\") VALUES (:id, :name)"_s,
                             {{u"id"_s, u"K%1"_s.arg(i, 2, 10, QChar(u'0'))}, {u"name"_s, u"测试客户%1号"_s.arg(i)}});
        DM1->ADODataSet1->requery();
        m_app->app().main->PrintReport(1);
        ReportPreview *p = preview();
        QVERIFY(p);
        const int last = p->report().pageCount() - 1;
        QVERIFY(last > 0);
        QCOMPARE(p->currentPage(), 0);
        p->findText->setText(u"测试客户40号"_s);
        p->findAction->trigger();
        QCOMPARE(p->currentPage(), last);
        QCOMPARE(p->pageLabel->text(), u"第 %1 页，共 %1 页"_s.arg(last + 1));
        QCOMPARE(m_app->prompt.count(), 0);

        p->findText->setText(u"没有的公司"_s);
        p->findAction->trigger();
        QCOMPARE(m_app->prompt.shown(),
                 (QList<Message>{Message{u"提示"_s, u"未找到“没有的公司”。"_s, MessageIcon::Information}}));
        QCOMPARE(p->currentPage(), last);
    }

    void aSavedReportFileLoadsBackWithoutTheDatabase()
    {
        m_app->db().exec(u"UPDATE \"SellDetail\" SET \"UnitPrice\" = 10, \"Agio\" = 10"_s);
        DM1->SellList->requery();
        m_app->app().main->PrintReport(5);
        ReportPreview *orders = preview();
        QVERIFY(orders);
        const QStringList printed = allTexts(orders->report());
        m_files->answers << path(u"orders.lrp"_s);
        orders->saveAction->trigger();
        QVERIFY(QFile::exists(path(u"orders.lrp"_s)));

        // Another report in the preview, and the orders gone from the database.
        m_app->app().main->PrintReport(1);
        m_app->db().exec(u"DELETE FROM \"SellDetail\""_s);
        m_files->answers << path(u"orders.lrp"_s);
        preview()->loadAction->trigger();
        QCOMPARE(allTexts(preview()->report()), printed);
        QCOMPARE(preview()->content().layout.name, u"SELL"_s);
        // It exports as it did, with its values.
        m_files->answers << path(u"orders.xlsx"_s);
        preview()->spreadsheetAction->trigger();
        const SpreadsheetContent sheet = readXlsx(path(u"orders.xlsx"_s));
        QVERIFY2(sheet.error.isEmpty(), qPrintable(sheet.error));
        QCOMPARE(sheet.rows.at(0).value(0), u"产品销售记录"_s);
        QStringList totals;
        for (const QStringList &row : sheet.rows) {
            if (row.value(1) == u"本订单总金额为"_s)
                totals << row.value(2);
        }
        totals.sort();
        QCOMPARE(totals, (QStringList{u"30"_s, u"30"_s, u"40"_s}));
        QCOMPARE(m_app->prompt.count(), 0);
    }

    void loadingAPdfOpensItInTheReader()
    {
        m_files->answers << path(u"earlier.pdf"_s);
        m_preview->loadAction->trigger();
        QCOMPARE(m_files->captions, QStringList{u"载入报表"_s});
        QCOMPARE(m_app->shell.opened, QStringList{path(u"earlier.pdf"_s)});
        QCOMPARE(m_preview->report().pageTexts(0).first(), u"客户资料列表"_s);
    }

    void aFileThatIsNoReportIsAnError()
    {
        QFile junk(path(u"junk.lrp"_s));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("not a report");
        junk.close();
        m_files->answers << junk.fileName();
        m_preview->loadAction->trigger();
        QCOMPARE(m_app->prompt.shown(),
                 (QList<Message>{Message{u"Lumora客户关系管理系统(免费)"_s, u"文件“%1”不是报表文件。"_s.arg(junk.fileName()),
                                         MessageIcon::Error}}));
        QCOMPARE(m_preview->report().pageTexts(0).first(), u"客户资料列表"_s);
    }

    void snapshot()
    {
        if (qEnvironmentVariableIsEmpty("CRM_SNAPSHOT_DIR"))
            QSKIP("set CRM_SNAPSHOT_DIR to save the picture");
        QTest::qWait(100);
        QVERIFY(!saveSnapshot(m_preview, u"report-preview"_s).isEmpty());
    }
};

LUMORA_TEST_CLASS(TestReportPreview)
#include "tst_reportpreview.moc"
