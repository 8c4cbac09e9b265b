#pragma once

#include <QObject>
#include <QPointer>

class GridCellDelegate;
class GridView;
class QModelIndex;

// In-place editing of a DataGrid: the current cell always shows its editor
// (a persistent editor that moves with the current cell, keeping the focus
// inside the grid), the first change puts the dataset into edit, Enter posts
// through the dataset's browse-mode check, Esc cancels the pending change,
// Tab moves to the next cell (and row). Values reach the dataset through the
// model's setData when a cell is left.
class CellEditing : public QObject
{
    Q_OBJECT
public:
    CellEditing(GridView *view, GridCellDelegate *delegate, QObject *parent = nullptr);

    // Off: what was typed goes to the dataset, and the editor closes.
    void setEnabled(bool enabled);
    bool isEnabled() const { return m_enabled; }

    // The view's current cell moved: commit the old editor, open the new one.
    void currentChanged(const QModelIndex &current, const QModelIndex &previous);
    // The current cell's editor anew (its column changed kind or pick list).
    void reopen();

private:
    bool focusInView() const;
    void open(const QModelIndex &index, bool focus);
    void commitAndClose(const QModelIndex &index);
    void editingStarted(QWidget *editor);
    void submit();
    void cancel(QWidget *editor);
    void step(bool backwards);

    QPointer<GridView> m_view;
    GridCellDelegate *m_delegate;
    bool m_enabled = false;
};
