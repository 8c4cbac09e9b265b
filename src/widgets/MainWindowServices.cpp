#include "MainWindowServices.h"

namespace {
MainWindowServices *installedServices = nullptr;
}

MainWindowServices *MainWindowServices::instance()
{
    return installedServices;
}

void MainWindowServices::install(MainWindowServices *services)
{
    installedServices = services;
}
