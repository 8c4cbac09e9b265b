#include "DataLink.h"

#include "Error.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace data {

namespace {

QString decode(const QByteArray &bytes)
{
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        auto decoder = QStringDecoder(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE
                                                                   : QStringDecoder::Utf16BE);
        return decoder(bytes.mid(2));
    }
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    return QString::fromUtf8(bytes);
}

bool isProviderKnown(const QString &provider)
{
    return provider.contains(QLatin1String("SQLite"))
        || provider.compare(QLatin1String("PostgreSQL"), Qt::CaseInsensitive) == 0;
}

} // namespace

DataLink DataLink::readFile(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        throw Error(QStringLiteral("找不到数据连接文件“%1”，无法连接数据库。")
                        .arg(QFileInfo(path).absoluteFilePath()));
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("无法读取数据连接文件“%1”：%2").arg(path, file.errorString()));

    const QString text = decode(file.readAll());
    for (QString line : text.split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';'))
            || line.compare(QLatin1String("[oledb]"), Qt::CaseInsensitive) == 0)
            continue;
        DataLink link = parse(line);
        if (link.provider.isEmpty())
            throw Error(QStringLiteral("数据连接文件“%1”没有指定数据提供程序（Provider）。").arg(path));
        if (!isProviderKnown(link.provider))
            throw Error(QStringLiteral("数据连接文件“%1”中的数据提供程序“%2”无法识别，"
                                       "请使用 SQLite 或 PostgreSQL。")
                            .arg(path, link.provider));
        return link;
    }
    throw Error(QStringLiteral("数据连接文件“%1”中没有连接字符串。").arg(path));
}

DataLink DataLink::parse(const QString &connectionString)
{
    DataLink link;
    link.connectionString = connectionString;
    for (const QString &pair : connectionString.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const qsizetype eq = pair.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        const QString key = pair.left(eq).trimmed();
        QString value = pair.mid(eq + 1).trimmed();
        if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
            value = value.mid(1, value.size() - 2);
        const auto is = [&](const char *name) {
            return key.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
        };
        if (is("Provider"))
            link.provider = value;
        else if (is("Data Source"))
            link.dataSource = value;
        else if (is("Port"))
            link.port = value;
        else if (is("Initial Catalog"))
            link.initialCatalog = value;
        else if (is("User ID"))
            link.userId = value;
        else if (is("Password"))
            link.password = value;
        else if (is("Mode"))
            link.mode = value;
    }
    return link;
}

bool DataLink::isFileDatabase() const
{
    return provider.contains(QLatin1String("SQLite"));
}

DatabaseKind DataLink::kind() const
{
    return isFileDatabase() ? DatabaseKind::Sqlite : DatabaseKind::Postgres;
}

QString DataLink::toConnectionString() const
{
    QStringList pairs;
    const auto add = [&](const char *key, const QString &value) {
        if (!value.isEmpty())
            pairs << QLatin1String(key) + QLatin1Char('=') + value;
    };
    add("Provider", provider);
    add("Data Source", dataSource);
    add("Port", port);
    add("Initial Catalog", initialCatalog);
    add("User ID", userId);
    add("Password", password);
    add("Mode", mode);
    return pairs.join(QLatin1Char(';'));
}

void DataLink::writeFile(const QString &path) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw Error(QStringLiteral("无法写入数据连接文件“%1”：%2").arg(path, file.errorString()));
    const QByteArray content = "[oledb]\n; Everything after this line is an OLE DB initstring\n"
                             + toConnectionString().toUtf8() + '\n';
    file.write(content);
    if (!file.commit())
        throw Error(QStringLiteral("无法写入数据连接文件“%1”：%2").arg(path, file.errorString()));
}

} // namespace data
