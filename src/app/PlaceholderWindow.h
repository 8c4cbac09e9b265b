#pragma once

#include "DataModuleHost.h"

#include <QMainWindow>

class QLabel;

// Stands in for the main window until it is built: it hosts the data module
// and says which database it reached.
class PlaceholderWindow final : public QMainWindow, public DataModuleHost
{
    Q_OBJECT
public:
    explicit PlaceholderWindow(QWidget *parent = nullptr);

    void useFileDatabaseCommands() override;
    void ShowCalendar() override {}

    void showDatabaseSummary();

private:
    QLabel *m_summary;
    bool m_fileDatabase = false;
};
