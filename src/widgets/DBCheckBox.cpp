#include "DBCheckBox.h"

#include <QFocusEvent>

DBCheckBox::DBCheckBox(data::DataSource *source, const QString &fieldName, const QString &text,
                       QWidget *parent)
    : QCheckBox(text, parent)
    , m_link(new FieldLink(source, fieldName, this))
{
    connect(m_link, &FieldLink::refreshRequested, this, &DBCheckBox::showField);
    connect(m_link, &FieldLink::changed, this, &DBCheckBox::changed);
    connect(m_link, &FieldLink::exited, this, &DBCheckBox::exited);
    // clicked, unlike toggled, comes only from the user (mouse or space bar).
    connect(this, &QCheckBox::clicked, this, [this](bool checked) {
        if (m_link->isWritable())
            m_link->changeTo(checked);
    });
    showField();
}

void DBCheckBox::showField()
{
    const QVariant value = m_link->value();
    setChecked(value.isValid() && !value.isNull() && value.toBool());
}

void DBCheckBox::nextCheckState()
{
    if (m_link->isWritable())
        QCheckBox::nextCheckState();
}

void DBCheckBox::focusOutEvent(QFocusEvent *event)
{
    QCheckBox::focusOutEvent(event);
    m_link->leave(event->reason());
}
