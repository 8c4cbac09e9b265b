#include "AppFixture.h"
#include "BackgroundMdiArea.h"
#include "DM.h"
#include "IniFile.h"
#include "Load.h"
#include "LoginSession.h"
#include "Main.h"
#include "MainCommands.h"
#include "MainStatusBar.h"
#include "NavigationBar.h"
#include "SizeBarSplitter.h"
#include "TestMain.h"
#include "Welcome.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Stands for a list window in the tests of the window commands.
class SampleListWindow : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;
    static int created;
};
int SampleListWindow::created = 0;

QStringList menuTexts(QMenu *menu)
{
    QStringList texts;
    for (QAction *a : menu->actions())
        texts << (a->isSeparator() ? u"-"_s : a->text());
    return texts;
}

} // namespace

// The frame: commands and menus, placement in CRM.ini, child windows by tag,
// refresh, help, mail, the agenda, the database kind.
class TestMainWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<AppFixture> m_app;
    TMainForm *main() { return m_app->app().main.get(); }

private slots:
    void initTestCase_data() { addBackendRows(); }
    void init()
    {
        LUMORA_INIT_BACKEND(backend);
        m_app = std::make_unique<AppFixture>(backend);
        SampleListWindow::created = 0;
    }
    void cleanup() { m_app.reset(); }

    void menusInOrder()
    {
        m_app->start();
        const QList<QAction *> top = main()->menuBar()->actions();
        QStringList titles;
        for (QAction *a : top)
            titles << a->text();
        QCOMPARE(titles, (QStringList{u"系统管理(&S)"_s, u"功能模块(&O)"_s, u"打印报表(&P)"_s, u"窗口(&W)"_s, u"帮助(&H)"_s}));
        QCOMPARE(menuTexts(top.at(0)->menu()), (QStringList{u"注销用户"_s, u"-"_s, u"修改密码"_s, u"-"_s, u"退出"_s}));
        QCOMPARE(menuTexts(top.at(1)->menu()),
                 (QStringList{u"全部客户列表"_s, u"客户拜访记录"_s, u"客户预约记录"_s, u"联系人列表"_s, u"产品销售列表"_s, u"-"_s,
                              u"产品目录"_s, u"-"_s, u"权限管理"_s, u"修改密码"_s, u"-"_s, u"系统日志"_s, u"区域设置"_s, u"-"_s,
                              u"导出数据至Excel..."_s, u"-"_s, u"数据库类别维护"_s, u"压缩修复数据库"_s, u"备份还原数据库"_s,
                              u"-"_s, u"系统设置"_s}));
        QCOMPARE(menuTexts(top.at(2)->menu()),
                 (QStringList{u"客户资料"_s, u"联系人列表"_s, u"客户拜访记录"_s, u"客户预约记录"_s, u"-"_s, u"产品目录"_s,
                              u"产品销售记录"_s, u"-"_s, u"系统日志"_s}));
        QCOMPARE(menuTexts(top.at(3)->menu()), (QStringList{u"层叠窗口(&C)"_s, u"纵向平铺窗口(&V)"_s,
                                                           u"横向平铺窗口(&H)"_s, u"全部最小化(&M)"_s}));
        QCOMPARE(menuTexts(top.at(4)->menu()), (QStringList{u"帮助文档(&H)"_s, u"-"_s, u"与作者联系(&E)"_s, u"-"_s,
                                                           u"关于(&A)..."_s}));
        // Window commands carry their tags, report commands their numbers.
        QList<int> tags;
        for (QAction *a : main()->Actions->windowCommands())
            tags << MainCommands::tagOf(a);
        QCOMPARE(tags, (QList<int>{51, 52, 53, 54, 55, 56, 57, 58, 59, 60, 61, 62, 63, 64}));
        QCOMPARE(MainCommands::tagOf(main()->Actions->LogReport), 7);
        QCOMPARE(main()->Actions->ClientList->statusTip(), u"显示全部客户列表"_s);
        // The exports work; the right to export opens or closes their submenu as a whole.
        tags.clear();
        for (QAction *a : main()->Actions->exportCommands()) {
            QVERIFY(a->isEnabled());
            tags << MainCommands::tagOf(a);
        }
        QCOMPARE(tags, (QList<int>{81, 82, 83, 84, 85}));
    }

    void navigationBarGroups()
    {
        m_app->start();
        QStringList captions;
        for (NavigationGroup *g : main()->navigationBar()->groups())
            captions << g->caption() + (g->isOpen() ? u"+"_s : u""_s);
        QCOMPARE(captions, (QStringList{u"今日要事+"_s, u"近期安排+"_s, u"客户资料"_s, u"行动管理"_s, u"产品管理"_s,
                                        u"用户管理"_s, u"系统设置"_s, u"系统维护"_s}));
        main()->show();
        const int width = main()->sizeBar()->panelWidth();
        QVERIFY(width > 0);
        main()->Actions->navigation->trigger();
        QVERIFY(main()->sizeBar()->isCollapsed());
        main()->Actions->navigation->trigger();
        QCOMPARE(main()->sizeBar()->panelWidth(), width);
        m_app->expectCancelledLogin(); // the show activates the login; cancel it
        QApplication::processEvents();
    }

    void databaseKindDecidesTheMaintenanceCommands()
    {
        m_app->start();
        const bool file = m_app->db().backend() == TestDatabase::Backend::Sqlite;
        QCOMPARE(main()->Actions->Compress->isVisible(), file);
        QCOMPARE(main()->Actions->Option->isVisible(), !file);
        QCOMPARE(main()->Actions->BackUpdata->isVisible(), !file);
        // The navigation entries of hidden commands are hidden too.
        const NavigationGroup *maintenance = main()->navigationBar()->group(u"系统维护"_s);
        const QList<QPushButton *> buttons = maintenance->findChildren<QPushButton *>();
        for (QPushButton *b : buttons) {
            if (b->text() == u"压缩修复数据库"_s)
                QCOMPARE(!b->isHidden(), file);
        }
    }

    void firstStartWithoutIniIsCentredAtDesignSize()
    {
        QVERIFY(!QFile::exists(m_app->iniPath()));
        m_app->start();
        QCOMPARE(main()->size(), QSize(TMainForm::designWidth, TMainForm::designHeight));
        const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
        QVERIFY((main()->geometry().center() - centre).manhattanLength() <= 2);
        QCOMPARE(main()->maximisedSetting(), -1);
        m_app->app().reset();
        QSettings ini(m_app->iniPath(), QSettings::IniFormat);
        QCOMPARE(ini.value(u"MaxWindow/Max"_s).toInt(), 0);
        QCOMPARE(ini.value(u"WindowsState/Width"_s).toInt(), TMainForm::designWidth);
        QCOMPARE(ini.value(u"WindowsState/Height"_s).toInt(), TMainForm::designHeight);
    }

    void storedPlacement_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<bool>("maximised");
        QTest::addColumn<QRect>("bounds"); // empty: centred at the design size
        QTest::newRow("placed") << QByteArray("[MaxWindow]\nMax=0\n[WindowsState]\nLeft=40\nTop=30\nWidth=900\nHeight=600\n")
                                << false << QRect(40, 30, 900, 600);
        QTest::newRow("maximised") << QByteArray("[MaxWindow]\nMax=1\n[WindowsState]\nLeft=40\nTop=30\nWidth=900\nHeight=600\n")
                                   << true << QRect();
        QTest::newRow("not a number") << QByteArray("[MaxWindow]\nMax=ja\n") << false << QRect();
        QTest::newRow("not an ini file") << QByteArray("\x01\x02\xff binary garbage [[[") << false << QRect();
    }
    void storedPlacement()
    {
        QFETCH(QByteArray, ini);
        QFETCH(bool, maximised);
        QFETCH(QRect, bounds);
        QFile file(m_app->iniPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(ini);
        file.close();
        m_app->start();
        if (bounds.isEmpty())
            QCOMPARE(main()->size(), QSize(TMainForm::designWidth, TMainForm::designHeight));
        else
            QCOMPARE(main()->geometry(), bounds);
        // Maximised on the first activation only, and only for "Max" = 1.
        m_app->expectCancelledLogin();
        main()->FormActivate();
        QCOMPARE(main()->isMaximized(), maximised);
    }

    void listWindowIsOneInstance()
    {
        m_app->start();
        main()->registerChildWindow(51, &SampleListWindow::staticMetaObject, [](QWidget *) {
            ++SampleListWindow::created;
            return new SampleListWindow;
        });
        main()->ShowWindows(51);
        main()->ShowWindows(51);
        QCOMPARE(SampleListWindow::created, 1);
        QCOMPARE(main()->mdiArea()->subWindowList().size(), 1);
        QMdiSubWindow *window = main()->childWindowOf(&SampleListWindow::staticMetaObject);
        QVERIFY(window->isMaximized());
        window->showMinimized();
        main()->Actions->ClientList->trigger();
        QVERIFY(!window->isMinimized());
        QCOMPARE(SampleListWindow::created, 1);
        // Closed, it is freed; the next request creates a fresh one.
        window->close();
        QApplication::processEvents();
        QCOMPARE(main()->mdiArea()->subWindowList().size(), 0);
        main()->ShowWindows(51);
        QCOMPARE(SampleListWindow::created, 2);
    }

    void tagsOutsideTheRangeDoNothing_data()
    {
        QTest::addColumn<int>("tag");
        QTest::newRow("0") << 0;
        QTest::newRow("50") << 50;
        QTest::newRow("65") << 65;
        QTest::newRow("report number") << 211;
    }
    void tagsOutsideTheRangeDoNothing()
    {
        QFETCH(int, tag);
        m_app->start();
        main()->ShowWindows(tag);
        QCOMPARE(main()->mdiArea()->subWindowList().size(), 0);
        QVERIFY(m_app->modals.shown.isEmpty());
        QCOMPARE(m_app->prompt.count(), 0);
    }

    void refreshFailureIsReported()
    {
        m_app->start();
        main()->refreshAll();
        QCOMPARE(m_app->prompt.count(), 0);
        m_app->db().exec(u"DROP TABLE \"ClientVisit\""_s);
        main()->refreshAll();
        QCOMPARE(m_app->prompt.count(), 1);
        QCOMPARE(m_app->prompt.shown().first().caption, u"错误"_s);
        QCOMPARE(m_app->prompt.shown().first().text, u"数据库刷新失败!"_s);
        QCOMPARE(m_app->prompt.shown().first().icon, MessageIcon::Error);
    }

    void refreshShowsOtherWorkstationsRows()
    {
        m_app->start();
        QCOMPARE(m_app->app().dataModule->ADODataSet1->recordCount(), 0);
        m_app->db().exec(u"INSERT INTO \"ClientData\" (\"ID\", \"CoName\") VALUES ('K1', '新客户')"_s);
        main()->Actions->refresh->trigger();
        QCOMPARE(m_app->app().dataModule->ADODataSet1->recordCount(), 1);
    }

    void helpAndMailGoThroughTheShell()
    {
        m_app->start();
        m_app->shell.succeed = false;
        main()->Actions->Help->trigger();
        QCOMPARE(m_app->shell.opened.size(), 1);
        QVERIFY(m_app->shell.opened.first().endsWith(u"/Help.pdf"_s));
        QCOMPARE(m_app->prompt.count(), 1);
        QCOMPARE(m_app->prompt.shown().first().text, u"无法打开帮助文档，请检查Adobe Reader 6.0 或更高版本是否安装"_s);
        m_app->shell.succeed = true;
        main()->Actions->EMail->trigger();
        QVERIFY(m_app->shell.opened.last().startsWith(u"mailto:"_s));
        QVERIFY(QUrl::fromPercentEncoding(m_app->shell.opened.last().toUtf8())
                    .endsWith(u"?subject=关于“Lumora客户关系管理系统(免费)”"_s));
    }

    void aboutBoxClosesOnALeftClick()
    {
        m_app->start();
        m_app->expectLogin(u"admin"_s, {u""_s});
        main()->show();
        QApplication::processEvents();
        bool closedByRight = true;
        m_app->modals.expect([&](QDialog *dialog) {
            QTest::mouseClick(dialog, Qt::RightButton);
            closedByRight = !dialog->isVisible();
            QTest::mouseClick(dialog, Qt::LeftButton);
        });
        main()->Actions->HelpAbout1->trigger();
        QVERIFY(!closedByRight);
        QCOMPARE(m_app->modals.shown.last(), u"WelcomeForm"_s);
        QCOMPARE(m_app->app().welcome->result(), int(QDialog::Accepted));
    }

    void agendaListsTodayAndTheComingDays()
    {
        const QDate today = m_app->clock.now().date();
        m_app->db().exec(u"INSERT INTO \"ClientBespeak\" (\"ClientName\", \"Dates\") VALUES ('甲公司', :t), ('乙公司', :t), "
                         "('丙公司', :n), ('丁公司', :far), ('戊公司', :past)"_s,
                         {{u"t"_s, today}, {u"n"_s, today.addDays(7)}, {u"far"_s, today.addDays(8)},
                          {u"past"_s, today.addDays(-1)}});
        m_app->start();
        const auto captions = [](NavigationGroup *group) {
            QStringList texts;
            for (QPushButton *e : group->entries())
                texts << e->text();
            return texts;
        };
        QCOMPARE(captions(main()->RzGroup6), (QStringList{u"今天有 2 个联系客户"_s, u"1、甲公司"_s, u"2、乙公司"_s}));
        QCOMPARE(captions(main()->Tomorrow), (QStringList{u"近期有 3 个联系客户"_s, u"1、甲公司"_s, u"2、乙公司"_s, u"3、丙公司"_s}));
        m_app->db().exec(u"DELETE FROM \"ClientBespeak\""_s);
        main()->ShowCalendar();
        QCOMPARE(captions(main()->RzGroup6), QStringList{u"今天没有事务安排"_s});
        QCOMPARE(captions(main()->Tomorrow), QStringList{u"近期没有事务安排"_s});
    }

    void statusBarPanes()
    {
        m_app->start();
        QCOMPARE(MainStatusBar::clockText(QDateTime(QDate(2008, 5, 1), QTime(14, 3, 22))),
                 u"2008年05月01日 星期四 14:03:22"_s);
        main()->mainStatusBar()->tick();
        QCOMPARE(main()->mainStatusBar()->clockPane()->text(), MainStatusBar::clockText(m_app->clock.now()));
        QStatusTipEvent tip(u"显示全部客户列表"_s);
        QApplication::sendEvent(main(), &tip);
        QCOMPARE(main()->mainStatusBar()->hintPane()->text(), u"显示全部客户列表"_s);
    }

    // Without Connect.udl the error box appears and the login still comes, with an empty list.
    void startsWithoutTheDataLinkFile()
    {
        QFile::remove(m_app->db().workingDirectory() + u"/Connect.udl"_s);
        m_app->start();
        QCOMPARE(m_app->prompt.count(), 1);
        QVERIFY(m_app->prompt.shown().first().text.contains(u"Connect.udl"_s));
        int names = -1;
        m_app->modals.expect([&](QDialog *dialog) {
            names = qobject_cast<TLoadForm *>(dialog)->cbbUserName->count();
            dialog->reject();
        });
        main()->FormActivate();
        QCOMPARE(names, 0);
        QVERIFY(main()->terminated());
    }
};

LUMORA_TEST_CLASS(TestMainWindow)

#include "tst_mainwindow.moc"
