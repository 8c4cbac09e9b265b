#include "DBControlsFixture.h"
#include "DBDateEdit.h"
#include "DBTimeEdit.h"
#include "GuiDoubles.h"
#include "ScriptedPrompt.h"
#include "TestMain.h"

#include <QCalendarWidget>
#include <QFrame>
#include <QPushButton>
#include <QTest>

using namespace dbcontrols;
using data::Dataset;
using data::DatasetState;
using data::DataSource;

namespace {

// Makes another locale the default for the life of the object.
class DefaultLocale
{
public:
    explicit DefaultLocale(const QString &name)
        : m_saved(QLocale())
    {
        if (!name.isEmpty())
            QLocale::setDefault(QLocale(name));
    }
    ~DefaultLocale() { QLocale::setDefault(m_saved); }

private:
    QLocale m_saved;
};

} // namespace

// The date box (typed dates, the drop-down calendar and its buttons) and the
// time box, on the contacts' birthdays and the appointments' times.
class TestDBDateTimeBoxes : public QObject
{
    Q_OBJECT

    std::unique_ptr<KnownRowsDatabase> m_db;
    std::unique_ptr<Dataset> m_contacts;
    std::unique_ptr<DataSource> m_contactSource;
    std::unique_ptr<Dataset> m_appointments;
    std::unique_ptr<DataSource> m_appointmentSource;

    QVariant storedBirthday()
    {
        const QVariant num = m_contacts->fieldByName(u"Num"_s).value();
        m_contacts->post();
        return storedValue(m_db->db(), u"LinkMan"_s, u"Birthday"_s, num);
    }

private slots:
    void initTestCase_data() { addBackendRows(); }
    void init()
    {
        LUMORA_INIT_BACKEND(backend);
        m_db = std::make_unique<KnownRowsDatabase>(backend);
        m_contacts = openDataset(m_db->connection(), selectAllOf(u"LinkMan"_s));
        m_contactSource = std::make_unique<DataSource>(m_contacts.get());
        m_appointments = openDataset(m_db->connection(), selectAllOf(u"ClientBespeak"_s));
        m_appointmentSource = std::make_unique<DataSource>(m_appointments.get());
    }
    void cleanup()
    {
        m_appointmentSource.reset();
        m_appointments.reset();
        m_contactSource.reset();
        m_contacts.reset();
        m_db.reset();
    }

    void typedDateIsStoredAsDate_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("shown"); // after leaving the box

        QTest::newRow("yyyy-MM-dd")
            << QString() << u"2024-03-05"_s << QVariant(QDate(2024, 3, 5)) << u"2024-03-05"_s;
        QTest::newRow("one-digit month and day")
            << QString() << u"2024-3-5"_s << QVariant(QDate(2024, 3, 5)) << u"2024-03-05"_s;
        QTest::newRow("Chinese short format")
            << u"zh_CN"_s << u"2024/3/5"_s << QVariant(QDate(2024, 3, 5)) << u"2024-03-05"_s;
        QTest::newRow("emptied") << QString() << QString() << QVariant() << QString();
    }
    void typedDateIsStoredAsDate()
    {
        QFETCH(QString, locale);
        QFETCH(QString, typed);
        QFETCH(QVariant, stored);
        QFETCH(QString, shown);
        const DefaultLocale useLocale(locale);
        ScriptedPrompt prompt;
        Form form;
        auto *birthday = form.add(new DBDateEdit(m_contactSource.get(), u"Birthday"_s));
        QVERIFY(form.show());

        focus(birthday);
        selectAll(birthday);
        if (typed.isEmpty())
            QTest::keyClick(birthday, Qt::Key_Delete);
        else
            typeText(birthday, typed);
        tabAway();
        // Each half-typed date along the way was held, not refused.
        QCOMPARE(prompt.count(), 0);
        QCOMPARE(birthday->text(), shown);
        const QVariant value = m_contacts->fieldByName(u"Birthday"_s).value();
        QCOMPARE(value, stored);
        if (stored.isValid())
            QCOMPARE(value.typeId(), QMetaType::QDate);
        QCOMPARE(storedBirthday(), stored);
    }

    void calendarButtons_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QVariant>("stored");
        // The Clock's time, not the computer's; a Date column keeps the date of "现在".
        QTest::newRow("clear") << u"clearButton"_s << u"清除"_s << QVariant();
        QTest::newRow("now") << u"nowButton"_s << u"现在"_s << QVariant(QDate(2031, 7, 8));
        QTest::newRow("today") << u"todayButton"_s << u"今天"_s << QVariant(QDate(2031, 7, 8));
    }
    void calendarButtons()
    {
        QFETCH(QString, button);
        QFETCH(QString, caption);
        QFETCH(QVariant, stored);
        ManualClock clock(QDateTime(QDate(2031, 7, 8), QTime(23, 59, 30)));
        Form form;
        auto *birthday = form.add(new DBDateEdit(m_contactSource.get(), u"Birthday"_s));
        QVERIFY(form.show());

        focus(birthday);
        QTest::keyClick(birthday, Qt::Key_F4);
        QFrame *popup = birthday->calendarPopup();
        QVERIFY(popup->isVisible());
        // The calendar opens on the stored date.
        QCOMPARE(popup->findChild<QCalendarWidget *>()->selectedDate(), QDate(1980, 1, 2));
        auto *pushButton = popup->findChild<QPushButton *>(button);
        QVERIFY(pushButton);
        QCOMPARE(pushButton->text(), caption);
        QTest::mouseClick(pushButton, Qt::LeftButton);

        QVERIFY(!popup->isVisible());
        QCOMPARE(m_contacts->state(), DatasetState::Edit);
        QCOMPARE(m_contacts->fieldByName(u"Birthday"_s).value(), stored);
        QCOMPARE(birthday->text(), stored.isValid() ? u"2031-07-08"_s : QString());
        QCOMPARE(storedBirthday(), stored);
    }

    void pickingFromTheCalendar()
    {
        Form form;
        auto *birthday = form.add(new DBDateEdit(m_contactSource.get(), u"Birthday"_s));
        QVERIFY(form.show());
        focus(birthday);
        birthday->showCalendar();
        QWidget *days = QApplication::focusWidget();
        QVERIFY(birthday->calendarPopup()->isAncestorOf(days));

        // A day further, chosen with Enter, as with the keyboard in the calendar.
        QTest::keyClick(days, Qt::Key_Right);
        QTest::keyClick(days, Qt::Key_Return);
        QVERIFY(!birthday->calendarPopup()->isVisible());
        QCOMPARE(birthday->text(), u"1980-01-03"_s);
        QCOMPARE(storedBirthday(), QVariant(QDate(1980, 1, 3)));
    }

    void readOnlyDateBoxOpensNoCalendar()
    {
        Form form;
        auto *birthday = form.add(new DBDateEdit(m_contactSource.get(), u"Birthday"_s));
        birthday->setReadOnly(true);
        QVERIFY(form.show());
        focus(birthday);
        QTest::keyClick(birthday, Qt::Key_F4);
        birthday->showCalendar();
        QVERIFY(!birthday->calendarPopup()->isVisible());
        QCOMPARE(m_contacts->state(), DatasetState::Browse);
    }

    void typedTimeIsStoredAsTime_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("HH:mm") << u"14:30"_s << QVariant(QTime(14, 30)) << u"14:30"_s;
        QTest::newRow("one-digit hour") << u"9:05"_s << QVariant(QTime(9, 5)) << u"09:05"_s;
        QTest::newRow("emptied") << QString() << QVariant() << QString();
    }
    void typedTimeIsStoredAsTime()
    {
        QFETCH(QString, typed);
        QFETCH(QVariant, stored);
        QFETCH(QString, shown);
        ScriptedPrompt prompt;
        Form form;
        auto *time = form.add(new DBTimeEdit(m_appointmentSource.get(), u"Times"_s));
        QVERIFY(form.show());
        QCOMPARE(time->text(), u"09:00"_s);
        const QVariant num = m_appointments->fieldByName(u"Num"_s).value();

        focus(time);
        selectAll(time);
        if (typed.isEmpty())
            QTest::keyClick(time, Qt::Key_Delete);
        else
            typeText(time, typed);
        tabAway();
        QCOMPARE(prompt.count(), 0);
        QCOMPARE(time->text(), shown);
        QCOMPARE(m_appointments->fieldByName(u"Times"_s).value(), stored);
        m_appointments->post();
        QCOMPARE(storedValue(m_db->db(), u"ClientBespeak"_s, u"Times"_s, num), stored);
    }

    void timeBoxTakesDigitsOnly()
    {
        ScriptedPrompt prompt;
        Form form;
        auto *time = form.add(new DBTimeEdit(m_appointmentSource.get(), u"Times"_s));
        QVERIFY(form.show());

        focus(time);
        QTest::keyClick(time, Qt::Key_End);
        typeText(time, u"ab"_s);
        QCOMPARE(time->text(), u"09:00"_s);
        QCOMPARE(m_appointments->state(), DatasetState::Browse);

        // Digits that make no time: refused when the box is left.
        selectAll(time);
        typeText(time, u"25:00"_s);
        tabAway();
        QCOMPARE(prompt.count(), 1);
        QCOMPARE(prompt.shown().first().icon, MessageIcon::Error);
        QCOMPARE(time->text(), u"09:00"_s);
        QCOMPARE(m_appointments->fieldByName(u"Times"_s).value(), QVariant(QTime(9, 0)));
    }
};

LUMORA_TEST_CLASS(TestDBDateTimeBoxes)
#include "tst_dbcontrols_dates.moc"
