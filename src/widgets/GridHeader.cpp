#include "GridHeader.h"

#include "GroupingModel.h"

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

namespace {

// A press this close to a section's edge starts a resize, never a drag.
constexpr int ResizeMargin = 5;

} // namespace

GridHeader::GridHeader(QWidget *parent)
    : QHeaderView(Qt::Horizontal, parent)
{
    setHighlightSections(false);
}

namespace {

QString fieldFormat()
{
    return QStringLiteral("application/x-lumora-grid-column");
}

QString headerFormat()
{
    return QStringLiteral("application/x-lumora-grid-header");
}

QByteArray identity(const GridHeader *header)
{
    return QByteArray::number(quintptr(header), 16);
}

} // namespace

QMimeData *GridHeader::columnMimeData(int section) const
{
    const auto *grid = qobject_cast<const GroupingModel *>(model());
    const QString field = grid ? grid->fieldOf(section) : QString();
    if (field.isEmpty())
        return nullptr;
    auto *mime = new QMimeData;
    mime->setData(fieldFormat(), field.toUtf8());
    mime->setData(headerFormat(), identity(this));
    mime->setText(model()->headerData(section, Qt::Horizontal).toString());
    return mime;
}

QString GridHeader::draggedField(const QMimeData *mime, const GridHeader *header)
{
    if (!mime || !header || mime->data(headerFormat()) != identity(header))
        return QString();
    return QString::fromUtf8(mime->data(fieldFormat()));
}

void GridHeader::mousePressEvent(QMouseEvent *event)
{
    m_pressedSection = -1;
    if (m_dragEnabled && event->button() == Qt::LeftButton) {
        const QPoint pos = event->position().toPoint();
        const int section = logicalIndexAt(pos);
        if (section >= 0) {
            const int left = sectionViewportPosition(section);
            const int right = left + sectionSize(section);
            if (pos.x() > left + ResizeMargin && pos.x() < right - ResizeMargin) {
                m_pressedSection = section;
                m_pressPos = pos;
            }
        }
    }
    QHeaderView::mousePressEvent(event);
}

void GridHeader::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (m_pressedSection >= 0 && (event->buttons() & Qt::LeftButton) &&
        (pos - m_pressPos).manhattanLength() >= QApplication::startDragDistance() &&
        (pos.y() < 0 || pos.y() >= height())) {
        const int section = m_pressedSection;
        forgetPress();
        startColumnDrag(section);
        return;
    }
    QHeaderView::mouseMoveEvent(event);
}

void GridHeader::startColumnDrag(int section)
{
    QMimeData *mime = columnMimeData(section);
    if (!mime)
        return;

    const QRect rect(0, 0, sectionSize(section), height());
    QPixmap picture(rect.size() * devicePixelRatioF());
    picture.setDevicePixelRatio(devicePixelRatioF());
    picture.fill(Qt::transparent);
    {
        QPainter painter(&picture);
        paintSection(&painter, rect, section);
    }
    auto *drag = new QDrag(this);
    drag->setMimeData(mime);
    drag->setPixmap(picture);
    drag->exec(Qt::MoveAction);
}

void GridHeader::forgetPress()
{
    m_pressedSection = -1;
    // The drag eats the release; end the header's own press outside every
    // section, so that it neither clicks (sorts) nor keeps the section down.
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(-10000, -10000),
                        QPointF(-10000, -10000), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QHeaderView::mouseReleaseEvent(&release);
}
