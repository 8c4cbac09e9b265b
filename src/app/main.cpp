#include "DM.h"
#include "MessageBoxPrompt.h"
#include "PlaceholderWindow.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(applicationTitle());
    QApplication::setApplicationVersion(QStringLiteral(LUMORA_VERSION));

    // Qt's own Chinese for the standard buttons (是 / 否 / 确定 / 取消).
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    MessageBoxPrompt prompt;
    Prompt::install(&prompt);

    PlaceholderWindow window;
    TDM1 dataModule(&window);
    window.showDatabaseSummary();
    window.show();
    const int result = QApplication::exec();
    Prompt::install(nullptr);
    return result;
}
