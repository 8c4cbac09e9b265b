#include "AppFixture.h"
#include "DM.h"
#include "Load.h"
#include "LoginSession.h"
#include "Main.h"
#include "MainCommands.h"
#include "MainStatusBar.h"
#include "PasswordHash.h"
#include "TestMain.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

Message wrongPassword(int left)
{
    Message m;
    m.caption = u"错误"_s;
    m.text = u"您输入的密码有误，您还有%1次机会重新输入！"_s.arg(left);
    m.icon = MessageIcon::Warning;
    return m;
}

} // namespace

// Logging in and out: the three tries, the Log rows, the rights.
class TestLogin : public QObject
{
    Q_OBJECT

    std::unique_ptr<AppFixture> m_app;

    TMainForm *main() { return m_app->app().main.get(); }

private slots:
    void initTestCase_data() { addBackendRows(); }
    void init()
    {
        LUMORA_INIT_BACKEND(backend);
        m_app = std::make_unique<AppFixture>(backend);
        m_app->addUser(u"张三"_s, data::hashPassword(u"Secret9"_s), false);
        m_app->start();
        m_app->prompt.clear();
    }
    void cleanup() { m_app.reset(); }

    void firstUserIsPreselectedAndPasswordMasked()
    {
        m_app->modals.expect([](QDialog *dialog) {
            auto *login = qobject_cast<TLoadForm *>(dialog);
            QCOMPARE(login->windowTitle(), u"登陆"_s);
            QCOMPARE(login->cbbUserName->count(), 2);
            QCOMPARE(login->cbbUserName->currentText(), u"admin"_s);
            QCOMPARE(login->edtUserPass->echoMode(), QLineEdit::Password);
            QVERIFY(!login->cbbUserName->isEditable());
            login->reject();
        });
        main()->FormActivate();
        QCOMPARE(m_app->modals.shown, QStringList{u"LoadForm"_s});
    }

    void wrongWrongRight()
    {
        m_app->expectLogin(u"张三"_s, {u"x"_s, u"secret9"_s, u"Secret9"_s});
        main()->FormActivate();
        QCOMPARE(m_app->prompt.shown(), (QList<Message>{wrongPassword(2), wrongPassword(1)}));
        QVERIFY(LoginSession.loggedIn);
        QCOMPARE(LoginSession.userName, u"张三"_s);
        QCOMPARE(main()->mainStatusBar()->RzStatusPane2->text(), u"用户：张三"_s);
        const QList<LogRow> log = logRows(m_app->db());
        QCOMPARE(log.size(), 1);
        QCOMPARE(log.first().user, u"张三"_s);
        QCOMPARE(log.first().loaded, m_app->clock.now());
        QVERIFY(!log.first().left.isValid());
        QCOMPARE(LoginSession.loginTime, m_app->clock.now());
        QVERIFY(!main()->terminated());
    }

    // The comparison counts letter case; the third wrong try ends the program silently.
    void threeWrongPasswordsEndTheProgram()
    {
        QSignalSpy ending(main(), &TMainForm::terminating);
        m_app->expectLogin(u"张三"_s, {u"secret9"_s, u"SECRET9"_s, u"Secret"_s});
        main()->FormActivate();
        QCOMPARE(m_app->prompt.shown(), (QList<Message>{wrongPassword(2), wrongPassword(1)}));
        QCOMPARE(ending.count(), 1);
        QVERIFY(!LoginSession.loggedIn);
        QVERIFY(logRows(m_app->db()).isEmpty());
    }

    void cancelledLoginEndsTheProgram()
    {
        QSignalSpy ending(main(), &TMainForm::terminating);
        m_app->expectCancelledLogin();
        main()->FormActivate();
        QCOMPARE(ending.count(), 1);
        QCOMPARE(m_app->prompt.count(), 0);
        QVERIFY(logRows(m_app->db()).isEmpty());
    }

    void emptyPasswordMatchesAnEmptyBox()
    {
        m_app->expectLogin(u"admin"_s, {u""_s});
        main()->FormActivate();
        QVERIFY(LoginSession.loggedIn);
        QCOMPARE(m_app->prompt.count(), 0);
    }

    // A password kept as typed (before hashing) is accepted once and stored hashed.
    void clearPasswordIsRewrittenAsHash()
    {
        m_app->addUser(u"李四"_s, u"Old-Pass"_s, true);
        m_app->app().dataModule->ADODataSet11->requery();
        m_app->expectLogin(u"李四"_s, {u"old-pass"_s, u"Old-Pass"_s});
        main()->FormActivate();
        QVERIFY(LoginSession.loggedIn);
        const QString stored = m_app->db().scalar(u"SELECT \"密码\" FROM \"用户\" WHERE \"用户名\" = '李四'"_s).toString();
        QVERIFY2(data::isPasswordHash(stored), qPrintable(stored));
        QVERIFY(data::verifyPassword(u"Old-Pass"_s, stored));
    }

    void logOffWritesOutDateAndLoginAddsARow()
    {
        m_app->expectLogin(u"admin"_s, {u""_s});
        main()->FormActivate();
        m_app->clock.advance(600);
        m_app->expectLogin(u"张三"_s, {u"Secret9"_s});
        main()->logOff();
        const QList<LogRow> log = logRows(m_app->db());
        QCOMPARE(log.size(), 2);
        QCOMPARE(log.at(0).user, u"admin"_s);
        QCOMPARE(log.at(0).left, m_app->clock.now());
        QCOMPARE(log.at(1).user, u"张三"_s);
        QVERIFY(!log.at(1).left.isValid());
        QCOMPARE(main()->mainStatusBar()->RzStatusPane2->text(), u"用户：张三"_s);
    }

    // The login's own Log row is gone when the user leaves: a complete row is written.
    void exitAfterTheLogRowWasDeleted()
    {
        m_app->expectLogin(u"张三"_s, {u"Secret9"_s});
        main()->FormActivate();
        const QDateTime loggedIn = m_app->clock.now();
        m_app->db().exec(u"DELETE FROM \"Log\""_s);
        m_app->clock.advance(3600);
        m_app->prompt.answer(MessageButton::Yes);
        QVERIFY(main()->close());
        const QList<LogRow> log = logRows(m_app->db());
        QCOMPARE(log.size(), 1);
        QCOMPARE(log.first().user, u"张三"_s);
        QCOMPARE(log.first().loaded, loggedIn);
        QCOMPARE(log.first().left, m_app->clock.now());
    }

    void noToTheExitQuestionWritesNothing()
    {
        m_app->expectLogin(u"admin"_s, {u""_s});
        main()->FormActivate();
        m_app->prompt.clear();
        m_app->prompt.answer(MessageButton::No);
        QVERIFY(!main()->close());
        Message question;
        question.caption = u"询问"_s;
        question.text = u"您确定要退出当前系统吗？"_s;
        question.icon = MessageIcon::Question;
        question.buttons = MessageButton::Yes | MessageButton::No;
        QCOMPARE(m_app->prompt.shown(), QList<Message>{question});
        QVERIFY(!logRows(m_app->db()).first().left.isValid());
    }

    // Commands governed by a right follow it; the others stay for every user.
    void rightsEnableTheirCommands_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("granted");
        QTest::newRow("all rights") << "admin" << "" << true;
        QTest::newRow("no rights") << "张三" << "Secret9" << false;
    }
    void rightsEnableTheirCommands()
    {
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(bool, granted);
        m_app->expectLogin(user, {password});
        main()->FormActivate();
        MainCommands *c = main()->Actions;
        for (QAction *governed : {c->PowerChange, c->ChangePassword, c->BackUpdata, c->Option, c->SystemLog,
                                  c->LogReport, c->EXCEL1->menuAction()}) {
            // A command hidden by the database kind is disabled as well.
            if (governed->isVisible())
                QVERIFY2(governed->isEnabled() == granted, qPrintable(governed->text()));
        }
        for (QAction *open : {c->ClientList, c->Visit, c->Bespeak, c->Reserve, c->Area, c->LinkManList,
                              c->SellList, c->Sort, c->ClientListReport, c->ProductReport})
            QVERIFY2(open->isEnabled(), qPrintable(open->text()));
        QCOMPARE(LoginSession.hasRight(Right::PrintReport), granted);
    }

    void emptyUserTable()
    {
        m_app->db().exec(u"DELETE FROM \"用户\""_s);
        m_app->app().dataModule->ADODataSet11->requery();
        m_app->modals.expect([](QDialog *dialog) {
            auto *login = qobject_cast<TLoadForm *>(dialog);
            QCOMPARE(login->cbbUserName->count(), 0);
            QTest::mouseClick(login->btnYES, Qt::LeftButton);
            QVERIFY(login->isVisible());
            QTest::mouseClick(login->btnNO, Qt::LeftButton);
        });
        main()->FormActivate();
        QCOMPARE(m_app->prompt.count(), 1);
        QCOMPARE(m_app->prompt.shown().first().text, u"请选择一个正确的用户名！"_s);
        QCOMPARE(m_app->prompt.shown().first().caption, u"提示"_s);
        QVERIFY(main()->terminated());
    }

    void userDeletedWhileTheDialogIsOpen()
    {
        m_app->modals.expect([this](QDialog *dialog) {
            auto *login = qobject_cast<TLoadForm *>(dialog);
            login->cbbUserName->setCurrentIndex(login->cbbUserName->findText(u"张三"_s));
            m_app->db().exec(u"DELETE FROM \"用户\" WHERE \"用户名\" = '张三'"_s);
            m_app->app().dataModule->ADODataSet11->requery();
            QTest::mouseClick(login->btnYES, Qt::LeftButton);
            QCOMPARE(login->tries(), 1);
            login->reject();
        });
        main()->FormActivate();
        QCOMPARE(m_app->prompt.shown().first().text,
                 u"找不到该用户名，请检查您选择的用户名是否正确或与管理员联系！"_s);
    }
};

LUMORA_TEST_CLASS(TestLogin)

#include "tst_login.moc"
