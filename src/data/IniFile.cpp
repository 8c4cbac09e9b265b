#include "IniFile.h"

#include "Error.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

QString &overriddenFolder()
{
    static QString folder;
    return folder;
}

} // namespace

QString ProgramFolder::path()
{
    return overriddenFolder().isEmpty() ? QCoreApplication::applicationDirPath() : overriddenFolder();
}

QString ProgramFolder::filePath(const QString &name)
{
    return QDir(path()).filePath(name);
}

void ProgramFolder::setPath(const QString &folder)
{
    overriddenFolder() = folder;
}

IniFile::IniFile(const QString &path)
    : m_path(path)
    , m_settings(std::make_unique<QSettings>(path, QSettings::IniFormat))
{
}

IniFile::~IniFile() = default;

int IniFile::readInteger(const QString &section, const QString &key, int defaultValue) const
{
    m_settings->sync();
    const QVariant value = m_settings->value(section + QLatin1Char('/') + key);
    if (!value.isValid())
        return defaultValue;
    bool ok = false;
    const int number = value.toString().trimmed().toInt(&ok);
    return ok ? number : defaultValue;
}

void IniFile::writeInteger(const QString &section, const QString &key, int value)
{
    const QFileInfo file(m_path);
    // QSettings does not report a file it could not replace until it syncs,
    // and then silently; test the way there first.
    const bool writable = file.exists() ? file.isWritable() : QFileInfo(file.absolutePath()).isWritable();
    if (writable) {
        m_settings->setValue(section + QLatin1Char('/') + key, value);
        m_settings->sync();
    }
    if (!writable || m_settings->status() == QSettings::AccessError)
        throw data::Error(QStringLiteral("无法写入设置文件“%1”。").arg(QDir::toNativeSeparators(m_path)));
}
