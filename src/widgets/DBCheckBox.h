#pragma once

#include "FieldLink.h"

#include <QCheckBox>

// A check box bound to a Boolean field: checked stores true, unchecked false;
// NULL shows unchecked. A read-only box keeps its state when clicked.
class DBCheckBox : public QCheckBox
{
    Q_OBJECT
public:
    DBCheckBox(data::DataSource *source, const QString &fieldName, const QString &text = QString(),
               QWidget *parent = nullptr);

    data::DataSource *dataSource() const { return m_link->dataSource(); }
    void setDataSource(data::DataSource *source) { m_link->setDataSource(source); }
    QString fieldName() const { return m_link->fieldName(); }
    void setFieldName(const QString &fieldName) { m_link->setFieldName(fieldName); }

    void setReadOnly(bool readOnly) { m_link->setReadOnly(readOnly); }
    // Read-only as asked, or because the field cannot be written now.
    bool isReadOnly() const { return !m_link->isWritable(); }

    QVariant value() const { return m_link->value(); }
    bool setValue(const QVariant &value) { return m_link->setValue(value); }
    bool undoLastChange() { return m_link->undoLastChange(); }

signals:
    void exited();
    void changed();

protected:
    void focusOutEvent(QFocusEvent *event) override;
    void nextCheckState() override;

private:
    void showField();

    FieldLink *m_link;
};
