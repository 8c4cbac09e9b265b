#pragma once

#include "FieldLink.h"

#include <QLineEdit>

// A one-line box bound to a field of the current row. Password boxes use
// setEchoMode(QLineEdit::Password), amounts setAlignment(Qt::AlignRight).
// What the user types reaches the field as it is typed; text that is not yet
// a valid value of the field (a number or date half typed) is written when the
// user presses Enter or leaves the box, and a refusal shows the standard
// error box and the stored value again. The date and time boxes derive from it.
class DBEdit : public QLineEdit
{
    Q_OBJECT
public:
    DBEdit(data::DataSource *source, const QString &fieldName, QWidget *parent = nullptr);

    data::DataSource *dataSource() const { return m_link->dataSource(); }
    void setDataSource(data::DataSource *source) { m_link->setDataSource(source); }
    QString fieldName() const { return m_link->fieldName(); }
    void setFieldName(const QString &fieldName) { m_link->setFieldName(fieldName); }

    // Made read-only by the program. The box is also read-only while its
    // field cannot be written (closed dataset); isReadOnly() tells either.
    void setReadOnly(bool readOnly) { m_link->setReadOnly(readOnly); }

    // The field's value (not any text still being typed).
    QVariant value() const { return m_link->value(); }
    // Sets the field as the user would, as one undoable change.
    bool setValue(const QVariant &value) { return m_link->setValue(value); }
    // The box and the field return to their value before the user's last change.
    bool undoLastChange() { return m_link->undoLastChange(); }
    // Writes text typed but not yet written; false when it was refused.
    bool submit() { return m_link->submitTyped(); }

signals:
    // The focus left the box (its typed text is written by then).
    void exited();
    // The field was changed from this box.
    void changed();

protected:
    void focusOutEvent(QFocusEvent *event) override;
    FieldLink &link() const { return *m_link; }
    // How a date or time value is shown ("yyyy-MM-dd", "HH:mm"); empty for the
    // field's own display text.
    void setDisplayFormat(const QString &format);
    virtual void showField();

private:
    FieldLink *m_link;
    QString m_displayFormat;
};
