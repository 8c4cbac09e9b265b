#pragma once

#include "DataModuleHost.h"

// A main window stand-in that counts what the data module asked of it.
class RecordingHost final : public DataModuleHost
{
public:
    void useFileDatabaseCommands() override { ++fileDatabaseCommands; }
    void ShowCalendar() override { ++calendarFills; }

    int fileDatabaseCommands = 0;
    int calendarFills = 0;
};
