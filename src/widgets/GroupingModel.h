#pragma once

#include "DatasetModel.h"

#include <QAbstractItemModel>
#include <QPointer>
#include <vector>

class GridColumn;

// The rows of a DatasetModel as a DataGrid shows them: the grid's columns,
// and, when grouped, a top level of group rows with the data rows below them.
//
// Grouping relies on the dataset being sorted by the group column first (the
// grid sees to that), so that a group is a run of adjacent dataset positions:
// one pass over the rows finds the runs, and the model keeps nothing per row,
// only a vector of ranges. Indexes of data rows carry their group in the
// internal id (scrambled, see the .cpp), so parent() and the mapping
// to and from dataset positions need no lookups beyond a binary search.
class GroupingModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    static constexpr int ValueRole = DatasetModel::ValueRole;
    // The dataset position of a data row; -1 for a group row.
    static constexpr int PositionRole = Qt::UserRole + 10;
    static constexpr int GroupRowRole = Qt::UserRole + 11;

    explicit GroupingModel(DatasetModel *source, QObject *parent = nullptr);

    DatasetModel *sourceModel() const { return m_source; }
    data::Dataset *dataset() const;

    // The columns shown, in order; with none, every dataset column under its
    // name. The model does not own them.
    void setColumns(const QList<const GridColumn *> &columns);
    // After a column's look or sum changed: repaint, sum again; no reset.
    void columnsChanged();
    const GridColumn *gridColumn(int column) const; // nullptr when showing every column
    int sourceColumn(int column) const;            // the dataset's column, -1 when it has none such
    int columnOfField(const QString &field) const; // -1 when not shown
    QString fieldOf(int column) const;             // the dataset column's name
    data::ColumnType columnType(int column) const;

    // Groups the rows by a dataset column, whose runs must be adjacent (see
    // above); an empty field ends grouping. `caption` heads the group rows.
    void setGroupField(const QString &field, const QString &caption);
    QString groupField() const { return m_groupField; }
    // Grouped by a column the dataset has.
    bool isGrouped() const { return m_groupSourceColumn >= 0; }
    int groupCount() const { return int(m_groups.size()); }
    int groupOfPosition(int position) const; // -1 when not grouped or out of range
    int groupFirstPosition(int group) const { return m_groups.at(size_t(group)).first; }
    int groupSize(int group) const { return m_groups.at(size_t(group)).count; }
    // "联系人：王伟（3 条）  总销量：1,234"
    QString groupText(int group) const;
    QModelIndex groupIndex(int group) const;

    // Sums of the columns with a footer sum, over the rows shown and per group.
    double total(int column) const;
    double groupSum(int group, int column) const;

    bool isGroupRow(const QModelIndex &index) const;
    int positionOf(const QModelIndex &index) const; // -1 for a group row or an invalid index
    QModelIndex indexOfPosition(int position, int column = 0) const;

    void setEditable(bool editable);
    bool isEditable() const { return m_editable; }

    QModelIndex index(int row, int column,
                      const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

signals:
    // The footer's sums may have changed.
    void sumsChanged();

private:
    struct Group
    {
        int first;
        int count;
    };
    struct SumColumn
    {
        int column;       // ours
        int sourceColumn; // the dataset's
    };
    struct Layout
    {
        std::vector<Group> groups;
        std::vector<double> groupSums; // groups × sum columns, row-major
        std::vector<double> totals;
    };

    void resolveColumns();
    Layout computeLayout() const;
    void rebuild();
    void sourceDataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight);
    int sumSlot(int column) const;
    QString cellText(int position, int column) const;

    QPointer<DatasetModel> m_source;
    QList<const GridColumn *> m_columns;
    std::vector<int> m_sourceColumns; // per column of ours
    std::vector<SumColumn> m_sumColumns;
    int m_columnCount = 0;

    QString m_groupField;
    QString m_groupCaption;
    int m_groupSourceColumn = -1;
    std::vector<Group> m_groups;
    std::vector<double> m_groupSums;
    std::vector<double> m_totals;
    bool m_editable = false;
};
