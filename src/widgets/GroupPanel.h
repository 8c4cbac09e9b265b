#pragma once

#include <QFrame>
#include <QPointer>

class GridHeader;
class QLabel;
class QMimeData;
class QToolButton;

// The grouping panel above a DataGrid. Empty, it shows a hint; a column title
// dragged here from the grid's header asks to group by that column. While
// grouped it shows the column's title (click: reverse the group order) with a
// × beside it; the × or dragging the title off the panel asks to ungroup.
class GroupPanel : public QFrame
{
    Q_OBJECT
public:
    explicit GroupPanel(QWidget *parent = nullptr);

    static QString hintText();
    // Titles are taken from this header only.
    void setHeader(GridHeader *header) { m_header = header; }
    // An empty field shows the hint.
    void showGroup(const QString &field, const QString &caption, bool descending);

    QString groupedField() const { return m_field; }
    QToolButton *titleButton() const { return m_title; }
    QToolButton *removeButton() const { return m_remove; }

signals:
    void groupRequested(const QString &field);
    void ungroupRequested();
    void orderToggled();

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    bool accepts(const QMimeData *mime) const;

    QPointer<GridHeader> m_header;
    QLabel *m_hint;
    QToolButton *m_title;
    QToolButton *m_remove;
    QString m_field;
};
