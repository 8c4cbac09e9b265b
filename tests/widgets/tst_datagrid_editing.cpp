#include "DataGridFixture.h"
#include "RowIndicator.h"
#include "ScriptedPrompt.h"
#include "TestMain.h"

#include <QComboBox>
#include <QListView>
#include <QSpinBox>

using namespace gridtest;
using data::Dataset;
using data::DatasetState;

// A grid that edits in place: typed values reach the database through the
// dataset's post, Esc cancels, an untouched new row goes away, pick lists,
// check marks, and locking the grid at run time.
class TestDataGridEditing : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<data::Connection> m_connection;
    std::unique_ptr<Dataset> m_products;
    std::unique_ptr<data::DataSource> m_source;
    std::unique_ptr<GridForm> m_form;

    DataGrid &grid() { return *m_form->grid; }

    QVariant stored(const QString &id, const QString &field)
    {
        return m_db->scalar(u"SELECT \"%1\" FROM \"ProductInfo\" WHERE \"ID\" = :i"_s.arg(field),
                            {{u"i"_s, id}});
    }

    // Puts the grid's current cell on a product's column and gives its editor the focus.
    QWidget *editCell(const QString &id, const QString &field)
    {
        clickRow(grid(), positionOf(*m_products, u"ID"_s, id), field);
        QWidget *editor = grid().view()->indexWidget(grid().view()->currentIndex());
        if (editor)
            editor->setFocus();
        return editor;
    }

private slots:
    void initTestCase_data() { addBackendRows(); }
    void init()
    {
        LUMORA_INIT_BACKEND(backend);
        m_db = std::make_unique<TestDatabase>(backend);
        addProducts(*m_db);
        m_connection = m_db->connect();
        m_products = openTable(*m_connection, u"ProductInfo"_s, u"ID ASC"_s);
        m_source = std::make_unique<data::DataSource>(m_products.get());
        m_form = std::make_unique<GridForm>(m_source.get());
        grid().addColumn(u"ID"_s, u"产品代码"_s, 80);
        grid().addColumn(u"Spec"_s, u"规格"_s, 120);
        grid().addColumn(u"Price"_s, u"单价(元)"_s, 100).setDisplayKind(GridColumn::Money);
        grid().addColumn(u"SellNumber"_s, u"数量"_s, 100);
        grid().addColumn(u"Num"_s, u"编号"_s, 60);
        grid().setReadOnly(false);
        QVERIFY(m_form->show());
    }
    void cleanup()
    {
        m_form.reset();
        m_source.reset();
        m_products.reset();
        m_connection.reset();
        m_db.reset();
    }

    void enterWritesTheTypedValue_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("text") << u"Spec"_s << u"USB-C 2m"_s << QVariant(u"USB-C 2m"_s);
        QTest::newRow("money") << u"Price"_s << u"12.5"_s << QVariant(12.5);
        QTest::newRow("integer") << u"SellNumber"_s << u"42"_s << QVariant(42);
    }
    void enterWritesTheTypedValue()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QVariant, expected);
        QWidget *editor = editCell(u"P02"_s, field);
        QVERIFY(editor);
        QVERIFY(editor->hasFocus());
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor, typed);
        // The first keystroke put the row into edit; nothing is written yet.
        QCOMPARE(m_products->state(), DatasetState::Edit);
        QCOMPARE(grid().rowIndicator()->markOf(m_products->recNo()), RowIndicator::Editing);
        QVERIFY(stored(u"P02"_s, field) != expected);

        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(m_products->state(), DatasetState::Browse);
        QCOMPARE(stored(u"P02"_s, field).toString(), expected.toString());
        QCOMPARE(m_products->fieldByName(field).value(), expected);
    }

    void escapeCancelsThePendingChange()
    {
        QWidget *editor = editCell(u"P01"_s, u"Spec"_s);
        auto *line = qobject_cast<QLineEdit *>(editor);
        QVERIFY(line);
        QCOMPARE(line->text(), u"USB Black"_s);
        QTest::keyClicks(line, u" v2"_s);
        QCOMPARE(m_products->state(), DatasetState::Edit);
        QTest::keyClick(line, Qt::Key_Escape);
        QCOMPARE(m_products->state(), DatasetState::Browse);
        QCOMPARE(line->text(), u"USB Black"_s);
        QCOMPARE(m_products->fieldByName(u"Spec"_s).asString(), u"USB Black"_s);
        // Leaving the row now writes nothing.
        clickRow(grid(), 0);
        QCOMPARE(stored(u"P01"_s, u"Spec"_s).toString(), u"USB Black"_s);
    }

    void anotherRowPostsTheChange()
    {
        QWidget *editor = editCell(u"P03"_s, u"Spec"_s);
        QTest::keyClicks(editor, u"A4"_s);
        const int p05 = positionOf(*m_products, u"ID"_s, u"P05"_s);
        clickRow(grid(), p05, u"Spec"_s);
        QCOMPARE(m_products->recNo(), p05);
        QCOMPARE(m_products->state(), DatasetState::Browse);
        QCOMPARE(stored(u"P03"_s, u"Spec"_s).toString(), u"A4"_s);
        // The editor moved along and has the focus.
        QWidget *moved = grid().view()->indexWidget(grid().view()->currentIndex());
        QVERIFY(moved && moved != editor);
        QVERIFY(moved->hasFocus());
    }

    void tabMovesToTheNextCell()
    {
        QWidget *editor = editCell(u"P04"_s, u"Spec"_s);
        QTest::keyClick(editor, Qt::Key_End); // an editor opens with its text selected
        QTest::keyClicks(editor, u" Pro"_s);
        QTest::keyClick(editor, Qt::Key_Tab);
        QCOMPARE(grid().view()->currentIndex().column(), grid().model()->columnOfField(u"Price"_s));
        QCOMPARE(m_products->fieldByName(u"Spec"_s).asString(), u"Wireless Pro"_s);
        QCOMPARE(m_products->state(), DatasetState::Edit); // same row: not posted yet
    }

    void readOnlyColumnsAndAutoNumbersHaveNoEditor()
    {
        grid().column(1).setReadOnly(true);
        QVERIFY(!editCell(u"P01"_s, u"Spec"_s));
        QVERIFY(!editCell(u"P01"_s, u"Num"_s));
        QVERIFY(editCell(u"P01"_s, u"Price"_s));
    }

    void anUntouchedNewRowGoesWhenTheFocusLeaves()
    {
        grid().setFocus();
        m_products->append();
        QCOMPARE(grid().model()->rowCount(), 6);
        QCOMPARE(grid().currentPosition(), 5);
        QVERIFY(grid().view()->indexWidget(grid().view()->currentIndex()));
        m_form->elsewhere->setFocus();
        QVERIFY(m_form->elsewhere->hasFocus());
        QApplication::processEvents();
        QCOMPARE(m_products->state(), DatasetState::Browse);
        QCOMPARE(m_products->recordCount(), 5);
        QCOMPARE(grid().model()->rowCount(), 5);
        QCOMPARE(m_db->count(u"ProductInfo"_s), 5);
    }

    void aTouchedNewRowStaysWhenTheFocusLeaves()
    {
        grid().setFocus();
        m_products->append();
        QWidget *editor = grid().view()->indexWidget(grid().indexOfPosition(5, u"ID"_s));
        QVERIFY(editor);
        editor->setFocus();
        QTest::keyClicks(editor, u"P06"_s);
        m_form->elsewhere->setFocus();
        QApplication::processEvents();
        // Leaving commits what was typed; the window's own save posts it.
        QCOMPARE(m_products->state(), DatasetState::Insert);
        QCOMPARE(m_products->fieldByName(u"ID"_s).asString(), u"P06"_s);
        QCOMPARE(m_products->recordCount(), 6);
        m_products->post();
        QCOMPARE(m_db->count(u"ProductInfo"_s), 6);
    }

    void pickListEditorOffersItsItems()
    {
        const QStringList agio = {u"10"_s, u"9.5"_s, u"9"_s, u"8.8"_s, u"8"_s,
                                  u"7"_s,  u"6"_s,   u"5"_s, u"4"_s};
        grid().column(2).setPickList(agio);
        auto *box = qobject_cast<QComboBox *>(editCell(u"P01"_s, u"Price"_s));
        QVERIFY(box);
        QVERIFY(box->isEditable());
        QStringList offered;
        for (int i = 0; i < box->count(); ++i)
            offered << box->itemText(i);
        QCOMPARE(offered, agio);

        // Picking an item sets the value at once.
        box->showPopup();
        QAbstractItemView *list = box->view();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                          list->visualRect(list->model()->index(1, 0)).center());
        QCOMPARE(m_products->state(), DatasetState::Edit);
        QCOMPARE(m_products->fieldByName(u"Price"_s).asFloat(), 9.5);

        // Any other value may be typed.
        box->setFocus();
        box->lineEdit()->selectAll();
        QTest::keyClicks(box, u"7.25"_s);
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(m_products->state(), DatasetState::Browse);
        QCOMPARE(stored(u"P01"_s, u"Price"_s).toDouble(), 7.25);
    }

    void aValueOfTheWrongTypeIsRefused()
    {
        ScriptedPrompt prompt;
        QWidget *editor = editCell(u"P01"_s, u"Price"_s);
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor, u"abc"_s);
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(prompt.count(), 1);
        QCOMPARE(prompt.shown().first().icon, MessageIcon::Error);
        QCOMPARE(qobject_cast<QLineEdit *>(editor)->text(), u"899.50"_s);
        QCOMPARE(stored(u"P01"_s, u"Price"_s).toDouble(), 899.5);
    }

    void lockingAndUnlockingAtRunTime()
    {
        QWidget *editor = editCell(u"P05"_s, u"Spec"_s);
        QVERIFY(editor);
        QTest::keyClicks(editor, u"wood"_s);
        grid().setReadOnly(true);
        // Locking keeps what was typed in the dataset, and shows no editor.
        QCOMPARE(m_products->fieldByName(u"Spec"_s).asString(), u"wood"_s);
        QVERIFY(!grid().view()->indexWidget(grid().view()->currentIndex()));
        QCOMPARE(grid().view()->selectionBehavior(), QAbstractItemView::SelectRows);
        QCOMPARE(grid().model()->flags(grid().view()->currentIndex()) & Qt::ItemIsEditable,
                 Qt::NoItemFlags);
        m_products->post();
        QCOMPARE(stored(u"P05"_s, u"Spec"_s).toString(), u"wood"_s);

        grid().setReadOnly(false);
        QCOMPARE(grid().view()->selectionBehavior(), QAbstractItemView::SelectItems);
        QVERIFY(grid().view()->indexWidget(grid().view()->currentIndex()));
    }

    void deleteKeyAsksFirst()
    {
        grid().setReadOnly(true);
        grid().setDeleteKeyConfirmed(true);
        ScriptedPrompt prompt;
        clickRow(grid(), positionOf(*m_products, u"ID"_s, u"P03"_s));
        prompt.answer(MessageButton::No);
        QTest::keyClick(grid().view(), Qt::Key_Delete);
        QCOMPARE(prompt.count(), 1);
        QCOMPARE(prompt.shown().first().icon, MessageIcon::Question);
        QCOMPARE(prompt.shown().first().buttons, MessageButton::Yes | MessageButton::No);
        QCOMPARE(m_db->count(u"ProductInfo"_s), 5);
        prompt.answer(MessageButton::Yes);
        QTest::keyClick(grid().view(), Qt::Key_Delete);
        QCOMPARE(m_db->count(u"ProductInfo"_s), 4);
        QVERIFY(!stored(u"P03"_s, u"ID"_s).isValid());
    }
};

// Check marks toggle in place, on a table with a Boolean column.
class TestDataGridCheckMarks : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data() { addBackendRows(); }
    void init() { LUMORA_INIT_BACKEND(backend); }

    void aClickTogglesAndEnterPosts()
    {
        TestDatabase db(currentBackend());
        addContacts(db);
        auto connection = db.connect();
        auto contacts = openTable(*connection, u"LinkMan"_s, u"LinkManID ASC, ClientName ASC"_s);
        data::DataSource source(contacts.get());
        GridForm form(&source);
        form.grid->addColumn(u"LinkManID"_s, u"联系人"_s);
        form.grid->addColumn(u"MostlyLinkMan"_s, u"主联系人"_s, 75)
            .setDisplayKind(GridColumn::CheckMark);
        form.grid->setReadOnly(false);
        QVERIFY(form.show());

        const int lina = positionOf(*contacts, u"LinkManID"_s, u"李娜"_s);
        const QModelIndex cell = form.grid->indexOfPosition(lina, u"MostlyLinkMan"_s);
        QCOMPARE(cell.data().toString(), QString()); // painted, not written
        QVERIFY(!form.grid->view()->indexWidget(cell));
        clickIndex(*form.grid, cell);
        QCOMPARE(contacts->state(), DatasetState::Edit);
        QVERIFY(contacts->fieldByName(u"MostlyLinkMan"_s).asBoolean());
        QTest::keyClick(form.grid->view(), Qt::Key_Return);
        QCOMPARE(contacts->state(), DatasetState::Browse);
        QVERIFY(db.scalar(u"SELECT \"MostlyLinkMan\" FROM \"LinkMan\" WHERE \"LinkManID\" = :n"_s,
                          {{u"n"_s, u"李娜"_s}})
                    .toBool());
        // The space bar toggles it back.
        QTest::keyClick(form.grid->view(), Qt::Key_Space);
        QVERIFY(!contacts->fieldByName(u"MostlyLinkMan"_s).asBoolean());
        QTest::keyClick(form.grid->view(), Qt::Key_Escape);
        QVERIFY(contacts->fieldByName(u"MostlyLinkMan"_s).asBoolean());
    }
};

LUMORA_TEST_CLASS(TestDataGridEditing)
LUMORA_TEST_CLASS(TestDataGridCheckMarks)
#include "tst_datagrid_editing.moc"
