#include "DBCheckBox.h"
#include "DBComboBox.h"
#include "DBControlsFixture.h"
#include "DBDateEdit.h"
#include "DBEdit.h"
#include "DBLabel.h"
#include "DBLookupComboBox.h"
#include "DBMemo.h"
#include "DBTimeEdit.h"
#include "Prompt.h"
#include "ScriptedPrompt.h"
#include "TestMain.h"

#include <QSignalSpy>
#include <QTest>

using namespace dbcontrols;
using data::Dataset;
using data::DatasetState;
using data::DataSource;

namespace {

// The kinds of editing control; they share their behaviour towards the
// dataset, so each test below runs once per kind.
enum class Kind { Edit, Memo, Check, FreeCombo, FixedCombo, Lookup, Date, Time };

const QStringList kClientTypes = {u"代理商"_s, u"直销客户"_s, u"合作伙伴"_s};
const QStringList kTiers = {u"★★★★★"_s, u"★★★★"_s, u"★★★"_s, u"★★"_s, u"★"_s};

// Calls `f` with the control as its own class.
template<typename F> auto visit(QWidget *control, F f)
{
    if (auto *c = qobject_cast<DBEdit *>(control))
        return f(c);
    if (auto *c = qobject_cast<DBMemo *>(control))
        return f(c);
    if (auto *c = qobject_cast<DBCheckBox *>(control))
        return f(c);
    if (auto *c = qobject_cast<DBComboBox *>(control))
        return f(c);
    return f(qobject_cast<DBLookupComboBox *>(control));
}

// What the control shows, as text.
QString shown(QWidget *control)
{
    if (auto *c = qobject_cast<QLineEdit *>(control))
        return c->text();
    if (auto *c = qobject_cast<QPlainTextEdit *>(control))
        return c->toPlainText();
    if (auto *c = qobject_cast<QCheckBox *>(control))
        return c->isChecked() ? u"true"_s : u"false"_s;
    return qobject_cast<QComboBox *>(control)->currentText();
}

bool isReadOnly(QWidget *control)
{
    return visit(control, [](auto *c) { return c->isReadOnly(); });
}

// One change as the user makes it: typing replaces the text, the check box
// is toggled with the space bar, a choice goes to the last item of the list.
void userChange(Kind kind, QWidget *control, const QString &input)
{
    focus(control);
    switch (kind) {
    case Kind::Check:
        QTest::keyClick(control, Qt::Key_Space);
        break;
    case Kind::FixedCombo:
    case Kind::Lookup:
        QTest::keyClick(control, Qt::Key_End);
        break;
    default:
        selectAll(control);
        typeText(control, input);
    }
}

} // namespace

Q_DECLARE_METATYPE(Kind)

// The behaviour every data-bound editing control shares: it follows the
// current row, the user's first change puts the row into edit and the value
// reaches the database at post, showing rows writes nothing, and exited(),
// undoLastChange() and setReadOnly() work alike.
class TestDBControls : public QObject
{
    Q_OBJECT

    std::unique_ptr<KnownRowsDatabase> m_db;
    std::unique_ptr<Dataset> m_contactList; // the lookup's list
    std::unique_ptr<DataSource> m_contactListSource;

    QWidget *makeControl(Kind kind, DataSource *source, const QString &field)
    {
        switch (kind) {
        case Kind::Edit:
            return new DBEdit(source, field);
        case Kind::Memo:
            return new DBMemo(source, field);
        case Kind::Check:
            return new DBCheckBox(source, field, field);
        case Kind::FreeCombo: {
            auto *c = new DBComboBox(source, field, DBComboBox::Mode::FreeText);
            c->setItems(kClientTypes);
            return c;
        }
        case Kind::FixedCombo: {
            auto *c = new DBComboBox(source, field, DBComboBox::Mode::FixedList);
            c->setItems(kTiers);
            return c;
        }
        case Kind::Lookup:
            return new DBLookupComboBox(source, field, m_contactListSource.get(), u"LinkManID"_s);
        case Kind::Date:
            return new DBDateEdit(source, field);
        case Kind::Time:
            return new DBTimeEdit(source, field);
        }
        return nullptr;
    }

    void addControlRows()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QStringList>("shownRows"); // rows 0, 1 and 2 of the table
        QTest::addColumn<QString>("input");         // typed by the user
        QTest::addColumn<QVariant>("stored");       // the field after the user's change
        QTest::addColumn<QString>("shownAfter");    // the control after it

        QTest::newRow("DBEdit, text") << Kind::Edit << u"ClientData"_s << u"TEL"_s
                                      << QStringList{u"010-1"_s, u"021-1"_s, QString()}
                                      << u"0755-88"_s << QVariant(u"0755-88"_s) << u"0755-88"_s;
        QTest::newRow("DBEdit, integer") << Kind::Edit << u"ClientData"_s << u"Postalcode"_s
                                         << QStringList{u"100000"_s, u"200000"_s, QString()}
                                         << u"518000"_s << QVariant(518000) << u"518000"_s;
        QTest::newRow("DBMemo") << Kind::Memo << u"ClientData"_s << u"Remark"_s
                                << QStringList{u"老客户"_s, u"新客户"_s, QString()}
                                << u"大客户 2024"_s << QVariant(u"大客户 2024"_s)
                                << u"大客户 2024"_s;
        QTest::newRow("DBCheckBox") << Kind::Check << u"LinkMan"_s << u"MostlyLinkMan"_s
                                    << QStringList{u"false"_s, u"true"_s, u"false"_s} << QString()
                                    << QVariant(true) << u"true"_s;
        QTest::newRow("DBComboBox, free text")
            << Kind::FreeCombo << u"ClientData"_s << u"ClientTypes"_s
            << QStringList{u"代理商"_s, u"直销客户"_s, QString()} << u"行业客户"_s
            << QVariant(u"行业客户"_s) << u"行业客户"_s;
        QTest::newRow("DBComboBox, fixed list")
            << Kind::FixedCombo << u"ClientData"_s << u"ClientTier"_s
            << QStringList{u"★★★"_s, u"★"_s, QString()} << QString() << QVariant(u"★"_s) << u"★"_s;
        QTest::newRow("DBLookupComboBox") << Kind::Lookup << u"ClientBespeak"_s << u"Principal"_s
                                          << QStringList{u"王伟"_s, u"张敏"_s, QString()}
                                          << QString() << QVariant(u"张敏"_s) << u"张敏"_s;
        QTest::newRow("DBDateEdit")
            << Kind::Date << u"LinkMan"_s << u"Birthday"_s
            << QStringList{u"1980-01-02"_s, u"1990-12-31"_s, QString()} << u"2024-03-05"_s
            << QVariant(QDate(2024, 3, 5)) << u"2024-03-05"_s;
        QTest::newRow("DBTimeEdit") << Kind::Time << u"ClientBespeak"_s << u"Times"_s
                                    << QStringList{u"09:00"_s, u"14:05"_s, QString()} << u"14:30"_s
                                    << QVariant(QTime(14, 30)) << u"14:30"_s;
    }

private slots:
    void initTestCase_data() { addBackendRows(); }
    void init()
    {
        LUMORA_INIT_BACKEND(backend);
        m_db = std::make_unique<KnownRowsDatabase>(backend);
        m_contactList = openDataset(m_db->connection(), selectAllOf(u"LinkMan"_s));
        m_contactListSource = std::make_unique<DataSource>(m_contactList.get());
    }
    void cleanup()
    {
        m_contactListSource.reset();
        m_contactList.reset();
        m_db.reset();
    }

    void showsCurrentRowAndFollowsMoves_data() { addControlRows(); }
    void showsCurrentRowAndFollowsMoves()
    {
        QFETCH(Kind, kind);
        QFETCH(QString, table);
        QFETCH(QString, field);
        QFETCH(QStringList, shownRows);
        const QString nothing = kind == Kind::Check ? u"false"_s : QString();

        auto rows = openDataset(m_db->connection(), selectAllOf(table));
        DataSource source(rows.get());
        Form form;
        QWidget *control = form.add(makeControl(kind, &source, field));
        QVERIFY(form.show());

        QCOMPARE(shown(control), shownRows[0]);
        rows->next();
        QCOMPARE(shown(control), shownRows[1]);
        rows->last();
        QCOMPARE(shown(control), shownRows[2]);
        rows->first();
        QCOMPARE(shown(control), shownRows[0]);
        QVERIFY(!isReadOnly(control));

        // The data source switched to another dataset: the control follows it.
        auto reversed = openDataset(m_db->connection(), selectAllOf(table) + u" desc"_s);
        source.setDataset(reversed.get());
        QCOMPARE(shown(control), shownRows[2]);
        reversed->next();
        QCOMPARE(shown(control), shownRows[1]);

        // A closed dataset shows nothing and cannot be changed.
        reversed->close();
        QCOMPARE(shown(control), nothing);
        QVERIFY(isReadOnly(control));

        source.setDataset(rows.get());
        QCOMPARE(shown(control), shownRows[0]);
        QVERIFY(!isReadOnly(control));
    }

    void movingWithoutChangingWritesNothing_data() { addControlRows(); }
    void movingWithoutChangingWritesNothing()
    {
        QFETCH(Kind, kind);
        QFETCH(QString, table);
        QFETCH(QString, field);

        auto rows = openDataset(m_db->connection(), selectAllOf(table));
        DataSource source(rows.get());
        Form form;
        QWidget *control = form.add(makeControl(kind, &source, field));
        QVERIFY(form.show());
        QSignalSpy states(rows.get(), &Dataset::stateChanged);
        QSignalSpy changed(control, SIGNAL(changed()));

        // With the focus in the control, as when the user pages through rows.
        focus(control);
        rows->next();
        rows->next();
        rows->prior();
        rows->first();
        rows->last();
        tabAway();

        QCOMPARE(states.count(), 0);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(rows->state(), DatasetState::Browse);
    }

    void userChangeEditsRowAndReachesDatabase_data() { addControlRows(); }
    void userChangeEditsRowAndReachesDatabase()
    {
        QFETCH(Kind, kind);
        QFETCH(QString, table);
        QFETCH(QString, field);
        QFETCH(QString, input);
        QFETCH(QVariant, stored);
        QFETCH(QString, shownAfter);

        auto rows = openDataset(m_db->connection(), selectAllOf(table));
        DataSource source(rows.get());
        Form form;
        QWidget *control = form.add(makeControl(kind, &source, field));
        QVERIFY(form.show());
        QSignalSpy changed(control, SIGNAL(changed()));
        const QVariant num = rows->fieldByName(u"Num"_s).value();

        userChange(kind, control, input);
        QCOMPARE(rows->state(), DatasetState::Edit);
        QVERIFY(rows->isModified());
        QVERIFY(changed.count() >= 1);

        tabAway();
        QCOMPARE(rows->fieldByName(field).value(), stored);
        rows->post();
        QCOMPARE(storedValue(m_db->db(), table, field, num), stored);
        QCOMPARE(shown(control), shownAfter);
    }

    void firstChangeOnEmptyDatasetAppends_data() { addControlRows(); }
    void firstChangeOnEmptyDatasetAppends()
    {
        QFETCH(Kind, kind);
        QFETCH(QString, table);
        QFETCH(QString, field);
        QFETCH(QString, input);
        QFETCH(QVariant, stored);

        auto none =
            openDataset(m_db->connection(),
                        u"select * from %1 where \"Num\" = -1"_s.arg(data::Dialect::quote(table)));
        DataSource source(none.get());
        Form form;
        QWidget *control = form.add(makeControl(kind, &source, field));
        QVERIFY(form.show());
        QVERIFY(none->isEmpty());
        QVERIFY(!isReadOnly(control));

        userChange(kind, control, input);
        QCOMPARE(none->state(), DatasetState::Insert);
        QCOMPARE(none->recordCount(), 1);

        tabAway();
        none->post();
        const QVariant num = none->fieldByName(u"Num"_s).value();
        QVERIFY(!num.isNull());
        QCOMPARE(storedValue(m_db->db(), table, field, num), stored);
    }

    void undoRestoresValueBeforeLastChange_data() { addControlRows(); }
    void undoRestoresValueBeforeLastChange()
    {
        QFETCH(Kind, kind);
        QFETCH(QString, table);
        QFETCH(QString, field);
        QFETCH(QStringList, shownRows);
        QFETCH(QString, input);

        auto rows = openDataset(m_db->connection(), selectAllOf(table));
        DataSource source(rows.get());
        Form form;
        QWidget *control = form.add(makeControl(kind, &source, field));
        QVERIFY(form.show());
        const QVariant before = rows->fieldByName(field).value();

        // As an exit handler does: the user changed the box and left it.
        userChange(kind, control, input);
        tabAway();
        QSignalSpy changed(control, SIGNAL(changed()));
        QVERIFY(visit(control, [](auto *c) { return c->undoLastChange(); }));
        QCOMPARE(shown(control), shownRows[0]);
        QCOMPARE(rows->fieldByName(field).value(), before);
        QCOMPARE(changed.count(), 1);
        // One step only.
        QVERIFY(!visit(control, [](auto *c) { return c->undoLastChange(); }));

        // A change settled by post is no longer undone.
        userChange(kind, control, input);
        tabAway();
        rows->post();
        QVERIFY(!visit(control, [](auto *c) { return c->undoLastChange(); }));
        QVERIFY(shown(control) != shownRows[0]);
    }

    void exitedWhenFocusLeaves_data() { addControlRows(); }
    void exitedWhenFocusLeaves()
    {
        QFETCH(Kind, kind);
        QFETCH(QString, table);
        QFETCH(QString, field);
        QFETCH(QString, input);

        auto rows = openDataset(m_db->connection(), selectAllOf(table));
        DataSource source(rows.get());
        Form form;
        QWidget *control = form.add(makeControl(kind, &source, field));
        QVERIFY(form.show());
        QSignalSpy exited(control, SIGNAL(exited()));

        userChange(kind, control, input);
        QCOMPARE(exited.count(), 0);
        tabAway();
        QCOMPARE(QApplication::focusWidget(), form.elsewhere);
        QCOMPARE(exited.count(), 1);

        // Another window taking the focus (a message box, say) is no leaving.
        focus(control);
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QCOMPARE(exited.count(), 1);
    }

    void readOnlyRefusesUserChange_data() { addControlRows(); }
    void readOnlyRefusesUserChange()
    {
        QFETCH(Kind, kind);
        QFETCH(QString, table);
        QFETCH(QString, field);
        QFETCH(QStringList, shownRows);
        QFETCH(QString, input);
        ScriptedPrompt prompt;

        auto rows = openDataset(m_db->connection(), selectAllOf(table));
        DataSource source(rows.get());
        Form form;
        QWidget *control = form.add(makeControl(kind, &source, field));
        QVERIFY(form.show());

        visit(control, [](auto *c) { c->setReadOnly(true); });
        QVERIFY(isReadOnly(control));
        userChange(kind, control, input);
        QCOMPARE(rows->state(), DatasetState::Browse);
        QCOMPARE(shown(control), shownRows[0]);
        QCOMPARE(prompt.count(), 0); // a read-only control takes nothing, and says nothing

        visit(control, [](auto *c) { c->setReadOnly(false); });
        userChange(kind, control, input);
        QCOMPARE(rows->state(), DatasetState::Edit);
    }

    void programChangesShow_data() { addControlRows(); }
    void programChangesShow()
    {
        QFETCH(Kind, kind);
        QFETCH(QString, table);
        QFETCH(QString, field);
        QFETCH(QStringList, shownRows);
        QFETCH(QVariant, stored);
        QFETCH(QString, shownAfter);

        auto rows = openDataset(m_db->connection(), selectAllOf(table));
        DataSource source(rows.get());
        Form form;
        QWidget *control = form.add(makeControl(kind, &source, field));
        QVERIFY(form.show());

        // Someone else sets the field: the control shows it, and cancel takes it back.
        rows->edit();
        rows->fieldByName(field).setValue(stored);
        QCOMPARE(shown(control), shownAfter);
        rows->cancel();
        QCOMPARE(shown(control), shownRows[0]);

        // The control's own setValue is a change like the user's, undone as one.
        QVERIFY(visit(control, [&](auto *c) { return c->setValue(stored); }));
        QCOMPARE(rows->state(), DatasetState::Edit);
        QCOMPARE(rows->fieldByName(field).value(), stored);
        QCOMPARE(shown(control), shownAfter);
        QVERIFY(visit(control, [](auto *c) { return c->undoLastChange(); }));
        QCOMPARE(shown(control), shownRows[0]);
    }

    // Letters in a number box: the standard error box, and the stored value again.
    void refusedValueShowsStandardError_data()
    {
        QTest::addColumn<bool>("byEnter");
        QTest::newRow("leaving with Tab") << false;
        QTest::newRow("pressing Enter") << true;
    }
    void refusedValueShowsStandardError()
    {
        QFETCH(bool, byEnter);
        ScriptedPrompt prompt;
        auto rows = openDataset(m_db->connection(), selectAllOf(u"ClientData"_s));
        DataSource source(rows.get());
        Form form;
        auto *box = form.add(new DBEdit(&source, u"Postalcode"_s));
        QVERIFY(form.show());
        const QVariant num = rows->fieldByName(u"Num"_s).value();

        focus(box);
        selectAll(box);
        typeText(box, u"abc"_s);
        // Typing is never interrupted: the text is judged when it is handed over.
        QCOMPARE(prompt.count(), 0);
        QCOMPARE(box->text(), u"abc"_s);
        if (byEnter)
            QTest::keyClick(box, Qt::Key_Return);
        else
            tabAway();

        QCOMPARE(prompt.count(), 1);
        const Message &box1 = prompt.shown().first();
        QCOMPARE(box1.caption, u"Lumora客户关系管理系统(免费)"_s);
        QCOMPARE(box1.icon, MessageIcon::Error);
        QCOMPARE(box1.buttons, MessageButtons(MessageButton::Ok));
        QVERIFY2(box1.text.contains(u"abc"_s), qPrintable(box1.text));
        QCOMPARE(box->text(), u"100000"_s);
        QCOMPARE(rows->fieldByName(u"Postalcode"_s).value(), QVariant(100000));
        rows->post();
        QCOMPARE(storedValue(m_db->db(), u"ClientData"_s, u"Postalcode"_s, num), QVariant(100000));
    }

    void halfTypedValueIsHeldUntilValid()
    {
        ScriptedPrompt prompt;
        auto rows = openDataset(m_db->connection(), selectAllOf(u"ClientData"_s));
        DataSource source(rows.get());
        Form form;
        auto *box = form.add(new DBEdit(&source, u"Postalcode"_s));
        QVERIFY(form.show());

        focus(box);
        selectAll(box);
        typeText(box, u"-"_s);
        // "-" is no number yet: held, the field keeps its value, no box.
        QCOMPARE(rows->state(), DatasetState::Edit);
        QCOMPARE(rows->fieldByName(u"Postalcode"_s).value(), QVariant(100000));
        typeText(box, u"7"_s);
        QCOMPARE(rows->fieldByName(u"Postalcode"_s).value(), QVariant(-7));
        tabAway();
        QCOMPARE(prompt.count(), 0);
        QCOMPARE(box->text(), u"-7"_s);
    }

    void textBoxTakesTheColumnsLength()
    {
        auto rows = openDataset(m_db->connection(), selectAllOf(u"ClientData"_s));
        DataSource source(rows.get());
        DBEdit id(&source, u"ID"_s);
        DBEdit postalCode(&source, u"Postalcode"_s);
        QCOMPARE(id.maxLength(), 50);
        QCOMPARE(postalCode.maxLength(), QLineEdit().maxLength());
    }

    void labelShowsFieldOfCurrentRow()
    {
        auto rows = openDataset(m_db->connection(), selectAllOf(u"ClientData"_s));
        DataSource source(rows.get());
        DBLabel label(&source, u"ID"_s);
        QCOMPARE(label.text(), u"C01"_s);
        rows->next();
        QCOMPARE(label.text(), u"C02"_s);
        // Its text is plain: a value is never read as markup.
        rows->edit();
        rows->fieldByName(u"ID"_s).setValue(u"<b>C9</b>"_s);
        QCOMPARE(label.text(), u"<b>C9</b>"_s);
        QCOMPARE(label.textFormat(), Qt::PlainText);
        rows->close();
        QCOMPARE(label.text(), QString());
    }
};

LUMORA_TEST_CLASS(TestDBControls)
#include "tst_dbcontrols.moc"
