#include "DBControlsFixture.h"
#include "DBEdit.h"
#include "DBNavigator.h"
#include "ScriptedPrompt.h"
#include "TestMain.h"

#include <QTest>
#include <QToolButton>

using namespace dbcontrols;
using data::Dataset;
using data::DatasetState;
using data::DataSource;
using Button = DBNavigator::Button;

namespace {

struct Enabled
{
    bool first, prior, next, last;
    bool operator==(const Enabled &) const = default;
};

Enabled enabledOf(const DBNavigator &navigator)
{
    return {
        navigator.button(Button::First)->isEnabled(), navigator.button(Button::Prior)->isEnabled(),
        navigator.button(Button::Next)->isEnabled(), navigator.button(Button::Last)->isEnabled()};
}

char *toString(const Enabled &e)
{
    return QTest::toString(
        u"first %1, prior %2, next %3, last %4"_s.arg(e.first).arg(e.prior).arg(e.next).arg(
            e.last));
}

} // namespace

Q_DECLARE_METATYPE(Button)
Q_DECLARE_METATYPE(Enabled)
Q_DECLARE_METATYPE(data::DatasetState)

// The record navigator: four buttons with their hints, enabled by the
// position, moving through the guard so that a failed post keeps the row.
class TestDBNavigator : public QObject
{
    Q_OBJECT

    std::unique_ptr<KnownRowsDatabase> m_db;
    std::unique_ptr<Dataset> m_clients;
    std::unique_ptr<DataSource> m_source;

private slots:
    void initTestCase_data() { addBackendRows(); }
    void init()
    {
        LUMORA_INIT_BACKEND(backend);
        m_db = std::make_unique<KnownRowsDatabase>(backend);
        m_clients = openDataset(m_db->connection(), selectAllOf(u"ClientData"_s));
        m_source = std::make_unique<DataSource>(m_clients.get());
    }
    void cleanup()
    {
        m_source.reset();
        m_clients.reset();
        m_db.reset();
    }

    void hasFourButtonsWithHints()
    {
        DBNavigator navigator(m_source.get());
        const auto buttons = navigator.findChildren<QToolButton *>();
        QCOMPARE(buttons.size(), 4);
        QCOMPARE(navigator.button(Button::First)->toolTip(), u"第一条记录"_s);
        QCOMPARE(navigator.button(Button::Prior)->toolTip(), u"前一条记录"_s);
        QCOMPARE(navigator.button(Button::Next)->toolTip(), u"下一条记录"_s);
        QCOMPARE(navigator.button(Button::Last)->toolTip(), u"最后一条记录"_s);
        for (QToolButton *b : buttons)
            QCOMPARE(b->focusPolicy(), Qt::NoFocus);
    }

    void enabledByPosition_data()
    {
        QTest::addColumn<QString>("where"); // narrows the three clients
        QTest::addColumn<int>("position");
        QTest::addColumn<bool>("open");
        QTest::addColumn<Enabled>("enabled");
        QTest::newRow("first of three")
            << QString() << 0 << true << Enabled{false, false, true, true};
        QTest::newRow("middle") << QString() << 1 << true << Enabled{true, true, true, true};
        QTest::newRow("last of three")
            << QString() << 2 << true << Enabled{true, true, false, false};
        QTest::newRow("the only row")
            << u"where \"ID\" = 'C02'"_s << 0 << true << Enabled{false, false, false, false};
        QTest::newRow("empty") << u"where \"ID\" = 'none'"_s << -1 << true
                               << Enabled{false, false, false, false};
        QTest::newRow("closed") << QString() << -1 << false << Enabled{false, false, false, false};
    }
    void enabledByPosition()
    {
        QFETCH(QString, where);
        QFETCH(int, position);
        QFETCH(bool, open);
        QFETCH(Enabled, enabled);
        auto rows =
            openDataset(m_db->connection(), u"select * from \"ClientData\" %1"_s.arg(where));
        DataSource source(rows.get());
        DBNavigator navigator(&source);
        if (position >= 0)
            rows->moveTo(position);
        if (!open)
            rows->close();
        QCOMPARE(enabledOf(navigator), enabled);
    }

    void followsRowsAndDataSource()
    {
        DBNavigator navigator(m_source.get());
        QCOMPARE(enabledOf(navigator), (Enabled{false, false, true, true}));
        m_clients->append(); // a new row at the end
        QCOMPARE(enabledOf(navigator), (Enabled{true, true, false, false}));
        m_clients->cancel();
        m_clients->first();
        QCOMPARE(enabledOf(navigator), (Enabled{false, false, true, true}));

        auto one =
            openDataset(m_db->connection(), u"select * from \"ClientData\" where \"ID\" = 'C01'"_s);
        m_source->setDataset(one.get());
        QCOMPARE(enabledOf(navigator), (Enabled{false, false, false, false}));
        m_source->setDataset(m_clients.get());
        QCOMPARE(enabledOf(navigator), (Enabled{false, false, true, true}));
    }

    void clicksMove_data()
    {
        QTest::addColumn<Button>("button");
        QTest::addColumn<int>("position"); // from the middle row
        QTest::newRow("first") << Button::First << 0;
        QTest::newRow("prior") << Button::Prior << 0;
        QTest::newRow("next") << Button::Next << 2;
        QTest::newRow("last") << Button::Last << 2;
    }
    void clicksMove()
    {
        QFETCH(Button, button);
        QFETCH(int, position);
        Form form;
        auto *navigator = form.add(new DBNavigator(m_source.get()));
        QVERIFY(form.show());
        m_clients->moveTo(1);
        QTest::mouseClick(navigator->button(button), Qt::LeftButton);
        QCOMPARE(m_clients->recNo(), position);
    }

    void movingPostsTheChangedRow()
    {
        Form form;
        auto *tel = form.add(new DBEdit(m_source.get(), u"TEL"_s));
        auto *navigator = form.add(new DBNavigator(m_source.get()));
        QVERIFY(form.show());
        const QVariant num = m_clients->fieldByName(u"Num"_s).value();
        focus(tel);
        selectAll(tel);
        typeText(tel, u"010-2"_s);
        QTest::mouseClick(navigator->button(Button::Next), Qt::LeftButton);
        QCOMPARE(m_clients->recNo(), 1);
        QCOMPARE(tel->text(), u"021-1"_s);
        QCOMPARE(storedValue(m_db->db(), u"ClientData"_s, u"TEL"_s, num), QVariant(u"010-2"_s));
    }

    // The row changed meanwhile on another workstation, so the post that
    // moving starts fails: the error is shown and the row stays current.
    void failedPostOnMovingStays_data()
    {
        QTest::addColumn<bool>("saveErrorHandler");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<DatasetState>("stateAfter");
        // Without a handler the guard shows the error and the change is kept.
        QTest::newRow("standard error box")
            << false << u"Lumora客户关系管理系统(免费)"_s << DatasetState::Edit;
        // The data module's handler reports it, cancels the change and aborts.
        QTest::newRow("save-error handler") << true << u"错误"_s << DatasetState::Browse;
    }
    void failedPostOnMovingStays()
    {
        QFETCH(bool, saveErrorHandler);
        QFETCH(QString, caption);
        QFETCH(DatasetState, stateAfter);
        ScriptedPrompt prompt;
        if (saveErrorHandler) {
            m_clients->onPostError = [](Dataset &d, const data::Error &error) {
                showMessage(u"错误"_s, error.message(), MessageIcon::Warning);
                d.cancel();
                return data::PostErrorAction::Abort;
            };
        }
        Form form;
        auto *tel = form.add(new DBEdit(m_source.get(), u"TEL"_s));
        auto *navigator = form.add(new DBNavigator(m_source.get()));
        QVERIFY(form.show());
        m_clients->moveTo(1);
        focus(tel);
        selectAll(tel);
        typeText(tel, u"021-2"_s);
        m_db->db().exec(u"UPDATE \"ClientData\" SET \"TEL\" = '021-9' WHERE \"ID\" = 'C02'"_s);

        QTest::mouseClick(navigator->button(Button::Next), Qt::LeftButton);
        QCOMPARE(prompt.count(), 1);
        QCOMPARE(prompt.shown().first().caption, caption);
        QCOMPARE(m_clients->recNo(), 1);
        QCOMPARE(m_clients->state(), stateAfter);
        QCOMPARE(
            m_db->db().scalar(u"SELECT \"TEL\" FROM \"ClientData\" WHERE \"ID\" = 'C02'"_s).toString(),
            u"021-9"_s);
        QCOMPARE(enabledOf(*navigator), (Enabled{true, true, true, true}));
    }

    // A half-typed value in the focused box is judged before the move, as
    // leaving the box would judge it; refused, it keeps the row.
    void refusedTypedTextKeepsTheRow()
    {
        ScriptedPrompt prompt;
        Form form;
        auto *postalCode = form.add(new DBEdit(m_source.get(), u"Postalcode"_s));
        auto *navigator = form.add(new DBNavigator(m_source.get()));
        QVERIFY(form.show());
        focus(postalCode);
        selectAll(postalCode);
        typeText(postalCode, u"12x"_s);

        QTest::mouseClick(navigator->button(Button::Last), Qt::LeftButton);
        QCOMPARE(prompt.count(), 1);
        QCOMPARE(prompt.shown().first().icon, MessageIcon::Error);
        QCOMPARE(m_clients->recNo(), 0);
        // What the valid beginnings "1" and "12" wrote goes with the refused text.
        QCOMPARE(postalCode->text(), u"100000"_s);
        QCOMPARE(m_clients->fieldByName(u"Postalcode"_s).value(), QVariant(100000));
        QCOMPARE(QApplication::focusWidget(), postalCode);
    }
};

LUMORA_TEST_CLASS(TestDBNavigator)
#include "tst_navigator.moc"
