#include "AppFixture.h"

#include "IniFile.h"
#include "Load.h"
#include "LoginSession.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>

AppFixture::AppFixture(TestDatabase::Backend backend)
    : m_db(std::make_unique<TestDatabase>(backend))
    , m_previousDirectory(QDir::currentPath())
{
    LoginSession = LoginSessionState();
    ProgramFolder::setPath(m_programFolder.path());
    QDir::setCurrent(m_db->workingDirectory());
}

AppFixture::~AppFixture()
{
    m_startup.reset();
    QDir::setCurrent(m_previousDirectory);
    ProgramFolder::setPath(QString());
    LoginSession = LoginSessionState();
}

void AppFixture::start()
{
    m_startup.createAll(false);
}

QString AppFixture::iniPath() const
{
    return QDir(m_programFolder.path()).filePath(QStringLiteral("CRM.ini"));
}

void AppFixture::addUser(const QString &name, const QString &password, bool allRights)
{
    m_db->exec(QStringLiteral("INSERT INTO \"用户\" (\"用户名\", \"密码\", \"用户类型\", \"权限管理\", \"修改密码\", "
                              "\"打印报表\", \"导出数据\", \"备份还原\", \"查看日志\") VALUES (:n, :p, '普通用户', "
                              ":r, :r, :r, :r, :r, :r)"),
               {{QStringLiteral("n"), name}, {QStringLiteral("p"), password}, {QStringLiteral("r"), allRights}});
}

void AppFixture::expectLogin(const QString &user, const QStringList &passwords)
{
    modals.expect([user, passwords](QDialog *dialog) {
        auto *login = qobject_cast<TLoadForm *>(dialog);
        QVERIFY(login);
        const int index = login->cbbUserName->findText(user);
        QVERIFY2(index >= 0, qPrintable(user));
        login->cbbUserName->setCurrentIndex(index);
        for (const QString &password : passwords) {
            if (!login->isVisible())
                break;
            login->edtUserPass->setText(password);
            QTest::mouseClick(login->btnYES, Qt::LeftButton);
        }
    });
}

void AppFixture::expectCancelledLogin()
{
    modals.expect([](QDialog *dialog) {
        auto *login = qobject_cast<TLoadForm *>(dialog);
        QVERIFY(login);
        QTest::mouseClick(login->btnNO, Qt::LeftButton);
    });
}

QList<LogRow> logRows(TestDatabase &db)
{
    QList<LogRow> rows;
    QSqlQuery query = db.admin().exec(QStringLiteral("SELECT \"UserName\", \"LoadDate\", \"OutDate\" FROM \"Log\" "
                                                     "ORDER BY \"Degree\""));
    while (query.next()) {
        const auto when = [&](int column) {
            return data::Dialect::fromDatabase(query.value(column), data::ColumnType::DateTime).toDateTime();
        };
        rows.append({query.value(0).toString().trimmed(), when(1), when(2)});
    }
    return rows;
}
