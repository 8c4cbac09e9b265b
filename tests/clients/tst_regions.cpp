#include "ClientsFixture.h"
#include "DataGrid.h"
#include "DataGridFixture.h"
#include "DM.h"
#include "EditArea.h"
#include "GridView.h"
#include "Main.h"
#include "TestMain.h"

#include <QApplication>
#include <QGroupBox>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;
using data::DatasetState;

namespace {

const QString kRegionQuestion = u"您确定要删除这条记录吗？这将会使相应的区域信息被删除！"_s;
const QString kAreaQuestion = u"您确定要删除这条记录吗？"_s;
const QString kNothingToDelete = u"没有找到可删除的记录！"_s;
const QString kCloseQuestion = u"您确定要放弃对区域设置的修改吗？"_s;

QStringList enabledButtons(TEditAreaForm *form)
{
    QStringList enabled;
    for (int code = 1; code <= 8; ++code) {
        if (form->button(code)->isEnabled())
            enabled << QString::number(code);
    }
    return enabled;
}

} // namespace

// The sales regions dialog: the two locked sides and their switches, new
// regions and areas, the deletes with their questions, and closing.
class TestRegions : public QObject
{
    Q_OBJECT

    std::unique_ptr<ClientsFixture> m_app;

    TestDatabase &db() { return m_app->db(); }
    ScriptedPrompt &prompt() { return m_app->prompt; }

    // Opens the dialog (window tag 58) and runs `script` while it is open;
    // false when the dialog was not shown.
    bool open(const std::function<void(TEditAreaForm *)> &script)
    {
        m_app->modals.expect([script](QDialog *dialog) {
            auto *form = qobject_cast<TEditAreaForm *>(dialog);
            QVERIFY(form);
            form->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(form));
            script(form);
        });
        m_app->app().main->ShowWindows(58);
        return m_app->modals.shown.contains(u"EditAreaForm"_s) && m_app->modals.pending() == 0;
    }
    static void click(TEditAreaForm *form, int code) { QTest::mouseClick(form->button(code), Qt::LeftButton); }
    // Types into the current cell's editor of a grid.
    static void type(DataGrid *grid, const QString &text)
    {
        QWidget *editor = grid->view()->indexWidget(grid->view()->currentIndex());
        QVERIFY(editor);
        gridtest::typeText(editor, text);
    }
    QStringList areasOf(const QString &region)
    {
        QStringList areas;
        auto query = db().admin().exec(u"SELECT \"地区名称\" FROM \"销售区域\" WHERE \"所属区域\" = :r ORDER BY 1"_s,
                                       {{u"r"_s, region}});
        while (query.next())
            areas << query.value(0).toString();
        return areas;
    }
    int regionCount() { return db().count(u"所在区域"_s); }

private slots:
    void initTestCase_data() { addBackendRows(); }
    void init()
    {
        LUMORA_INIT_BACKEND(backend);
        m_app = std::make_unique<ClientsFixture>(backend);
        // 华北 with 北京 and 天津, 华东 with 上海.
        db().exec(u"INSERT INTO \"销售区域\" (\"所属区域\", \"地区名称\") VALUES ('华北', '天津')"_s);
        m_app->app().main->refreshAll();
        QVERIFY(DM1->ADOTable1->locate(u"所属区域"_s, u"华北"_s));
        prompt().clear();
    }
    void cleanup() { m_app.reset(); }

    void opensLockedWithOnlyTheEditButtons()
    {
        QVERIFY(open([](TEditAreaForm *form) {
            QCOMPARE(form->windowTitle(), u"销售区域设置"_s);
            QCOMPARE(form->findChild<QGroupBox *>()->title(), u"区域信息"_s);
            QCOMPARE(enabledButtons(form), (QStringList{u"1"_s, u"5"_s}));
            const QStringList hints = {u"编辑"_s, u"添加所属区域"_s, u"保存对所属区域的修改"_s, u"删除当前所属区域"_s,
                                       u"编辑"_s, u"添加地区名称"_s, u"保存对地区名称的修改"_s, u"删除当前地区名称"_s};
            for (int code = 1; code <= 8; ++code) {
                QCOMPARE(form->button(code)->toolTip(), hints.at(code - 1));
                QVERIFY(form->button(code)->text().isEmpty());
            }
            QVERIFY(form->regionGrid->isReadOnly());
            QVERIFY(form->areaGrid->isReadOnly());
            QCOMPARE(gridtest::shownValues(*form->areaGrid, u"地区名称"_s), (QStringList{u"北京"_s, u"天津"_s}));
            // Typing on a locked grid changes nothing.
            gridtest::clickRow(*form->regionGrid, 0);
            QTest::keyClicks(form->regionGrid->view(), u"xyz"_s);
            QCOMPARE(DM1->ADOTable1->state(), DatasetState::Browse);
            QVERIFY(!form->regionGrid->view()->indexWidget(form->regionGrid->view()->currentIndex()));
            form->reject();
        }));
        QCOMPARE(prompt().count(), 0);
    }

    // Each "编辑" unlocks its own side only; save locks it again, changed or not.
    void editSwitchesOneSide_data()
    {
        QTest::addColumn<int>("side");
        QTest::addColumn<QStringList>("enabled");
        QTest::newRow("regions") << 1 << QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s};
        QTest::newRow("areas") << 2 << QStringList{u"1"_s, u"5"_s, u"6"_s, u"7"_s, u"8"_s};
    }
    void editSwitchesOneSide()
    {
        QFETCH(int, side);
        QFETCH(QStringList, enabled);
        const int edit = side == 1 ? 1 : 5;
        QVERIFY(open([&](TEditAreaForm *form) {
            click(form, edit);
            QCOMPARE(enabledButtons(form), enabled);
            QVERIFY(form->isUnlocked(side));
            QVERIFY(!form->isUnlocked(3 - side));
            click(form, edit + 2);
            QCOMPARE(enabledButtons(form), (QStringList{u"1"_s, u"5"_s}));
            QVERIFY(!form->isUnlocked(side));
            form->reject();
        }));
        QCOMPARE(prompt().count(), 0);
        QCOMPARE(regionCount(), 2);
    }

    // A new region, then an area added while it is current: both written, the
    // area under the region, and offered by the client editor for it.
    void newRegionAndItsArea()
    {
        QVERIFY(open([this](TEditAreaForm *form) {
            click(form, 1);
            click(form, 2);
            QCOMPARE(DM1->ADOTable1->state(), DatasetState::Insert);
            type(form->regionGrid, u"华南"_s);
            click(form, 3);
            QCOMPARE(DM1->ADOTable1->state(), DatasetState::Browse);
            QVERIFY(!form->isUnlocked(1));
            QCOMPARE(regionCount(), 3);

            QVERIFY(DM1->ADOTable1->locate(u"所属区域"_s, u"华南"_s));
            QCOMPARE(DM1->ADODataSet3->recordCount(), 0);
            click(form, 5);
            click(form, 6);
            type(form->areaGrid, u"广州"_s);
            click(form, 7);
            QVERIFY(!form->isUnlocked(2));
            QCOMPARE(gridtest::shownValues(*form->areaGrid, u"地区名称"_s), QStringList{u"广州"_s});
            QCOMPARE(DM1->ClientAreaItems->stringList(), QStringList{u"广州"_s});
            form->reject();
        }));
        QCOMPARE(prompt().count(), 0);
        QCOMPARE(areasOf(u"华南"_s), QStringList{u"广州"_s});
        QCOMPARE(areasOf(u"华北"_s), (QStringList{u"北京"_s, u"天津"_s}));
    }

    // An area added while a new region is still being typed is not left
    // under a region that was never written.
    void areaOfAnUnsavedRegionWritesTheRegion()
    {
        QVERIFY(open([this](TEditAreaForm *form) {
            click(form, 1);
            click(form, 2);
            type(form->regionGrid, u"西北"_s);
            click(form, 5);
            click(form, 6);
            QCOMPARE(DM1->ADOTable1->state(), DatasetState::Browse);
            type(form->areaGrid, u"西安"_s);
            click(form, 7);
            prompt().answer(MessageButton::Yes);
            form->reject();
        }));
        QCOMPARE(prompt().count(), 0);
        QCOMPARE(regionCount(), 3);
        QCOMPARE(areasOf(u"西北"_s), QStringList{u"西安"_s});
    }

    // A row the database refuses (another workstation deleted it meanwhile) is
    // reported, and the side stays unlocked.
    void refusedSaveKeepsTheSideOpen()
    {
        auto other = db().connect();
        QVERIFY(open([&](TEditAreaForm *form) {
            click(form, 5);
            QVERIFY(DM1->ADODataSet3->locate(u"地区名称"_s, u"天津"_s));
            QWidget *editor = form->areaGrid->view()->indexWidget(form->areaGrid->view()->currentIndex());
            QVERIFY(editor);
            editor->setFocus();
            QTest::keyClick(editor, Qt::Key_End);
            gridtest::typeText(editor, u"市"_s);
            other->exec(u"DELETE FROM \"销售区域\" WHERE \"地区名称\" = '天津'"_s).finish();
            click(form, 7);
            QVERIFY(form->isUnlocked(2));
            QCOMPARE(DM1->ADODataSet3->state(), DatasetState::Browse);
            form->reject();
        }));
        QCOMPARE(prompt().count(), 1);
        QCOMPARE(prompt().shown().first().caption, u"错误"_s);
        QVERIFY(prompt().shown().first().text.startsWith(u"您在对数据进行保存操作时，发生了如下错误："_s));
        QCOMPARE(areasOf(u"华北"_s), QStringList{u"北京"_s});
    }

    void deletingARegionDeletesItsAreas_data()
    {
        QTest::addColumn<bool>("deleteKey");
        QTest::addColumn<int>("answer");
        QTest::newRow("button, yes") << false << int(MessageButton::Yes);
        QTest::newRow("button, no") << false << int(MessageButton::No);
        QTest::newRow("delete key, yes") << true << int(MessageButton::Yes);
    }
    void deletingARegionDeletesItsAreas()
    {
        QFETCH(bool, deleteKey);
        QFETCH(int, answer);
        const bool yes = answer == int(MessageButton::Yes);
        QVERIFY(open([&](TEditAreaForm *form) {
            gridtest::clickRow(*form->regionGrid, DM1->ADOTable1->recNo());
            prompt().answer(MessageButton(answer));
            if (deleteKey) {
                QTest::keyClick(form->regionGrid->view(), Qt::Key_Delete);
            } else {
                click(form, 1);
                click(form, 4);
            }
            QCOMPARE(DM1->ADODataSet3->recordCount(), yes ? 1 : 2); // now 华东's 上海
            form->reject();
        }));
        QCOMPARE(prompt().count(), 1);
        QCOMPARE(prompt().shown().first(),
                 (Message{u"询问"_s, kRegionQuestion, MessageIcon::Question, MessageButton::Yes | MessageButton::No}));
        QCOMPARE(regionCount(), yes ? 1 : 2);
        QCOMPARE(areasOf(u"华北"_s), yes ? QStringList() : (QStringList{u"北京"_s, u"天津"_s}));
        QCOMPARE(areasOf(u"华东"_s), QStringList{u"上海"_s});
        // Clients keep the text of their region.
        QCOMPARE(db().scalar(u"SELECT \"Area\" FROM \"ClientData\" WHERE \"ID\" = 'K2'"_s).toString(), u"华北"_s);
    }

    // The region row gone meanwhile from another workstation: its areas are
    // not deleted half-way either.
    void failedRegionDeleteKeepsTheAreas()
    {
        auto other = db().connect();
        QVERIFY(open([&](TEditAreaForm *form) {
            other->exec(u"DELETE FROM \"所在区域\" WHERE \"所属区域\" = '华北'"_s).finish();
            prompt().answer(MessageButton::Yes);
            click(form, 1);
            click(form, 4);
            form->reject();
        }));
        QCOMPARE(prompt().count(), 2);
        QCOMPARE(prompt().shown().at(1).caption, applicationTitle());
        QCOMPARE(prompt().shown().at(1).icon, MessageIcon::Error);
        QCOMPARE(areasOf(u"华北"_s), (QStringList{u"北京"_s, u"天津"_s}));
    }

    void deletingAnAreaDeletesOnlyIt()
    {
        QVERIFY(open([this](TEditAreaForm *form) {
            QVERIFY(DM1->ADODataSet3->locate(u"地区名称"_s, u"天津"_s));
            prompt().answer(MessageButton::Yes);
            click(form, 5);
            click(form, 8);
            QCOMPARE(DM1->ClientAreaItems->stringList(), QStringList{u"北京"_s});
            form->reject();
        }));
        QCOMPARE(prompt().shown(),
                 (QList<Message>{{u"询问"_s, kAreaQuestion, MessageIcon::Question, MessageButton::Yes | MessageButton::No}}));
        QCOMPARE(areasOf(u"华北"_s), QStringList{u"北京"_s});
        QCOMPARE(areasOf(u"华东"_s), QStringList{u"上海"_s});
        QCOMPARE(regionCount(), 2);
    }

    // Regions: nothing to delete is said at once. Areas: the question comes first.
    void deleteOnAnEmptyList_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("captions");
        QTest::newRow("regions") << 4 << int(MessageButton::Yes) << QStringList{u"错误"_s};
        QTest::newRow("areas, yes") << 8 << int(MessageButton::Yes) << QStringList{u"询问"_s, u"错误"_s};
        QTest::newRow("areas, no") << 8 << int(MessageButton::No) << QStringList{u"询问"_s};
    }
    void deleteOnAnEmptyList()
    {
        QFETCH(int, code);
        QFETCH(int, answer);
        QFETCH(QStringList, captions);
        if (code == 4)
            db().exec(u"DELETE FROM \"所在区域\""_s);
        db().exec(u"DELETE FROM \"销售区域\""_s);
        m_app->app().main->refreshAll();
        QVERIFY(open([&](TEditAreaForm *form) {
            prompt().answer(MessageButton(answer));
            click(form, code - 3);
            click(form, code);
            form->reject();
        }));
        QStringList shown;
        for (const Message &m : prompt().shown())
            shown << m.caption;
        QCOMPARE(shown, captions);
        const Message &last = prompt().shown().last();
        if (last.caption == u"错误"_s) {
            QCOMPARE(last.text, kNothingToDelete);
            QCOMPARE(last.icon, MessageIcon::Warning);
            QCOMPARE(last.buttons, MessageButtons(MessageButton::Ok));
        } else {
            QCOMPARE(last.text, kAreaQuestion);
        }
    }

    // A renamed region keeps its areas.
    void renamedRegionKeepsItsAreas()
    {
        QVERIFY(open([](TEditAreaForm *form) {
            click(form, 1);
            gridtest::clickRow(*form->regionGrid, DM1->ADOTable1->recNo());
            QWidget *editor = form->regionGrid->view()->indexWidget(form->regionGrid->view()->currentIndex());
            QVERIFY(editor);
            QTest::keyClick(editor, Qt::Key_End);
            gridtest::typeText(editor, u"区"_s);
            click(form, 3);
            form->reject();
        }));
        QCOMPARE(prompt().count(), 0);
        QCOMPARE(areasOf(u"华北区"_s), (QStringList{u"北京"_s, u"天津"_s}));
        QCOMPARE(areasOf(u"华北"_s), QStringList());
    }

    void closeAsksAboutPendingChanges_data()
    {
        QTest::addColumn<int>("side");
        QTest::addColumn<bool>("newRow");
        QTest::addColumn<bool>("typed");
        QTest::addColumn<int>("answer");
        QTest::newRow("untouched new region, yes") << 1 << true << false << int(MessageButton::Yes);
        QTest::newRow("untouched new region, no") << 1 << true << false << int(MessageButton::No);
        QTest::newRow("typed new area, yes") << 2 << true << true << int(MessageButton::Yes);
        QTest::newRow("typed new area, no") << 2 << true << true << int(MessageButton::No);
        QTest::newRow("changed region, yes") << 1 << false << true << int(MessageButton::Yes);
    }
    void closeAsksAboutPendingChanges()
    {
        QFETCH(int, side);
        QFETCH(bool, newRow);
        QFETCH(bool, typed);
        QFETCH(int, answer);
        const bool yes = answer == int(MessageButton::Yes);
        bool openAfterClose = false;
        QVERIFY(open([&](TEditAreaForm *form) {
            const int edit = side == 1 ? 1 : 5;
            DataGrid *grid = side == 1 ? form->regionGrid : form->areaGrid;
            click(form, edit);
            if (newRow) {
                click(form, edit + 1);
            } else {
                gridtest::clickRow(*grid, grid->dataset()->recNo());
                grid->view()->indexWidget(grid->view()->currentIndex())->setFocus();
            }
            if (typed)
                type(grid, u"西安"_s);
            prompt().answer(MessageButton(answer));
            form->close();
            openAfterClose = form->isVisible();
            if (openAfterClose) {
                QVERIFY(form->isUnlocked(side));
                prompt().answer(MessageButton::Yes);
                form->reject();
            }
            // Closed, both sides are locked again and nothing is pending.
            QVERIFY(!form->isUnlocked(1));
            QVERIFY(!form->isUnlocked(2));
            QCOMPARE(enabledButtons(form), (QStringList{u"1"_s, u"5"_s}));
        }));
        QCOMPARE(openAfterClose, !yes);
        QCOMPARE(prompt().shown().first(),
                 (Message{u"询问"_s, kCloseQuestion, MessageIcon::Question, MessageButton::Yes | MessageButton::No}));
        QCOMPARE(DM1->ADOTable1->state(), DatasetState::Browse);
        QCOMPARE(DM1->ADODataSet3->state(), DatasetState::Browse);
        QCOMPARE(regionCount(), 2);
        QCOMPARE(db().count(u"销售区域"_s), 3);
        QCOMPARE(db().scalar(u"SELECT COUNT(*) FROM \"所在区域\" WHERE \"所属区域\" IN ('华北', '华东')"_s).toInt(), 2);
    }

    void closeWithoutChangesAsksNothing()
    {
        QVERIFY(open([](TEditAreaForm *form) {
            click(form, 1);
            click(form, 5);
            form->close();
            QVERIFY(!form->isVisible());
        }));
        QCOMPARE(prompt().count(), 0);
    }

    void snapshot()
    {
        if (qEnvironmentVariableIsEmpty("CRM_SNAPSHOT_DIR"))
            QSKIP("set CRM_SNAPSHOT_DIR to save the pictures");
        QVERIFY(open([](TEditAreaForm *form) {
            QVERIFY(!saveSnapshot(form, u"regions-dialog"_s).isEmpty());
            form->reject();
        }));
    }
};

LUMORA_TEST_CLASS(TestRegions)

#include "tst_regions.moc"
