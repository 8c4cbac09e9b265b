#include "MainCommands.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>

namespace {

QAction *command(QObject *parent, const char *name, int tag, const QString &caption, const QString &hint,
                 QStyle::StandardPixmap icon = QStyle::SP_CustomBase)
{
    auto *action = new QAction(caption, parent);
    action->setObjectName(QString::fromLatin1(name));
    if (tag != 0)
        action->setData(tag);
    if (!hint.isEmpty()) {
        action->setStatusTip(hint);
        action->setToolTip(hint);
    }
    if (icon != QStyle::SP_CustomBase)
        action->setIcon(QApplication::style()->standardIcon(icon));
    return action;
}

} // namespace

MainCommands::MainCommands(QObject *parent)
    : QObject(parent)
{
    using S = QStyle;
    ClientList = command(this, "ClientList", 51, QStringLiteral("全部客户列表"), QStringLiteral("显示全部客户列表"), S::SP_FileDialogDetailedView);
    Visit = command(this, "Visit", 52, QStringLiteral("客户拜访记录"), QStringLiteral("客户拜访记录"), S::SP_FileDialogContentsView);
    Bespeak = command(this, "Bespeak", 53, QStringLiteral("客户预约记录"), QStringLiteral("客户预约记录"), S::SP_FileDialogInfoView);
    Reserve = command(this, "Reserve", 54, QStringLiteral("产品目录"), QStringLiteral("公司拥有的产品目录"), S::SP_DirIcon);
    PowerChange = command(this, "PowerChange", 55, QStringLiteral("权限管理"), QStringLiteral("更改用户权限、类型"), S::SP_DialogApplyButton);
    ChangePassword = command(this, "ChangePassword", 56, QStringLiteral("修改密码"), QString(), S::SP_DialogResetButton);
    SystemLog = command(this, "SystemLog", 57, QStringLiteral("系统日志"), QString(), S::SP_FileDialogListView);
    Area = command(this, "Area", 58, QStringLiteral("区域设置"), QString(), S::SP_DriveNetIcon);
    BackUpdata = command(this, "BackUpdata", 59, QStringLiteral("备份还原数据库"), QString(), S::SP_DriveHDIcon);
    Option = command(this, "Option", 60, QStringLiteral("系统设置"), QString(), S::SP_ComputerIcon);
    Compress = command(this, "Compress", 61, QStringLiteral("压缩修复数据库"), QString(), S::SP_DriveFDIcon);
    LinkManList = command(this, "LinkManList", 62, QStringLiteral("联系人列表"), QString(), S::SP_DirHomeIcon);
    SellList = command(this, "SellList", 63, QStringLiteral("产品销售列表"), QString(), S::SP_FileDialogStart);
    Sort = command(this, "Sort", 64, QStringLiteral("数据库类别维护"), QString(), S::SP_FileDialogNewFolder);
    Compress->setVisible(false);

    ClientListReport = command(this, "ClientListReport", 1, QStringLiteral("客户资料"), QStringLiteral("打印客户资料列表"));
    LinkManReport = command(this, "LinkManReport", 2, QStringLiteral("联系人列表"), QStringLiteral("打印联系人列表"));
    VisitReport = command(this, "VisitReport", 3, QStringLiteral("客户拜访记录"), QStringLiteral("打印客户拜访记录"));
    BespokeReport = command(this, "BespokeReport", 4, QStringLiteral("客户预约记录"), QStringLiteral("打印客户预约记录"));
    SellReport = command(this, "SellReport", 5, QStringLiteral("产品销售记录"), QStringLiteral("打印产品销售记录"));
    ProductReport = command(this, "ProductReport", 6, QStringLiteral("产品目录"), QStringLiteral("打印产品目录"));
    LogReport = command(this, "LogReport", 7, QStringLiteral("系统日志"), QStringLiteral("打印系统日志"));

    ClientData = command(this, "ClientData", 81, QStringLiteral("客户资料"), QStringLiteral("将客户资料导出到Excel中"));
    LinkMan = command(this, "LinkMan", 82, QStringLiteral("联系人列表"), QStringLiteral("将联系人资料导出到Excel中"));
    VisitData = command(this, "VisitData", 83, QStringLiteral("客户拜访记录"), QStringLiteral("将客户拜访记录导出到Excel中"));
    BespokeData = command(this, "BespokeData", 84, QStringLiteral("客户预约记录"), QStringLiteral("将客户预约记录导出到Excel中"));
    ProductData = command(this, "ProductData", 85, QStringLiteral("产品目录"), QStringLiteral("将产品目录导出到Excel中"));

    FileExit1 = command(this, "FileExit1", 0, QStringLiteral("退出"), QStringLiteral("退出系统"), S::SP_DialogCloseButton);
    WindowCascade1 = command(this, "WindowCascade1", 0, QStringLiteral("层叠窗口(&C)"), QStringLiteral("层叠窗口"));
    WindowTileHorizontal1 = command(this, "WindowTileHorizontal1", 0, QStringLiteral("横向平铺窗口(&H)"), QStringLiteral("横向平铺窗口"));
    WindowTileVertical1 = command(this, "WindowTileVertical1", 0, QStringLiteral("纵向平铺窗口(&V)"), QStringLiteral("纵向平铺窗口"));
    WindowMinimizeAll1 = command(this, "WindowMinimizeAll1", 0, QStringLiteral("全部窗口最小化(&M)"), QStringLiteral("全部最小化"));
    HelpAbout1 = command(this, "HelpAbout1", 0, QStringLiteral("关于(&A)..."), QStringLiteral(" 关于本程序"));
    Help = command(this, "Help", 0, QStringLiteral("帮助文档(&H)"), QStringLiteral("基于Adobe Reader  格式的帮助文档"), S::SP_DialogHelpButton);
    EMail = command(this, "EMail", 0, QStringLiteral("与作者联系(&E)"), QStringLiteral("通过E-Mail与作者联系"));

    logOff = command(this, "logOff", 0, QStringLiteral("注销用户"), QString(), S::SP_BrowserReload);
    logOffButton = command(this, "logOffButton", 0, QStringLiteral("注销"), QStringLiteral("注销当前用户"), S::SP_BrowserReload);
    connect(logOffButton, &QAction::triggered, logOff, &QAction::trigger);
    navigation = command(this, "navigation", 0, QStringLiteral("导航"), QStringLiteral("显示/隐藏导航栏"), S::SP_ArrowLeft);
    passwordButton = command(this, "passwordButton", 0, QStringLiteral("密码"), QStringLiteral("修改用户密码"), S::SP_DialogResetButton);
    refresh = command(this, "refresh", 0, QStringLiteral("刷新"), QStringLiteral("更新全部数据"), S::SP_BrowserReload);
    search = command(this, "search", 0, QStringLiteral("查询"), QStringLiteral("查询数据库内容"), S::SP_FileDialogContentsView);

    // The tool bar's "密码" is the ChangePassword command under another caption.
    connect(passwordButton, &QAction::triggered, ChangePassword, &QAction::trigger);
    connect(ChangePassword, &QAction::changed, passwordButton, [this] {
        passwordButton->setEnabled(ChangePassword->isEnabled());
        passwordButton->setVisible(ChangePassword->isVisible());
    });
}

QList<QAction *> MainCommands::windowCommands() const
{
    return {ClientList, Visit, Bespeak, Reserve, PowerChange, ChangePassword, SystemLog,
            Area, BackUpdata, Option, Compress, LinkManList, SellList, Sort};
}

QList<QAction *> MainCommands::reportCommands() const
{
    return {ClientListReport, LinkManReport, VisitReport, BespokeReport, SellReport, ProductReport, LogReport};
}

QList<QAction *> MainCommands::exportCommands() const
{
    return {ClientData, LinkMan, VisitData, BespokeData, ProductData};
}

int MainCommands::tagOf(const QAction *action)
{
    return action->data().toInt();
}

void MainCommands::buildMenus(QMenuBar *bar)
{
    QMenu *system = bar->addMenu(QStringLiteral("系统管理(&S)"));
    system->addAction(logOff);
    system->addSeparator();
    system->addAction(ChangePassword);
    system->addSeparator();
    system->addAction(FileExit1);

    QMenu *modules = bar->addMenu(QStringLiteral("功能模块(&O)"));
    modules->addActions({ClientList, Visit, Bespeak, LinkManList, SellList});
    modules->addSeparator();
    modules->addAction(Reserve);
    modules->addSeparator();
    modules->addActions({PowerChange, ChangePassword});
    modules->addSeparator();
    modules->addActions({SystemLog, Area});
    modules->addSeparator();
    EXCEL1 = modules->addMenu(QStringLiteral("导出数据至Excel..."));
    EXCEL1->setObjectName(QStringLiteral("EXCEL1"));
    EXCEL1->addActions({ClientData, LinkMan, VisitData, BespokeData});
    EXCEL1->addSeparator();
    EXCEL1->addAction(ProductData);
    modules->addSeparator();
    modules->addActions({Sort, Compress, BackUpdata});
    modules->addSeparator();
    modules->addAction(Option);

    QMenu *reports = bar->addMenu(QStringLiteral("打印报表(&P)"));
    reports->addActions({ClientListReport, LinkManReport, VisitReport, BespokeReport});
    reports->addSeparator();
    reports->addActions({ProductReport, SellReport});
    reports->addSeparator();
    reports->addAction(LogReport);

    QMenu *windows = bar->addMenu(QStringLiteral("窗口(&W)"));
    windows->addActions({WindowCascade1, WindowTileVertical1, WindowTileHorizontal1});
    QAction *minimizeAll = windows->addAction(QStringLiteral("全部最小化(&M)"));
    minimizeAll->setStatusTip(WindowMinimizeAll1->statusTip());
    connect(minimizeAll, &QAction::triggered, WindowMinimizeAll1, &QAction::trigger);

    QMenu *help = bar->addMenu(QStringLiteral("帮助(&H)"));
    help->addAction(Help);
    help->addSeparator();
    help->addAction(EMail);
    help->addSeparator();
    help->addAction(HelpAbout1);
}

void MainCommands::buildToolBar(QToolBar *bar)
{
    bar->setIconSize(QSize(32, 32));
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar->setMovable(false);
    bar->addAction(navigation);
    bar->addSeparator();
    bar->addAction(logOffButton);
    bar->addAction(passwordButton);
    bar->addSeparator();
    bar->addAction(refresh);
    bar->addAction(search);
    bar->addSeparator();
    bar->addAction(FileExit1);
}
