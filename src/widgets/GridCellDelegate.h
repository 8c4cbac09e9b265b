#pragma once

#include <QStyledItemDelegate>

// Paints and edits the cells of a DataGrid by the kind of their GridColumn:
// check marks centred (toggled by a click or the space bar when editable),
// "<请输入金额>" in empty money cells, and an editor to match the column: a
// combo box for a pick list, date and time boxes, a spin box for whole
// numbers, a line edit otherwise.
//
// Editors hold what the user typed until the cell is left (another cell or
// row, Enter, Tab, focus elsewhere); only then does the value go to the
// dataset, so a half-typed number never raises a conversion error. The first
// change the user makes is announced (editingStarted) so that the dataset
// enters edit at once, as the data-aware controls do. An editor the user did
// not change commits nothing: an untouched new row stays untouched; and
// while the user is typing, a change of the row (the view passes every one
// on to its editors) does not overwrite the editor.
class GridCellDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit GridCellDelegate(QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;
    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) override;

    // Whether the user changed the editor since it last showed the model's value.
    static bool isModified(const QWidget *editor);
    // Shows the model's value again, dropping what the user typed.
    void revertEditor(QWidget *editor, const QModelIndex &index) const;

signals:
    void editingStarted(QWidget *editor);
    // Enter: the editor's value was committed; the row should be posted.
    void submitRequested(QWidget *editor);
    // Esc: the row's pending change should be cancelled.
    void cancelRequested(QWidget *editor);
    // Tab / Shift+Tab: the value was committed; move to the next or previous cell.
    void stepRequested(QWidget *editor, bool backwards);

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    void watchChanges(QWidget *editor) const;
    void markModified(QWidget *editor) const;
};
