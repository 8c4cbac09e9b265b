#include "GridView.h"

#include "GroupingModel.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QToolTip>

GridView::GridView(QWidget *parent)
    : QTreeView(parent)
{
    // Every row has the height of one line of text; without this the view
    // would ask every row of a large dataset for its size.
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setRootIsDecorated(false);
    setItemsExpandable(true);
    setExpandsOnDoubleClick(true);
    setAnimated(false);
}

GroupingModel *GridView::gridModel() const
{
    return qobject_cast<GroupingModel *>(model());
}

void GridView::updateTreePosition()
{
    QHeaderView *h = header();
    for (int visual = 0; visual < h->count(); ++visual) {
        const int logical = h->logicalIndex(visual);
        if (!h->isSectionHidden(logical)) {
            setTreePosition(logical);
            return;
        }
    }
    setTreePosition(0);
}

QRect GridView::rowRect(const QModelIndex &index) const
{
    const QRect cell = visualRect(index);
    if (!cell.isValid())
        return QRect();
    return QRect(0, cell.top(), viewport()->width(), cell.height());
}

void GridView::drawRow(QPainter *painter, const QStyleOptionViewItem &option,
                       const QModelIndex &index) const
{
    const GroupingModel *model = gridModel();
    if (!model || !model->isGroupRow(index)) {
        QTreeView::drawRow(painter, option, index);
        return;
    }
    const QRect row = option.rect;
    const bool selected = selectionModel() && selectionModel()->isSelected(index);
    const QPalette::ColorGroup group = hasFocus() ? QPalette::Active : QPalette::Inactive;
    painter->save();
    painter->fillRect(row, selected ? palette().brush(group, QPalette::Highlight)
                                    : palette().brush(group, QPalette::AlternateBase));
    const int treeColumn = treePosition() < 0 ? header()->logicalIndex(0) : treePosition();
    const QRect branch(columnViewportPosition(treeColumn), row.top(), indentation(), row.height());
    drawBranches(painter, branch, index);

    QFont bold = font();
    bold.setBold(true);
    painter->setFont(bold);
    painter->setPen(palette().color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    const QRect textRect = row.adjusted(branch.right() + 4, 0, -4, 0);
    const QString text = model->groupText(index.row());
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
                      painter->fontMetrics().elidedText(text, Qt::ElideRight, textRect.width()));
    painter->setPen(palette().color(group, QPalette::Mid));
    painter->drawLine(row.bottomLeft(), row.bottomRight());
    if (currentIndex().isValid() && currentIndex().row() == index.row() &&
        !currentIndex().parent().isValid() && hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = row;
        focus.backgroundColor =
            palette().color(group, selected ? QPalette::Highlight : QPalette::Base);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, this);
    }
    painter->restore();
}

void GridView::keyPressEvent(QKeyEvent *event)
{
    if (m_deleteKeyTaken && event->key() == Qt::Key_Delete &&
        event->modifiers() == Qt::NoModifier) {
        emit deleteKeyPressed();
        event->accept();
        return;
    }
    const GroupingModel *model = gridModel();
    const bool onGroup = model && model->isGroupRow(currentIndex());
    // A read-only grid leaves Enter and Esc to its dialog (default button, close).
    const bool editable = model && model->isEditable();
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        (onGroup || editable)) {
        if (onGroup)
            setExpanded(currentIndex(), !isExpanded(currentIndex()));
        else
            emit enterPressed();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Escape && editable && !onGroup) {
        emit escapePressed();
        event->accept();
        return;
    }
    // Typing on the view of an editable grid goes to the cell's editor, as if it had the focus.
    if (QWidget *editor = indexWidget(currentIndex());
        editor && !event->text().isEmpty() && event->text().at(0).isPrint() &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        editor->setFocus(Qt::OtherFocusReason);
        QWidget *target = editor->focusWidget() ? editor->focusWidget() : editor;
        QCoreApplication::sendEvent(target, event);
        return;
    }
    QTreeView::keyPressEvent(event);
}

bool GridView::viewportEvent(QEvent *event)
{
    // One tooltip for the whole grid, shown over any cell.
    if (event->type() == QEvent::ToolTip && !toolTip().isEmpty()) {
        QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), toolTip(), viewport());
        return true;
    }
    return QTreeView::viewportEvent(event);
}

void GridView::scrollContentsBy(int dx, int dy)
{
    QTreeView::scrollContentsBy(dx, dy);
    emit viewChanged();
}

void GridView::updateGeometries()
{
    QTreeView::updateGeometries();
    emit viewChanged();
}
