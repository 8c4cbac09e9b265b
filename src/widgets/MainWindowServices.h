#pragma once

#include <QString>

// What the windows of the feature folders need of the main window. The main
// window implements it and registers itself; features never include it.
class MainWindowServices
{
public:
    virtual ~MainWindowServices() = default;

    // Opens the window of a command tag (51-64).
    virtual void ShowWindows(int tag) = 0;
    // Prepares and previews report `number`.
    virtual void PrintReport(int number) = 0;
    // Refills the agenda panel.
    virtual void ShowCalendar() = 0;
    // The status-bar pane that shows the logged-in user.
    virtual void setUserPaneText(const QString &text) = 0;

    // The main window, or nullptr before it exists (and in tests without one).
    static MainWindowServices *instance();
    static void install(MainWindowServices *services);
};
