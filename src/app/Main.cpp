#include "Main.h"

#include "BackgroundMdiArea.h"
#include "Clock.h"
#include "DM.h"
#include "Guard.h"
#include "IniFile.h"
#include "Load.h"
#include "LoginSession.h"
#include "MainCommands.h"
#include "MainStatusBar.h"
#include "Modal.h"
#include "NavigationBar.h"
#include "Prompt.h"
#include "ReportPrinter.h"
#include "Shell.h"
#include "SizeBarSplitter.h"
#include "TableExportCommand.h"
#include "Welcome.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>
#include <QPushButton>
#include <QUrl>

using data::Dataset;

TMainForm *MainForm = nullptr;

namespace {

const QString kIniFile = QStringLiteral("CRM.ini");
const QString kSupportAddress = QStringLiteral("support@lumora-crm.example");

} // namespace

TMainForm::TMainForm(QWidget *parent)
    : QMainWindow(parent)
    , Actions(new MainCommands(this))
    , Timer1(new QTimer(this))
    , m_navigation(new NavigationBar(this))
    , m_splitter(new SizeBarSplitter(this))
    , m_mdi(new BackgroundMdiArea(this))
    , m_status(new MainStatusBar(this))
    , m_reports(new ReportPrinter(this))
{
    MainForm = this;
    MainWindowServices::install(this);
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(applicationTitle());
    QFont font(QStringLiteral("宋体"));
    font.setPointSize(9);
    setFont(font);

    Actions->buildMenus(menuBar());
    auto *tools = addToolBar(QStringLiteral("工具栏"));
    tools->setObjectName(QStringLiteral("toolBar"));
    Actions->buildToolBar(tools);
    buildNavigation();
    m_splitter->addWidget(m_navigation);
    m_splitter->addWidget(m_mdi);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({192, designWidth - 192});
    setCentralWidget(m_splitter);
    setStatusBar(m_status);
    connectCommands();

    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, [this] { m_status->tick(); });
    Timer1->start();
    FormCreate();
}

TMainForm::~TMainForm()
{
    FormDestroy();
    if (MainWindowServices::instance() == this)
        MainWindowServices::install(nullptr);
    if (MainForm == this)
        MainForm = nullptr;
}

void TMainForm::FormCreate()
{
    m_ini = std::make_unique<IniFile>(ProgramFolder::filePath(kIniFile));
    m_maxSetting = m_ini->readInteger(QStringLiteral("MaxWindow"), QStringLiteral("Max"), -1);
    const int left = m_ini->readInteger(QStringLiteral("WindowsState"), QStringLiteral("Left"), 0);
    const int top = m_ini->readInteger(QStringLiteral("WindowsState"), QStringLiteral("Top"), 0);
    const int width = m_ini->readInteger(QStringLiteral("WindowsState"), QStringLiteral("Width"), 0);
    const int height = m_ini->readInteger(QStringLiteral("WindowsState"), QStringLiteral("Height"), 0);
    if (m_maxSetting != 0) {
        resize(designWidth, designHeight);
        if (QScreen *screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - QPoint(designWidth / 2, designHeight / 2));
    } else {
        move(left, top);
        resize(width, height);
    }
    const QString background = QDir::current().filePath(QStringLiteral("MainGroup.bmp"));
    if (QFileInfo::exists(background))
        m_mdi->loadBackground(background);
    LoginSession.loggedIn = false;
}

void TMainForm::FormDestroy()
{
    if (!m_ini)
        return;
    guarded([this] {
        const QRect bounds = isMaximized() ? normalGeometry() : geometry();
        m_ini->writeInteger(QStringLiteral("WindowsState"), QStringLiteral("Left"), bounds.left());
        m_ini->writeInteger(QStringLiteral("WindowsState"), QStringLiteral("Top"), bounds.top());
        m_ini->writeInteger(QStringLiteral("WindowsState"), QStringLiteral("Width"), bounds.width());
        m_ini->writeInteger(QStringLiteral("WindowsState"), QStringLiteral("Height"), bounds.height());
        m_ini->writeInteger(QStringLiteral("MaxWindow"), QStringLiteral("Max"), isMaximized() ? 1 : 0);
    });
    m_ini.reset();
}

void TMainForm::buildNavigation()
{
    m_navigation->setMinimumWidth(0);
    RzGroup6 = m_navigation->addGroup(QStringLiteral("今日要事"), true, true);
    Tomorrow = m_navigation->addGroup(QStringLiteral("近期安排"), true);
    RzGroup6->addEntry(QStringLiteral("今天没有事务安排"), 0);
    Tomorrow->addEntry(QStringLiteral("近期没有事务安排"), 0);
    const auto group = [this](const QString &caption, const QList<QAction *> &commands) {
        NavigationGroup *g = m_navigation->addGroup(caption, false);
        for (QAction *c : commands)
            g->addCommand(c);
    };
    group(QStringLiteral("客户资料"), {Actions->ClientList, Actions->LinkManList});
    group(QStringLiteral("行动管理"), {Actions->Bespeak, Actions->Visit});
    group(QStringLiteral("产品管理"), {Actions->Reserve, Actions->SellList});
    group(QStringLiteral("用户管理"), {Actions->PowerChange, Actions->ChangePassword});
    group(QStringLiteral("系统设置"), {Actions->SystemLog, Actions->Area, Actions->Option});
    group(QStringLiteral("系统维护"), {Actions->Sort, Actions->Compress, Actions->BackUpdata});
    for (NavigationGroup *agenda : {RzGroup6, Tomorrow})
        connect(agenda, &NavigationGroup::entryClicked, this,
                [this](QPushButton *entry) { guarded([this, entry] { OClickSort(entry); }); });
}

void TMainForm::connectCommands()
{
    for (QAction *command : Actions->windowCommands())
        connect(command, &QAction::triggered, this,
                [this, command] { guarded([this, command] { ClientListExecute(MainCommands::tagOf(command)); }); });
    for (QAction *command : Actions->reportCommands())
        connect(command, &QAction::triggered, this,
                [this, command] { guarded([this, command] { ClientListReportExecute(MainCommands::tagOf(command)); }); });
    for (QAction *command : Actions->exportCommands())
        connect(command, &QAction::triggered, this,
                [this, command] { guarded([this, command] { runTableExport(MainCommands::tagOf(command), this); }); });
    const auto on = [this](QAction *action, void (TMainForm::*handler)()) {
        connect(action, &QAction::triggered, this, [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
    };
    on(Actions->logOff, &TMainForm::logOff);
    on(Actions->navigation, &TMainForm::toggleNavigation);
    on(Actions->refresh, &TMainForm::refreshAll);
    connect(Actions->search, &QAction::triggered, this, [this] {
        if (m_search)
            showModal(m_search);
    });
    on(Actions->Help, &TMainForm::openHelp);
    on(Actions->EMail, &TMainForm::sendMail);
    on(Actions->HelpAbout1, &TMainForm::showAbout);
    connect(Actions->FileExit1, &QAction::triggered, this, &QWidget::close);
    connect(Actions->WindowCascade1, &QAction::triggered, m_mdi, &QMdiArea::cascadeSubWindows);
    // Qt tiles in a grid; one above the other and side by side are laid out here.
    const auto tile = [this](bool horizontal) {
        const QList<QMdiSubWindow *> windows = m_mdi->subWindowList();
        if (windows.isEmpty())
            return;
        const QSize area = m_mdi->viewport()->size();
        const int n = int(windows.size());
        for (int i = 0; i < n; ++i) {
            QMdiSubWindow *w = windows.at(i);
            w->showNormal();
            if (horizontal)
                w->setGeometry(0, i * area.height() / n, area.width(), area.height() / n);
            else
                w->setGeometry(i * area.width() / n, 0, area.width() / n, area.height());
        }
    };
    connect(Actions->WindowTileHorizontal1, &QAction::triggered, this, [tile] { tile(true); });
    connect(Actions->WindowTileVertical1, &QAction::triggered, this, [tile] { tile(false); });
    connect(Actions->WindowMinimizeAll1, &QAction::triggered, this, [this] {
        for (QMdiSubWindow *w : m_mdi->subWindowList())
            w->showMinimized();
    });
}

// --- windows by tag -------------------------------------------------------------------

void TMainForm::registerChildWindow(int tag, const QMetaObject *windowClass, ChildFactory create)
{
    m_children.insert(tag, {windowClass, std::move(create)});
}

void TMainForm::registerDialog(int tag, QDialog *dialog)
{
    m_dialogs.insert(tag, dialog);
}

void TMainForm::setSearchDialog(QDialog *dialog)
{
    m_search = dialog;
}

void TMainForm::ClientListExecute(int tag)
{
    ShowWindows(tag);
}

void TMainForm::ShowWindows(int tag)
{
    if (const auto child = m_children.constFind(tag); child != m_children.constEnd()) {
        ShowChildForm(child->windowClass, child->create);
        return;
    }
    if (const auto dialog = m_dialogs.constFind(tag); dialog != m_dialogs.constEnd() && *dialog)
        showModal(*dialog);
}

QMdiSubWindow *TMainForm::childWindowOf(const QMetaObject *windowClass) const
{
    for (QMdiSubWindow *window : m_mdi->subWindowList()) {
        if (window->widget() && window->widget()->metaObject() == windowClass)
            return window;
    }
    return nullptr;
}

void TMainForm::closeChildWindows()
{
    qDeleteAll(m_mdi->subWindowList());
}

QWidget *TMainForm::ShowChildForm(const QMetaObject *windowClass, const ChildFactory &create)
{
    if (QMdiSubWindow *window = childWindowOf(windowClass)) {
        if (window->isMinimized())
            window->showNormal();
        else
            window->show();
        m_mdi->setActiveSubWindow(window);
        window->raise();
        window->widget()->setFocus();
        return window->widget();
    }
    QWidget *widget = create(this);
    widget->setAttribute(Qt::WA_DeleteOnClose);
    QMdiSubWindow *window = m_mdi->addSubWindow(widget);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->showMaximized();
    m_mdi->setActiveSubWindow(window);
    return widget;
}

// --- services ----------------------------------------------------------------------------

void TMainForm::ClientListReportExecute(int number)
{
    PrintReport(number);
}

void TMainForm::PrintReport(int number)
{
    m_reports->PrintReport(number);
}

void TMainForm::setUserPaneText(const QString &text)
{
    m_status->RzStatusPane2->setText(text);
}

void TMainForm::useFileDatabaseCommands()
{
    Actions->Option->setVisible(false);
    Actions->BackUpdata->setVisible(false);
    Actions->Compress->setVisible(true);
}

void TMainForm::fillAgendaGroup(NavigationGroup *group, const QString &sql,
                                const QList<std::pair<QString, QVariant>> &values, int tag, const QString &none,
                                const QString &some)
{
    Dataset *query = DM1->ADOQuery1;
    query->close();
    query->setCommandText(sql);
    for (const auto &[name, value] : values)
        query->setParameter(name, value);
    query->open();
    group->clearEntries();
    const int count = query->recordCount();
    group->addEntry(count == 0 ? none : some.arg(count), 0);
    query->first();
    for (int k = 1; k <= count; ++k) {
        group->addEntry(QString::number(k) + QStringLiteral("、")
                            + query->fieldByName(QStringLiteral("ClientName")).asString(),
                        tag);
        query->next();
    }
    query->close();
    query->setCommandText(QString());
}

void TMainForm::ShowCalendar()
{
    if (!DM1)
        return;
    try {
        const QDate today = currentDate();
        fillAgendaGroup(RzGroup6, QStringLiteral("Select * From \"ClientBespeak\" where \"Dates\" =:PM"),
                        {{QStringLiteral("PM"), today}}, 100, QStringLiteral("今天没有事务安排"),
                        QStringLiteral("今天有 %1 个联系客户"));
        const int days = m_ini->readInteger(QStringLiteral("TermSet"), QStringLiteral("Set"), 7);
        fillAgendaGroup(Tomorrow,
                        QStringLiteral("Select * From \"ClientBespeak\" where \"Dates\" between :PMA and :PMB"),
                        {{QStringLiteral("PMA"), today}, {QStringLiteral("PMB"), today.addDays(days)}}, 200,
                        QStringLiteral("近期没有事务安排"), QStringLiteral("近期有 %1 个联系客户"));
    } catch (const std::exception &) {
        // The agenda keeps the entries built before the error.
    }
}

void TMainForm::OClickSort(QPushButton *entry)
{
    const QString caption = entry->text();
    const QString client = caption.mid(caption.indexOf(QStringLiteral("、")) + 1);
    if (DM1 && DM1->ADODataSet9->isActive())
        DM1->ADODataSet9->locate(QStringLiteral("ClientName"), client);
    ShowWindows(53);
}

// --- the session ------------------------------------------------------------------------

bool TMainForm::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::StatusTip:
        // Hints go to their own pane, not over the other panes.
        m_status->showHint(static_cast<QStatusTipEvent *>(event)->tip());
        return true;
    case QEvent::WindowActivate:
    case QEvent::Show:
        // After the activation has been handled, so that the login shows over a
        // settled window. Showing counts too: without a window manager nothing activates.
        QTimer::singleShot(0, this, [this] { guarded([this] { FormActivate(); }); });
        break;
    default:
        break;
    }
    return QMainWindow::event(event);
}

void TMainForm::FormActivate()
{
    if (m_activating || m_terminated)
        return;
    if (!m_maxApplied) {
        m_maxApplied = true;
        if (m_maxSetting == 1)
            showMaximized();
    }
    if (LoginSession.loggedIn || !LoadForm)
        return;
    m_activating = true;
    LoadForm->edtUserPass->clear();
    showModal(LoadForm);
    m_activating = false;
    if (LoginSession.loggedIn) {
        LoadPower();
    } else {
        terminate();
    }
}

void TMainForm::terminate()
{
    m_terminated = true;
    emit terminating();
    close();
    QCoreApplication::exit(0);
}

void TMainForm::LoadPower()
{
    const auto rights = [](Right r) { return LoginSession.hasRight(r); };
    Actions->PowerChange->setEnabled(rights(Right::PowerManage));
    Actions->ChangePassword->setEnabled(rights(Right::ChangePassword));
    if (Actions->EXCEL1)
        Actions->EXCEL1->setEnabled(rights(Right::ExportData));
    Actions->BackUpdata->setEnabled(rights(Right::BackupRestore));
    Actions->Option->setEnabled(rights(Right::BackupRestore));
    Actions->SystemLog->setEnabled(rights(Right::ViewLog));
    Actions->LogReport->setEnabled(rights(Right::ViewLog));
}

void TMainForm::logOff()
{
    if (LoadForm)
        LoadForm->UserExitDate();
    LoginSession.loggedIn = false;
    m_status->RzStatusPane2->clear();
    FormActivate();
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    if (m_terminated) {
        event->accept();
        return;
    }
    if (showMessage(QStringLiteral("询问"), QStringLiteral("您确定要退出当前系统吗？"), MessageIcon::Question,
                    MessageButton::Yes | MessageButton::No)
        != MessageButton::Yes) {
        event->ignore();
        return;
    }
    if (LoginSession.loggedIn && LoadForm)
        LoadForm->UserExitDate();
    event->accept();
}

void TMainForm::refreshAll()
{
    if (!DM1)
        return;
    try {
        for (Dataset *d : {DM1->ADODataSet1, DM1->ADODataSet2, DM1->ADODataSet3, DM1->ADODataSet4,
                           DM1->ADODataSet5, DM1->ADODataSet6, DM1->ADODataSet7, DM1->ADODataSet8,
                           DM1->ADODataSet9, DM1->ADODataSet10, DM1->ADOTable1, DM1->LinkManList,
                           DM1->SellList, DM1->ADODataSet11, DM1->LogData})
            d->requery();
    } catch (const std::exception &) {
        showMessage(QStringLiteral("错误"), QStringLiteral("数据库刷新失败!"), MessageIcon::Error);
    }
}

void TMainForm::toggleNavigation()
{
    m_splitter->toggle();
}

void TMainForm::openHelp()
{
    if (!shellOpen(QDir::current().filePath(QStringLiteral("Help.pdf"))))
        showMessage(QStringLiteral("错误"),
                    QStringLiteral("无法打开帮助文档，请检查Adobe Reader 6.0 或更高版本是否安装"),
                    MessageIcon::Warning);
}

void TMainForm::sendMail()
{
    const QString subject = QStringLiteral("关于“") + applicationTitle() + QStringLiteral("”");
    shellOpen(QStringLiteral("mailto:") + kSupportAddress + QStringLiteral("?subject=")
              + QString::fromLatin1(QUrl::toPercentEncoding(subject)));
}

void TMainForm::setWelcomeForm(TWelcomeForm *welcome)
{
    m_welcome = welcome;
}

void TMainForm::showAbout()
{
    if (!m_welcome)
        return;
    m_welcome->setClickCloses(isVisible());
    showModal(m_welcome);
}
