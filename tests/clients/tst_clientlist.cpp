#include "ClientList.h"
#include "ClientsFixture.h"
#include "DM.h"
#include "DataGrid.h"
#include "Main.h"
#include "NavigationBar.h"
#include "TestMain.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const Message kClientDeleteQuestion{
    u"警告"_s, u"删除该客户记录将会使与该客户相关的所有基本资料都被删除，您确定要删除这些记录吗？删除后不可恢复！"_s,
    MessageIcon::Warning, MessageButton::Yes | MessageButton::No, MessageButton::No};
const Message kRecordDeleteQuestion{
    u"询问"_s, u"您确定要删除这条记录吗？"_s, MessageIcon::Question, MessageButton::Yes | MessageButton::No};
const Message kNothingToDelete{u"错误"_s, u"没有发现可删除的记录"_s, MessageIcon::Warning};
const Message kDeleteFailed{u"错误"_s, u"内容删除失败！在此之前，可能记录已经被删除！"_s, MessageIcon::Error};

QStringList menuTexts(QMenu *menu)
{
    QStringList texts;
    for (QAction *a : menu->actions()) {
        QString text = a->isSeparator() ? u"-"_s : a->text();
        if (!a->shortcut().isEmpty())
            text += u" "_s + a->shortcut().toString();
        if (menu->defaultAction() == a)
            text += u" *"_s;
        texts << text;
    }
    return texts;
}

} // namespace

// The client list: its grids and menus, the deletes of clients and of their
// records, the home page and e-mail commands, and the reset of a search.
class TestClientList : public QObject
{
    Q_OBJECT

    std::unique_ptr<ClientsFixture> m_app;
    TClientListForm *m_list = nullptr;

private slots:
    void initTestCase_data() { addBackendRows(); }
    void init()
    {
        LUMORA_INIT_BACKEND(backend);
        m_app = std::make_unique<ClientsFixture>(backend);
        m_list = m_app->openClientList();
        QVERIFY(m_list);
        m_app->prompt.clear();
    }
    void cleanup()
    {
        m_list = nullptr;
        m_app.reset();
    }

    void gridsAndMenus()
    {
        QCOMPARE(m_list->windowTitle(), u"客户列表"_s);
        QVERIFY(m_app->app().main->childWindowOf(&TClientListForm::staticMetaObject)->isMaximized());
        QStringList captions;
        for (int i = 0; i < m_list->clientGrid->columnCount(); ++i)
            captions << m_list->clientGrid->column(i).caption();
        QCOMPARE(captions, (QStringList{u"代号"_s, u"公司名称"_s, u"客户等级"_s, u"客户类型"_s, u"联系地址"_s, u"邮编"_s,
                                        u"地区"_s, u"联系电话"_s, u"传真"_s, u"电子邮件"_s, u"主页"_s}));
        QVERIFY(m_list->clientGrid->isReadOnly());
        QCOMPARE(m_list->clientGrid->toolTip(), u"点击右键弹出编辑菜单"_s);
        QCOMPARE(menuTexts(m_list->clientMenu),
                 (QStringList{u"新增 Ctrl+A"_s, u"编辑 Ctrl+E *"_s, u"删除 Del"_s, u"-"_s, u"刷新 F5"_s, u"-"_s,
                              u"复位"_s, u"-"_s, u"公司主页"_s, u"发电子邮件"_s, u"-"_s, u"打印客户资料"_s}));
        QCOMPARE(menuTexts(m_list->contactMenu),
                 (QStringList{u"新增"_s, u"编辑 *"_s, u"删除"_s, u"-"_s, u"刷新"_s, u"-"_s, u"发电子邮件"_s, u"-"_s,
                              u"打印联系人资料"_s}));
        QStringList tabs;
        for (int i = 0; i < m_list->lowerPages->count(); ++i)
            tabs << m_list->lowerPages->tabText(i);
        QCOMPARE(tabs, (QStringList{u"联系人资料"_s, u"拜访记录"_s, u"销售记录"_s, u"预约"_s, u"客户公司概况"_s}));
        QCOMPARE(m_list->lowerPages->currentIndex(), 0);
        // Sorted by code, then name.
        QCOMPARE(DM1->ADODataSet1->fieldByName(u"ID"_s).asString(), u"K2"_s);
        DM1->ADODataSet1->first();
        QCOMPARE(DM1->ADODataSet1->fieldByName(u"ID"_s).asString(), u"K1"_s);
        // The detail grids follow the client.
        QCOMPARE(DM1->ADODataSet2->recordCount(), 1);
        DM1->ADODataSet1->next();
        QCOMPARE(DM1->ADODataSet2->recordCount(), 2);
        QCOMPARE(DM1->ADODataSet6->recordCount(), 2);
    }

    void clientDeleteRemovesEverythingOfThatClient()
    {
        const QList<int> before = m_app->relatedCounts(ClientsFixture::B);
        m_app->prompt.answer(MessageButton::Yes);
        m_list->EditClient(3);
        QCOMPARE(m_app->prompt.shown(), QList<Message>{kClientDeleteQuestion});
        QCOMPARE(m_app->relatedCounts(ClientsFixture::A), (QList<int>{0, 0, 0, 0, 0}));
        QCOMPARE(m_app->db().scalar(u"SELECT COUNT(*) FROM \"ClientData\" WHERE \"CoName\" = :n"_s,
                                    {{u"n"_s, ClientsFixture::A}}).toInt(), 0);
        QCOMPARE(m_app->relatedCounts(ClientsFixture::B), before);
        QCOMPARE(DM1->ADODataSet1->recordCount(), 1);
        QCOMPARE(DM1->ADODataSet1->fieldByName(u"CoName"_s).asString(), ClientsFixture::B);
        QCOMPARE(DM1->ADODataSet2->recordCount(), 1);
    }

    void answeringNoChangesNothing_data()
    {
        QTest::addColumn<int>("code");
        QTest::newRow("client") << 3;
        QTest::newRow("contact") << 7;
        QTest::newRow("visit") << 11;
        QTest::newRow("order") << 15;
        QTest::newRow("appointment") << 19;
    }
    void answeringNoChangesNothing()
    {
        QFETCH(int, code);
        const QList<int> before = m_app->relatedCounts(ClientsFixture::A);
        m_app->prompt.answer(MessageButton::No);
        m_list->EditClient(code);
        QCOMPARE(m_app->prompt.count(), 1);
        QCOMPARE(m_app->relatedCounts(ClientsFixture::A), before);
        QCOMPARE(m_app->db().count(u"ClientData"_s), 2);
    }

    // A failure half-way leaves everything as it was: the client row went
    // away on another workstation, so its delete fails after the related rows'.
    void clientDeleteIsAllOrNothing()
    {
        const QList<int> before = m_app->relatedCounts(ClientsFixture::A);
        auto other = m_app->db().connect();
        other->exec(u"DELETE FROM \"ClientData\" WHERE \"ID\" = 'K2'"_s).finish();
        m_app->prompt.answer(MessageButton::Yes);
        m_list->EditClient(3);
        QCOMPARE(m_app->prompt.shown(), (QList<Message>{kClientDeleteQuestion, kDeleteFailed}));
        QCOMPARE(m_app->relatedCounts(ClientsFixture::A), before);
        QCOMPARE(DM1->ADODataSet1->recordCount(), 2);
    }

    void deleteOnAnEmptyGrid_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("table");
        QTest::newRow("client") << 3 << "ClientData";
        QTest::newRow("contact") << 7 << "LinkMan";
        QTest::newRow("order") << 15 << "ProductSell";
    }
    void deleteOnAnEmptyGrid()
    {
        QFETCH(int, code);
        QFETCH(QString, table);
        m_app->db().exec(u"DELETE FROM "_s + data::Dialect::quote(table));
        m_app->app().main->refreshAll();
        m_app->prompt.answer(MessageButton::Yes);
        m_list->EditClient(code);
        QCOMPARE(m_app->prompt.count(), 2);
        QCOMPARE(m_app->prompt.shown().last(), kNothingToDelete);
    }

    void singleRowDeletes_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("left");
        QTest::newRow("contact") << 7 << "LinkMan" << 1;
        QTest::newRow("visit") << 11 << "ClientVisit" << 0;
        QTest::newRow("appointment") << 19 << "ClientBespeak" << 0;
    }
    void singleRowDeletes()
    {
        QFETCH(int, code);
        QFETCH(QString, table);
        QFETCH(int, left);
        m_app->prompt.answer(MessageButton::Yes);
        m_list->EditClient(code);
        QCOMPARE(m_app->prompt.shown(), QList<Message>{kRecordDeleteQuestion});
        QCOMPARE(m_app->db().scalar(u"SELECT COUNT(*) FROM %1 WHERE \"ClientName\" = :n"_s.arg(data::Dialect::quote(table)),
                                    {{u"n"_s, ClientsFixture::A}}).toInt(),
                 left);
        // The list datasets of the other windows follow.
        if (code == 7)
            QCOMPARE(DM1->LinkManList->recordCount(), 2);
    }

    void singleRowDeleteOfARowAlreadyGone()
    {
        m_app->db().exec(u"DELETE FROM \"ClientVisit\""_s);
        m_app->prompt.answer(MessageButton::Yes);
        m_list->EditClient(11);
        QCOMPARE(m_app->prompt.count(), 2);
        QCOMPARE(m_app->prompt.shown().last(),
                 (Message{u"警告"_s, u"记录删除失败，可能在此之前已经被删除或更改过，请刷新数据库。"_s, MessageIcon::Warning}));
    }

    // An order goes with its lines; the client's other order keeps its own.
    void orderDeleteTakesItsLines()
    {
        QVERIFY(DM1->ADODataSet6->locate(u"OrderFormID"_s, u"XS20261201001"_s));
        m_app->prompt.answer(MessageButton::Yes);
        m_list->EditClient(15);
        QCOMPARE(m_app->prompt.shown().first().text,
                 u"删除本条销售记录将会使与之相关的具体销售信息被删除，您确定要这么做吗？"_s);
        QCOMPARE(m_app->prompt.count(), 1);
        QCOMPARE(m_app->db().scalar(u"SELECT COUNT(*) FROM \"SellDetail\" WHERE \"OrderFormID\" = 'XS20261201001'"_s)
                     .toInt(),
                 0);
        QCOMPARE(m_app->db().scalar(u"SELECT COUNT(*) FROM \"SellDetail\" WHERE \"OrderFormID\" = 'XS20261201002'"_s)
                     .toInt(),
                 1);
        QCOMPARE(m_app->db().count(u"ProductSell"_s), 2);
        QCOMPARE(DM1->SellList->recordCount(), 2);
    }

    void appointmentDeleteRefreshesTheAgenda()
    {
        m_app->db().exec(u"UPDATE \"ClientBespeak\" SET \"Dates\" = :d"_s, {{u"d"_s, m_app->clock.now().date()}});
        m_app->app().main->ShowCalendar();
        QCOMPARE(m_app->app().main->RzGroup6->entries().first()->text(), u"今天有 2 个联系客户"_s);
        m_app->prompt.answer(MessageButton::Yes);
        m_list->EditClient(19);
        QCOMPARE(m_app->app().main->RzGroup6->entries().first()->text(), u"今天有 1 个联系客户"_s);
    }

    void homePageAndMail_data()
    {
        QTest::addColumn<QString>("client");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("opened");
        QTest::addColumn<QString>("message");
        QTest::newRow("home page") << ClientsFixture::A << 100 << "http://www.huaxin.com.cn" << "";
        QTest::newRow("no home page") << ClientsFixture::B << 100 << "" << "该公司没有主页信息！";
        QTest::newRow("client mail") << ClientsFixture::A << 101 << "mailto:sales@huaxin.com.cn" << "";
        QTest::newRow("no client mail") << ClientsFixture::B << 101 << "" << "没有该公司的电子邮件信息！";
        QTest::newRow("contact mail") << ClientsFixture::A << 102 << "mailto:wangwei@huaxin.com.cn" << "";
        QTest::newRow("no contact mail") << ClientsFixture::B << 102 << "" << "没有该联系人的电子邮件信息！";
    }
    void homePageAndMail()
    {
        QFETCH(QString, client);
        QFETCH(int, code);
        QFETCH(QString, opened);
        QFETCH(QString, message);
        QVERIFY(DM1->ADODataSet1->locate(u"CoName"_s, client));
        if (code == 102 && client == ClientsFixture::A)
            QVERIFY(DM1->ADODataSet2->locate(u"LinkManID"_s, u"王伟"_s));
        m_list->SendEMailorWeb(code);
        QCOMPARE(m_app->shell.opened, opened.isEmpty() ? QStringList() : QStringList{opened});
        if (message.isEmpty())
            QCOMPARE(m_app->prompt.count(), 0);
        else
            QCOMPARE(m_app->prompt.shown(), (QList<Message>{Message{u"提示"_s, message, MessageIcon::Information}}));
    }

    // After a search narrowed the clients, "刷新" keeps the narrowing and "复位" ends it.
    void refreshKeepsASearchAndResetEndsIt()
    {
        data::Dataset *clients = DM1->ADODataSet1;
        clients->close();
        clients->setCommandText(u"select * from \"ClientData\" where \"ID\" = 'K1'"_s);
        clients->open();
        QCOMPARE(clients->recordCount(), 1);
        m_list->EditClient(4);
        QCOMPARE(clients->recordCount(), 1);
        m_list->EditClient(32);
        QCOMPARE(clients->recordCount(), 2);
        QCOMPARE(m_app->prompt.count(), 0);
    }

    void lowerPartTakesHalfTheHeightLessThirty()
    {
        m_app->expectLogin(u"admin"_s, {u""_s});
        m_app->app().main->resize(1100, 900);
        m_app->app().main->show();
        QApplication::processEvents();
        QMdiSubWindow *window = m_app->app().main->childWindowOf(&TClientListForm::staticMetaObject);
        window->showNormal();
        window->resize(800, 600 + (window->height() - m_list->height()));
        QApplication::processEvents();
        QCOMPARE(m_list->height(), 600);
        QCOMPARE(m_list->lowerPages->height(), 270);
    }

    void editCommandsOpenTheClientEditor()
    {
        m_app->modals.expect([](QDialog *dialog) { dialog->reject(); });
        m_list->EditClient(2);
        QCOMPARE(m_app->modals.shown, QStringList{u"EditClientForm"_s});
        // A new client's row is appended for the editor, and dropped when it closes untouched.
        m_app->modals.expect([](QDialog *dialog) {
            QCOMPARE(DM1->ADODataSet1->state(), data::DatasetState::Insert);
            dialog->reject();
        });
        m_list->EditClient(1);
        QCOMPARE(DM1->ADODataSet1->state(), data::DatasetState::Browse);
        QCOMPARE(m_app->db().count(u"ClientData"_s), 2);
    }

    void snapshot()
    {
        if (qEnvironmentVariableIsEmpty("CRM_SNAPSHOT_DIR"))
            QSKIP("set CRM_SNAPSHOT_DIR to save the pictures");
        m_app->app().main->resize(1100, 700);
        m_app->expectLogin(u"admin"_s, {u""_s});
        m_app->app().main->show();
        QApplication::processEvents();
        QVERIFY(!saveSnapshot(m_app->app().main.get(), u"client-list"_s).isEmpty());
        m_list->lowerPages->setCurrentIndex(2);
        QVERIFY(!saveSnapshot(m_app->app().main.get(), u"client-list-orders"_s).isEmpty());
    }
};

LUMORA_TEST_CLASS(TestClientList)

#include "tst_clientlist.moc"
