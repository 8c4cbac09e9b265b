#include "ClientList.h"
#include "ClientsFixture.h"
#include "DBComboBox.h"
#include "DM.h"
#include "DataGrid.h"
#include "DataGridFixture.h"
#include "EditClient.h"
#include "GridView.h"
#include "Main.h"
#include "SortForm.h"
#include "TestMain.h"

#include <QButtonGroup>
#include <QPushButton>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kApostrophe = u"O'Brien 100%"_s;

} // namespace

// The category window: one category at a time, the Delete key with its
// question, the drop-downs that follow a delete, and F5.
class TestSortSet : public QObject
{
    Q_OBJECT

    std::unique_ptr<ClientsFixture> m_app;

    TestDatabase &db() { return m_app->db(); }
    ScriptedPrompt &prompt() { return m_app->prompt; }

    // Opens the window (tag 64) and runs `script` while it is open.
    bool open(const std::function<void(TSortSetForm *)> &script)
    {
        m_app->modals.expect([script](QDialog *dialog) {
            auto *form = qobject_cast<TSortSetForm *>(dialog);
            QVERIFY(form);
            form->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(form));
            script(form);
            form->reject();
        });
        m_app->app().main->ShowWindows(64);
        return m_app->modals.shown.contains(u"SortSetForm"_s) && m_app->modals.pending() == 0;
    }
    static QStringList shown(TSortSetForm *form) { return gridtest::shownValues(*form->grid, u"Items"_s); }
    int stored(const QString &category, const QString &item)
    {
        return db().scalar(u"SELECT COUNT(*) FROM \"Sort\" WHERE \"Sorts\" = :c AND \"Items\" = :i"_s,
                           {{u"c"_s, category}, {u"i"_s, item}})
            .toInt();
    }
    // Selects the row of `item` and presses DEL on the grid.
    static void pressDelete(TSortSetForm *form, const QString &item)
    {
        const int position = int(shown(form).indexOf(item));
        QVERIFY(position >= 0);
        gridtest::clickRow(*form->grid, position);
        QTest::keyClick(form->grid->view(), Qt::Key_Delete);
    }

private slots:
    void initTestCase_data() { addBackendRows(); }
    void init()
    {
        LUMORA_INIT_BACKEND(backend);
        m_app = std::make_unique<ClientsFixture>(backend);
        // 职务设置 has no values.
        db().exec(u"INSERT INTO \"Sort\" (\"Sorts\", \"Items\") VALUES ('客户类型', '普通客户'), ('客户类型', :a), "
                  "('部门设置', '销售部'), ('联系方式', '电话'), ('联系方式', '上门')"_s,
                  {{u"a"_s, kApostrophe}});
        DM1->ADOSort->requery();
        DM1->LoadSortData();
        prompt().clear();
    }
    void cleanup() { m_app.reset(); }

    void opensOnTheClientTypes()
    {
        QVERIFY(open([](TSortSetForm *form) {
            QCOMPARE(form->windowTitle(), u"数据库类别维护"_s);
            QCOMPARE(form->RzRadioGroup1->title(), u"更改设置类别"_s);
            QStringList options;
            for (int i = 0; i < 4; ++i)
                options << form->options->button(i)->text();
            QCOMPARE(options, (QStringList{u"客户类型"_s, u"部门设置"_s, u"职务设置"_s, u"联系方式"_s}));
            QCOMPARE(form->categoryIndex(), 0);
            QCOMPARE(form->grid->column(0).caption(), u"项目"_s);
            QCOMPARE(shown(form), (QStringList{u"重要客户"_s, u"普通客户"_s, kApostrophe}));
            QVERIFY(form->grid->isReadOnly());
            QVERIFY(form->note->text().startsWith(u"    本类数据是您在输入相应的内容时自动添加的的，目的是为\n"_s));
            QVERIFY(form->note->text().endsWith(u"按下“DEL”键将其删除。"_s));
        }));
        QCOMPARE(prompt().count(), 0);
    }

    void choosingACategoryShowsItsValues_data()
    {
        QTest::addColumn<int>("option");
        QTest::addColumn<QStringList>("values");
        QTest::newRow("department") << 1 << QStringList{u"销售部"_s};
        QTest::newRow("duty, no values") << 2 << QStringList();
        QTest::newRow("way of contact") << 3 << QStringList{u"电话"_s, u"上门"_s};
        QTest::newRow("client type again") << 0 << QStringList{u"重要客户"_s, u"普通客户"_s, kApostrophe};
    }
    void choosingACategoryShowsItsValues()
    {
        QFETCH(int, option);
        QFETCH(QStringList, values);
        QVERIFY(open([&](TSortSetForm *form) {
            // Away first, so that the last row is a change too.
            QTest::mouseClick(form->options->button(3), Qt::LeftButton);
            QTest::mouseClick(form->options->button(option), Qt::LeftButton);
            QCOMPARE(form->categoryIndex(), option);
            QCOMPARE(shown(form), values);
        }));
        // The choice stays for the next showing.
        QVERIFY(open([&](TSortSetForm *form) {
            QCOMPARE(form->categoryIndex(), option);
            QCOMPARE(shown(form), values);
        }));
    }

    // DEL asks; Yes deletes the row and the editors stop offering the value.
    void deleteKeyAsksFirst_data()
    {
        QTest::addColumn<int>("option");
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("answer");
        QTest::newRow("client type, yes") << 0 << u"普通客户"_s << int(MessageButton::Yes);
        QTest::newRow("client type, no") << 0 << u"普通客户"_s << int(MessageButton::No);
        QTest::newRow("apostrophe and percent, yes") << 0 << kApostrophe << int(MessageButton::Yes);
        QTest::newRow("way of contact, yes") << 3 << u"电话"_s << int(MessageButton::Yes);
    }
    void deleteKeyAsksFirst()
    {
        QFETCH(int, option);
        QFETCH(QString, item);
        QFETCH(int, answer);
        const bool yes = answer == int(MessageButton::Yes);
        const QString category = TSortSetForm::categories().at(option);
        QStringList left;
        QVERIFY(open([&](TSortSetForm *form) {
            form->selectCategory(option);
            prompt().answer(MessageButton(answer));
            pressDelete(form, item);
            left = shown(form);
        }));
        QCOMPARE(prompt().count(), 1);
        QCOMPARE(prompt().shown().first().icon, MessageIcon::Question);
        QCOMPARE(left.contains(item), !yes);
        QCOMPARE(stored(category, item), yes ? 0 : 1);
        QCOMPARE(db().count(u"Sort"_s), yes ? 5 : 6);
        // The drop-downs that the category feeds.
        const QList<QStringListModel *> lists = option == 0
            ? QList<QStringListModel *>{m_app->app().editClient->RzDBComboBox1->itemModel()}
            : QList<QStringListModel *>{DM1->VisitRelationModeItems, DM1->BespeakRelationModeItems};
        for (QStringListModel *list : lists) {
            QVERIFY(list);
            QCOMPARE(list->stringList().contains(item), !yes);
            QVERIFY(!list->stringList().isEmpty());
        }
    }

    // A delete the database cannot do is reported, and the row stays.
    void failedDeleteKeepsTheRow()
    {
        auto other = db().connect();
        QStringList left;
        QVERIFY(open([&](TSortSetForm *form) {
            other->exec(u"DELETE FROM \"Sort\" WHERE \"Items\" = '普通客户'"_s).finish();
            prompt().answer(MessageButton::Yes);
            pressDelete(form, u"普通客户"_s);
            left = shown(form);
        }));
        QCOMPARE(prompt().count(), 2);
        QCOMPARE(prompt().shown().at(1).caption, applicationTitle());
        QCOMPARE(prompt().shown().at(1).icon, MessageIcon::Error);
        QVERIFY(left.contains(u"普通客户"_s));
    }

    void f5ReadsTheValuesAgain()
    {
        auto other = db().connect();
        QVERIFY(open([&](TSortSetForm *form) {
            other->exec(u"INSERT INTO \"Sort\" (\"Sorts\", \"Items\") VALUES ('客户类型', '代理商'), ('部门设置', '财务部')"_s)
                .finish();
            QVERIFY(!shown(form).contains(u"代理商"_s));
            QTest::keyClick(form->grid->view(), Qt::Key_F5);
            QCOMPARE(shown(form), (QStringList{u"重要客户"_s, u"普通客户"_s, kApostrophe, u"代理商"_s}));
        }));
        QCOMPARE(prompt().count(), 0);
    }

    // A type typed in the client editor is stored once, and listed here.
    void typedClientTypeIsListedOnce()
    {
        QVERIFY(m_app->openClientList());
        m_app->modals.expect([](QDialog *dialog) {
            auto *editor = qobject_cast<TEditClientForm *>(dialog);
            editor->RzDBComboBox1->setValue(u"代理商"_s);
            editor->RzDBComboBox1Exit();
            editor->RzDBComboBox1Exit();
            QTest::mouseClick(editor->RzBitBtn1, Qt::LeftButton);
        });
        ClientListForm->EditClient(2);
        QCOMPARE(stored(u"客户类型"_s, u"代理商"_s), 1);
        QVERIFY(open([](TSortSetForm *form) {
            QCOMPARE(shown(form).count(u"代理商"_s), 1);
        }));
    }

    void snapshot()
    {
        if (qEnvironmentVariableIsEmpty("CRM_SNAPSHOT_DIR"))
            QSKIP("set CRM_SNAPSHOT_DIR to save the pictures");
        QVERIFY(open([](TSortSetForm *form) { QVERIFY(!saveSnapshot(form, u"category-window"_s).isEmpty()); }));
    }
};

LUMORA_TEST_CLASS(TestSortSet)

#include "tst_sortset.moc"
