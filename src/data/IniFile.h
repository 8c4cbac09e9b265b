#pragma once

#include <QSettings>
#include <QString>

#include <memory>

// The program's folder: the folder of the executable, where CRM.ini lies.
// Tests point it elsewhere, so that they never touch the real file.
class ProgramFolder
{
public:
    static QString path();
    static QString filePath(const QString &name);
    static void setPath(const QString &folder); // empty: the executable's folder again
};

// An INI file read and written through at every access, so that two objects
// on the same file see each other's writes. Integers only, as the settings are.
class IniFile
{
public:
    explicit IniFile(const QString &path);
    ~IniFile();

    QString path() const { return m_path; }
    // A missing file, section or key, or a value that is not a whole number, reads as `defaultValue`.
    int readInteger(const QString &section, const QString &key, int defaultValue) const;
    // Throws data::Error naming the file when it cannot be written.
    void writeInteger(const QString &section, const QString &key, int value);

private:
    QString m_path;
    std::unique_ptr<QSettings> m_settings;
};
