#pragma once

#include <QPointer>
#include <QWidget>

class GridView;

// The narrow column at the left of a DataGrid that marks the dataset's
// current row: an arrow while browsing, an I-beam while the row is being
// edited, an asterisk while it is a new row.
class RowIndicator : public QWidget
{
    Q_OBJECT
public:
    enum Mark { NoMark, Current, Editing, Inserting };

    explicit RowIndicator(GridView *view, QWidget *parent = nullptr);

    // The mark shown beside a dataset position.
    Mark markOf(int position) const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPointer<GridView> m_view;
};
