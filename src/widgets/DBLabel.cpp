#include "DBLabel.h"

DBLabel::DBLabel(data::DataSource *source, const QString &fieldName, QWidget *parent)
    : QLabel(parent)
    , m_link(new FieldLink(source, fieldName, this))
{
    setTextFormat(Qt::PlainText);
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_link->setReadOnly(true);
    connect(m_link, &FieldLink::refreshRequested, this, &DBLabel::showField);
    showField();
}

void DBLabel::showField()
{
    setText(m_link->displayText());
}
