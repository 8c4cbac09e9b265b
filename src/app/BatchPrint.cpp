#include "BatchPrint.h"

#include "Clock.h"
#include "DM.h"
#include "Error.h"
#include "LoginSession.h"
#include "PasswordHash.h"
#include "PreparedReport.h"
#include "Prompt.h"
#include "ReportData.h"
#include "ReportExport.h"

#include <QCommandLineParser>
#include <QDir>
#include <QTextStream>

#include <cstdio>
#include <cstring>

namespace {

enum Exit { Done = 0, BadArguments = 2, NoDatabase = 3, BadLogin = 4, NoRight = 5, NothingToPrint = 6, Failed = 7 };

int fail(int code, const QString &reason)
{
    QTextStream(stderr) << "lumora-crm: " << reason << Qt::endl;
    return code;
}

// Keeps the boxes the data module would show, for the one line on standard error.
class CollectingPrompt final : public Prompt
{
public:
    MessageButton show(const Message &message) override
    {
        texts << message.text.simplified();
        return MessageButton::Ok;
    }
    QStringList texts;
};

QString readPassword()
{
    if (qEnvironmentVariableIsSet("LUMORA_PASSWORD"))
        return qEnvironmentVariable("LUMORA_PASSWORD");
    QTextStream in(stdin);
    return in.readLine();
}

} // namespace

bool isBatchPrint(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--report") == 0 || std::strncmp(argv[i], "--report=", 9) == 0)
            return true;
    }
    return false;
}

int runBatchPrint(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption report(QStringLiteral("report"), QStringLiteral("报表编号"), QStringLiteral("N"));
    const QCommandLineOption pdf(QStringLiteral("pdf"), QStringLiteral("写出PDF文件"), QStringLiteral("FILE"));
    const QCommandLineOption xlsx(QStringLiteral("xlsx"), QStringLiteral("写出Excel文件"), QStringLiteral("FILE"));
    const QCommandLineOption user(QStringLiteral("user"), QStringLiteral("用户名"), QStringLiteral("NAME"));
    parser.addOptions({report, pdf, xlsx, user});
    if (!parser.parse(arguments))
        return fail(BadArguments, parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return fail(BadArguments, QStringLiteral("多余的参数：") + parser.positionalArguments().join(QLatin1Char(' ')));
    bool isNumber = false;
    const int number = parser.value(report).toInt(&isNumber);
    if (!isNumber || !reportNumbers().contains(number))
        return fail(BadArguments, QStringLiteral("没有编号为“%1”的报表。").arg(parser.value(report)));
    if (parser.isSet(pdf) == parser.isSet(xlsx))
        return fail(BadArguments, QStringLiteral("请用 --pdf FILE 或 --xlsx FILE 指定一个输出文件。"));
    const bool spreadsheet = parser.isSet(xlsx);
    const QString output = QDir::current().absoluteFilePath(parser.value(spreadsheet ? xlsx : pdf));
    const QString userName = parser.value(user);
    if (userName.isEmpty())
        return fail(BadArguments, QStringLiteral("请用 --user NAME 指定用户。"));
    const QString password = readPassword();

    CollectingPrompt prompt;
    Prompt::install(&prompt);
    struct Uninstall
    {
        ~Uninstall() { Prompt::install(nullptr); }
    } uninstall;

    TDM1 dataModule(nullptr, QDir::currentPath());
    data::Dataset *users = dataModule.ADODataSet11;
    if (!users->isActive())
        return fail(NoDatabase, QStringLiteral("无法打开数据库：")
                                    + (prompt.texts.isEmpty() ? QStringLiteral("未知错误") : prompt.texts.first()));
    try {
        if (!users->locate(QStringLiteral("用户名"), userName)
            || !data::verifyPassword(password, users->fieldByName(QStringLiteral("密码")).asString()))
            return fail(BadLogin, QStringLiteral("用户名或密码错误。"));
        if (spreadsheet && !users->fieldByName(rightColumn(Right::ExportData)).asBoolean())
            return fail(NoRight, QStringLiteral("用户“%1”没有导出数据的权限。").arg(userName));

        const std::optional<ReportContent> content = captureNumberedReport(number);
        if (!content)
            return fail(NothingToPrint, QStringLiteral("没有可打印的报表数据！"));
        if (spreadsheet)
            writeReportSpreadsheet(*content, output);
        else
            writeReportPdf(PreparedReport(*content, PreparedReport::defaultPageLayout(), currentDate()), output);
    } catch (const data::Error &e) {
        return fail(Failed, e.message());
    } catch (const std::exception &e) {
        return fail(Failed, QString::fromUtf8(e.what()));
    }
    return Done;
}
