#pragma once

#include "FieldLink.h"

#include <QLabel>

// The text of a field of the current row, read-only (an order number, say).
// The text can be selected and copied; it is never read as rich text.
class DBLabel : public QLabel
{
    Q_OBJECT
public:
    DBLabel(data::DataSource *source, const QString &fieldName, QWidget *parent = nullptr);

    data::DataSource *dataSource() const { return m_link->dataSource(); }
    void setDataSource(data::DataSource *source) { m_link->setDataSource(source); }
    QString fieldName() const { return m_link->fieldName(); }
    void setFieldName(const QString &fieldName) { m_link->setFieldName(fieldName); }

    QVariant value() const { return m_link->value(); }

private:
    void showField();

    FieldLink *m_link;
};
