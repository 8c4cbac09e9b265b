#pragma once

#include <QObject>

class QAction;
class QMenu;
class QMenuBar;
class QToolBar;

// The main window's commands, each with its tag (the window or report it
// stands for), caption and hint; menu items, tool buttons and navigation
// entries all point at these, so enabling or hiding one affects every place.
class MainCommands : public QObject
{
    Q_OBJECT
public:
    explicit MainCommands(QObject *parent);

    // Windows (tags 51-64).
    QAction *ClientList, *Visit, *Bespeak, *Reserve, *PowerChange, *ChangePassword, *SystemLog,
        *Area, *BackUpdata, *Option, *Compress, *LinkManList, *SellList, *Sort;
    // Reports (tags 1-7).
    QAction *ClientListReport, *LinkManReport, *VisitReport, *BespokeReport, *SellReport,
        *ProductReport, *LogReport;
    // Spreadsheet export (tags 81-85).
    QAction *ClientData, *LinkMan, *VisitData, *BespokeData, *ProductData;
    QAction *FileExit1, *WindowCascade1, *WindowTileHorizontal1, *WindowTileVertical1,
        *WindowMinimizeAll1, *HelpAbout1, *Help, *EMail;
    // Items with handlers of their own.
    QAction *logOff;         // "注销用户" (menu)
    QAction *logOffButton;   // "注销" (tool bar)
    QAction *navigation;     // "导航"
    QAction *passwordButton; // "密码": the ChangePassword command under the tool bar's caption
    QAction *refresh;        // "刷新"
    QAction *search;         // "查询"

    QMenu *EXCEL1 = nullptr; // "导出数据至Excel..."

    QList<QAction *> windowCommands() const;
    QList<QAction *> reportCommands() const;
    QList<QAction *> exportCommands() const;
    static int tagOf(const QAction *action);

    void buildMenus(QMenuBar *bar);
    void buildToolBar(QToolBar *bar);
};
