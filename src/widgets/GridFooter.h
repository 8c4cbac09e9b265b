#pragma once

#include <QPointer>
#include <QWidget>

class GridView;
class GroupingModel;

// The line under a DataGrid holding, under each column that has a footer
// sum, the column's sum over the rows shown, formatted by its pattern. It
// follows the header: widths, order, hidden columns and horizontal scrolling.
class GridFooter : public QWidget
{
    Q_OBJECT
public:
    explicit GridFooter(GridView *view, QWidget *parent = nullptr);

    // The text under a column of the model; empty when it has no sum.
    QString textOf(int column) const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    GroupingModel *model() const;

    QPointer<GridView> m_view;
};
