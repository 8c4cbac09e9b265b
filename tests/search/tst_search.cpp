#include "ClientList.h"
#include "ClientsFixture.h"
#include "DM.h"
#include "DataGrid.h"
#include "GuiDoubles.h"
#include "GroupingModel.h"
#include "Main.h"
#include "MainCommands.h"
#include "Search.h"
#include "TestMain.h"
#include "TransformData.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const Message kIncomplete{u"错误"_s, u"您输入的搜索条件不完全，请重新输入。"_s, MessageIcon::Warning};
const Message kNothingFound{u"提示"_s, u"没有找到任何记录，请点击确定后重新设置查询条件!"_s, MessageIcon::Warning};
const Message kQueryFailed{u"错误"_s, u"数据查询出现意外错误，请点击确定返回!"_s, MessageIcon::Error};
const Message kBadDate{
    u"错误"_s, u"您输入的日期格式不正确，请按照“2008-01-01”的格式重新输入!"_s, MessageIcon::Warning};
const Message kBadTime{u"错误"_s, u"您输入的时间格式不正确，请按照“12:00”的格式重新输入!"_s, MessageIcon::Warning};

enum Comparison { Equal = 0, NotEqual, Greater, GreaterOrEqual, Less, LessOrEqual, Like, Empty, NotEmpty };

// One condition row as the user sets it: tick, caption, comparison, value
// (no value leaves the box as the comparison left it).
struct Row
{
    bool ticked = false;
    QString caption;
    int comparison = Equal;
    QString value;
};

} // namespace
Q_DECLARE_METATYPE(Row)
Q_DECLARE_METATYPE(Message)

// The search dialog: conditions turned into a query on the module's dataset,
// its messages, and the narrowed list window.
class TestSearch : public QObject
{
    Q_OBJECT

    std::unique_ptr<ClientsFixture> m_app;
    TSearchForm *m_form = nullptr;

    static constexpr const char *C = "杭州科技'创新公司";
    static constexpr const char *D = "深圳100%电子";

    void chooseModule(const QString &caption)
    {
        m_form->Mode->setCurrentIndex(m_form->Mode->findText(caption));
        QVERIFY(m_form->Mode->currentIndex() >= 0);
    }

    void setRow(int index, const Row &row)
    {
        QCheckBox *tick = index == 1 ? m_form->row1 : m_form->row2;
        QComboBox *field = index == 1 ? m_form->RzComboBox1 : m_form->RzComboBox2;
        QComboBox *comparison = index == 1 ? m_form->RzComboBox3 : m_form->RzComboBox4;
        QLineEdit *value = index == 1 ? m_form->RzEdit1 : m_form->RzEdit2;
        tick->setChecked(row.ticked);
        if (!row.caption.isEmpty())
            field->setCurrentIndex(field->findText(row.caption));
        comparison->setCurrentIndex(row.comparison);
        if (!row.value.isNull())
            value->setText(row.value);
    }

    QStringList column(data::Dataset *dataset, const QString &name)
    {
        QStringList values;
        for (dataset->first(); !dataset->eof(); dataset->next())
            values << dataset->fieldByName(name).asString();
        values.sort();
        return values;
    }

private slots:
    void initTestCase_data() { addBackendRows(); }
    void init()
    {
        LUMORA_INIT_BACKEND(backend);
        m_app = std::make_unique<ClientsFixture>(backend);
        TestDatabase &d = m_app->db();
        d.exec(u"UPDATE \"ClientData\" SET \"ClientTier\" = '★★★' WHERE \"ID\" = 'K2'"_s);
        d.exec(u"UPDATE \"ClientData\" SET \"ClientTier\" = '★' WHERE \"ID\" = 'K1'"_s);
        d.exec(u"INSERT INTO \"ClientData\" (\"ID\", \"CoName\", \"ClientTier\") VALUES ('K3', :c, NULL), ('K4', :d, '')"_s,
               {{u"c"_s, QString::fromUtf8(C)}, {u"d"_s, QString::fromUtf8(D)}});
        DM1->ADODataSet1->requery();
        m_form = m_app->app().search.get();
        QVERIFY(m_form);
        m_form->show();
        m_app->prompt.clear();
    }
    void cleanup()
    {
        m_form = nullptr;
        m_app.reset();
    }

    void startsCleared()
    {
        QCOMPARE(m_form->windowTitle(), u"搜索记录"_s);
        QCOMPARE(m_form->Mode->currentIndex(), -1);
        QCOMPARE(m_form->Mode->count(), 6);
        QVERIFY(m_form->andButton->isChecked());
        QVERIFY(!m_form->row1->isChecked() && !m_form->row2->isChecked());
        QCOMPARE(m_form->RzComboBox3->currentText(), u"等于"_s);
        QCOMPARE(m_form->RzComboBox4->currentText(), u"等于"_s);
        QVERIFY(m_form->RzEdit1->isEnabled() && m_form->RzEdit2->isEnabled());
        QVERIFY(m_form->RzEdit1->text().isEmpty());
        chooseModule(u"全部客户列表"_s);
        QCOMPARE(m_form->RzComboBox1->currentText(), u"客户代码"_s);
        QCOMPARE(m_form->RzComboBox2->count(), m_form->RzComboBox1->count());
        QVERIFY(m_form->RzComboBox1->findText(u"公司名称"_s) >= 0);
    }

    void clientSearch_data()
    {
        QTest::addColumn<Row>("first");
        QTest::addColumn<Row>("second");
        QTest::addColumn<bool>("orJoin");
        QTest::addColumn<QStringList>("found");
        const QString a = ClientsFixture::A, b = ClientsFixture::B, c = QString::fromUtf8(C), d = QString::fromUtf8(D);
        const Row none;
        const Row nameLike{true, u"公司名称"_s, Like, u"科技"_s};
        QTest::newRow("name like") << nameLike << none << false << QStringList{a, c};
        QTest::newRow("name like and tier") << nameLike << Row{true, u"客户等级"_s, Equal, u"★★★"_s} << false
                                            << QStringList{a};
        QTest::newRow("name like or tier") << nameLike << Row{true, u"客户等级"_s, Equal, u"★"_s} << true
                                           << QStringList{a, b, c};
        QTest::newRow("tier empty") << Row{true, u"客户等级"_s, Empty, {}} << none << false << QStringList{c, d};
        QTest::newRow("tier not empty") << Row{true, u"客户等级"_s, NotEmpty, {}} << none << false << QStringList{a, b};
        QTest::newRow("and with empty inside") << nameLike << Row{true, u"客户等级"_s, Empty, {}} << false
                                               << QStringList{c};
        QTest::newRow("or with empty inside") << Row{true, u"公司名称"_s, Like, u"贸易"_s}
                                              << Row{true, u"客户等级"_s, Empty, {}} << true << QStringList{b, c, d};
        QTest::newRow("second row only") << Row{false, u"公司名称"_s, Like, u"科技"_s}
                                         << Row{true, u"客户代码"_s, NotEqual, u"K2"_s} << false
                                         << QStringList{b, c, d};
        QTest::newRow("quote found literally") << Row{true, u"公司名称"_s, Like, u"'"_s} << none << false
                                               << QStringList{c};
        QTest::newRow("percent found literally") << Row{true, u"公司名称"_s, Like, u"%"_s} << none << false
                                                 << QStringList{d};
        QTest::newRow("equal to a name with a quote") << Row{true, u"公司名称"_s, Equal, c} << none << false
                                                      << QStringList{c};
        QTest::newRow("greater than a code") << Row{true, u"客户代码"_s, Greater, u"K2"_s} << none << false
                                             << QStringList{c, d};
    }
    void clientSearch()
    {
        QFETCH(Row, first);
        QFETCH(Row, second);
        QFETCH(bool, orJoin);
        QFETCH(QStringList, found);
        found.sort();
        chooseModule(u"全部客户列表"_s);
        setRow(1, first);
        setRow(2, second);
        (orJoin ? m_form->orButton : m_form->andButton)->setChecked(true);
        m_form->SearchButton->click();
        QCOMPARE(m_app->prompt.shown(), QList<Message>{});
        QCOMPARE(column(DM1->ADODataSet1, u"CoName"_s), found);
        QVERIFY(!m_form->isVisible());
    }

    void emptyComparisonFillsTheBoxWithASpace()
    {
        chooseModule(u"全部客户列表"_s);
        m_form->row1->setChecked(true);
        m_form->RzComboBox3->setCurrentIndex(Empty);
        QVERIFY(!m_form->RzEdit1->isEnabled());
        QCOMPARE(m_form->RzEdit1->text(), u" "_s);
        QVERIFY(!m_form->TestSearchTerm());
        // Back to "等于": the box opens again and keeps the space, which is then searched for.
        m_form->RzComboBox3->setCurrentIndex(Equal);
        QVERIFY(m_form->RzEdit1->isEnabled());
        QCOMPARE(m_form->RzEdit1->text(), u" "_s);
        m_form->SearchButton->click();
        QCOMPARE(m_app->prompt.shown(), QList<Message>{kNothingFound});
    }

    void incompleteConditions_data()
    {
        QTest::addColumn<Row>("first");
        QTest::addColumn<Row>("second");
        QTest::newRow("no row ticked") << Row{false, {}, Equal, u"K1"_s} << Row{false, {}, Equal, u"K2"_s};
        QTest::newRow("first row without value") << Row{true, {}, Equal, u""_s} << Row{false, {}, Equal, u"K2"_s};
        QTest::newRow("second row without value") << Row{true, {}, Equal, u"K1"_s} << Row{true, {}, Equal, u""_s};
    }
    void incompleteConditions()
    {
        QFETCH(Row, first);
        QFETCH(Row, second);
        chooseModule(u"全部客户列表"_s);
        setRow(1, first);
        setRow(2, second);
        m_form->SearchButton->click();
        QCOMPARE(m_app->prompt.shown(), QList<Message>{kIncomplete});
        QCOMPARE(DM1->ADODataSet1->recordCount(), 4);
        QVERIFY(m_form->isVisible());
    }

    void failuresRestoreTheFullList_data()
    {
        QTest::addColumn<bool>("chooseModule");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("value");
        QTest::addColumn<Message>("message");
        QTest::newRow("nothing found") << true << u"公司名称"_s << u"不存在的公司"_s << kNothingFound;
        QTest::newRow("caption without a Transforms row") << true << u"没有这个字段"_s << u"K1"_s << kQueryFailed;
        QTest::newRow("no module chosen") << false << QString() << u"K1"_s << kQueryFailed;
    }
    void failuresRestoreTheFullList()
    {
        QFETCH(bool, chooseModule);
        QFETCH(QString, caption);
        QFETCH(QString, value);
        QFETCH(Message, message);
        if (chooseModule) {
            this->chooseModule(u"全部客户列表"_s);
            // A client search that worked narrows the list first.
            setRow(1, Row{true, u"客户代码"_s, Equal, u"K1"_s});
            m_form->SearchButton->click();
            QCOMPARE(DM1->ADODataSet1->recordCount(), 1);
            m_form->show();
            if (m_form->RzComboBox1->findText(caption) < 0)
                m_form->RzComboBox1->addItem(caption); // as if Transforms had lost the row
        }
        setRow(1, Row{true, caption, Equal, value});
        m_form->SearchButton->click();
        QCOMPARE(m_app->prompt.shown(), QList<Message>{message});
        QVERIFY(m_form->isVisible());
        QCOMPARE(DM1->ADODataSet1->recordCount(), 4);
        QVERIFY(DM1->ADODataSet1->isActive());
    }

    void likeOnContacts()
    {
        m_app->db().exec(u"INSERT INTO \"LinkMan\" (\"ClientName\", \"LinkManID\") VALUES "
                         "(:b, 'Alice'), (:b, 'BOB'), (:b, '王A伟')"_s,
                         {{u"b"_s, ClientsFixture::B}});
        chooseModule(u"联系人列表"_s);
        setRow(1, Row{true, u"联系人"_s, Like, u"A"_s});
        m_form->SearchButton->click();
        QCOMPARE(m_app->prompt.shown(), QList<Message>{});
        QCOMPARE(column(DM1->LinkManList, u"LinkManID"_s), (QStringList{u"Alice"_s, u"王A伟"_s}));
    }

    void typedDatesAndNumbers_data()
    {
        QTest::addColumn<QString>("module");
        QTest::addColumn<Row>("condition");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QStringList>("found");
        const QDate day(2026, 12, 11);
        QTest::newRow("date as typed") << u"客户预约记录"_s << Row{true, u"日期"_s, Equal, u"2026-12-11"_s}
                                       << u"Motif"_s << QStringList{u"签约"_s};
        QTest::newRow("date without leading zeros")
            << u"客户预约记录"_s << Row{true, u"日期"_s, Equal, u"2026-1-5"_s} << u"Motif"_s << QStringList{u"年初"_s};
        QTest::newRow("no such day") << u"客户预约记录"_s << Row{true, u"日期"_s, Equal, u"2026-12-1"_s} << u"Motif"_s
                                     << QStringList{};
        QTest::newRow("date in the short format")
            << u"客户预约记录"_s << Row{true, u"日期"_s, Equal, QLocale().toString(day, QLocale::ShortFormat)}
            << u"Motif"_s << QStringList{u"签约"_s};
        QTest::newRow("date after") << u"客户预约记录"_s << Row{true, u"日期"_s, Greater, u"2026-12-11"_s}
                                    << u"Motif"_s << QStringList{u"拜访"_s};
        QTest::newRow("date empty") << u"客户预约记录"_s << Row{true, u"日期"_s, Empty, {}} << u"Motif"_s
                                    << QStringList{u"无日期"_s};
        QTest::newRow("date not empty") << u"客户预约记录"_s << Row{true, u"日期"_s, NotEmpty, {}} << u"Motif"_s
                                        << QStringList{u"年初"_s, u"拜访"_s, u"签约"_s};
        // As text "9" would come after "100.5".
        QTest::newRow("price greater") << u"产品信息列表"_s << Row{true, u"销售价"_s, Greater, u"10"_s}
                                       << u"ProductName"_s << QStringList{u"打印机"_s};
        QTest::newRow("price like") << u"产品信息列表"_s << Row{true, u"销售价"_s, Like, u"100"_s}
                                    << u"ProductName"_s << QStringList{u"打印机"_s};
    }
    void typedDatesAndNumbers()
    {
        QFETCH(QString, module);
        QFETCH(Row, condition);
        QFETCH(QString, column);
        QFETCH(QStringList, found);
        TestDatabase &d = m_app->db();
        d.exec(u"INSERT INTO \"ClientBespeak\" (\"ClientName\", \"Motif\", \"Dates\") VALUES "
               "(:b, '无日期', NULL), (:b, '年初', '2026-01-05')"_s,
               {{u"b"_s, ClientsFixture::B}});
        d.exec(u"INSERT INTO \"ProductInfo\" (\"ID\", \"ProductName\", \"Price\") VALUES "
               "('P1', '打印机', 100.5), ('P2', '复印纸', 9)"_s);
        chooseModule(module);
        setRow(1, condition);
        m_form->SearchButton->click();
        data::Dataset *dataset = module == u"客户预约记录"_s ? DM1->ADODataSet9 : DM1->ADODataSet5;
        if (found.isEmpty()) {
            QCOMPARE(m_app->prompt.shown(), QList<Message>{kNothingFound});
            return;
        }
        QCOMPARE(m_app->prompt.shown(), QList<Message>{});
        QCOMPARE(this->column(dataset, column), found);
    }

    void leavingAValueBox_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<Message>>("messages");
        QTest::newRow("bad date") << 1 << u"日期"_s << u"2008-13-45"_s << QList<Message>{kBadDate};
        QTest::newRow("good date") << 1 << u"日期"_s << u"2008-01-01"_s << QList<Message>{};
        QTest::newRow("bad time, second row") << 2 << u"时间"_s << u"25:99"_s << QList<Message>{kBadTime};
        QTest::newRow("good time") << 2 << u"时间"_s << u"12:00"_s << QList<Message>{};
        QTest::newRow("text column") << 1 << u"主题"_s << u"2008-13-45"_s << QList<Message>{};
    }
    void leavingAValueBox()
    {
        QFETCH(int, row);
        QFETCH(QString, caption);
        QFETCH(QString, text);
        QFETCH(QList<Message>, messages);
        chooseModule(u"客户拜访记录"_s);
        QLineEdit *box = row == 1 ? m_form->RzEdit1 : m_form->RzEdit2;
        setRow(row, Row{true, caption, Equal, text});
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form));
        box->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), box);
        m_form->SearchButton->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(m_app->prompt.shown(), messages);
        // A wrong value keeps the focus in its box.
        QTRY_COMPARE(QApplication::focusWidget(), messages.isEmpty() ? static_cast<QWidget *>(m_form->SearchButton)
                                                                     : static_cast<QWidget *>(box));
    }

    void clientSearchNarrowsTheListUntilReset()
    {
        TClientListForm *list = m_app->openClientList();
        QVERIFY(list);
        // The tool bar's "查询" shows the dialog; the script is the user in it.
        m_form->hide();
        m_app->modals.expect([this](QDialog *) {
            chooseModule(u"全部客户列表"_s);
            setRow(1, Row{true, u"公司名称"_s, Like, u"科技"_s});
            m_form->SearchButton->click();
        });
        m_app->app().main->Actions->search->trigger();
        QCOMPARE(m_app->prompt.shown(), QList<Message>{});
        QCOMPARE(list->clientGrid->model()->rowCount(), 2);
        // The details follow the remaining clients.
        QVERIFY(DM1->ADODataSet1->locate(u"CoName"_s, ClientsFixture::A));
        QCOMPARE(DM1->ADODataSet2->recordCount(), 2);
        // The dialog shows the same choices the next time.
        m_app->modals.expect([this](QDialog *) {
            QCOMPARE(m_form->Mode->currentText(), u"全部客户列表"_s);
            QVERIFY(m_form->row1->isChecked());
            QCOMPARE(m_form->RzComboBox1->currentText(), u"公司名称"_s);
            QCOMPARE(m_form->RzComboBox3->currentText(), u"像"_s);
            QCOMPARE(m_form->RzEdit1->text(), u"科技"_s);
            m_form->reject();
        });
        m_app->app().main->Actions->search->trigger();
        QCOMPARE(m_app->modals.pending(), 0);
        list->EditClient(32); // 复位
        QCOMPARE(DM1->ADODataSet1->recordCount(), 4);
        QCOMPARE(list->clientGrid->model()->rowCount(), 4);
    }

    void snapshot()
    {
        if (qEnvironmentVariableIsEmpty("CRM_SNAPSHOT_DIR"))
            QSKIP("set CRM_SNAPSHOT_DIR to save the picture");
        chooseModule(u"全部客户列表"_s);
        setRow(1, Row{true, u"公司名称"_s, Like, u"科技"_s});
        setRow(2, Row{true, u"客户等级"_s, Empty, {}});
        const QString path = saveSnapshot(m_form, u"search-dialog"_s);
        QVERIFY2(QFileInfo(path).size() > 1000, qPrintable(path));
    }

    void transformDataChecksTheColumn()
    {
        QCOMPARE(TransformData(u"ClientData"_s, u"公司名称"_s), u"CoName"_s);
        QCOMPARE(TransformData(u"ClientData"_s, u"没有这个字段"_s), QString());
        QCOMPARE(TransformData(u"LinkMan"_s, u"公司名称"_s), QString());
        // A row naming a column the table lacks is no column.
        m_app->db().exec(u"INSERT INTO \"Transforms\" (\"Tables\", \"TransformFields\", \"Fields\") VALUES "
                         "('ClientData', '坏字段', 'CoName; DROP TABLE x')"_s);
        QFile::remove(DM1->transformCachePath());
        DM1->loadTransformCache();
        QCOMPARE(TransformData(u"ClientData"_s, u"公司名称"_s), u"CoName"_s);
        QCOMPARE(TransformData(u"ClientData"_s, u"坏字段"_s), QString());
    }
};

LUMORA_TEST_CLASS(TestSearch)
#include "tst_search.moc"
