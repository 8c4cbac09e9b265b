#include "DBLookupComboBox.h"

#include "DatasetModel.h"
#include "Guard.h"

#include <QFocusEvent>

namespace {

bool isNull(const QVariant &value)
{
    return !value.isValid() || value.isNull();
}

} // namespace

DBLookupComboBox::DBLookupComboBox(data::DataSource *source, const QString &fieldName,
                                   data::DataSource *listSource, const QString &listField,
                                   QWidget *parent)
    : LockableComboBox(parent)
    , m_link(new FieldLink(source, fieldName, this))
    , m_listField(listField)
{
    setEditable(false);
    connect(m_link, &FieldLink::refreshRequested, this, [this] {
        showField();
        locateListRow(m_link->value());
    });
    connect(m_link, &FieldLink::changed, this, &DBLookupComboBox::changed);
    connect(m_link, &FieldLink::exited, this, &DBLookupComboBox::exited);
    connect(this, &QComboBox::activated, this, &DBLookupComboBox::pick);
    setListSource(listSource);
}

data::DataSource *DBLookupComboBox::listSource() const
{
    return m_listModel ? m_listModel->dataSource() : nullptr;
}

void DBLookupComboBox::setListSource(data::DataSource *listSource)
{
    m_listModel = new DatasetModel(listSource, this);
    setModel(m_listModel); // QComboBox deletes the previous model, a child of the box
    // The list's rows come and go as a whole, and its column may move when the
    // list dataset is opened on another statement: show the field again each
    // time, which never writes it nor moves the list dataset.
    const auto reshow = [this] { showField(); };
    connect(m_listModel, &QAbstractItemModel::modelReset, this, reshow);
    connect(m_listModel, &QAbstractItemModel::dataChanged, this, reshow);
    showField();
}

void DBLookupComboBox::setListField(const QString &listField)
{
    m_listField = listField;
    showField();
}

void DBLookupComboBox::setLocateListRow(bool on)
{
    m_locateListRow = on;
    if (on)
        locateListRow(m_link->value());
}

int DBLookupComboBox::listColumn() const
{
    return m_listModel ? m_listModel->columnOf(m_listField) : -1;
}

int DBLookupComboBox::listRowOf(const QVariant &value) const
{
    const data::Dataset *list = m_listModel ? m_listModel->dataset() : nullptr;
    const int column = listColumn();
    if (!list || column < 0 || isNull(value))
        return -1;
    const QString wanted = value.toString();
    for (int row = 0; row < list->recordCount(); ++row) {
        const QVariant listed = list->valueAt(row, column);
        if (!isNull(listed) && (listed == value || listed.toString() == wanted))
            return row;
    }
    return -1;
}

void DBLookupComboBox::locateListRow(const QVariant &value)
{
    data::Dataset *list = m_listModel ? m_listModel->dataset() : nullptr;
    const int row = listRowOf(value);
    if (!m_locateListRow || !list || row < 0 || row == list->recNo())
        return;
    guarded([&] { list->moveTo(row); });
}

void DBLookupComboBox::pick(int row)
{
    const data::Dataset *list = m_listModel ? m_listModel->dataset() : nullptr;
    const int column = listColumn();
    if (!m_link->isWritable() || !list || column < 0 || row < 0)
        return;
    // The refresh that follows the change moves the list dataset, when asked.
    m_link->changeTo(list->valueAt(row, column));
}

void DBLookupComboBox::showField()
{
    setLocked(!m_link->isWritable());
    const int column = listColumn();
    if (column >= 0 && modelColumn() != column)
        setModelColumn(column);
    const QVariant value = m_link->value();
    const int row = listRowOf(value);
    if (row != currentIndex())
        setCurrentIndex(row);
}

void DBLookupComboBox::focusOutEvent(QFocusEvent *event)
{
    LockableComboBox::focusOutEvent(event);
    m_link->leave(event->reason());
}
