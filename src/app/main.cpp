#include "BatchPrint.h"
#include "Fonts.h"
#include "Main.h"
#include "MessageBoxPrompt.h"
#include "Startup.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    if (isBatchPrint(argc, argv)) {
        // No window is shown, so no display is needed either.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        installFontSubstitutions();
        return runBatchPrint(QApplication::arguments());
    }
    QApplication app(argc, argv);
    configureApplication();
    MessageBoxPrompt prompt;
    Prompt::install(&prompt);

    Startup startup;
    startup.createAll(true);
    startup.main->show();
    const int result = QApplication::exec();
    Prompt::install(nullptr);
    return result;
}
