#include "RowIndicator.h"

#include "GridView.h"
#include "GroupingModel.h"

#include <QHeaderView>
#include <QPainter>
#include <QPainterPath>

RowIndicator::RowIndicator(GridView *view, QWidget *parent)
    : QWidget(parent)
    , m_view(view)
{
    setObjectName(QStringLiteral("rowIndicator"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
}

RowIndicator::Mark RowIndicator::markOf(int position) const
{
    const GroupingModel *model = m_view ? m_view->gridModel() : nullptr;
    const data::Dataset *dataset = model ? model->dataset() : nullptr;
    if (!dataset || !dataset->isActive() || position < 0 || position != dataset->recNo())
        return NoMark;
    switch (dataset->state()) {
    case data::DatasetState::Edit:
        return Editing;
    case data::DatasetState::Insert:
        return Inserting;
    default:
        return Current;
    }
}

QSize RowIndicator::sizeHint() const
{
    return QSize(14, 100);
}

void RowIndicator::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(rect().topRight(), rect().bottomRight());
    const GroupingModel *model = m_view ? m_view->gridModel() : nullptr;
    const data::Dataset *dataset = model ? model->dataset() : nullptr;
    if (!dataset || !m_view)
        return;
    const int position = dataset->recNo();
    const Mark mark = markOf(position);
    const QRect row = m_view->visualRect(model->indexOfPosition(position, 0));
    if (mark == NoMark || !row.isValid())
        return;
    const QWidget *viewport = m_view->viewport();
    const int top = mapFromGlobal(viewport->mapToGlobal(QPoint(0, row.top()))).y();
    const int viewportTop = mapFromGlobal(viewport->mapToGlobal(QPoint(0, 0))).y();
    const int viewportBottom = viewportTop + viewport->height();
    if (top + row.height() <= viewportTop || top >= viewportBottom)
        return;
    painter.setClipRect(QRect(0, viewportTop, width(), viewport->height()));

    const QRect cell(0, top, width() - 1, row.height());
    const QPointF centre = QRectF(cell).center();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette().color(QPalette::ButtonText), 1.2));
    painter.setBrush(palette().color(QPalette::ButtonText));
    const qreal half = qMin(cell.width(), cell.height()) / 4.0;
    switch (mark) {
    case Current: {
        QPainterPath arrow;
        arrow.moveTo(centre.x() - half * 0.7, centre.y() - half);
        arrow.lineTo(centre.x() + half * 0.9, centre.y());
        arrow.lineTo(centre.x() - half * 0.7, centre.y() + half);
        arrow.closeSubpath();
        painter.drawPath(arrow);
        break;
    }
    case Editing:
        painter.drawLine(QPointF(centre.x(), centre.y() - half),
                         QPointF(centre.x(), centre.y() + half));
        painter.drawLine(QPointF(centre.x() - half / 2, centre.y() - half),
                         QPointF(centre.x() + half / 2, centre.y() - half));
        painter.drawLine(QPointF(centre.x() - half / 2, centre.y() + half),
                         QPointF(centre.x() + half / 2, centre.y() + half));
        break;
    case Inserting:
        for (int i = 0; i < 3; ++i) {
            painter.save();
            painter.translate(centre);
            painter.rotate(60.0 * i);
            painter.drawLine(QPointF(0, -half), QPointF(0, half));
            painter.restore();
        }
        break;
    case NoMark:
        break;
    }
}
