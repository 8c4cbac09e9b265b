#pragma once

#include "FieldLink.h"

#include <QPlainTextEdit>

// A multi-line box bound to a (long) text field, with a vertical scroll bar.
// Tab moves the focus on, as in the other boxes of a form.
class DBMemo : public QPlainTextEdit
{
    Q_OBJECT
public:
    DBMemo(data::DataSource *source, const QString &fieldName, QWidget *parent = nullptr);

    data::DataSource *dataSource() const { return m_link->dataSource(); }
    void setDataSource(data::DataSource *source) { m_link->setDataSource(source); }
    QString fieldName() const { return m_link->fieldName(); }
    void setFieldName(const QString &fieldName) { m_link->setFieldName(fieldName); }

    // Made read-only by the program; also read-only while the field cannot be written.
    void setReadOnly(bool readOnly) { m_link->setReadOnly(readOnly); }

    QVariant value() const { return m_link->value(); }
    bool setValue(const QVariant &value) { return m_link->setValue(value); }
    bool undoLastChange() { return m_link->undoLastChange(); }

signals:
    void exited();
    void changed();

protected:
    void focusOutEvent(QFocusEvent *event) override;

private:
    void showField();

    FieldLink *m_link;
    bool m_showing = false;
};
