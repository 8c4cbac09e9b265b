#pragma once

#include "FieldLink.h"
#include "LockableComboBox.h"

#include <QPointer>
#include <QStringListModel>

// A drop-down bound to a text field. In free-text mode the user may type any
// text, the items being suggestions (typed text is never added to them); in
// fixed-list mode only an item of the list can be chosen, and a value that is
// not in the list shows as nothing. The items come from a list of the box's
// own or from a QStringListModel shared with other boxes (the data module's
// category lists): a change of the model shows at once.
class DBComboBox : public LockableComboBox
{
    Q_OBJECT
public:
    enum class Mode { FreeText, FixedList };

    DBComboBox(data::DataSource *source, const QString &fieldName, Mode mode = Mode::FreeText,
               QWidget *parent = nullptr);

    data::DataSource *dataSource() const { return m_link->dataSource(); }
    void setDataSource(data::DataSource *source) { m_link->setDataSource(source); }
    QString fieldName() const { return m_link->fieldName(); }
    void setFieldName(const QString &fieldName) { m_link->setFieldName(fieldName); }

    Mode mode() const { return m_mode; }
    void setMode(Mode mode);
    // Free-text mode completes typed text from the items unless switched off.
    void setAutoCompletion(bool on);
    bool autoCompletion() const { return m_autoCompletion; }

    // Items of the box's own.
    void setItems(const QStringList &items);
    // Items shared with others; the box does not own the model.
    void setItemModel(QStringListModel *model);
    QStringListModel *itemModel() const { return m_items; }
    QStringList items() const;

    void setReadOnly(bool readOnly) { m_link->setReadOnly(readOnly); }
    bool isReadOnly() const { return isLocked(); }

    QVariant value() const { return m_link->value(); }
    // In fixed-list mode a text that is not an item is refused (error box).
    bool setValue(const QVariant &value);
    bool undoLastChange() { return m_link->undoLastChange(); }

signals:
    void exited();
    void changed();

protected:
    void focusOutEvent(QFocusEvent *event) override;

private:
    void useModel(QStringListModel *model);
    void prepareLineEdit();
    void showField();

    FieldLink *m_link;
    Mode m_mode;
    bool m_autoCompletion = true;
    QPointer<QStringListModel> m_items;
    QList<QMetaObject::Connection> m_modelConnections;
};
