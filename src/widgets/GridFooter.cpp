#include "GridFooter.h"

#include "GridColumn.h"
#include "GridView.h"
#include "GroupingModel.h"
#include "NumberFormat.h"

#include <QHeaderView>
#include <QPainter>

GridFooter::GridFooter(GridView *view, QWidget *parent)
    : QWidget(parent)
    , m_view(view)
{
    setObjectName(QStringLiteral("gridFooter"));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
}

GroupingModel *GridFooter::model() const
{
    return m_view ? m_view->gridModel() : nullptr;
}

QString GridFooter::textOf(int column) const
{
    const GroupingModel *m = model();
    const GridColumn *g = m ? m->gridColumn(column) : nullptr;
    if (!g || !g->hasFooterSum() || m->sourceColumn(column) < 0)
        return QString();
    return formatNumber(m->total(column), g->footerFormat());
}

QSize GridFooter::sizeHint() const
{
    return QSize(100, fontMetrics().height() + 8);
}

void GridFooter::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(rect().topLeft(), rect().topRight());
    const GroupingModel *m = model();
    if (!m || !m_view)
        return;
    const QHeaderView *header = m_view->header();
    const QWidget *viewport = m_view->viewport();
    painter.setPen(palette().color(QPalette::ButtonText));
    for (int column = 0; column < m->columnCount(); ++column) {
        const QString text = textOf(column);
        if (text.isEmpty() || header->isSectionHidden(column))
            continue;
        const QPoint left = mapFromGlobal(
            viewport->mapToGlobal(QPoint(header->sectionViewportPosition(column), 0)));
        const QRect cell(left.x() + 3, 0, header->sectionSize(column) - 6, height());
        const Qt::Alignment horizontal =
            m->gridColumn(column)->alignment() & Qt::AlignHorizontal_Mask;
        painter.drawText(cell, int(horizontal | Qt::AlignVCenter), text);
    }
}
