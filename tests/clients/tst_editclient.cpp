#include "ClientList.h"
#include "ClientsFixture.h"
#include "DBComboBox.h"
#include "DBEdit.h"
#include "DBLookupComboBox.h"
#include "DBNavigator.h"
#include "DM.h"
#include "Main.h"
#include "EditClient.h"
#include "TestMain.h"

#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;
using data::Dataset;

namespace {

const QString kRenamed = u"北京华信科技集团有限公司"_s;

} // namespace

// The client editor: saving, the rename of a client in its related tables,
// the code check, new areas and client types, and leaving without saving.
class TestEditClient : public QObject
{
    Q_OBJECT

    std::unique_ptr<ClientsFixture> m_app;
    TEditClientForm *m_editor = nullptr;

    // Opens the editor on the current client and runs `script` while it is open.
    void edit(const std::function<void(TEditClientForm *)> &script)
    {
        m_app->modals.expect([script](QDialog *dialog) { script(qobject_cast<TEditClientForm *>(dialog)); });
        ClientListForm->EditClient(2);
    }
    void save(TEditClientForm *editor) { QTest::mouseClick(editor->RzBitBtn1, Qt::LeftButton); }

private slots:
    void initTestCase_data() { addBackendRows(); }
    void init()
    {
        LUMORA_INIT_BACKEND(backend);
        m_app = std::make_unique<ClientsFixture>(backend);
        QVERIFY(m_app->openClientList());
        m_editor = m_app->app().editClient.get();
        m_app->prompt.clear();
    }
    void cleanup()
    {
        m_editor = nullptr;
        m_app.reset();
    }

    void showsTheCurrentClient()
    {
        edit([](TEditClientForm *editor) {
            QCOMPARE(editor->windowTitle(), u"编辑客户资料"_s);
            QCOMPARE(editor->RzDBEdit1->text(), u"K2"_s);
            QCOMPARE(editor->coName->text(), ClientsFixture::A);
            QCOMPARE(editor->area->currentText(), u"华北"_s);
            // The area list is the areas of the region shown.
            QCOMPARE(DM1->ClientAreaItems->stringList(), QStringList{u"北京"_s});
            QCOMPARE(editor->tier->items(),
                     (QStringList{u"★★★★★"_s, u"★★★★"_s, u"★★★"_s, u"★★"_s, u"★"_s}));
            QCOMPARE(editor->RzBitBtn3->toolTip(), u"增加该公司联系人"_s);
            editor->reject();
        });
        QCOMPARE(m_app->prompt.count(), 0);
    }

    void savingNothingWritesNothing()
    {
        edit([this](TEditClientForm *editor) {
            save(editor);
            QVERIFY(!editor->isVisible());
        });
        QCOMPARE(m_app->prompt.count(), 0);
        QCOMPARE(DM1->ADODataSet1->state(), data::DatasetState::Browse);
    }

    // A rename reaches every related table and the detail grids follow.
    void renameRewritesTheRelatedTables_data()
    {
        QTest::addColumn<QString>("newName");
        QTest::newRow("another name") << kRenamed;
        QTest::newRow("with an apostrophe") << u"O'Neil & 100% Co"_s;
    }
    void renameRewritesTheRelatedTables()
    {
        QFETCH(QString, newName);
        const QList<int> before = m_app->relatedCounts(ClientsFixture::A);
        edit([this, newName](TEditClientForm *editor) {
            editor->coName->setValue(newName);
            save(editor);
        });
        QCOMPARE(m_app->prompt.count(), 0);
        QCOMPARE(m_app->relatedCounts(newName), before);
        QCOMPARE(m_app->relatedCounts(ClientsFixture::A), (QList<int>{0, 0, 0, 0, 0}));
        QCOMPARE(DM1->ADODataSet2->recordCount(), 2);
        QCOMPARE(DM1->ADODataSet6->recordCount(), 2);
        QCOMPARE(DM1->ADODataSet2->fieldByName(u"ClientName"_s).asString(), newName);
    }

    void letterCaseCountsAsARename()
    {
        m_app->db().exec(u"UPDATE \"ClientData\" SET \"CoName\" = 'abc' WHERE \"ID\" = 'K2'"_s);
        m_app->db().exec(u"UPDATE \"LinkMan\" SET \"ClientName\" = 'abc' WHERE \"ClientName\" = :a"_s,
                         {{u"a"_s, ClientsFixture::A}});
        m_app->app().main->refreshAll();
        QVERIFY(DM1->ADODataSet1->locate(u"ID"_s, u"K2"_s));
        edit([this](TEditClientForm *editor) {
            editor->coName->setValue(u"ABC"_s);
            save(editor);
        });
        QCOMPARE(m_app->relatedCounts(u"ABC"_s).first(), 2);
    }

    // Changed and changed back is no rename: the related datasets are not even read again.
    void changedAndBackIsNoRename()
    {
        auto other = m_app->db().connect();
        edit([&](TEditClientForm *editor) {
            editor->coName->setValue(kRenamed);
            editor->coName->setValue(ClientsFixture::A);
            editor->tel->setValue(u"010-8888"_s);
            other->exec(u"INSERT INTO \"LinkMan\" (\"ClientName\", \"LinkManID\") VALUES ('别的客户', '赵强')"_s).finish();
            save(editor);
        });
        QCOMPARE(m_app->db().scalar(u"SELECT \"TEL\" FROM \"ClientData\" WHERE \"ID\" = 'K2'"_s).toString(), u"010-8888"_s);
        QCOMPARE(DM1->LinkManList->recordCount(), 3);
    }

    // A client row the database refuses renames nothing.
    void refusedRenameRenamesNothing()
    {
        const QList<int> before = m_app->relatedCounts(ClientsFixture::A);
        bool stillOpen = false;
        edit([&](TEditClientForm *editor) {
            editor->coName->setValue(QString(51, u'长'));
            save(editor);
            stillOpen = editor->isVisible();
            editor->reject();
        });
        QVERIFY(stillOpen);
        QCOMPARE(m_app->prompt.count(), 1);
        QCOMPARE(m_app->prompt.shown().first().caption, u"错误"_s);
        QVERIFY(m_app->prompt.shown().first().text.startsWith(u"您在对数据进行保存操作时，发生了如下错误："_s));
        QCOMPARE(m_app->relatedCounts(ClientsFixture::A), before);
        QCOMPARE(m_app->db().scalar(u"SELECT \"CoName\" FROM \"ClientData\" WHERE \"ID\" = 'K2'"_s).toString(),
                 ClientsFixture::A);
    }

    // Moving on with the navigator writes the changed name with its rename.
    void navigatorMoveRenamesToo()
    {
        const QList<int> before = m_app->relatedCounts(ClientsFixture::A);
        edit([](TEditClientForm *editor) {
            editor->coName->setValue(kRenamed);
            editor->navigator->move(DBNavigator::Button::First);
            editor->reject();
        });
        QCOMPARE(m_app->relatedCounts(kRenamed), before);
        QCOMPARE(m_app->prompt.count(), 0);
    }

    void codeCheck_data()
    {
        QTest::addColumn<bool>("newClient");
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("taken");
        QTest::newRow("own code while editing") << false << "K2" << false;
        QTest::newRow("other's code while editing") << false << "K1" << true;
        QTest::newRow("free code while editing") << false << "K9" << false;
        QTest::newRow("code in use for a new client") << true << "K1" << true;
        QTest::newRow("free code for a new client") << true << "O'K 100%" << false;
    }
    void codeCheck()
    {
        QFETCH(bool, newClient);
        QFETCH(QString, code);
        QFETCH(bool, taken);
        QString shownAfter;
        m_app->modals.expect([&](QDialog *dialog) {
            auto *editor = qobject_cast<TEditClientForm *>(dialog);
            editor->RzDBEdit1->setValue(code);
            editor->RzDBEdit1Exit();
            shownAfter = editor->RzDBEdit1->text();
            m_app->prompt.answer(MessageButton::Yes);
            editor->reject();
        });
        ClientListForm->EditClient(newClient ? 1 : 2);
        const QList<Message> shown = m_app->prompt.shown();
        if (taken) {
            QCOMPARE(shown.first().caption, u"错误"_s);
            QCOMPARE(shown.first().text, u"您输入的编号已存在，请重新输入！"_s);
            QCOMPARE(shown.first().icon, MessageIcon::Error);
            // The typed change was undone.
            QCOMPARE(shownAfter, newClient ? QString() : u"K2"_s);
        } else {
            QVERIFY(shown.isEmpty() || shown.first().caption == u"询问"_s);
            QCOMPARE(shownAfter, code);
        }
    }

    void newAreaIsFiledUnderTheRegionShown()
    {
        edit([this](TEditClientForm *editor) {
            editor->DBComboBox2->setValue(u"天津"_s);
            editor->DBComboBox2Exit();
            editor->DBComboBox2Exit(); // a second time adds nothing
            save(editor);
        });
        QCOMPARE(m_app->db().scalar(u"SELECT COUNT(*) FROM \"销售区域\" WHERE \"地区名称\" = '天津'"_s).toInt(), 1);
        QCOMPARE(m_app->db().scalar(u"SELECT \"所属区域\" FROM \"销售区域\" WHERE \"地区名称\" = '天津'"_s).toString(),
                 u"华北"_s);
        QCOMPARE(DM1->ClientAreaItems->stringList(), (QStringList{u"北京"_s, u"天津"_s}));
        QCOMPARE(m_app->db().scalar(u"SELECT \"Region\" FROM \"ClientData\" WHERE \"ID\" = 'K2'"_s).toString(),
                 u"天津"_s);
    }

    // A client type typed twice is stored once, as text however it reads.
    void typedClientTypeIsStoredOnce()
    {
        const QString type = u"O'Brien 100%"_s;
        edit([&](TEditClientForm *editor) {
            editor->RzDBComboBox1->setValue(type);
            editor->RzDBComboBox1Exit();
            editor->RzDBComboBox1Exit();
            save(editor);
        });
        QCOMPARE(m_app->db().scalar(u"SELECT COUNT(*) FROM \"Sort\" WHERE \"Sorts\" = '客户类型' AND \"Items\" = :t"_s,
                                    {{u"t"_s, type}}).toInt(),
                 1);
        QCOMPARE(DM1->ClientTypeItems->stringList(), (QStringList{u"重要客户"_s, type}));
        QCOMPARE(DM1->ADOSort->recordCount(), 2);
    }

    void leavingWithChangesAsks_data()
    {
        QTest::addColumn<bool>("newClient");
        QTest::addColumn<int>("answer");
        QTest::newRow("changed client, yes") << false << int(MessageButton::Yes);
        QTest::newRow("changed client, no") << false << int(MessageButton::No);
        QTest::newRow("new client, yes") << true << int(MessageButton::Yes);
    }
    void leavingWithChangesAsks()
    {
        QFETCH(bool, newClient);
        QFETCH(int, answer);
        bool openAfterQuit = false;
        m_app->modals.expect([&](QDialog *dialog) {
            auto *editor = qobject_cast<TEditClientForm *>(dialog);
            editor->coName->setValue(u"新名称"_s);
            m_app->prompt.answer(MessageButton(answer));
            QTest::mouseClick(editor->RzBitBtn2, Qt::LeftButton);
            openAfterQuit = editor->isVisible();
            if (openAfterQuit) {
                m_app->prompt.answer(MessageButton::Yes);
                editor->reject();
            }
        });
        ClientListForm->EditClient(newClient ? 1 : 2);
        QCOMPARE(m_app->prompt.shown().first().text, u"该客户资料已经修改过，您确定要放弃保存并退出吗？"_s);
        QCOMPARE(m_app->prompt.shown().first().caption, u"询问"_s);
        QCOMPARE(openAfterQuit, answer == int(MessageButton::No));
        QCOMPARE(DM1->ADODataSet1->state(), data::DatasetState::Browse);
        QCOMPARE(m_app->db().count(u"ClientData"_s), 2);
        QCOMPARE(m_app->db().scalar(u"SELECT COUNT(*) FROM \"ClientData\" WHERE \"CoName\" = '新名称'"_s).toInt(), 0);
    }

    void newClientIsWritten()
    {
        m_app->modals.expect([this](QDialog *dialog) {
            auto *editor = qobject_cast<TEditClientForm *>(dialog);
            editor->RzDBEdit1->setValue(u"K3"_s);
            editor->coName->setValue(u"广州恒通电子有限公司"_s);
            editor->postalCode->setValue(510000);
            save(editor);
        });
        ClientListForm->EditClient(1);
        QCOMPARE(m_app->prompt.count(), 0);
        QCOMPARE(m_app->db().scalar(u"SELECT \"Postalcode\" FROM \"ClientData\" WHERE \"ID\" = 'K3'"_s).toInt(), 510000);
    }

    void snapshot()
    {
        if (qEnvironmentVariableIsEmpty("CRM_SNAPSHOT_DIR"))
            QSKIP("set CRM_SNAPSHOT_DIR to save the pictures");
        edit([](TEditClientForm *editor) {
            QVERIFY(!saveSnapshot(editor, u"client-editor"_s).isEmpty());
            editor->reject();
        });
    }
};

LUMORA_TEST_CLASS(TestEditClient)

#include "tst_editclient.moc"
