#include "SqliteTarget.h"

#include "Connection.h"
#include "Error.h"
#include "Populate.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

namespace initdb {

namespace {

// The file the database is built in; removed unless it was moved into place.
class ScratchFile
{
public:
    explicit ScratchFile(const QFileInfo &target)
    {
        // Created here rather than by QTemporaryFile, which would make it
        // private to the owner: the database must get the usual permissions.
        for (int attempt = 0;; ++attempt) {
            m_path = QStringLiteral("%1/.%2.%3-%4.tmp")
                         .arg(target.absolutePath(), target.fileName())
                         .arg(QCoreApplication::applicationPid())
                         .arg(attempt);
            QFile file(m_path);
            if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
                return;
            if (!file.exists() || attempt == 100)
                throw data::Error(QStringLiteral("无法在文件夹“%1”中创建数据库文件：%2")
                                      .arg(target.absolutePath(), file.errorString()));
        }
    }
    ~ScratchFile()
    {
        if (m_path.isEmpty())
            return;
        QFile::remove(m_path);
        QFile::remove(m_path + QStringLiteral("-journal"));
    }
    ScratchFile(const ScratchFile &) = delete;
    ScratchFile &operator=(const ScratchFile &) = delete;

    const QString &path() const { return m_path; }

    void moveTo(const QString &target)
    {
        // QFile::rename refuses to replace a file; rename(2) replaces it in one step.
        std::error_code error;
        std::filesystem::rename(QFile::encodeName(m_path).toStdString(),
                                QFile::encodeName(target).toStdString(), error);
        if (error)
            throw data::Error(QStringLiteral("无法把新数据库放到“%1”：%2")
                                  .arg(target, QString::fromLocal8Bit(error.message())));
        m_path.clear();
    }

private:
    QString m_path;
};

} // namespace

RowCounts createSqliteDatabase(const InitOptions &options)
{
    const QFileInfo target(options.sqliteFile);
    if (!QFileInfo(target.absolutePath()).isDir())
        throw data::Error(QStringLiteral("文件夹“%1”不存在。").arg(target.absolutePath()));
    if (target.exists() && !options.force)
        throw data::Error(QStringLiteral("数据库文件“%1”已存在，未作改动；要替换它，请加 --force。")
                              .arg(target.absoluteFilePath()));

    ScratchFile scratch(target);
    RowCounts counts;
    try {
        data::Connection connection;
        connection.setConnectionString(QStringLiteral("Provider=SQLite;Data Source=") +
                                       scratch.path());
        connection.open();
        // The default page cache is small for a demo database of a hundred
        // thousand clients; index updates then go to the file system each time.
        connection.exec(QStringLiteral("PRAGMA cache_size = -65536")).finish();
        counts = populate(connection, options);
        connection.close();
    } catch (const data::Error &error) {
        throw data::Error(QStringLiteral("创建数据库文件“%1”失败，未作改动：%2")
                              .arg(target.absoluteFilePath(), error.message()));
    }
    // A journal left by the replaced database would be rolled into the new one.
    for (const char *suffix : {"-journal", "-wal", "-shm"})
        QFile::remove(target.absoluteFilePath() + QLatin1String(suffix));
    scratch.moveTo(target.absoluteFilePath());
    return counts;
}

} // namespace initdb
