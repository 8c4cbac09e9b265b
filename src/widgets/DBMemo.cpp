#include "DBMemo.h"

#include <QFocusEvent>
#include <QScopedValueRollback>

DBMemo::DBMemo(data::DataSource *source, const QString &fieldName, QWidget *parent)
    : QPlainTextEdit(parent)
    , m_link(new FieldLink(source, fieldName, this))
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(true);
    connect(m_link, &FieldLink::refreshRequested, this, &DBMemo::showField);
    connect(m_link, &FieldLink::changed, this, &DBMemo::changed);
    connect(m_link, &FieldLink::exited, this, &DBMemo::exited);
    // textChanged also fires when a row is shown; only the user's typing counts.
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_showing)
            m_link->typeText(toPlainText());
    });
    showField();
}

void DBMemo::showField()
{
    QPlainTextEdit::setReadOnly(!m_link->isWritable());
    const QString text = m_link->displayText();
    if (text == toPlainText())
        return;
    const QScopedValueRollback showing(m_showing, true);
    setPlainText(text);
}

void DBMemo::focusOutEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusOutEvent(event);
    m_link->leave(event->reason());
}
