#include "AppFixture.h"
#include "Load.h"
#include "Main.h"
#include "Option.h"
#include "TestMain.h"
#include "Welcome.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QTabWidget>
#include <QTest>

using namespace Qt::StringLiterals;

// Pictures of the windows for a look by eye, saved when CRM_SNAPSHOT_DIR is set.
class TestSnapshots : public QObject
{
    Q_OBJECT

    std::unique_ptr<AppFixture> m_app;

    void expectSaved(const QString &path)
    {
        QVERIFY(!path.isEmpty());
        QVERIFY2(QFileInfo(path).size() > 1000, qPrintable(path));
    }

private slots:
    void init()
    {
        if (qEnvironmentVariableIsEmpty("CRM_SNAPSHOT_DIR"))
            QSKIP("set CRM_SNAPSHOT_DIR to save the pictures");
        m_app = std::make_unique<AppFixture>(TestDatabase::Backend::Sqlite);
        const QDate today = m_app->clock.now().date();
        m_app->db().exec(u"INSERT INTO \"ClientBespeak\" (\"ClientName\", \"Dates\", \"Times\") VALUES "
                         "('北京华信科技有限公司', :t, '10:00:00'), ('上海博远贸易有限公司', :t, '14:30:00'), "
                         "('广州恒通电子有限公司', :n, '09:00:00')"_s,
                         {{u"t"_s, today}, {u"n"_s, today.addDays(2)}});
        m_app->start();
    }
    void cleanup() { m_app.reset(); }

    void windows()
    {
        TMainForm *main = m_app->app().main.get();
        m_app->expectLogin(u"admin"_s, {u""_s});
        main->show();
        QApplication::processEvents();
        expectSaved(saveSnapshot(main, u"main-window"_s));
        expectSaved(saveSnapshot(m_app->app().welcome.get(), u"splash"_s));

        TLoadForm *login = m_app->app().login.get();
        login->show();
        expectSaved(saveSnapshot(login, u"login"_s));
        login->hide();

        TOptionForm *options = m_app->app().options.get();
        options->show();
        for (int i = 0; i < options->pages()->count(); ++i) {
            options->pages()->setCurrentIndex(i);
            expectSaved(saveSnapshot(options, u"settings-%1"_s.arg(i + 1)));
        }
        options->hide();
    }
};

LUMORA_TEST_CLASS(TestSnapshots)

#include "tst_snapshots.moc"
