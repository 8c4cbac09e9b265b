#include "DataGrid.h"

#include "CellEditing.h"
#include "DatasetModel.h"
#include "Error.h"
#include "FilterBar.h"
#include "FilterDialog.h"
#include "GridCellDelegate.h"
#include "GridFooter.h"
#include "GridHeader.h"
#include "GridView.h"
#include "GroupPanel.h"
#include "GroupingModel.h"
#include "Guard.h"
#include "Modal.h"
#include "Prompt.h"
#include "RowIndicator.h"
#include "SortText.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QMenu>
#include <QScopedValueRollback>
#include <QVBoxLayout>

using data::Dataset;

DataGrid::DataGrid(data::DataSource *source, QWidget *parent)
    : QWidget(parent)
    , m_groupPanel(new GroupPanel(this))
    , m_view(new GridView(this))
    , m_header(new GridHeader(m_view))
    , m_indicator(new RowIndicator(m_view, this))
    , m_footer(new GridFooter(m_view, this))
    , m_filterBar(new FilterBar(this))
    , m_delegate(new GridCellDelegate(this))
    , m_editing(new CellEditing(m_view, m_delegate, this))
{
    m_view->setHeader(m_header);
    m_view->setItemDelegate(m_delegate);
    m_view->setFrameShape(QFrame::NoFrame);
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_header->setStretchLastSection(false);
    m_header->setSectionsMovable(false);
    m_header->setSortIndicatorShown(false);
    m_header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_groupPanel->setHeader(m_header);
    m_groupPanel->hide();
    m_footer->hide();
    m_filterBar->hide();
    setFocusProxy(m_view);

    auto *body = new QFrame(this);
    body->setFrameShape(QFrame::StyledPanel);
    auto *bodyLayout = new QHBoxLayout(body);
    bodyLayout->setContentsMargins(1, 1, 1, 1);
    bodyLayout->setSpacing(0);
    bodyLayout->addWidget(m_indicator);
    bodyLayout->addWidget(m_view);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_groupPanel);
    layout->addWidget(body, 1);
    layout->addWidget(m_footer);
    layout->addWidget(m_filterBar);

    connect(m_view, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &index) {
        const int position = m_model ? m_model->positionOf(index) : -1;
        if (position >= 0)
            emit rowDoubleClicked(position);
    });
    connect(m_view, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        const QPoint global = m_view->viewport()->mapToGlobal(pos);
        emit contextMenuRequested(global);
        if (m_contextMenu)
            m_contextMenu->popup(global);
    });
    connect(m_view, &GridView::deleteKeyPressed, this, &DataGrid::deleteCurrentRow);
    const auto repaintOverlays = [this] {
        m_indicator->update();
        m_footer->update();
    };
    connect(m_view, &GridView::viewChanged, this, repaintOverlays);
    connect(m_view, &QTreeView::expanded, this, repaintOverlays);
    connect(m_view, &QTreeView::collapsed, this, repaintOverlays);
    connect(m_header, &QHeaderView::sectionClicked, this, &DataGrid::headerClicked);
    connect(m_header, &QHeaderView::sectionResized, this, [this](int section, int, int size) {
        m_footer->update();
        if (m_applyingColumns || !m_model)
            return;
        // Keep the user's width, unless the section was only stretched to fill.
        const bool stretched = m_header->stretchLastSection() &&
                               m_header->visualIndex(section) == m_header->count() - 1;
        const GridColumn *resized = m_model->gridColumn(section);
        for (const auto &column : m_columns) {
            if (column.get() == resized && !stretched)
                column->m_width = size;
        }
    });

    connect(m_groupPanel, &GroupPanel::groupRequested, this,
            [this](const QString &field) { groupBy(field); });
    connect(m_groupPanel, &GroupPanel::ungroupRequested, this, &DataGrid::ungroup);
    connect(m_groupPanel, &GroupPanel::orderToggled, this, [this] {
        groupBy(m_groupField,
                m_groupOrder == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder);
    });
    connect(m_filterBar, &FilterBar::removeRequested, this, &DataGrid::clearFilter);

    connect(qApp, &QApplication::focusChanged, this, &DataGrid::focusChanged);

    setSelectionMode(SingleRow);
    setSortingEnabled(true);
    setDataSource(source);
}

DataGrid::~DataGrid()
{
    // Children about to go may move the focus; this is no DataGrid to tell any more.
    disconnect(qApp, nullptr, this, nullptr);
    // The filter is this grid's; the dataset outlives it and must not stay narrowed.
    m_view->setModel(nullptr);
    delete m_model;
    delete m_datasetModel;
    m_model = nullptr;
    m_datasetModel = nullptr;
    if (m_dataset && !m_filter.isEmpty())
        guarded([this] { m_dataset->setRowFilter({}); });
}

// --- data -----------------------------------------------------------------------------

Dataset *DataGrid::dataset() const
{
    return m_source ? m_source->dataset() : nullptr;
}

void DataGrid::setDataSource(data::DataSource *source)
{
    if (source == m_source && m_model)
        return;
    attachDataset(nullptr);
    m_view->setModel(nullptr);
    delete m_model;
    delete m_datasetModel;
    m_model = nullptr;
    m_datasetModel = nullptr;
    m_source = source;
    if (!source)
        return;

    m_datasetModel = new DatasetModel(source, this);
    m_model = new GroupingModel(m_datasetModel, this);
    m_model->setColumns(columnList());
    m_model->setEditable(!m_readOnly);
    m_view->setModel(m_model);
    connect(m_view->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &DataGrid::viewCurrentChanged);
    connect(m_model, &QAbstractItemModel::modelReset, this, &DataGrid::modelReset);
    connect(m_model, &QAbstractItemModel::dataChanged, this, &DataGrid::modelDataChanged);
    connect(m_model, &GroupingModel::sumsChanged, m_footer, qOverload<>(&QWidget::update));
    connect(m_datasetModel, &DatasetModel::currentRowChanged, this, [this](int position) {
        if (!m_movingDataset)
            showDatasetRow();
        emit currentRowChanged(position);
    });
    connect(source, &data::DataSource::datasetChanged, this,
            [this](Dataset *d) { attachDataset(d); });
    attachDataset(source->dataset());
    if (!m_groupField.isEmpty())
        guarded([this] { applyGrouping(userSort()); });
    modelReset();
}

void DataGrid::attachDataset(Dataset *dataset)
{
    for (const QMetaObject::Connection &c : std::as_const(m_datasetConnections))
        disconnect(c);
    m_datasetConnections.clear();
    if (m_dataset != dataset) {
        if (m_dataset && !m_filter.isEmpty())
            guarded([this] { m_dataset->setRowFilter({}); });
        m_filter = GridFilter();
        m_filterBar->hide();
    }
    m_dataset = dataset;
    if (dataset) {
        m_datasetConnections << connect(dataset, &Dataset::stateChanged, m_indicator,
                                        qOverload<>(&QWidget::update));
    }
}

// --- columns ----------------------------------------------------------------------------

GridColumn &DataGrid::addColumn(const QString &field, const QString &caption, int width)
{
    m_columns.push_back(std::make_unique<GridColumn>(field, caption, width));
    GridColumn &column = *m_columns.back();
    column.m_grid = this;
    if (m_model)
        m_model->setColumns(columnList());
    columnChanged(column);
    return column;
}

GridColumn *DataGrid::columnByField(const QString &field) const
{
    for (const auto &column : m_columns) {
        if (isSameField(column->field(), field))
            return column.get();
    }
    return nullptr;
}

QList<const GridColumn *> DataGrid::columnList() const
{
    QList<const GridColumn *> list;
    for (const auto &column : m_columns)
        list << column.get();
    return list;
}

void DataGrid::setLastColumnFillsWidth(bool fill)
{
    m_lastColumnFills = fill;
    m_header->setStretchLastSection(fill);
}

void DataGrid::columnChanged(GridColumn &)
{
    bool sums = false;
    for (const auto &column : m_columns)
        sums = sums || column->hasFooterSum();
    m_footer->setVisible(sums);
    if (!m_model)
        return;
    m_model->columnsChanged();
    applyColumns();
    m_editing->reopen(); // the editor may have to be of another kind now
}

void DataGrid::applyColumns()
{
    if (!m_model)
        return;
    const QScopedValueRollback<bool> applying(m_applyingColumns, true);
    const bool grouped = m_model->isGrouped();
    for (int c = 0; c < m_model->columnCount(); ++c) {
        const GridColumn *column = m_model->gridColumn(c);
        const bool hidden = (column && !column->isVisible()) ||
                            (grouped && isSameField(m_model->fieldOf(c), m_groupField));
        m_view->setColumnHidden(c, hidden);
        if (column && m_header->sectionSize(c) != column->width())
            m_header->resizeSection(c, column->width());
    }
    m_header->setStretchLastSection(m_lastColumnFills);
    m_view->updateTreePosition();
}

int DataGrid::firstVisibleColumn() const
{
    for (int visual = 0; visual < m_header->count(); ++visual) {
        const int logical = m_header->logicalIndex(visual);
        if (!m_header->isSectionHidden(logical))
            return logical;
    }
    return 0;
}

QString DataGrid::captionOf(const QString &field) const
{
    const GridColumn *column = columnByField(field);
    return column ? column->caption() : field;
}

QModelIndex DataGrid::indexOfPosition(int position, const QString &field) const
{
    if (!m_model)
        return QModelIndex();
    const int column = field.isEmpty() ? firstVisibleColumn() : m_model->columnOfField(field);
    return m_model->indexOfPosition(position, column);
}

// --- modes ------------------------------------------------------------------------------

void DataGrid::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    // The editor commits while the model still takes values, and opens once it does.
    if (readOnly)
        m_editing->setEnabled(false);
    if (m_model)
        m_model->setEditable(!readOnly);
    m_view->setSelectionBehavior(readOnly ? QAbstractItemView::SelectRows
                                          : QAbstractItemView::SelectItems);
    m_view->setAllColumnsShowFocus(readOnly);
    m_view->setTabKeyNavigation(!readOnly);
    if (!readOnly)
        m_editing->setEnabled(true);
    m_view->viewport()->update();
}

void DataGrid::setSelectionMode(SelectionMode mode)
{
    m_selectionMode = mode;
    m_view->setSelectionMode(mode == MultiRow ? QAbstractItemView::ExtendedSelection
                                              : QAbstractItemView::SingleSelection);
    m_view->setSelectionBehavior(m_readOnly ? QAbstractItemView::SelectRows
                                            : QAbstractItemView::SelectItems);
}

QList<int> DataGrid::selectedPositions() const
{
    QList<int> positions;
    if (!m_model || !m_view->selectionModel())
        return positions;
    for (const QItemSelectionRange &range : m_view->selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            const int position = m_model->positionOf(m_model->index(row, 0, range.parent()));
            if (position >= 0)
                positions << position;
        }
    }
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    return positions;
}

void DataGrid::setHideSelectionWhenUnfocused(bool hide)
{
    m_hideSelection = hide;
    updateSelectionPalette();
}

void DataGrid::setRowIndicatorVisible(bool visible)
{
    m_indicator->setVisible(visible);
}

void DataGrid::setSortingEnabled(bool enabled)
{
    m_sortingEnabled = enabled;
    m_header->setSectionsClickable(enabled);
    updateSortIndicator();
}

void DataGrid::setDeleteKeyConfirmed(bool enabled)
{
    m_deleteKey = enabled;
    m_view->setDeleteKeyTaken(enabled);
}

int DataGrid::currentPosition() const
{
    return m_model ? m_model->positionOf(m_view->currentIndex()) : -1;
}

// --- following the dataset and the view -----------------------------------------------

void DataGrid::showDatasetRow()
{
    const Dataset *d = dataset();
    m_indicator->update();
    if (!m_model || !d || !d->isActive())
        return;
    const QModelIndex current = m_view->currentIndex();
    const int column = current.isValid() && !m_header->isSectionHidden(current.column())
                           ? current.column()
                           : firstVisibleColumn();
    const QModelIndex index = m_model->indexOfPosition(d->recNo(), column);
    if (!index.isValid())
        return;
    if (index.parent().isValid() && !m_view->isExpanded(index.parent()))
        m_view->expand(index.parent());
    if (current != index) {
        const QScopedValueRollback<bool> following(m_showingDatasetRow, true);
        QItemSelectionModel::SelectionFlags flags = QItemSelectionModel::ClearAndSelect;
        if (m_view->selectionBehavior() == QAbstractItemView::SelectRows)
            flags |= QItemSelectionModel::Rows;
        m_view->selectionModel()->setCurrentIndex(index, flags);
    }
    m_view->scrollTo(index);
}

void DataGrid::viewCurrentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    m_editing->currentChanged(current, previous);
    m_indicator->update();
    if (m_showingDatasetRow || !m_model)
        return;
    Dataset *d = dataset();
    const int position = m_model->positionOf(current);
    if (!d || !d->isActive() || position < 0 || position == d->recNo())
        return;
    {
        const QScopedValueRollback<bool> moving(m_movingDataset, true);
        guarded([&] { d->moveTo(position); });
    }
    // The move may have failed (a post refused) or dropped a row: show where the dataset is.
    if (m_model->positionOf(m_view->currentIndex()) != d->recNo())
        showDatasetRow();
}

void DataGrid::modelReset()
{
    if (!m_model)
        return;
    applyColumns();
    const bool grouped = m_model->isGrouped();
    m_view->setRootIsDecorated(grouped);
    if (grouped && m_groupsExpanded)
        m_view->expandAll();
    updateSortIndicator();
    const Dataset *d = dataset();
    if (grouped && d && d->isActive() && !m_groupOrderPending) {
        const QList<SortTerm> terms = parseSortText(d->sort());
        if (terms.isEmpty() || !isSameField(terms.first().field, m_groupField) ||
            terms.first().descending != (m_groupOrder == Qt::DescendingOrder)) {
            // Someone sorted the dataset without the group column: put it first
            // again, once the dataset has finished what it is doing.
            m_groupOrderPending = true;
            QMetaObject::invokeMethod(
                this, [this] { restoreGroupOrder(); }, Qt::QueuedConnection);
        }
    }
    if (!m_movingDataset)
        showDatasetRow();
    m_indicator->update();
    m_footer->update();
}

void DataGrid::modelDataChanged(const QModelIndex &, const QModelIndex &)
{
    // The view itself passes the change on to the editor (unless the user is typing there).
    m_indicator->update();
}

// --- sorting and grouping ---------------------------------------------------------------

QString DataGrid::userSort() const
{
    const Dataset *d = dataset();
    const QString sort = d ? d->sort() : QString();
    return m_groupField.isEmpty() ? sort : sortTextWithout(sort, m_groupField);
}

QString DataGrid::effectiveSort(const QString &userSortText) const
{
    if (m_groupField.isEmpty())
        return userSortText;
    const QString group = sortText({{m_groupField, m_groupOrder == Qt::DescendingOrder}});
    return userSortText.isEmpty() ? group : group + QStringLiteral(", ") + userSortText;
}

void DataGrid::headerClicked(int section)
{
    Dataset *d = dataset();
    if (!m_sortingEnabled || !m_model || !d)
        return;
    const QString field = m_model->fieldOf(section);
    if (field.isEmpty())
        return;
    guarded([&] {
        const QList<SortTerm> terms = parseSortText(userSort());
        const bool descending = !terms.isEmpty() && isSameField(terms.first().field, field) &&
                                !terms.first().descending;
        d->setSort(effectiveSort(sortText({{field, descending}})));
    });
    updateSortIndicator();
}

void DataGrid::updateSortIndicator()
{
    const QList<SortTerm> terms = parseSortText(userSort());
    const int column = m_sortingEnabled && m_model && !terms.isEmpty()
                           ? m_model->columnOfField(terms.first().field)
                           : -1;
    m_header->setSortIndicatorShown(column >= 0);
    m_header->setSortIndicator(
        column, column >= 0 && terms.first().descending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void DataGrid::restoreGroupOrder()
{
    m_groupOrderPending = false;
    Dataset *d = dataset();
    if (m_groupField.isEmpty() || !d || !d->isActive())
        return;
    const QList<SortTerm> terms = parseSortText(d->sort());
    if (!terms.isEmpty() && isSameField(terms.first().field, m_groupField) &&
        terms.first().descending == (m_groupOrder == Qt::DescendingOrder))
        return;
    guarded([&] { d->setSort(effectiveSort(userSort())); });
}

void DataGrid::applyGrouping(const QString &userSortText)
{
    if (Dataset *d = dataset())
        d->setSort(effectiveSort(userSortText));
    if (m_model)
        m_model->setGroupField(m_groupField, captionOf(m_groupField));
    updateGroupPanel();
}

void DataGrid::groupBy(const QString &field, Qt::SortOrder order)
{
    if (field.isEmpty()) {
        ungroup();
        return;
    }
    guarded([&] {
        const QString user = sortTextWithout(userSort(), field);
        const QString previousField = m_groupField;
        const Qt::SortOrder previousOrder = m_groupOrder;
        m_groupField = field;
        m_groupOrder = order;
        try {
            applyGrouping(user);
        } catch (...) {
            m_groupField = previousField;
            m_groupOrder = previousOrder;
            updateGroupPanel();
            throw;
        }
    });
    emit groupingChanged(m_groupField);
}

void DataGrid::ungroup()
{
    if (m_groupField.isEmpty())
        return;
    guarded([&] {
        const QString user = userSort();
        m_groupField.clear();
        applyGrouping(user);
    });
    emit groupingChanged(m_groupField);
}

void DataGrid::updateGroupPanel()
{
    m_groupPanel->showGroup(m_groupField, captionOf(m_groupField),
                            m_groupOrder == Qt::DescendingOrder);
}

void DataGrid::setGroupPanelVisible(bool visible)
{
    m_groupPanel->setVisible(visible);
    m_header->setColumnDragEnabled(visible);
}

void DataGrid::setGroupsExpanded(bool expanded)
{
    m_groupsExpanded = expanded;
    if (!m_model || !m_model->isGrouped())
        return;
    if (expanded) {
        m_view->expandAll();
    } else {
        m_view->collapseAll();
        showDatasetRow();
    }
}

// --- focus ------------------------------------------------------------------------------

bool DataGrid::hasFocusInside(const QWidget *widget) const
{
    // Up the parents rather than isAncestorOf(): an editor's popup (a combo
    // box's list, a calendar) is a window of its own, yet part of the grid.
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        if (w == this)
            return true;
    }
    return false;
}

void DataGrid::focusChanged(QWidget *old, QWidget *now)
{
    const bool wasInside = hasFocusInside(old);
    const bool isInside = hasFocusInside(now);
    if (wasInside == isInside)
        return;
    updateSelectionPalette();
    // Only a move to elsewhere in the same window leaves the grid: a dialog
    // or a message box opened over it belongs to whatever the grid is doing.
    if (wasInside && now && now->window() == window())
        QMetaObject::invokeMethod(
            this, [this] { dropUntouchedRow(); }, Qt::QueuedConnection);
}

void DataGrid::dropUntouchedRow()
{
    if (hasFocusInside(QApplication::focusWidget()))
        return;
    Dataset *d = dataset();
    if (d && d->state() == data::DatasetState::Insert && !d->isModified())
        guarded([d] { d->checkBrowseMode(); });
}

void DataGrid::updateSelectionPalette()
{
    QPalette palette = this->palette();
    if (m_hideSelection && !hasFocusInside(QApplication::focusWidget())) {
        for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
            palette.setColor(group, QPalette::Highlight, palette.color(group, QPalette::Base));
            palette.setColor(group, QPalette::HighlightedText,
                             palette.color(group, QPalette::Text));
        }
    }
    m_view->setPalette(palette);
}

void DataGrid::deleteCurrentRow()
{
    Dataset *d = dataset();
    if (!m_deleteKey || !d || !d->isActive() || d->isEmpty() || currentPosition() < 0)
        return;
    if (showMessage(applicationTitle(), QStringLiteral("确定要删除当前记录吗？"),
                    MessageIcon::Question, MessageButton::Yes | MessageButton::No,
                    MessageButton::No) != MessageButton::Yes)
        return;
    guarded([d] { d->deleteRow(); });
}

void DataGrid::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ToolTipChange)
        m_view->setToolTip(toolTip());
    else if (event->type() == QEvent::PaletteChange)
        updateSelectionPalette();
    QWidget::changeEvent(event);
}

// --- sums and filter ------------------------------------------------------------------------

QString DataGrid::footerText(const QString &field) const
{
    return m_model ? m_footer->textOf(m_model->columnOfField(field)) : QString();
}

void DataGrid::showFilterDialog()
{
    guarded([this] {
        QList<FilterDialog::Field> fields;
        if (m_columns.empty()) {
            if (const Dataset *d = dataset()) {
                for (const QString &name : d->columnNames())
                    fields.append({name, name});
            }
        } else {
            for (int visual = 0; visual < m_header->count(); ++visual) {
                const GridColumn *column =
                    m_model ? m_model->gridColumn(m_header->logicalIndex(visual)) : nullptr;
                if (column && column->isVisible())
                    fields.append({column->field(), column->caption()});
            }
        }
        FilterDialog dialog(fields, m_filter, this);
        dialog.setCheck([this](const GridFilter &filter) {
            if (const Dataset *d = dataset())
                filter.compile(*d);
        });
        if (showModal(&dialog) != QDialog::Accepted)
            return;
        applyFilter(dialog.filter());
    });
}

void DataGrid::setFilter(const GridFilter &filter)
{
    guarded([&] { applyFilter(filter); });
}

void DataGrid::clearFilter()
{
    setFilter(GridFilter());
}

void DataGrid::applyFilter(const GridFilter &filter)
{
    Dataset *d = dataset();
    if (!d) {
        if (!filter.isEmpty())
            throw data::Error(QStringLiteral("表格没有数据，不能过滤。"));
        return;
    }
    d->setRowFilter(filter.compile(*d));
    m_filter = filter;
    m_filterBar->setDescription(filter.description());
    m_filterBar->setVisible(!filter.isEmpty());
    emit filterChanged();
}
