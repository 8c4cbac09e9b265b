#include "GroupingModel.h"

#include "GridColumn.h"
#include "NumberFormat.h"

#include <algorithm>

using data::Dataset;

namespace {

// NULL and empty text look alike and sort next to each other: one group.
bool isEmptyValue(const QVariant &value)
{
    return !value.isValid() || value.isNull() ||
           (value.typeId() == QMetaType::QString && value.toString().isEmpty());
}

bool sameGroupValue(const QVariant &a, const QVariant &b)
{
    const bool aEmpty = isEmptyValue(a);
    const bool bEmpty = isEmptyValue(b);
    if (aEmpty || bEmpty)
        return aEmpty == bEmpty;
    return a == b;
}

// Internal ids. Qt hashes an index by (row << 4) + column + internal id and
// takes the low bits of that as the bucket, so ids that are small or equal
// (the group number, say) make the view's persistent indexes of thousands of
// groups or rows crowd together, and expanding or collapsing all groups takes
// quadratic time. So ids are scrambled by an invertible multiplication: a
// top-level row (a group row, or any row when not grouped) has the flag bit
// and its row scrambled; a row under a group has group + 1 scrambled.
constexpr quintptr TopLevelFlag = quintptr(1) << (sizeof(quintptr) * 8 - 1);
constexpr quintptr IdMask = ~TopLevelFlag;
constexpr quintptr Scrambler = quintptr(0x9E3779B97F4A7C15ull); // odd: invertible modulo 2^n

constexpr quintptr inverseOf(quintptr odd)
{
    quintptr inverse = odd; // Newton's iteration doubles the correct low bits each step
    for (int i = 0; i < 6; ++i)
        inverse *= quintptr(2) - odd * inverse;
    return inverse;
}
constexpr quintptr Unscrambler = inverseOf(Scrambler);
static_assert(Scrambler * Unscrambler == 1);

quintptr topLevelId(int row)
{
    return TopLevelFlag | ((quintptr(row) * Scrambler) & IdMask);
}

bool isTopLevelId(quintptr id)
{
    return (id & TopLevelFlag) != 0;
}

quintptr childId(int group)
{
    return (quintptr(group + 1) * Scrambler) & IdMask;
}

int groupOfChildId(quintptr id)
{
    return int(((id * Unscrambler) & IdMask) - 1);
}

} // namespace

GroupingModel::GroupingModel(DatasetModel *source, QObject *parent)
    : QAbstractItemModel(parent)
    , m_source(source)
{
    connect(source, &QAbstractItemModel::modelAboutToBeReset, this, [this] { beginResetModel(); });
    connect(source, &QAbstractItemModel::modelReset, this, [this] {
        rebuild();
        endResetModel();
        emit sumsChanged();
    });
    connect(source, &QAbstractItemModel::dataChanged, this, &GroupingModel::sourceDataChanged);
    rebuild();
}

Dataset *GroupingModel::dataset() const
{
    return m_source ? m_source->dataset() : nullptr;
}

void GroupingModel::setColumns(const QList<const GridColumn *> &columns)
{
    beginResetModel();
    m_columns = columns;
    rebuild();
    endResetModel();
    emit sumsChanged();
}

void GroupingModel::columnsChanged()
{
    Layout layout = computeLayout();
    m_groupSums = std::move(layout.groupSums);
    m_totals = std::move(layout.totals);
    if (m_columnCount > 0)
        emit headerDataChanged(Qt::Horizontal, 0, m_columnCount - 1);
    const int rows = rowCount();
    if (rows > 0 && m_columnCount > 0)
        emit dataChanged(index(0, 0), index(rows - 1, m_columnCount - 1));
    emit sumsChanged();
}

const GridColumn *GroupingModel::gridColumn(int column) const
{
    return column >= 0 && column < m_columns.size() ? m_columns.at(column) : nullptr;
}

int GroupingModel::sourceColumn(int column) const
{
    return column >= 0 && column < int(m_sourceColumns.size()) ? m_sourceColumns[size_t(column)]
                                                               : -1;
}

int GroupingModel::columnOfField(const QString &field) const
{
    for (int c = 0; c < m_columnCount; ++c) {
        if (const GridColumn *g = gridColumn(c)) {
            if (g->field().compare(field, Qt::CaseInsensitive) == 0)
                return c;
        } else if (const Dataset *d = dataset();
                   d && sourceColumn(c) >= 0 &&
                   d->column(sourceColumn(c)).name.compare(field, Qt::CaseInsensitive) == 0) {
            return c;
        }
    }
    return -1;
}

QString GroupingModel::fieldOf(int column) const
{
    if (const GridColumn *g = gridColumn(column))
        return g->field();
    const Dataset *d = dataset();
    const int source = sourceColumn(column);
    return d && source >= 0 ? d->column(source).name : QString();
}

data::ColumnType GroupingModel::columnType(int column) const
{
    const Dataset *d = dataset();
    const int source = sourceColumn(column);
    return d && source >= 0 ? d->column(source).type : data::ColumnType::Text;
}

void GroupingModel::setGroupField(const QString &field, const QString &caption)
{
    beginResetModel();
    m_groupField = field;
    m_groupCaption = caption.isEmpty() ? field : caption;
    rebuild();
    endResetModel();
    emit sumsChanged();
}

int GroupingModel::groupOfPosition(int position) const
{
    if (!isGrouped() || m_groups.empty() || position < 0)
        return -1;
    // The last group starting at or before the position.
    const auto after = std::upper_bound(m_groups.begin(), m_groups.end(), position,
                                        [](int p, const Group &g) { return p < g.first; });
    if (after == m_groups.begin())
        return -1;
    const int group = int(after - m_groups.begin()) - 1;
    const Group &g = m_groups[size_t(group)];
    return position < g.first + g.count ? group : -1;
}

QString GroupingModel::groupText(int group) const
{
    const Dataset *d = dataset();
    if (!d || group < 0 || group >= groupCount())
        return QString();
    const Group &g = m_groups[size_t(group)];
    const QVariant value = d->valueAt(g.first, m_groupSourceColumn);
    QString valueText;
    if (isEmptyValue(value)) {
        valueText = QStringLiteral("（空）");
    } else {
        valueText = d->displayTextAt(g.first, m_groupSourceColumn);
        const GridColumn *column = gridColumn(columnOfField(m_groupField));
        if (column && column->displayKind() != GridColumn::CheckMark)
            valueText = column->displayText(value, valueText);
    }
    QString text = QStringLiteral("%1：%2（%3 条）").arg(m_groupCaption, valueText).arg(g.count);
    for (size_t s = 0; s < m_sumColumns.size(); ++s) {
        const GridColumn *column = gridColumn(m_sumColumns[s].column);
        text += QStringLiteral("  ") +
                formatNumber(m_groupSums[size_t(group) * m_sumColumns.size() + s],
                             column->footerFormat());
    }
    return text;
}

QModelIndex GroupingModel::groupIndex(int group) const
{
    if (!isGrouped() || group < 0 || group >= groupCount())
        return QModelIndex();
    return createIndex(group, 0, topLevelId(group));
}

int GroupingModel::sumSlot(int column) const
{
    for (size_t s = 0; s < m_sumColumns.size(); ++s) {
        if (m_sumColumns[s].column == column)
            return int(s);
    }
    return -1;
}

double GroupingModel::total(int column) const
{
    const int slot = sumSlot(column);
    return slot < 0 ? 0.0 : m_totals[size_t(slot)];
}

double GroupingModel::groupSum(int group, int column) const
{
    const int slot = sumSlot(column);
    if (slot < 0 || group < 0 || group >= groupCount())
        return 0.0;
    return m_groupSums[size_t(group) * m_sumColumns.size() + size_t(slot)];
}

bool GroupingModel::isGroupRow(const QModelIndex &index) const
{
    return index.isValid() && index.model() == this && isGrouped() &&
           isTopLevelId(index.internalId());
}

int GroupingModel::positionOf(const QModelIndex &index) const
{
    if (!index.isValid() || index.model() != this)
        return -1;
    if (!isGrouped())
        return index.row();
    if (isTopLevelId(index.internalId()))
        return -1;
    const size_t group = size_t(groupOfChildId(index.internalId()));
    return group < m_groups.size() ? m_groups[group].first + index.row() : -1;
}

QModelIndex GroupingModel::indexOfPosition(int position, int column) const
{
    const Dataset *d = dataset();
    if (!d || position < 0 || position >= d->recordCount() || column < 0 || column >= m_columnCount)
        return QModelIndex();
    if (!isGrouped())
        return createIndex(position, column, topLevelId(position));
    const int group = groupOfPosition(position);
    if (group < 0)
        return QModelIndex();
    return createIndex(position - m_groups[size_t(group)].first, column, childId(group));
}

void GroupingModel::setEditable(bool editable)
{
    if (m_editable == editable)
        return;
    m_editable = editable;
    if (m_source)
        m_source->setEditable(editable);
    const int rows = rowCount();
    if (rows > 0 && m_columnCount > 0)
        emit dataChanged(index(0, 0), index(rows - 1, m_columnCount - 1));
}

// --- the item model ------------------------------------------------------------

QModelIndex GroupingModel::index(int row, int column, const QModelIndex &parent) const
{
    if (row < 0 || column < 0 || column >= m_columnCount)
        return QModelIndex();
    if (!parent.isValid())
        return row < rowCount() ? createIndex(row, column, topLevelId(row)) : QModelIndex();
    if (!isGroupRow(parent) || row >= m_groups[size_t(parent.row())].count)
        return QModelIndex();
    return createIndex(row, column, childId(parent.row()));
}

QModelIndex GroupingModel::parent(const QModelIndex &child) const
{
    if (!child.isValid() || isTopLevelId(child.internalId()))
        return QModelIndex();
    const int group = groupOfChildId(child.internalId());
    return createIndex(group, 0, topLevelId(group));
}

int GroupingModel::rowCount(const QModelIndex &parent) const
{
    const Dataset *d = dataset();
    if (!d || !d->isActive())
        return 0;
    if (!parent.isValid())
        return isGrouped() ? groupCount() : d->recordCount();
    if (parent.column() != 0 || !isGroupRow(parent))
        return 0;
    return m_groups[size_t(parent.row())].count;
}

int GroupingModel::columnCount(const QModelIndex &) const
{
    return m_columnCount;
}

QString GroupingModel::cellText(int position, int column) const
{
    const Dataset *d = dataset();
    const int source = sourceColumn(column);
    if (!d || source < 0)
        return QString();
    const QString text = d->displayTextAt(position, source);
    const GridColumn *g = gridColumn(column);
    return g ? g->displayText(d->valueAt(position, source), text) : text;
}

QVariant GroupingModel::data(const QModelIndex &index, int role) const
{
    const Dataset *d = dataset();
    if (!index.isValid() || !d)
        return QVariant();
    if (isGroupRow(index)) {
        switch (role) {
        case Qt::DisplayRole:
            return index.column() == 0 ? QVariant(groupText(index.row())) : QVariant();
        case GroupRowRole:
            return true;
        case PositionRole:
            return -1;
        default:
            return QVariant();
        }
    }
    const int position = positionOf(index);
    const int source = sourceColumn(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return cellText(position, index.column());
    case Qt::EditRole:
    case ValueRole:
        return source < 0 ? QVariant() : d->valueAt(position, source);
    case Qt::TextAlignmentRole: {
        const GridColumn *g = gridColumn(index.column());
        return int(g ? g->alignment() : Qt::AlignLeft | Qt::AlignVCenter);
    }
    case GroupRowRole:
        return false;
    case PositionRole:
        return position;
    default:
        return QVariant();
    }
}

QVariant GroupingModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columnCount)
        return QVariant();
    const GridColumn *g = gridColumn(section);
    switch (role) {
    case Qt::DisplayRole:
        if (g)
            return g->caption();
        return m_source ? m_source->headerData(sourceColumn(section), orientation, role)
                        : QVariant();
    case Qt::TextAlignmentRole:
        return int(g ? g->headerAlignment() : Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return QVariant();
    }
}

Qt::ItemFlags GroupingModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (isGroupRow(index) || !m_editable || !m_source)
        return f;
    const GridColumn *g = gridColumn(index.column());
    const int source = sourceColumn(index.column());
    if (source >= 0 && !(g && g->isReadOnly()) &&
        (m_source->flags(m_source->index(positionOf(index), source)) & Qt::ItemIsEditable))
        f |= Qt::ItemIsEditable;
    return f;
}

bool GroupingModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    const int position = positionOf(index);
    const int source = sourceColumn(index.column());
    if (position < 0 || source < 0 || !m_source || !(flags(index) & Qt::ItemIsEditable))
        return false;
    return m_source->setData(m_source->index(position, source), value, role);
}

// --- following the dataset ------------------------------------------------------------

void GroupingModel::resolveColumns()
{
    const Dataset *d = dataset();
    m_sourceColumns.clear();
    m_sumColumns.clear();
    if (m_columns.isEmpty()) {
        const int count = d ? d->columnCount() : 0;
        for (int c = 0; c < count; ++c)
            m_sourceColumns.push_back(c);
    } else {
        for (int c = 0; c < m_columns.size(); ++c) {
            const int source = d ? d->columnIndex(m_columns.at(c)->field()) : -1;
            m_sourceColumns.push_back(source);
            if (source >= 0 && m_columns.at(c)->hasFooterSum())
                m_sumColumns.push_back({c, source});
        }
    }
    m_columnCount = int(m_sourceColumns.size());
    m_groupSourceColumn = d && !m_groupField.isEmpty() ? d->columnIndex(m_groupField) : -1;
}

GroupingModel::Layout GroupingModel::computeLayout() const
{
    Layout layout;
    const Dataset *d = dataset();
    const size_t sums = m_sumColumns.size();
    layout.totals.assign(sums, 0.0);
    if (!d || !d->isActive())
        return layout;
    const int rows = d->recordCount();
    const bool grouped = isGrouped();
    if (!grouped && sums == 0)
        return layout;
    QVariant previous;
    for (int r = 0; r < rows; ++r) {
        if (grouped) {
            QVariant value = d->valueAt(r, m_groupSourceColumn);
            if (r == 0 || !sameGroupValue(value, previous)) {
                layout.groups.push_back({r, 0});
                layout.groupSums.resize(layout.groupSums.size() + sums, 0.0);
            }
            ++layout.groups.back().count;
            previous = std::move(value);
        }
        for (size_t s = 0; s < sums; ++s) {
            const double x = d->valueAt(r, m_sumColumns[s].sourceColumn).toDouble();
            layout.totals[s] += x;
            if (grouped)
                layout.groupSums[(layout.groups.size() - 1) * sums + s] += x;
        }
    }
    return layout;
}

void GroupingModel::rebuild()
{
    resolveColumns();
    Layout layout = computeLayout();
    m_groups = std::move(layout.groups);
    m_groupSums = std::move(layout.groupSums);
    m_totals = std::move(layout.totals);
}

void GroupingModel::sourceDataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight)
{
    if (!topLeft.isValid() || !bottomRight.isValid())
        return;
    Layout layout = computeLayout();
    const bool sameGroups = layout.groups.size() == m_groups.size() &&
                            std::equal(m_groups.begin(), m_groups.end(), layout.groups.begin(),
                                       [](const Group &a, const Group &b) {
                                           return a.first == b.first && a.count == b.count;
                                       });
    if (!sameGroups) {
        // A row changed its group value: the runs moved.
        beginResetModel();
        m_groups = std::move(layout.groups);
        m_groupSums = std::move(layout.groupSums);
        m_totals = std::move(layout.totals);
        endResetModel();
        emit sumsChanged();
        return;
    }
    m_groupSums = std::move(layout.groupSums);
    m_totals = std::move(layout.totals);
    if (m_columnCount == 0)
        return;
    for (int r = topLeft.row(); r <= bottomRight.row(); ++r) {
        const QModelIndex first = indexOfPosition(r, 0);
        if (!first.isValid())
            continue;
        emit dataChanged(first, first.siblingAtColumn(m_columnCount - 1));
        if (isGrouped() && !m_sumColumns.empty())
            emit dataChanged(first.parent(), first.parent());
    }
    emit sumsChanged();
}
