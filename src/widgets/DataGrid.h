#pragma once

#include "GridColumn.h"
#include "GridFilter.h"

#include <QMenu>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <vector>

class CellEditing;
class DatasetModel;
class FilterBar;
class GridCellDelegate;
class GridFooter;
class GridHeader;
class GridView;
class GroupPanel;
class GroupingModel;
class RowIndicator;

namespace data {
class DataSource;
class Dataset;
} // namespace data

// The data grid of the program's windows: the rows of the dataset a data
// source points at, in the dataset's own order, with the dataset's current
// row as the grid's current row both ways (a click moves the dataset, a move
// of the dataset selects and scrolls to its row).
//
// Everything the grid does to the data goes through the dataset, so that
// what a report prints is what the grid shows:
// - sorting by a header click calls Dataset::setSort (first click ascending,
//   the next descending);
// - grouping by a column sorts by that column first, then by the user's
//   sort, and groups the adjacent runs (see GroupingModel);
// - the filter builder narrows the rows with Dataset::setRowFilter;
// - in-place edits go through the dataset's edit, setValue and its
//   browse-mode check (Enter or another row posts, Esc cancels).
//
// A grid with no columns added shows every dataset column under its name;
// once columns are added it shows those only.
class DataGrid : public QWidget
{
    Q_OBJECT
public:
    enum SelectionMode { SingleRow, MultiRow };

    explicit DataGrid(data::DataSource *source = nullptr, QWidget *parent = nullptr);
    ~DataGrid() override;

    // --- data ------------------------------------------------------------------
    void setDataSource(data::DataSource *source);
    data::DataSource *dataSource() const { return m_source; }
    data::Dataset *dataset() const;

    // --- columns ---------------------------------------------------------------
    GridColumn &addColumn(const QString &field, const QString &caption = QString(),
                          int width = 100);
    int columnCount() const { return int(m_columns.size()); }
    GridColumn &column(int index) { return *m_columns.at(size_t(index)); }
    GridColumn *columnByField(const QString &field) const; // nullptr when not added
    // The last visible column takes the width the others leave.
    void setLastColumnFillsWidth(bool fill);

    // --- modes -----------------------------------------------------------------
    // Read-only (the default): whole rows are selected, nothing is typed.
    // Editable: cells are selected, the current cell always shows its editor.
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return m_readOnly; }
    void setSelectionMode(SelectionMode mode);
    SelectionMode selectionMode() const { return m_selectionMode; }
    // The dataset positions of the selected data rows, ascending.
    QList<int> selectedPositions() const;
    void setHideSelectionWhenUnfocused(bool hide);
    void setRowIndicatorVisible(bool visible);
    // Header clicks sort the dataset (on by default).
    void setSortingEnabled(bool enabled);
    bool isSortingEnabled() const { return m_sortingEnabled; }
    // The Delete key deletes the current row after the user confirms it.
    void setDeleteKeyConfirmed(bool enabled);
    // The dataset position of the grid's current data row; -1 on a group row or none.
    int currentPosition() const;

    // --- grouping --------------------------------------------------------------
    void groupBy(const QString &field, Qt::SortOrder order = Qt::AscendingOrder);
    void ungroup();
    QString groupField() const { return m_groupField; }
    Qt::SortOrder groupOrder() const { return m_groupOrder; }
    void setGroupPanelVisible(bool visible);
    // Every group open after each regrouping or refresh (otherwise only the
    // group of the current row opens by itself).
    void setGroupsExpanded(bool expanded);

    // --- sums and filter -------------------------------------------------------
    // The footer text under a column; empty when it has no sum.
    QString footerText(const QString &field) const;
    // Opens the filter builder over the visible columns; applies what it returns.
    void showFilterDialog();
    void setFilter(const GridFilter &filter);
    void clearFilter();
    const GridFilter &filter() const { return m_filter; }
    bool isFiltered() const { return !m_filter.isEmpty(); }

    // --- the windows' commands --------------------------------------------------
    // Shown at a right click (the grid does not own it).
    void setContextMenu(QMenu *menu) { m_contextMenu = menu; }

    // --- the parts, for windows that need more and for tests --------------------
    GridView *view() const { return m_view; }
    GroupingModel *model() const { return m_model; }
    GridHeader *header() const { return m_header; }
    GroupPanel *groupPanel() const { return m_groupPanel; }
    GridFooter *footer() const { return m_footer; }
    RowIndicator *rowIndicator() const { return m_indicator; }
    FilterBar *filterBar() const { return m_filterBar; }
    // The view's index of a dataset position in a column (the first visible one by default).
    QModelIndex indexOfPosition(int position, const QString &field = QString()) const;

signals:
    void rowDoubleClicked(int position);
    void currentRowChanged(int position);
    void contextMenuRequested(const QPoint &globalPos);
    void groupingChanged(const QString &field);
    void filterChanged();

protected:
    void changeEvent(QEvent *event) override;

private:
    friend class GridColumn;
    void columnChanged(GridColumn &column);

    QList<const GridColumn *> columnList() const;
    void attachDataset(data::Dataset *dataset);
    void applyColumns();
    int firstVisibleColumn() const;
    QString captionOf(const QString &field) const;

    void showDatasetRow();
    void viewCurrentChanged(const QModelIndex &current, const QModelIndex &previous);
    void modelReset();
    void modelDataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight);

    QString userSort() const;
    QString effectiveSort(const QString &userSort) const;
    void headerClicked(int section);
    void updateSortIndicator();
    void restoreGroupOrder();
    void applyGrouping(const QString &userSortText);
    void updateGroupPanel();

    bool hasFocusInside(const QWidget *widget) const;
    void focusChanged(QWidget *old, QWidget *now);
    void dropUntouchedRow();
    void updateSelectionPalette();
    void deleteCurrentRow();
    void applyFilter(const GridFilter &filter);

    QPointer<data::DataSource> m_source;
    QPointer<data::Dataset> m_dataset;
    QList<QMetaObject::Connection> m_datasetConnections;
    DatasetModel *m_datasetModel = nullptr;
    GroupingModel *m_model = nullptr;
    std::vector<std::unique_ptr<GridColumn>> m_columns;

    GroupPanel *m_groupPanel;
    GridView *m_view;
    GridHeader *m_header;
    RowIndicator *m_indicator;
    GridFooter *m_footer;
    FilterBar *m_filterBar;
    GridCellDelegate *m_delegate;
    CellEditing *m_editing;
    QPointer<QMenu> m_contextMenu;

    bool m_readOnly = true;
    SelectionMode m_selectionMode = SingleRow;
    bool m_hideSelection = false;
    bool m_sortingEnabled = true;
    bool m_deleteKey = false;
    bool m_lastColumnFills = false;
    bool m_groupsExpanded = false;
    QString m_groupField;
    Qt::SortOrder m_groupOrder = Qt::AscendingOrder;
    GridFilter m_filter;

    bool m_showingDatasetRow = false; // the grid follows the dataset: no move back
    bool m_movingDataset = false;     // the grid moves the dataset: no echo
    bool m_applyingColumns = false;
    bool m_groupOrderPending = false;
};
