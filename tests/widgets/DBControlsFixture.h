#pragma once

#include "Dataset.h"
#include "Dialect.h"
#include "TestDatabase.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <memory>

// What the tests of the data-bound controls share: a few known rows, typing
// as a user does, and a shown, active window (focus and keys need one).
namespace dbcontrols {

using namespace Qt::StringLiterals;

// Types as the user does: Latin text key by key, other text (Chinese) the way
// an input method hands it over, one committed character at a time. Like the
// platform, it commits nothing to a widget that takes no input method text.
inline void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClicks(widget, QString(c));
        } else if (widget->testAttribute(Qt::WA_InputMethodEnabled)) {
            QInputMethodEvent event;
            event.setCommitString(QString(c));
            QApplication::sendEvent(widget, &event);
        }
    }
}

inline void selectAll(QWidget *widget)
{
    QTest::keyClick(widget, Qt::Key_A, Qt::ControlModifier);
}

// A window holding the controls under test and a plain box to move the focus to.
class Form
{
public:
    Form()
    {
        m_window.setWindowTitle(u"controls"_s);
        m_layout = new QVBoxLayout(&m_window);
        elsewhere = new QLineEdit(&m_window);
        elsewhere->setObjectName(u"elsewhere"_s);
        m_layout->addWidget(elsewhere);
    }
    template<typename Control> Control *add(Control *control)
    {
        // Before the plain box in the tab order, so that Tab leaves the control for it.
        m_layout->insertWidget(m_layout->count() - 1, control);
        return control;
    }
    // Shows the window and makes it the active one; false when that failed.
    bool show()
    {
        m_window.show();
        m_window.activateWindow();
        return QTest::qWaitForWindowActive(&m_window);
    }
    QWidget *window() { return &m_window; }

    QLineEdit *elsewhere;

private:
    QWidget m_window;
    QVBoxLayout *m_layout;
};

// Puts the focus on a control as a click or Tab would.
inline void focus(QWidget *control)
{
    control->setFocus(Qt::TabFocusReason);
}

// Leaves the focused control with the Tab key.
inline void tabAway()
{
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
}

inline std::unique_ptr<data::Dataset> openDataset(data::Connection *connection, const QString &sql)
{
    auto d = std::make_unique<data::Dataset>(connection, u"test"_s);
    d->setCommandText(sql);
    d->open();
    return d;
}

inline QString selectAllOf(const QString &table)
{
    return u"select * from %1 order by \"Num\""_s.arg(data::Dialect::quote(table));
}

// Appends the rows (column → value) to the table through the dataset layer,
// so that dates, times and Booleans go in typed on either database.
inline void addRows(data::Connection *connection, const QString &table,
                    const QList<QVariantMap> &rows)
{
    auto d = openDataset(connection, selectAllOf(table));
    for (const QVariantMap &row : rows) {
        d->append();
        for (auto it = row.begin(); it != row.end(); ++it)
            d->fieldByName(it.key()).setValue(it.value());
        d->post();
    }
}

// The rows the controls show: three of each table, the third mostly empty.
inline void addKnownRows(data::Connection *connection)
{
    addRows(connection, u"ClientData"_s,
            {{{u"ID"_s, u"C01"_s},
              {u"CoName"_s, u"北京华信科技有限公司"_s},
              {u"TEL"_s, u"010-1"_s},
              {u"Postalcode"_s, 100000},
              {u"ClientTypes"_s, u"代理商"_s},
              {u"ClientTier"_s, u"★★★"_s},
              {u"Remark"_s, u"老客户"_s}},
             {{u"ID"_s, u"C02"_s},
              {u"CoName"_s, u"上海博远贸易有限公司"_s},
              {u"TEL"_s, u"021-1"_s},
              {u"Postalcode"_s, 200000},
              {u"ClientTypes"_s, u"直销客户"_s},
              {u"ClientTier"_s, u"★"_s},
              {u"Remark"_s, u"新客户"_s}},
             {{u"ID"_s, u"C03"_s}, {u"CoName"_s, u"广州恒通"_s}}});
    addRows(connection, u"LinkMan"_s,
            {{{u"ClientName"_s, u"北京华信科技有限公司"_s},
              {u"LinkManID"_s, u"王伟"_s},
              {u"MostlyLinkMan"_s, false},
              {u"Birthday"_s, QDate(1980, 1, 2)}},
             {{u"ClientName"_s, u"北京华信科技有限公司"_s},
              {u"LinkManID"_s, u"李娜"_s},
              {u"MostlyLinkMan"_s, true},
              {u"Birthday"_s, QDate(1990, 12, 31)}},
             {{u"ClientName"_s, u"上海博远贸易有限公司"_s}, {u"LinkManID"_s, u"张敏"_s}}});
    addRows(connection, u"ClientBespeak"_s,
            {{{u"ClientName"_s, u"北京华信科技有限公司"_s},
              {u"Motif"_s, u"报价"_s},
              {u"Principal"_s, u"王伟"_s},
              {u"Dates"_s, QDate(2024, 5, 6)},
              {u"Times"_s, QTime(9, 0)}},
             {{u"ClientName"_s, u"北京华信科技有限公司"_s},
              {u"Motif"_s, u"回访"_s},
              {u"Principal"_s, u"张敏"_s},
              {u"Dates"_s, QDate(2024, 5, 7)},
              {u"Times"_s, QTime(14, 5)}},
             {{u"ClientName"_s, u"上海博远贸易有限公司"_s}}});
}

// A value as the database holds it, read back on a connection of its own.
inline QVariant storedValue(TestDatabase &db, const QString &table, const QString &field,
                            const QVariant &num)
{
    auto connection = db.connect();
    data::Dataset d(connection.get());
    d.setCommandText(u"select * from %1 where \"Num\" = :n"_s.arg(data::Dialect::quote(table)));
    d.setParameter(u"n"_s, num);
    d.open();
    if (d.recordCount() != 1)
        return u"<%1 rows>"_s.arg(d.recordCount());
    return d.fieldByName(field).value();
}

// A fresh database of the backend holding the known rows, and a connection to it.
class KnownRowsDatabase
{
public:
    explicit KnownRowsDatabase(TestDatabase::Backend backend)
        : m_db(backend)
        , m_connection(m_db.connect())
    {
        addKnownRows(m_connection.get());
    }

    TestDatabase &db() { return m_db; }
    data::Connection *connection() { return m_connection.get(); }

private:
    TestDatabase m_db;
    std::unique_ptr<data::Connection> m_connection;
};

} // namespace dbcontrols
