#include "DatasetModel.h"

#include "Guard.h"

using data::Dataset;

DatasetModel::DatasetModel(data::DataSource *source, QObject *parent)
    : QAbstractTableModel(parent)
    , m_source(source)
{
    if (source) {
        connect(source, &data::DataSource::datasetChanged, this, [this](Dataset *d) { attach(d); });
        attach(source->dataset());
    }
}

Dataset *DatasetModel::dataset() const
{
    return m_dataset;
}

void DatasetModel::attach(Dataset *dataset)
{
    beginResetModel();
    for (const auto &c : std::as_const(m_connections))
        disconnect(c);
    m_connections.clear();
    m_dataset = dataset;
    if (dataset) {
        // Rows come and go as a whole (open, requery, sort, filter, a master's
        // move), so a reset is the honest notice; a changed row is just that.
        const auto reset = [this] {
            beginResetModel();
            endResetModel();
        };
        m_connections << connect(dataset, &Dataset::reset, this, reset)
                      << connect(dataset, &Dataset::rowInserted, this, reset)
                      << connect(dataset, &Dataset::rowRemoved, this, reset)
                      << connect(dataset, &Dataset::rowChanged, this,
                                 [this](int row) {
                                     if (row >= 0 && row < rowCount())
                                         emit dataChanged(index(row, 0), index(row, columnCount() - 1));
                                 })
                      << connect(dataset, &Dataset::currentChanged, this, &DatasetModel::currentRowChanged)
                      << connect(dataset, &QObject::destroyed, this, [this] { attach(nullptr); });
    }
    endResetModel();
}

int DatasetModel::columnOf(const QString &field) const
{
    return m_dataset ? m_dataset->columnIndex(field) : -1;
}

int DatasetModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !m_dataset || !m_dataset->isActive())
        return 0;
    return m_dataset->recordCount();
}

int DatasetModel::columnCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !m_dataset)
        return 0;
    return m_dataset->columnCount();
}

QVariant DatasetModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !m_dataset)
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return m_dataset->displayTextAt(index.row(), index.column());
    case Qt::EditRole:
    case ValueRole:
        return m_dataset->valueAt(index.row(), index.column());
    default:
        return QVariant();
    }
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || !m_dataset)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return section < m_dataset->columnCount() ? m_dataset->column(section).name : QVariant();
    return QVariant();
}

Qt::ItemFlags DatasetModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (m_editable && m_dataset && index.isValid()) {
        const data::DatasetColumn &c = m_dataset->column(index.column());
        if (!c.calculated && c.type != data::ColumnType::AutoNumber)
            f |= Qt::ItemIsEditable;
    }
    return f;
}

bool DatasetModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || !m_dataset || !m_editable)
        return false;
    bool done = false;
    guarded([&] {
        if (m_dataset->recNo() != index.row())
            m_dataset->moveTo(index.row());
        m_dataset->edit();
        m_dataset->field(index.column()).setValue(value);
        done = true;
    });
    return done;
}
