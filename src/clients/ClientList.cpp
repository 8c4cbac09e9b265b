#include "ClientList.h"

#include "ClientRecords.h"
#include "CommandMenu.h"
#include "DBMemo.h"
#include "DM.h"
#include "DataGrid.h"
#include "EditClient.h"
#include "Guard.h"
#include "MainWindowServices.h"
#include "Modal.h"
#include "Prompt.h"
#include "Shell.h"

#include <QAction>
#include <QMenu>
#include <QResizeEvent>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

using data::Dataset;

TClientListForm *ClientListForm = nullptr;

namespace {

// Menu codes of the print items, apart from the record commands' codes.
constexpr int kReportCode = 1000;
// The commands of the editors that the program does not have yet.
const QList<int> kUnwiredCodes = {5, 6, 9, 10, 13, 14, 17, 18};

const Qt::Alignment kCentre = Qt::AlignCenter;

void noRecordToDelete()
{
    showMessage(QStringLiteral("错误"), QStringLiteral("没有发现可删除的记录"), MessageIcon::Warning);
}

DataGrid *newGrid(data::DataSource *source, QWidget *parent)
{
    auto *grid = new DataGrid(source, parent);
    grid->setReadOnly(true);
    grid->setRowIndicatorVisible(true);
    grid->setHideSelectionWhenUnfocused(true);
    return grid;
}

} // namespace

TClientListForm::TClientListForm(QWidget *parent)
    : QWidget(parent)
{
    ClientListForm = this;
    setObjectName(QStringLiteral("ClientListForm"));
    setWindowTitle(QStringLiteral("客户列表"));
    buildGrids();
    buildMenus();
    connect(this, &QObject::destroyed, [] { ClientListForm = nullptr; });
}

void TClientListForm::buildGrids()
{
    upperPages = new QTabWidget(this);
    clientGrid = newGrid(DM1->DataSource1, upperPages);
    clientGrid->setGroupPanelVisible(true);
    clientGrid->setToolTip(QStringLiteral("点击右键弹出编辑菜单"));
    clientGrid->addColumn(QStringLiteral("ID"), QStringLiteral("代号"), 70).setAlignment(kCentre);
    clientGrid->addColumn(QStringLiteral("CoName"), QStringLiteral("公司名称"), 200);
    clientGrid->addColumn(QStringLiteral("ClientTier"), QStringLiteral("客户等级"), 80);
    clientGrid->addColumn(QStringLiteral("ClientTypes"), QStringLiteral("客户类型"), 80).setAlignment(kCentre);
    clientGrid->addColumn(QStringLiteral("Address"), QStringLiteral("联系地址"), 200);
    clientGrid->addColumn(QStringLiteral("Postalcode"), QStringLiteral("邮编"), 60);
    clientGrid->addColumn(QStringLiteral("Area"), QStringLiteral("地区"), 60);
    clientGrid->addColumn(QStringLiteral("TEL"), QStringLiteral("联系电话"), 100);
    clientGrid->addColumn(QStringLiteral("FAX"), QStringLiteral("传真"), 100);
    clientGrid->addColumn(QStringLiteral("EMail"), QStringLiteral("电子邮件"), 150);
    clientGrid->addColumn(QStringLiteral("WEBs"), QStringLiteral("主页"), 150);
    upperPages->addTab(clientGrid, QStringLiteral("客户资料"));
    // Sorted by code, then name.
    guarded([] {
        if (DM1->ADODataSet1->isActive())
            DM1->ADODataSet1->setSort(QStringLiteral("ID ASC, CoName ASC"));
    });

    lowerPages = new QTabWidget(this);
    contactGrid = newGrid(DM1->DataSource2, lowerPages);
    contactGrid->addColumn(QStringLiteral("LinkManID"), QStringLiteral("联系人"), 80).setAlignment(kCentre);
    contactGrid->addColumn(QStringLiteral("MostlyLinkMan"), QStringLiteral("主联系人"), 60)
        .setDisplayKind(GridColumn::CheckMark);
    contactGrid->addColumn(QStringLiteral("Duty"), QStringLiteral("职务"), 80);
    contactGrid->addColumn(QStringLiteral("Branch"), QStringLiteral("部门"), 80);
    contactGrid->addColumn(QStringLiteral("Email"), QStringLiteral("电子邮件"), 150);
    contactGrid->addColumn(QStringLiteral("HomeAddress"), QStringLiteral("家庭地址"), 180);
    contactGrid->addColumn(QStringLiteral("OfficeTEL"), QStringLiteral("办公电话"), 100);
    contactGrid->addColumn(QStringLiteral("MobileTEL"), QStringLiteral("手机"), 100);
    contactGrid->addColumn(QStringLiteral("HomeTEL"), QStringLiteral("家庭电话"), 100);
    contactGrid->addColumn(QStringLiteral("FAX"), QStringLiteral("传真"), 100);
    contactGrid->addColumn(QStringLiteral("Birthday"), QStringLiteral("生日"), 80).setDisplayKind(GridColumn::Date);
    contactGrid->addColumn(QStringLiteral("Remark"), QStringLiteral("备注"), 200);

    visitGrid = newGrid(DM1->DataSource4, lowerPages);
    visitGrid->addColumn(QStringLiteral("Dates"), QStringLiteral("日期"), 80)
        .setDisplayKind(GridColumn::Date).setAlignment(kCentre);
    visitGrid->addColumn(QStringLiteral("Times"), QStringLiteral("时间"), 60)
        .setDisplayKind(GridColumn::Time).setAlignment(kCentre);
    visitGrid->addColumn(QStringLiteral("Motif"), QStringLiteral("主题"), 180);
    visitGrid->addColumn(QStringLiteral("RelationMode"), QStringLiteral("联系方式"), 80);
    visitGrid->addColumn(QStringLiteral("Principal"), QStringLiteral("相关联系人"), 80);
    visitGrid->addColumn(QStringLiteral("Personnel"), QStringLiteral("我方人员"), 80);
    visitGrid->addColumn(QStringLiteral("Remark"), QStringLiteral("内容"), 250);

    salesGrid = newGrid(DM1->DataSource6, lowerPages);
    salesGrid->addColumn(QStringLiteral("OrderFormID"), QStringLiteral("订单号"), 120).setAlignment(kCentre);
    salesGrid->addColumn(QStringLiteral("ClientName"), QStringLiteral("客户名称"), 200);
    salesGrid->addColumn(QStringLiteral("SellDate"), QStringLiteral("开单日期"), 90).setDisplayKind(GridColumn::Date);
    salesGrid->addColumn(QStringLiteral("Remark"), QStringLiteral("备注"), 250);

    bespeakGrid = newGrid(DM1->DataSource8, lowerPages);
    bespeakGrid->addColumn(QStringLiteral("Dates"), QStringLiteral("日期"), 80)
        .setDisplayKind(GridColumn::Date).setAlignment(kCentre);
    bespeakGrid->addColumn(QStringLiteral("Times"), QStringLiteral("时间"), 60)
        .setDisplayKind(GridColumn::Time).setAlignment(kCentre);
    bespeakGrid->addColumn(QStringLiteral("ClientName"), QStringLiteral("客户名称"), 200);
    bespeakGrid->addColumn(QStringLiteral("Motif"), QStringLiteral("主题"), 180);
    bespeakGrid->addColumn(QStringLiteral("Principal"), QStringLiteral("联系人"), 80);
    bespeakGrid->addColumn(QStringLiteral("RelationMode"), QStringLiteral("联系方式"), 80);
    bespeakGrid->addColumn(QStringLiteral("Remark"), QStringLiteral("备注"), 250);

    overview = new DBMemo(DM1->DataSource1, QStringLiteral("Remark"), lowerPages);
    overview->setReadOnly(true);

    lowerPages->addTab(contactGrid, QStringLiteral("联系人资料"));
    lowerPages->addTab(visitGrid, QStringLiteral("拜访记录"));
    lowerPages->addTab(salesGrid, QStringLiteral("销售记录"));
    lowerPages->addTab(bespeakGrid, QStringLiteral("预约"));
    lowerPages->addTab(overview, QStringLiteral("客户公司概况"));
    lowerPages->setCurrentIndex(0);

    auto *splitter = new QSplitter(Qt::Vertical, this);
    splitter->setObjectName(QStringLiteral("splitter"));
    splitter->addWidget(upperPages);
    splitter->addWidget(lowerPages);
    splitter->setChildrenCollapsible(false);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);

    const auto onDoubleClick = [this](DataGrid *grid, int code) {
        connect(grid, &DataGrid::rowDoubleClicked, this, [this, code] { guarded([this, code] { EditClient(code); }); });
    };
    onDoubleClick(clientGrid, 2);
    onDoubleClick(contactGrid, 6);
    onDoubleClick(visitGrid, 10);
    onDoubleClick(salesGrid, 14);
    onDoubleClick(bespeakGrid, 18);
}

void TClientListForm::buildMenus()
{
    const auto dispatch = [this](int code) {
        if (code >= kReportCode)
            N13Click(code - kReportCode);
        else if (code >= 100 && code <= 102)
            SendEMailorWeb(code);
        else
            EditClient(code);
    };
    const auto item = [](const char *caption, int code, const QKeySequence &shortcut = {}, const QString &hint = {},
                         bool isDefault = false) {
        return CommandItem{QString::fromUtf8(caption), code, shortcut, hint, isDefault};
    };
    const CommandItem separator = CommandItem::separator();

    clientMenu = buildCommandMenu(clientGrid,
                                  {item("新增", 1, QKeySequence(Qt::CTRL | Qt::Key_A)),
                                   item("编辑", 2, QKeySequence(Qt::CTRL | Qt::Key_E), {}, true),
                                   item("删除", 3, QKeySequence(Qt::Key_Delete)), separator,
                                   item("刷新", 4, QKeySequence(Qt::Key_F5)), separator,
                                   item("复位", 32, {}, QStringLiteral("重新读取数据库记录(还原搜索后的数据显示)")),
                                   separator, item("公司主页", 100), item("发电子邮件", 101), separator,
                                   item("打印客户资料", kReportCode + 1)},
                                  dispatch);
    contactMenu = buildCommandMenu(contactGrid,
                                   {item("新增", 5), item("编辑", 6, {}, {}, true), item("删除", 7), separator,
                                    item("刷新", 8), separator, item("发电子邮件", 102), separator,
                                    item("打印联系人资料", kReportCode + 211)},
                                   dispatch);
    visitMenu = buildCommandMenu(visitGrid,
                                 {item("新增", 9), item("编辑", 10, {}, {}, true), item("删除", 11), separator,
                                  item("刷新", 12), separator, item("打印拜访记录", kReportCode + 212)},
                                 dispatch);
    salesMenu = buildCommandMenu(salesGrid,
                                 {item("新增", 13), item("编辑", 14, {}, {}, true), item("删除", 15), separator,
                                  item("刷新", 16), separator, item("打印销售记录", kReportCode + 213)},
                                 dispatch);
    bespeakMenu = buildCommandMenu(bespeakGrid,
                                   {item("新增", 17), item("编辑", 18, {}, {}, true), item("删除", 19), separator,
                                    item("刷新", 20), separator, item("打印预约记录", kReportCode + 214)},
                                   dispatch);
    for (QMenu *menu : {clientMenu, contactMenu, visitMenu, salesMenu, bespeakMenu}) {
        for (QAction *action : menu->actions()) {
            if (kUnwiredCodes.contains(action->data().toInt()))
                action->setEnabled(false);
        }
    }
    clientGrid->setContextMenu(clientMenu);
    contactGrid->setContextMenu(contactMenu);
    visitGrid->setContextMenu(visitMenu);
    salesGrid->setContextMenu(salesMenu);
    bespeakGrid->setContextMenu(bespeakMenu);
}

void TClientListForm::EditClient(int code)
{
    Dataset *clients = DM1->ADODataSet1;
    const QString clientName = clients->isActive() && !clients->isEmpty()
                                 ? clients->fieldByName(QStringLiteral("CoName")).asString()
                                 : QString();
    switch (code) {
    case 1:
        clients->append();
        showModal(EditClientForm);
        break;
    case 2:
        showModal(EditClientForm);
        break;
    case 3:
        deleteClient(clientName);
        break;
    case 4:
        clients->requery();
        break;
    case 7:
        DeleteData(DM1->ADODataSet2, DM1->LinkManList);
        break;
    case 8:
        DM1->ADODataSet2->requery();
        break;
    case 11:
        DeleteData(DM1->ADODataSet4, DM1->ADODataSet10);
        break;
    case 12:
        DM1->ADODataSet4->requery();
        break;
    case 15:
        deleteOrder();
        break;
    case 16:
        DM1->ADODataSet6->requery();
        break;
    case 19:
        DeleteData(DM1->ADODataSet8, DM1->ADODataSet9);
        // The agenda shows the appointments, whatever was answered.
        if (MainWindowServices *main = MainWindowServices::instance())
            main->ShowCalendar();
        break;
    case 20:
        DM1->ADODataSet8->requery();
        break;
    case 32:
        resetClients();
        break;
    default:
        break; // the contact, visit, order and appointment editors come later
    }
}

void TClientListForm::deleteClient(const QString &clientName)
{
    if (showMessage(QStringLiteral("警告"),
                    QStringLiteral("删除该客户记录将会使与该客户相关的所有基本资料都被删除，您确定要删除这些记录吗？删除后不可恢复！"),
                    MessageIcon::Warning, MessageButton::Yes | MessageButton::No, MessageButton::No)
        != MessageButton::Yes)
        return;
    if (DM1->ADODataSet1->isEmpty()) {
        noRecordToDelete();
        return;
    }
    try {
        deleteClientWithDetails(clientName);
    } catch (const data::Error &) {
        // Nothing was deleted: the related rows and the client are deleted together or not at all.
        showMessage(QStringLiteral("错误"), QStringLiteral("内容删除失败！在此之前，可能记录已经被删除！"), MessageIcon::Error);
    }
}

void TClientListForm::DeleteData(Dataset *dataset, Dataset *list)
{
    try {
        if (showMessage(QStringLiteral("询问"), QStringLiteral("您确定要删除这条记录吗？"), MessageIcon::Question,
                        MessageButton::Yes | MessageButton::No)
            != MessageButton::Yes)
            return;
        if (dataset->isEmpty()) {
            noRecordToDelete();
            return;
        }
        dataset->deleteRow();
        list->requery();
    } catch (const std::exception &) {
        showMessage(QStringLiteral("警告"), QStringLiteral("记录删除失败，可能在此之前已经被删除或更改过，请刷新数据库。"),
                    MessageIcon::Warning);
    }
}

void TClientListForm::deleteOrder()
{
    if (showMessage(QStringLiteral("询问"),
                    QStringLiteral("删除本条销售记录将会使与之相关的具体销售信息被删除，您确定要这么做吗？"),
                    MessageIcon::Warning, MessageButton::Yes | MessageButton::No)
        != MessageButton::Yes)
        return;
    if (DM1->ADODataSet6->isEmpty()) {
        noRecordToDelete();
        return;
    }
    try {
        deleteOrderWithLines();
    } catch (const data::Error &) {
        showMessage(QStringLiteral("错误"), QStringLiteral("内容删除失败！在此之前，可能记录已经被删除！"), MessageIcon::Error);
    }
}

void TClientListForm::resetClients()
{
    try {
        Dataset *clients = DM1->ADODataSet1;
        clients->close();
        clients->setCommandText(QStringLiteral("Select * from \"ClientData\""));
        clients->open();
    } catch (const std::exception &) {
        // A reset that fails shows what it can.
    }
}

void TClientListForm::SendEMailorWeb(int code)
{
    Dataset *clients = DM1->ADODataSet1;
    Dataset *contacts = DM1->ADODataSet2;
    const auto text = [](Dataset *d, const char *field) {
        return d->isActive() && !d->isEmpty() ? d->fieldByName(QString::fromLatin1(field)).asString() : QString();
    };
    const QString web = text(clients, "WEBs");
    const QString clientMail = text(clients, "EMail");
    const QString contactMail = text(contacts, "Email");
    switch (code) {
    case 100:
        if (!web.isEmpty())
            shellOpen(web);
        else
            showMessage(QStringLiteral("提示"), QStringLiteral("该公司没有主页信息！"), MessageIcon::Information);
        break;
    case 101:
        if (!clientMail.isEmpty())
            shellOpen(QStringLiteral("mailto:") + clientMail);
        else
            showMessage(QStringLiteral("提示"), QStringLiteral("没有该公司的电子邮件信息！"), MessageIcon::Information);
        break;
    case 102:
        if (!contactMail.isEmpty())
            shellOpen(QStringLiteral("mailto:") + contactMail);
        else
            showMessage(QStringLiteral("提示"), QStringLiteral("没有该联系人的电子邮件信息！"), MessageIcon::Information);
        break;
    default:
        break;
    }
}

void TClientListForm::N13Click(int report)
{
    if (MainWindowServices *main = MainWindowServices::instance())
        main->PrintReport(report);
}

void TClientListForm::FormResize()
{
    auto *splitter = findChild<QSplitter *>(QStringLiteral("splitter"));
    const int lower = height() / 2 - 30;
    const int total = splitter->height() - splitter->handleWidth();
    splitter->setSizes({std::max(0, total - lower), lower});
}

void TClientListForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    FormResize();
}
