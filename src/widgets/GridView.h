#pragma once

#include <QTreeView>

class GroupingModel;

// The view inside a DataGrid: a tree view over a GroupingModel that draws a
// group row across the whole width (its expand arrow, then the group's text)
// instead of cell by cell, and shows the grid's tooltip over every cell.
class GridView : public QTreeView
{
    Q_OBJECT
public:
    explicit GridView(QWidget *parent = nullptr);

    GroupingModel *gridModel() const;
    // Puts the expand arrows into the first visible column; call after
    // columns are shown, hidden or moved.
    void updateTreePosition();
    // Whether the Delete key on the view is taken (deleteKeyPressed) or left to others.
    void setDeleteKeyTaken(bool taken) { m_deleteKeyTaken = taken; }
    // The rectangle of a row across the viewport (empty when the row is not laid out).
    QRect rowRect(const QModelIndex &index) const;

signals:
    // Keys on the view itself (not inside a cell editor), on a data row.
    void deleteKeyPressed();
    void enterPressed();
    void escapePressed();
    // The contents scrolled or were laid out again: overlays follow.
    void viewChanged();

protected:
    void drawRow(QPainter *painter, const QStyleOptionViewItem &option,
                 const QModelIndex &index) const override;
    void keyPressEvent(QKeyEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void updateGeometries() override;

private:
    bool m_deleteKeyTaken = false;
};
