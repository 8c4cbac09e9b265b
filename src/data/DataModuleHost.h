#pragma once

// What the data module does to the main window while it is created. The main
// window implements it; without a host (tools, some tests) those steps are skipped.
class DataModuleHost
{
public:
    virtual ~DataModuleHost() = default;

    // On a file database: hide the commands "系统设置" and "备份还原数据库",
    // show "压缩修复数据库" (a server database keeps the main window's defaults).
    virtual void useFileDatabaseCommands() = 0;

    // Refill the agenda panel.
    virtual void ShowCalendar() = 0;
};
