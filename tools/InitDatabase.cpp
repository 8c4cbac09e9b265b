#include "InitDatabase.h"

#include "DataLink.h"
#include "Error.h"
#include "PostgresTarget.h"
#include "Schema.h"
#include "SqliteTarget.h"
#include "UsageError.h"

#include <QDir>
#include <QFileInfo>

namespace initdb {

namespace {

// The absolute path with the folder's symbolic links resolved, so that two
// spellings of one folder compare equal.
QString resolvedPath(const QString &file)
{
    const QFileInfo info(file);
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return (folder.isEmpty() ? info.absolutePath() : folder) + QLatin1Char('/') + info.fileName();
}

void checkUdlFile(const InitOptions &options)
{
    if (!options.sqliteFile.isEmpty() &&
        resolvedPath(options.sqliteFile) == resolvedPath(options.udlFile))
        throw UsageError(QStringLiteral("数据库文件和数据连接文件不能是同一个文件。"));
    const QFileInfo udl(options.udlFile);
    if (!QFileInfo(udl.absolutePath()).isDir())
        throw data::Error(
            QStringLiteral("数据连接文件的文件夹“%1”不存在。").arg(udl.absolutePath()));
    if (udl.isDir())
        throw data::Error(
            QStringLiteral("数据连接文件“%1”是一个文件夹。").arg(udl.absoluteFilePath()));
    if (udl.exists() && !options.force)
        throw data::Error(
            QStringLiteral("数据连接文件“%1”已存在，未作改动；要替换它，请加 --force。")
                .arg(udl.absoluteFilePath()));
}

} // namespace

QString sqliteDataSource(const QString &databaseFile, const QString &udlFile)
{
    const QString database = resolvedPath(databaseFile);
    const QString folder = QFileInfo(resolvedPath(udlFile)).absolutePath();
    const QString relative = QDir(folder).relativeFilePath(database);
    if (relative == QLatin1String("..") || relative.startsWith(QLatin1String("../")))
        return database;
    return relative;
}

QString initDatabase(const InitOptions &options)
{
    checkUdlFile(options);
    data::DataLink link;
    RowCounts counts;
    QString where;
    if (options.postgres) {
        counts = createPostgresTables(options);
        link = *options.postgres;
        where = QStringLiteral("PostgreSQL 数据库“%1”（%2%3）")
                    .arg(link.initialCatalog, link.dataSource,
                         link.port.isEmpty() ? QString() : QLatin1Char(':') + link.port);
    } else {
        counts = createSqliteDatabase(options);
        link.provider = QStringLiteral("SQLite");
        link.dataSource = sqliteDataSource(options.sqliteFile, options.udlFile);
        where = QStringLiteral("SQLite 数据库“%1”")
                    .arg(QFileInfo(options.sqliteFile).absoluteFilePath());
    }
    link.writeFile(options.udlFile);
    return QStringLiteral("已创建 %1：%2 张表，写入 %3 行（%4）；数据连接文件“%5”。")
        .arg(where)
        .arg(data::Schema::tables().size())
        .arg(counts.total())
        .arg(counts.text(), QFileInfo(options.udlFile).absoluteFilePath());
}

} // namespace initdb
