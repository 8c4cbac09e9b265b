#include "CellEditing.h"

#include "GridCellDelegate.h"
#include "GridView.h"
#include "GroupingModel.h"
#include "Guard.h"

#include <QApplication>
#include <QHeaderView>

CellEditing::CellEditing(GridView *view, GridCellDelegate *delegate, QObject *parent)
    : QObject(parent)
    , m_view(view)
    , m_delegate(delegate)
{
    connect(delegate, &GridCellDelegate::editingStarted, this, &CellEditing::editingStarted);
    connect(delegate, &GridCellDelegate::submitRequested, this, [this] { submit(); });
    connect(delegate, &GridCellDelegate::cancelRequested, this, &CellEditing::cancel);
    connect(delegate, &GridCellDelegate::stepRequested, this,
            [this](QWidget *, bool backwards) { step(backwards); });
    connect(view, &GridView::enterPressed, this, [this] {
        if (m_enabled)
            submit();
    });
    connect(view, &GridView::escapePressed, this, [this] {
        if (m_enabled)
            cancel(nullptr);
    });
}

void CellEditing::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    if (enabled)
        open(m_view->currentIndex(), focusInView());
    else
        commitAndClose(m_view->currentIndex());
}

bool CellEditing::focusInView() const
{
    const QWidget *focused = QApplication::focusWidget();
    return focused && (focused == m_view || m_view->isAncestorOf(focused));
}

void CellEditing::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    if (!m_enabled)
        return;
    const bool focus = focusInView();
    commitAndClose(previous);
    open(current, focus);
}

void CellEditing::reopen()
{
    if (!m_enabled)
        return;
    const QModelIndex current = m_view->currentIndex();
    const bool focus = focusInView();
    commitAndClose(current);
    open(current, focus);
}

void CellEditing::commitAndClose(const QModelIndex &index)
{
    if (!index.isValid() || !m_view->isPersistentEditorOpen(index))
        return;
    if (QWidget *editor = m_view->indexWidget(index)) {
        const QWidget *focused = QApplication::focusWidget();
        const bool hadFocus = focused && (focused == editor || editor->isAncestorOf(focused));
        if (GridCellDelegate::isModified(editor))
            m_delegate->setModelData(editor, m_view->model(), index);
        // The view takes the focus first, so that closing the editor does not
        // send it out of the grid (which would drop an untouched new row).
        if (hadFocus)
            m_view->setFocus(Qt::OtherFocusReason);
    }
    m_view->closePersistentEditor(index);
}

void CellEditing::open(const QModelIndex &index, bool focus)
{
    if (!m_enabled || !index.isValid() || !(index.flags() & Qt::ItemIsEditable))
        return;
    m_view->openPersistentEditor(index);
    if (QWidget *editor = m_view->indexWidget(index); editor && focus)
        editor->setFocus(Qt::OtherFocusReason);
}

void CellEditing::editingStarted(QWidget *editor)
{
    const GroupingModel *model = m_view->gridModel();
    data::Dataset *dataset = model ? model->dataset() : nullptr;
    const QModelIndex current = m_view->currentIndex();
    const int position = model ? model->positionOf(current) : -1;
    if (!dataset || position < 0)
        return;
    bool started = false;
    guarded([&] {
        if (dataset->recNo() != position)
            dataset->moveTo(position);
        dataset->edit();
        started = true;
    });
    // A row that cannot be edited (a read-only dataset) takes back the keystroke.
    if (!started && m_view->indexWidget(current) == editor)
        m_delegate->revertEditor(editor, current);
}

void CellEditing::submit()
{
    const GroupingModel *model = m_view->gridModel();
    if (data::Dataset *dataset = model ? model->dataset() : nullptr)
        guarded([dataset] { dataset->checkBrowseMode(); });
}

void CellEditing::cancel(QWidget *editor)
{
    const GroupingModel *model = m_view->gridModel();
    if (data::Dataset *dataset = model ? model->dataset() : nullptr)
        guarded([dataset] { dataset->cancel(); });
    // The editor holds what the user typed; show the row as it is again. (A
    // cancelled new row is gone, and its editor with it.)
    const QModelIndex current = m_view->currentIndex();
    if (editor && current.isValid() && m_view->indexWidget(current) == editor)
        m_delegate->revertEditor(editor, current);
}

void CellEditing::step(bool backwards)
{
    const GroupingModel *model = m_view->gridModel();
    const QModelIndex current = m_view->currentIndex();
    if (!model || !current.isValid())
        return;
    const QHeaderView *header = m_view->header();
    QList<int> columns;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (!header->isSectionHidden(logical))
            columns << logical;
    }
    if (columns.isEmpty())
        return;
    const int at = int(columns.indexOf(current.column())) + (backwards ? -1 : 1);
    QModelIndex target;
    if (at >= 0 && at < columns.size())
        target = current.siblingAtColumn(columns.at(at));
    else
        target = model->indexOfPosition(model->positionOf(current) + (backwards ? -1 : 1),
                                        backwards ? columns.last() : columns.first());
    if (target.isValid())
        m_view->setCurrentIndex(target);
}
