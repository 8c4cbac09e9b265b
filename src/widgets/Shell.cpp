#include "Shell.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

namespace {

class DesktopShell final : public Shell
{
public:
    bool open(const QString &target) override
    {
        static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
        const QFileInfo file(target);
        // A path names a file that must be there.
        if (QDir::isAbsolutePath(target))
            return file.exists() && QDesktopServices::openUrl(QUrl::fromLocalFile(file.absoluteFilePath()));
        if (scheme.match(target).hasMatch()) {
            const QUrl url(target);
            return url.isValid() && QDesktopServices::openUrl(url);
        }
        if (file.exists())
            return QDesktopServices::openUrl(QUrl::fromLocalFile(file.absoluteFilePath()));
        // "www.example.com": a web address typed without its scheme.
        const QUrl url = QUrl::fromUserInput(target);
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
