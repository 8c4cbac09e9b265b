#include "CommandLine.h"

#include "ConnInfo.h"
#include "DemoGenerator.h"
#include "UsageError.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

namespace initdb {

namespace {

int integerValue(const QCommandLineParser &parser, const QString &option, int low, int high)
{
    bool ok = false;
    const QString text = parser.value(option);
    const qlonglong value = text.toLongLong(&ok);
    if (!ok || value < low || value > high)
        throw UsageError(QStringLiteral("--%1 的值“%2”应为 %3 到 %4 之间的整数。")
                             .arg(option, text)
                             .arg(low)
                             .arg(high));
    return int(value);
}

QString description()
{
    return QStringLiteral(
        "创建 Lumora 客户关系管理系统的数据库（SQLite 文件或 PostgreSQL 数据库）：\n"
        "建立全部数据表，写入检索字段对照表和第一个用户（系统管理员，拥有全部权限），\n"
        "可选地填入演示数据，并写好程序使用的数据连接文件。\n"
        "不加 --force 时不会覆盖已有的数据库、数据表或数据连接文件。");
}

} // namespace

CommandLine parseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(description());
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addOptions({
        {"sqlite", QStringLiteral("在 <文件> 创建 SQLite 数据库。"), QStringLiteral("文件")},
        {"postgres",
         QStringLiteral("在 PostgreSQL 数据库中建表；<连接参数> 为 libpq 格式，如 "
                        "\"host=127.0.0.1 port=5432 dbname=CRMS user=crm password=…\"。"),
         QStringLiteral("连接参数")},
        {"udl", QStringLiteral("要写的数据连接文件（默认：当前文件夹下的 Connect.udl）。"),
         QStringLiteral("路径")},
        {"admin", QStringLiteral("第一个用户的用户名（默认：admin）。"), QStringLiteral("用户名")},
        {"admin-password", QStringLiteral("第一个用户的密码（默认：空）。"),
         QStringLiteral("密码")},
        {"demo", QStringLiteral("填入 <n> 个演示客户及其联系人、往来记录、预约和订单。"),
         QStringLiteral("n")},
        {"contacts",
         QStringLiteral(
             "演示联系人的总数 <m>（n ≤ m ≤ 4n），平均分给各客户；默认每个客户 1 到 4 个。"),
         QStringLiteral("m")},
        {"seed", QStringLiteral("演示数据的随机种子（默认：1）；同一种子得到同样的数据。"),
         QStringLiteral("s")},
        {"today", QStringLiteral("演示数据以这一天为“今天”（yyyy-MM-dd，默认：今天）。"),
         QStringLiteral("日期")},
        {"force", QStringLiteral("替换已有的数据库文件、数据表和数据连接文件。")},
    });

    if (!parser.parse(arguments))
        throw UsageError(parser.errorText());
    if (parser.isSet(help))
        return {{}, parser.helpText()};
    if (parser.isSet(version))
        return {{},
                QCoreApplication::applicationName() + QLatin1Char(' ') +
                    QCoreApplication::applicationVersion() + QLatin1Char('\n')};
    if (!parser.positionalArguments().isEmpty())
        throw UsageError(QStringLiteral("多余的参数“%1”。")
                             .arg(parser.positionalArguments().join(QLatin1Char(' '))));

    CommandLine command;
    InitOptions &o = command.options;
    const bool sqlite = parser.isSet(QStringLiteral("sqlite"));
    const bool postgres = parser.isSet(QStringLiteral("postgres"));
    if (sqlite == postgres)
        throw UsageError(
            QStringLiteral("请指定 --sqlite 或 --postgres 二者之一（用 --help 查看用法）。"));
    if (sqlite) {
        o.sqliteFile = parser.value(QStringLiteral("sqlite"));
        if (o.sqliteFile.isEmpty())
            throw UsageError(QStringLiteral("--sqlite 需要数据库文件名。"));
        // The data-link file separates its pairs with ";".
        if (QDir::cleanPath(QDir::current().absoluteFilePath(o.sqliteFile))
                .contains(QLatin1Char(';')))
            throw UsageError(
                QStringLiteral("数据库文件的路径不能含有分号：数据连接文件无法保存它。"));
    } else {
        o.postgres = parseConnInfo(parser.value(QStringLiteral("postgres")));
    }

    o.udlFile = parser.isSet(QStringLiteral("udl")) ? parser.value(QStringLiteral("udl"))
                                                    : QString::fromLatin1(data::DataLink::fileName);
    if (o.udlFile.isEmpty())
        throw UsageError(QStringLiteral("--udl 需要文件名。"));
    if (parser.isSet(QStringLiteral("admin")))
        o.adminName = parser.value(QStringLiteral("admin"));
    if (o.adminName.trimmed().isEmpty() || o.adminName.size() > 50)
        throw UsageError(QStringLiteral("--admin 的用户名不能为空，最多 50 个字符。"));
    o.adminPassword = parser.value(QStringLiteral("admin-password"));
    o.force = parser.isSet(QStringLiteral("force"));

    if (parser.isSet(QStringLiteral("demo")))
        o.demoClients = integerValue(parser, QStringLiteral("demo"), 0, DemoGenerator::maxClients);
    for (const char *option : {"contacts", "seed", "today"}) {
        if (parser.isSet(QLatin1String(option)) && !o.demoClients)
            throw UsageError(
                QStringLiteral("--%1 只能与 --demo 一起使用。").arg(QLatin1String(option)));
    }
    if (parser.isSet(QStringLiteral("contacts"))) {
        const int clients = *o.demoClients;
        o.demoContacts = integerValue(parser, QStringLiteral("contacts"), clients, 4 * clients);
    }
    if (parser.isSet(QStringLiteral("seed"))) {
        bool ok = false;
        o.seed = parser.value(QStringLiteral("seed")).toULongLong(&ok);
        if (!ok)
            throw UsageError(QStringLiteral("--seed 的值“%1”不是非负整数。")
                                 .arg(parser.value(QStringLiteral("seed"))));
    }
    o.today = QDate::currentDate();
    if (parser.isSet(QStringLiteral("today"))) {
        o.today =
            QDate::fromString(parser.value(QStringLiteral("today")), QStringLiteral("yyyy-MM-dd"));
        // Four-digit years only: the order numbers hold the date as yyyyMMdd.
        if (!o.today.isValid() || o.today.year() < 1900)
            throw UsageError(
                QStringLiteral("--today 的值“%1”不是 1900 年以后的 yyyy-MM-dd 格式日期。")
                    .arg(parser.value(QStringLiteral("today"))));
    }
    return command;
}

} // namespace initdb
