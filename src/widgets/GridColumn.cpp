#include "GridColumn.h"

#include "DataGrid.h"
#include "NumberFormat.h"

#include <QDate>
#include <QTime>

GridColumn::GridColumn(const QString &field, const QString &caption, int width)
    : m_field(field)
    , m_caption(caption.isEmpty() ? field : caption)
    , m_width(width)
{}

Qt::Alignment GridColumn::alignment() const
{
    if (m_alignment)
        return m_alignment;
    switch (m_kind) {
    case CheckMark:
    case Money:
    case Integer:
        return Qt::AlignCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

QString GridColumn::numberFormat() const
{
    if (!m_numberFormat.isEmpty())
        return m_numberFormat;
    return m_kind == Money ? QStringLiteral("###,##0.00") : QStringLiteral("###,###");
}

GridColumn &GridColumn::setCaption(const QString &caption)
{
    m_caption = caption;
    changed();
    return *this;
}

GridColumn &GridColumn::setWidth(int width)
{
    m_width = width;
    changed();
    return *this;
}

GridColumn &GridColumn::setAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    changed();
    return *this;
}

GridColumn &GridColumn::setHeaderAlignment(Qt::Alignment alignment)
{
    m_headerAlignment = alignment;
    changed();
    return *this;
}

GridColumn &GridColumn::setVisible(bool visible)
{
    m_visible = visible;
    changed();
    return *this;
}

GridColumn &GridColumn::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    changed();
    return *this;
}

GridColumn &GridColumn::setDisplayKind(DisplayKind kind)
{
    m_kind = kind;
    changed();
    return *this;
}

GridColumn &GridColumn::setNumberFormat(const QString &pattern)
{
    m_numberFormat = pattern;
    changed();
    return *this;
}

GridColumn &GridColumn::setPickList(const QStringList &items)
{
    m_pickList = items;
    changed();
    return *this;
}

GridColumn &GridColumn::setFooterSum(const QString &pattern)
{
    m_hasFooterSum = true;
    m_footerFormat = pattern;
    changed();
    return *this;
}

GridColumn &GridColumn::clearFooterSum()
{
    m_hasFooterSum = false;
    m_footerFormat.clear();
    changed();
    return *this;
}

QString GridColumn::emptyMoneyText()
{
    return QStringLiteral("<请输入金额>");
}

QString GridColumn::displayText(const QVariant &value, const QString &datasetText) const
{
    const bool empty = !value.isValid() || value.isNull();
    switch (m_kind) {
    case Text:
        return datasetText;
    case CheckMark:
        return QString(); // painted as a mark
    case Money:
        return empty ? emptyMoneyText() : formatNumber(value.toDouble(), numberFormat());
    case Integer:
        return empty ? QString() : formatNumber(value.toDouble(), numberFormat());
    case Date:
        if (empty)
            return QString();
        return (value.typeId() == QMetaType::QDateTime ? value.toDateTime().date() : value.toDate())
            .toString(QStringLiteral("yyyy-MM-dd"));
    case Time:
        if (empty)
            return QString();
        return (value.typeId() == QMetaType::QDateTime ? value.toDateTime().time() : value.toTime())
            .toString(QStringLiteral("HH:mm"));
    }
    return datasetText;
}

void GridColumn::changed()
{
    if (m_grid)
        m_grid->columnChanged(*this);
}
