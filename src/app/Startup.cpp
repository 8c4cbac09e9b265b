#include "Startup.h"

#include "ClientList.h"
#include "ClientRecords.h"
#include "DM.h"
#include "EditArea.h"
#include "EditClient.h"
#include "Fonts.h"
#include "Load.h"
#include "Main.h"
#include "Option.h"
#include "Prompt.h"
#include "RegionRecords.h"
#include "Search.h"
#include "SortForm.h"
#include "Welcome.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QProxyStyle>
#include <QTranslator>

namespace {

// Hints show after a second's pause.
class HintDelayStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == QStyle::SH_ToolTip_WakeUpDelay)
            return 1000;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

void configureApplication()
{
    QApplication::setApplicationName(applicationTitle());
    QApplication::setApplicationVersion(QStringLiteral(LUMORA_VERSION));
    static QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);
    installFontSubstitutions();
    QApplication::setStyle(new HintDelayStyle);
}

Startup::Startup() = default;

Startup::~Startup()
{
    reset();
}

void Startup::reset()
{
    // The reverse of creation: nothing may outlive the data module it reads.
    // Child windows first: they show the data module's datasets.
    if (main)
        main->closeChildWindows();
    search.reset();
    sortSet.reset();
    editArea.reset();
    editClient.reset();
    options.reset();
    dataModule.reset();
    login.reset();
    main.reset();
    welcome.reset();
}

void Startup::createAll(bool showSplash)
{
    welcome = std::make_unique<TWelcomeForm>();
    if (showSplash) {
        welcome->show();
        welcome->repaint();
        QApplication::processEvents();
    }
    main = std::make_unique<TMainForm>();
    login = std::make_unique<TLoadForm>(main.get());
    dataModule = std::make_unique<TDM1>(main.get());
    options = std::make_unique<TOptionForm>(main.get());
    main->registerDialog(60, options.get());
    // The editors bind to the data module's datasets and lists, so they follow it.
    editClient = std::make_unique<TEditClientForm>(main.get());
    installClientRename();
    editArea = std::make_unique<TEditAreaForm>(main.get());
    installRegionRename();
    main->registerDialog(58, editArea.get());
    sortSet = std::make_unique<TSortSetForm>(main.get());
    main->registerDialog(64, sortSet.get());
    search = std::make_unique<TSearchForm>(main.get());
    main->setSearchDialog(search.get());
    main->registerChildWindow(51, &TClientListForm::staticMetaObject,
                              [](QWidget *) -> QWidget * { return new TClientListForm; });
    welcome->hide();
    main->setWelcomeForm(welcome.get());
}
