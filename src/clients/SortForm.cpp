#include "SortForm.h"

#include "DM.h"
#include "DataGrid.h"
#include "Guard.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QRadioButton>
#include <QScopeGuard>
#include <QVBoxLayout>

using data::Dataset;

TSortSetForm *SortSetForm = nullptr;

TSortSetForm::TSortSetForm(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint)
{
    SortSetForm = this;
    setObjectName(QStringLiteral("SortSetForm"));
    setWindowTitle(QStringLiteral("数据库类别维护"));

    RzRadioGroup1 = new QGroupBox(QStringLiteral("更改设置类别"), this);
    options = new QButtonGroup(this);
    auto *choices = new QVBoxLayout;
    for (int i = 0; i < categories().size(); ++i) {
        auto *option = new QRadioButton(categories().at(i), RzRadioGroup1);
        options->addButton(option, i);
        choices->addWidget(option);
    }
    choices->addStretch();

    grid = new DataGrid(DM1->SortData, RzRadioGroup1);
    grid->setObjectName(QStringLiteral("grid"));
    grid->addColumn(QStringLiteral("Items"), QStringLiteral("项目"), 200);
    grid->setLastColumnFillsWidth(true);
    grid->setReadOnly(true);
    grid->setRowIndicatorVisible(true);
    grid->setDeleteKeyConfirmed(true);

    note = new QLabel(QStringLiteral("    本类数据是您在输入相应的内容时自动添加的的，目的是为\n"
                                     "了方便您可以不用重复输入相同的数据。如果您觉得哪个项目类\n"
                                     "别没有什么用处时，可以将其选中后，按下“DEL”键将其删除。"),
                      RzRadioGroup1);
    note->setStyleSheet(QStringLiteral("color: navy;"));

    auto *upper = new QHBoxLayout;
    upper->addLayout(choices);
    upper->addWidget(grid, 1);
    auto *inner = new QVBoxLayout(RzRadioGroup1);
    inner->addLayout(upper, 1);
    inner->addWidget(note);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(RzRadioGroup1);
    setFixedSize(460, 340);

    connect(options, &QButtonGroup::idClicked, this, [this](int index) { RzRadioGroup1Changing(index); });
    // A value deleted here is no longer offered by the editors' drop-downs.
    DM1->ADOSort->afterDelete = [](Dataset &) { DM1->LoadSortData(); };
    FormCreate();
}

TSortSetForm::~TSortSetForm()
{
    if (DM1)
        DM1->ADOSort->afterDelete = nullptr;
    if (SortSetForm == this)
        SortSetForm = nullptr;
}

const QStringList &TSortSetForm::categories()
{
    static const QStringList names = {QStringLiteral("客户类型"), QStringLiteral("部门设置"),
                                      QStringLiteral("职务设置"), QStringLiteral("联系方式")};
    return names;
}

int TSortSetForm::categoryIndex() const
{
    return options->checkedId();
}

void TSortSetForm::selectCategory(int index)
{
    if (QAbstractButton *option = options->button(index)) {
        option->setChecked(true);
        RzRadioGroup1Changing(index);
    }
}

void TSortSetForm::FormCreate()
{
    selectCategory(0);
}

void TSortSetForm::RzRadioGroup1Changing(int index)
{
    if (index < 0 || index >= categories().size())
        return;
    Dataset *sort = DM1->ADOSort;
    try {
        sort->setFiltered(false);
        sort->disableControls();
        const auto showAgain = qScopeGuard([sort] { sort->enableControls(); });
        sort->setFilter({{QStringLiteral("Sorts"), categories().at(index)}});
        sort->setFiltered(true);
    } catch (const std::exception &) {
        // The grid keeps what it showed.
    }
}

bool TSortSetForm::FormKeyDown(QKeyEvent *event)
{
    if (event->key() != Qt::Key_F5 || event->modifiers() != Qt::NoModifier)
        return false;
    guarded([] { DM1->ADOSort->requery(); });
    return true;
}

bool TSortSetForm::eventFilter(QObject *watched, QEvent *event)
{
    // The window sees every key before its controls do.
    if (event->type() == QEvent::KeyPress) {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && (widget == this || isAncestorOf(widget)) && FormKeyDown(static_cast<QKeyEvent *>(event)))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TSortSetForm::showEvent(QShowEvent *event)
{
    qApp->installEventFilter(this);
    QDialog::showEvent(event);
}

void TSortSetForm::hideEvent(QHideEvent *event)
{
    qApp->removeEventFilter(this);
    QDialog::hideEvent(event);
}
