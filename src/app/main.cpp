#include "Main.h"
#include "MessageBoxPrompt.h"
#include "Startup.h"

#include <QApplication>

int main(int argc, char *argv[])
{
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
