#include "ConnInfo.h"

#include "UsageError.h"

#include <QHash>

namespace initdb {

namespace {

[[noreturn]] void invalid(const QString &why)
{
    throw UsageError(QStringLiteral("--postgres 的连接参数有误：%1").arg(why));
}

QHash<QString, QString> parseWords(const QString &text)
{
    QHash<QString, QString> words;
    qsizetype i = 0;
    const qsizetype n = text.size();
    const auto skipSpace = [&] {
        while (i < n && text.at(i).isSpace())
            ++i;
    };
    for (;;) {
        skipSpace();
        if (i == n)
            return words;
        const qsizetype keyStart = i;
        while (i < n && !text.at(i).isSpace() && text.at(i) != QLatin1Char('='))
            ++i;
        const QString key = text.mid(keyStart, i - keyStart);
        if (key.isEmpty())
            invalid(QStringLiteral("“=”前缺少参数名。"));
        skipSpace();
        if (i == n || text.at(i) != QLatin1Char('='))
            invalid(QStringLiteral("“%1”后缺少“=”。").arg(key));
        ++i;
        skipSpace();
        QString value;
        if (i < n && text.at(i) == QLatin1Char('\'')) {
            ++i;
            bool closed = false;
            while (i < n) {
                const QChar c = text.at(i++);
                if (c == QLatin1Char('\'')) {
                    closed = true;
                    break;
                }
                if (c == QLatin1Char('\\') && i < n)
                    value += text.at(i++);
                else
                    value += c;
            }
            if (!closed)
                invalid(QStringLiteral("“%1”的值缺少结尾的单引号。").arg(key));
        } else {
            while (i < n && !text.at(i).isSpace()) {
                const QChar c = text.at(i++);
                if (c == QLatin1Char('\\') && i < n)
                    value += text.at(i++);
                else
                    value += c;
            }
        }
        words.insert(key, value); // as in libpq, a repeated key keeps its last value
    }
}

} // namespace

data::DataLink parseConnInfo(const QString &conninfo)
{
    if (conninfo.contains(QLatin1String("://")))
        invalid(QStringLiteral(
            "请使用 key=value 形式，例如“host=127.0.0.1 port=5432 dbname=CRMS user=crm”。"));
    const QHash<QString, QString> words = parseWords(conninfo);
    static const QStringList known = {"host", "port", "dbname", "user", "password"};
    for (auto it = words.cbegin(); it != words.cend(); ++it) {
        if (!known.contains(it.key()))
            invalid(QStringLiteral("不支持参数“%1”（可用：%2）。")
                        .arg(it.key(), known.join(QLatin1String(", "))));
        // The data-link file separates its pairs with ";" and cannot hold one in a value.
        if (it.value().contains(QLatin1Char(';')))
            invalid(QStringLiteral("“%1”的值含有分号，数据连接文件无法保存它。").arg(it.key()));
    }
    const QString port = words.value(QStringLiteral("port"));
    if (!port.isEmpty()) {
        bool ok = false;
        const int number = port.toInt(&ok);
        if (!ok || number < 1 || number > 65535)
            invalid(QStringLiteral("端口“%1”不是 1 到 65535 之间的数字。").arg(port));
    }

    data::DataLink link;
    link.provider = QStringLiteral("PostgreSQL");
    link.dataSource = words.value(QStringLiteral("host"));
    if (link.dataSource.isEmpty())
        link.dataSource = QStringLiteral("localhost");
    link.port = port;
    link.initialCatalog = words.value(QStringLiteral("dbname"));
    if (link.initialCatalog.isEmpty())
        link.initialCatalog = QStringLiteral("CRMS");
    link.userId = words.value(QStringLiteral("user"));
    link.password = words.value(QStringLiteral("password"));
    return link;
}

} // namespace initdb
