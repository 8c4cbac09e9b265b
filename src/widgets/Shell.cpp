#include "Shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace {

class DesktopShell final : public Shell
{
public:
    bool open(const QString &target) override
    {
        const QUrl url = QFileInfo::exists(target) ? QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath())
                                                   : QUrl::fromUserInput(target);
        return url.isValid() && QDesktopServices::openUrl(url);
    }
};

Shell *installedShell = nullptr;

} // namespace

Shell &Shell::current()
{
    static DesktopShell desktop;
    return installedShell ? *installedShell : desktop;
}

void Shell::install(Shell *shell)
{
    installedShell = shell;
}
