#pragma once

#include "FieldLink.h"
#include "LockableComboBox.h"

class DatasetModel;

// A drop-down bound to a field that offers the values of one column of the
// rows of another dataset (the list source) and stores the value chosen. The
// list follows that dataset: rows added, removed, changed or queried again
// show at once. Only listed values can be chosen; a stored value that is not
// listed shows as nothing.
class DBLookupComboBox : public LockableComboBox
{
    Q_OBJECT
public:
    DBLookupComboBox(data::DataSource *source, const QString &fieldName,
                     data::DataSource *listSource, const QString &listField,
                     QWidget *parent = nullptr);

    data::DataSource *dataSource() const { return m_link->dataSource(); }
    void setDataSource(data::DataSource *source) { m_link->setDataSource(source); }
    QString fieldName() const { return m_link->fieldName(); }
    void setFieldName(const QString &fieldName) { m_link->setFieldName(fieldName); }

    data::DataSource *listSource() const;
    void setListSource(data::DataSource *listSource);
    QString listField() const { return m_listField; }
    void setListField(const QString &listField);

    // When on, the list dataset's current row follows the value shown: it
    // moves to the row holding it when the user picks a value and when the
    // bound row changes (a detail of the list dataset then lists what belongs
    // to the value shown).
    void setLocateListRow(bool on);
    bool locatesListRow() const { return m_locateListRow; }

    void setReadOnly(bool readOnly) { m_link->setReadOnly(readOnly); }
    bool isReadOnly() const { return isLocked(); }

    QVariant value() const { return m_link->value(); }
    bool setValue(const QVariant &value) { return m_link->setValue(value); }
    bool undoLastChange() { return m_link->undoLastChange(); }

signals:
    void exited();
    void changed();

protected:
    void focusOutEvent(QFocusEvent *event) override;

private:
    int listColumn() const;
    int listRowOf(const QVariant &value) const;
    void locateListRow(const QVariant &value);
    void pick(int row);
    void showField();

    FieldLink *m_link;
    DatasetModel *m_listModel = nullptr;
    QString m_listField;
    bool m_locateListRow = false;
};
