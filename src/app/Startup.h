#pragma once

#include <memory>

class TDM1;
class TEditAreaForm;
class TEditClientForm;
class TSearchForm;
class TSortSetForm;
class TLoadForm;
class TMainForm;
class TOptionForm;
class TWelcomeForm;

// The long-lived windows and the data module, created in the order the data
// module needs (it adapts the main window's commands and fills editors' lists).
struct Startup
{
    std::unique_ptr<TWelcomeForm> welcome;
    std::unique_ptr<TMainForm> main;
    std::unique_ptr<TLoadForm> login;
    std::unique_ptr<TDM1> dataModule;
    std::unique_ptr<TEditClientForm> editClient;
    std::unique_ptr<TEditAreaForm> editArea;
    std::unique_ptr<TSortSetForm> sortSet;
    std::unique_ptr<TSearchForm> search;
    std::unique_ptr<TOptionForm> options;

    Startup();
    ~Startup();
    // Destroys everything, in the reverse of creation.
    void reset();
    // Splash, windows, data module; afterwards the main window is ready to show.
    void createAll(bool showSplash);
};

// The application title, Qt's own Chinese texts, the fonts and the hint delay.
void configureApplication();
