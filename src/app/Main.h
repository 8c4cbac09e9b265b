#pragma once

#include "DataModuleHost.h"
#include "MainWindowServices.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>

class BackgroundMdiArea;
class IniFile;
class MainCommands;
class MainStatusBar;
class NavigationBar;
class NavigationGroup;
class QDialog;
class QMdiSubWindow;
class QTimer;
class QPushButton;
class ReportPrinter;
class SizeBarSplitter;
class TWelcomeForm;

// The main window: an MDI frame with the menus, the tool bar, the navigation
// bar with the agenda, the status bar, and the login whenever nobody is
// logged in. It keeps its placement in CRM.ini.
class TMainForm : public QMainWindow, public DataModuleHost, public MainWindowServices
{
    Q_OBJECT
public:
    static constexpr int designWidth = 746;
    static constexpr int designHeight = 494;

    explicit TMainForm(QWidget *parent = nullptr);
    ~TMainForm() override;

    MainCommands *Actions;
    NavigationBar *navigationBar() const { return m_navigation; }
    SizeBarSplitter *sizeBar() const { return m_splitter; }
    BackgroundMdiArea *mdiArea() const { return m_mdi; }
    MainStatusBar *mainStatusBar() const { return m_status; }
    NavigationGroup *RzGroup6 = nullptr; // "今日要事"
    NavigationGroup *Tomorrow = nullptr; // "近期安排"
    QTimer *Timer1;
    // The working list of product names of the sales totals.
    QStringList productNames;

    // The about box, which also served as splash.
    void setWelcomeForm(TWelcomeForm *welcome);

    // --- windows by tag ---------------------------------------------------------
    using ChildFactory = std::function<QWidget *(QWidget *owner)>;
    // A list window (an MDI child, one at a time, freed when closed) of a tag.
    void registerChildWindow(int tag, const QMetaObject *windowClass, ChildFactory create);
    // A modal dialog of a tag.
    void registerDialog(int tag, QDialog *dialog);
    // The dialog of the tool bar's "查询".
    void setSearchDialog(QDialog *dialog);
    void ShowWindows(int tag) override;
    // Brings the one child window of the class to the front, or creates it.
    QWidget *ShowChildForm(const QMetaObject *windowClass, const ChildFactory &create);
    QMdiSubWindow *childWindowOf(const QMetaObject *windowClass) const;
    // Frees every child window now (at the end, before the data module goes).
    void closeChildWindows();

    // --- MainWindowServices, DataModuleHost ----------------------------------------
    void PrintReport(int number) override;
    ReportPrinter *reportPrinter() const { return m_reports; }
    void ShowCalendar() override;
    void setUserPaneText(const QString &text) override;
    void useFileDatabaseCommands() override;

    // --- the session -----------------------------------------------------------------
    // The activation steps: once per run the maximised setting; then, when
    // nobody is logged in, the login dialog, and after it the rights or the end.
    void FormActivate();
    void LoadPower();
    void logOff();
    // Refreshes every shared dataset; the first error stops and is reported.
    void refreshAll();
    void toggleNavigation();
    void openHelp();
    void sendMail();
    void showAbout();

    int maximisedSetting() const { return m_maxSetting; }
    bool terminated() const { return m_terminated; }

signals:
    // A failed or cancelled login ends the program.
    void terminating();

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();
    void FormDestroy();
    void buildNavigation();
    void connectCommands();
    void ClientListExecute(int tag);
    void ClientListReportExecute(int number);
    void OClickSort(QPushButton *entry);
    void terminate();
    void fillAgendaGroup(NavigationGroup *group, const QString &sql, const QList<std::pair<QString, QVariant>> &values,
                         int tag, const QString &none, const QString &some);

    struct ChildWindow
    {
        const QMetaObject *windowClass;
        ChildFactory create;
    };

    std::unique_ptr<IniFile> m_ini;
    NavigationBar *m_navigation;
    SizeBarSplitter *m_splitter;
    BackgroundMdiArea *m_mdi;
    MainStatusBar *m_status;
    ReportPrinter *m_reports;
    QPointer<TWelcomeForm> m_welcome;
    QHash<int, ChildWindow> m_children;
    QHash<int, QPointer<QDialog>> m_dialogs;
    QPointer<QDialog> m_search;
    int m_maxSetting = -1;
    bool m_maxApplied = false;
    bool m_terminated = false;
    bool m_activating = false;
};

extern TMainForm *MainForm;
