#pragma once

#include "EditorDialog.h"

#include <array>

class DataGrid;
class QBoxLayout;
class QPushButton;

// The sales regions: the regions (ADOTable1) on the left and the areas of the
// current region (ADODataSet3) on the right, each edited in place in its grid
// once the side's "编辑" button unlocks it. Every button passes its command
// code to EditAreas: 1 to 4 on the region side, 5 to 8 on the area side.
class TEditAreaForm : public EditorDialog
{
    Q_OBJECT
public:
    explicit TEditAreaForm(QWidget *parent = nullptr);

    DataGrid *regionGrid; // 所属区域
    DataGrid *areaGrid;   // 地区名称

    // The picture button of a command code (1 to 8).
    QPushButton *button(int code) const { return m_buttons.at(size_t(code - 1)); }
    // Whether a side (1 regions, 2 areas) is unlocked for editing.
    bool isUnlocked(int side) const;

    void RzBitBtn1Click(int code);
    void EditAreas(int code);
    // Enables the add, save and delete buttons of the side and puts its grid
    // into the unlocked (editing) or locked (browsing) mode.
    void EditDBGrid(DataGrid *grid, bool unlocked, int side);

    bool FormCloseQuery() override;
    void FormClose() override;

private:
    void addButtons(int firstCode, QBoxLayout *layout);
    void append(DataGrid *grid);
    void save(DataGrid *grid, int side);
    void deleteRegion();
    void deleteArea();

    std::array<QPushButton *, 8> m_buttons{};
};

extern TEditAreaForm *EditAreaForm;
