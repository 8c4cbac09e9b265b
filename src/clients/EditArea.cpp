#include "EditArea.h"

#include "DM.h"
#include "DataGrid.h"
#include "GridCellDelegate.h"
#include "GridView.h"
#include "Guard.h"
#include "RegionRecords.h"

#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

using data::Dataset;

TEditAreaForm *EditAreaForm = nullptr;

namespace {

const QString kQuestion = QStringLiteral("您确定要放弃对区域设置的修改吗？");

struct ButtonLook
{
    QStyle::StandardPixmap picture;
    const char *hint;
};

// Edit, add, save and delete, for each side.
const ButtonLook kRegionButtons[] = {
    {QStyle::SP_FileDialogDetailedView, "编辑"},
    {QStyle::SP_FileDialogNewFolder, "添加所属区域"},
    {QStyle::SP_DialogSaveButton, "保存对所属区域的修改"},
    {QStyle::SP_TrashIcon, "删除当前所属区域"},
};
const ButtonLook kAreaButtons[] = {
    {QStyle::SP_FileDialogDetailedView, "编辑"},
    {QStyle::SP_FileDialogNewFolder, "添加地区名称"},
    {QStyle::SP_DialogSaveButton, "保存对地区名称的修改"},
    {QStyle::SP_TrashIcon, "删除当前地区名称"},
};

DataGrid *newGrid(data::DataSource *source, const QString &field, QWidget *parent)
{
    auto *grid = new DataGrid(source, parent);
    grid->addColumn(field, field, 150);
    grid->setLastColumnFillsWidth(true);
    grid->setRowIndicatorVisible(true);
    grid->setSortingEnabled(false);
    return grid;
}

// Drops what the current cell's editor holds, so that locking the grid
// afterwards does not write it back into the row.
void dropTyped(DataGrid *grid)
{
    GridView *view = grid->view();
    const QModelIndex current = view->currentIndex();
    auto *delegate = qobject_cast<GridCellDelegate *>(view->itemDelegate());
    if (QWidget *editor = current.isValid() ? view->indexWidget(current) : nullptr; editor && delegate)
        delegate->revertEditor(editor, current);
}

} // namespace

TEditAreaForm::TEditAreaForm(QWidget *parent)
    : EditorDialog(DM1->ADOTable1, {kQuestion}, parent)
{
    EditAreaForm = this;
    setObjectName(QStringLiteral("EditAreaForm"));
    setWindowTitle(QStringLiteral("销售区域设置"));

    auto *box = new QGroupBox(QStringLiteral("区域信息"), this);
    regionGrid = newGrid(DM1->DataSource9, QStringLiteral("所属区域"), box);
    areaGrid = newGrid(DM1->DataSource3, QStringLiteral("地区名称"), box);
    regionGrid->setObjectName(QStringLiteral("regionGrid"));
    areaGrid->setObjectName(QStringLiteral("areaGrid"));

    auto *left = new QVBoxLayout;
    left->addWidget(regionGrid);
    addButtons(1, left);
    auto *line = new QFrame(box);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    auto *right = new QVBoxLayout;
    right->addWidget(areaGrid);
    addButtons(5, right);
    auto *sides = new QHBoxLayout(box);
    sides->addLayout(left);
    sides->addWidget(line);
    sides->addLayout(right);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(box);
    setFixedSize(430, 330);

    // The Delete key of a grid is its side's delete command, so that a region
    // never goes without its areas.
    const auto deleteKey = [this](DataGrid *grid, int code) {
        grid->view()->setDeleteKeyTaken(true);
        connect(grid->view(), &GridView::deleteKeyPressed, this, [this, code] { RzBitBtn1Click(code); });
    };
    deleteKey(regionGrid, 4);
    deleteKey(areaGrid, 8);

    EditDBGrid(areaGrid, false, 2);
    EditDBGrid(regionGrid, false, 1);
}

void TEditAreaForm::addButtons(int firstCode, QBoxLayout *layout)
{
    const ButtonLook *looks = firstCode == 1 ? kRegionButtons : kAreaButtons;
    auto *row = new QHBoxLayout;
    for (int i = 0; i < 4; ++i) {
        const int code = firstCode + i;
        auto *b = new QPushButton(this);
        b->setIcon(style()->standardIcon(looks[i].picture));
        b->setToolTip(QString::fromUtf8(looks[i].hint));
        b->setAutoDefault(false);
        b->setObjectName(QStringLiteral("RzBitBtn%1").arg(code));
        connect(b, &QPushButton::clicked, this, [this, code] { RzBitBtn1Click(code); });
        m_buttons.at(size_t(code - 1)) = b;
        row->addWidget(b);
    }
    row->addStretch();
    layout->addLayout(row);
}

bool TEditAreaForm::isUnlocked(int side) const
{
    return !(side == 1 ? regionGrid : areaGrid)->isReadOnly();
}

void TEditAreaForm::RzBitBtn1Click(int code)
{
    guarded([this, code] { EditAreas(code); });
}

void TEditAreaForm::EditAreas(int code)
{
    switch (code) {
    case 1:
        EditDBGrid(regionGrid, true, 1);
        break;
    case 2:
        append(regionGrid);
        break;
    case 3:
        save(regionGrid, 1);
        break;
    case 4:
        deleteRegion();
        break;
    case 5:
        EditDBGrid(areaGrid, true, 2);
        break;
    case 6:
        // An area is filed under a stored region: a new region is written
        // first (an untouched one dropped), and without any region nothing is added.
        DM1->ADOTable1->checkBrowseMode();
        if (!DM1->ADOTable1->isEmpty())
            append(areaGrid);
        break;
    case 7:
        save(areaGrid, 2);
        break;
    case 8:
        deleteArea();
        break;
    default:
        break;
    }
}

void TEditAreaForm::EditDBGrid(DataGrid *grid, bool unlocked, int side)
{
    const int firstCode = side == 1 ? 2 : 6;
    for (int code = firstCode; code < firstCode + 3; ++code)
        button(code)->setEnabled(unlocked);
    grid->setReadOnly(!unlocked);
}

void TEditAreaForm::append(DataGrid *grid)
{
    grid->dataset()->append();
    // The new row's cell takes the typing at once.
    GridView *view = grid->view();
    if (QWidget *editor = view->indexWidget(view->currentIndex()))
        editor->setFocus(Qt::OtherFocusReason);
    else
        view->setFocus(Qt::OtherFocusReason);
}

void TEditAreaForm::save(DataGrid *grid, int side)
{
    Dataset *d = grid->dataset();
    if (d->isEditing()) {
        // A refused row is reported by the data module and ends the command here.
        d->updateBatch();
        d->requery();
        if (d == DM1->ADODataSet3)
            DM1->UpdateAreaList();
    }
    EditDBGrid(grid, false, side);
}

void TEditAreaForm::deleteRegion()
{
    if (DM1->ADOTable1->isEmpty()) {
        showMessage(QStringLiteral("错误"), QStringLiteral("没有找到可删除的记录！"), MessageIcon::Warning);
        return;
    }
    if (showMessage(QStringLiteral("询问"), QStringLiteral("您确定要删除这条记录吗？这将会使相应的区域信息被删除！"),
                    MessageIcon::Question, MessageButton::Yes | MessageButton::No)
        != MessageButton::Yes)
        return;
    deleteCurrentRegion();
}

void TEditAreaForm::deleteArea()
{
    if (showMessage(QStringLiteral("询问"), QStringLiteral("您确定要删除这条记录吗？"), MessageIcon::Question,
                    MessageButton::Yes | MessageButton::No)
        != MessageButton::Yes)
        return;
    Dataset *areas = DM1->ADODataSet3;
    if (areas->isEmpty()) {
        showMessage(QStringLiteral("错误"), QStringLiteral("没有找到可删除的记录！"), MessageIcon::Warning);
        return;
    }
    areas->deleteRow();
    DM1->UpdateAreaList();
}

bool TEditAreaForm::FormCloseQuery()
{
    if (!DM1->ADOTable1->isEditing() && !DM1->ADODataSet3->isEditing())
        return true;
    return showMessage(QStringLiteral("询问"), kQuestion, MessageIcon::Question, MessageButton::Yes | MessageButton::No)
        == MessageButton::Yes;
}

void TEditAreaForm::FormClose()
{
    dropTyped(areaGrid);
    DM1->ADODataSet3->cancel();
    dropTyped(regionGrid);
    DM1->ADOTable1->cancel();
    EditDBGrid(areaGrid, false, 2);
    EditDBGrid(regionGrid, false, 1);
    DM1->ADODataSet3->requery();
}
