#include "DBEdit.h"

#include <QDateTime>
#include <QFocusEvent>

namespace {

const int kUnlimitedLength = 32767; // QLineEdit's own default

} // namespace

DBEdit::DBEdit(data::DataSource *source, const QString &fieldName, QWidget *parent)
    : QLineEdit(parent)
    , m_link(new FieldLink(source, fieldName, this))
{
    connect(m_link, &FieldLink::refreshRequested, this, &DBEdit::showField);
    connect(m_link, &FieldLink::changed, this, &DBEdit::changed);
    connect(m_link, &FieldLink::exited, this, &DBEdit::exited);
    connect(this, &QLineEdit::textEdited, m_link, &FieldLink::typeText);
    connect(this, &QLineEdit::returnPressed, m_link, &FieldLink::submitTyped);
    showField();
}

void DBEdit::setDisplayFormat(const QString &format)
{
    m_displayFormat = format;
    showField();
}

void DBEdit::showField()
{
    const data::DatasetColumn *column = m_link->column();
    setMaxLength(column && column->type == data::ColumnType::Text && column->length > 0
                     ? column->length
                     : kUnlimitedLength);
    QLineEdit::setReadOnly(!m_link->isWritable());

    const QVariant value = m_link->value();
    QString text;
    if (m_displayFormat.isEmpty() || !value.isValid() || value.isNull())
        text = m_link->displayText();
    else if (value.typeId() == QMetaType::QTime)
        text = value.toTime().toString(m_displayFormat);
    else if (value.typeId() == QMetaType::QDateTime)
        text = value.toDateTime().toString(m_displayFormat);
    else
        text = value.toDate().toString(m_displayFormat);
    if (text != this->text())
        setText(text);
}

void DBEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    m_link->leave(event->reason());
}
