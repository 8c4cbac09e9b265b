#pragma once

#include <QDialog>

class DataGrid;
class QButtonGroup;
class QGroupBox;
class QKeyEvent;
class QLabel;

// The category lists of the editors' drop-downs (the Sort table), one
// category at a time; a value of no use is deleted with the Delete key, and
// the drop-downs stop offering it at once. F5 reads the values again.
class TSortSetForm : public QDialog
{
    Q_OBJECT
public:
    explicit TSortSetForm(QWidget *parent = nullptr);
    ~TSortSetForm() override;

    // The categories as the editors write them into Sorts, in the order of the options.
    static const QStringList &categories();

    QGroupBox *RzRadioGroup1; // "更改设置类别"
    QButtonGroup *options;    // one option per category, ids 0 to 3
    DataGrid *grid;           // "项目"
    QLabel *note;

    int categoryIndex() const;
    // Chooses an option, as a click on it does.
    void selectCategory(int index);

    void FormCreate();
    // Shows the values of the category of option `index`; the change is always allowed.
    void RzRadioGroup1Changing(int index);
    // True when the key was taken.
    bool FormKeyDown(QKeyEvent *event);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
};

extern TSortSetForm *SortSetForm;
