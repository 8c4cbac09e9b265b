#pragma once

#include "Dataset.h"

#include <QAbstractTableModel>
#include <QPointer>

// The rows a dataset shows, as an item model for views. It follows the
// dataset its data source points at; a view row is a dataset position.
class DatasetModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    // The raw column value (a QDate, a double ...), for sorting, grouping and sums.
    static constexpr int ValueRole = Qt::UserRole + 1;

    explicit DatasetModel(data::DataSource *source, QObject *parent = nullptr);

    data::DataSource *dataSource() const { return m_source; }
    data::Dataset *dataset() const;
    int columnOf(const QString &field) const; // -1 when the dataset has no such column

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Moves the dataset to the row, puts it into edit and sets the value; an
    // error is shown (the guard's box), never thrown into the view.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    void setEditable(bool editable) { m_editable = editable; }
    bool isEditable() const { return m_editable; }

signals:
    // The dataset's current row moved (a position, -1 for none).
    void currentRowChanged(int row);

private:
    void attach(data::Dataset *dataset);

    QPointer<data::DataSource> m_source;
    QPointer<data::Dataset> m_dataset;
    QList<QMetaObject::Connection> m_connections;
    bool m_editable = false;
};
