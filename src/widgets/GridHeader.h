#pragma once

#include <QHeaderView>

// The column header of a DataGrid. Besides clicks (sorting) and resizing, a
// column title can be dragged out of the header, down or up, to group the
// grid by that column on its grouping panel. The drag carries the column's
// field as columnMimeData().
class QMimeData;

class GridHeader : public QHeaderView
{
    Q_OBJECT
public:
    explicit GridHeader(QWidget *parent = nullptr);

    // What a column drag carries: the field, and which header it came from,
    // so that a grouping panel takes the titles of its own grid only.
    QMimeData *columnMimeData(int section) const;
    // The field a drag carries when it came from `header`; empty otherwise.
    static QString draggedField(const QMimeData *mime, const GridHeader *header);

    void setColumnDragEnabled(bool enabled) { m_dragEnabled = enabled; }
    bool isColumnDragEnabled() const { return m_dragEnabled; }

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void startColumnDrag(int section);
    void forgetPress();

    bool m_dragEnabled = false;
    int m_pressedSection = -1;
    QPoint m_pressPos;
};
