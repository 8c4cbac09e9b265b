#include "AppFixture.h"
#include "Main.h"
#include "MainCommands.h"
#include "Option.h"
#include "TestMain.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QDir>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

using namespace Qt::StringLiterals;

// The settings dialog and the keys of CRM.ini.
class TestSettings : public QObject
{
    Q_OBJECT

    std::unique_ptr<AppFixture> m_app;
    TOptionForm *options() { return m_app->app().options.get(); }

    // Opens the dialog through its command and runs `script` while it is open.
    void openSettings(const std::function<void(TOptionForm *)> &script)
    {
        m_app->modals.expect([script](QDialog *dialog) { script(qobject_cast<TOptionForm *>(dialog)); });
        m_app->app().main->ShowWindows(60);
    }

private slots:
    void init()
    {
        m_app = std::make_unique<AppFixture>(TestDatabase::Backend::Sqlite);
        m_app->start();
    }
    void cleanup() { m_app.reset(); }

    void defaultsOnAFreshInstallation()
    {
        QVERIFY(!QFile::exists(m_app->iniPath()));
        QCOMPARE(options()->windowTitle(), u"系统设置"_s);
        QStringList tabs;
        for (int i = 0; i < options()->pages()->count(); ++i)
            tabs << options()->pages()->tabText(i);
        QCOMPARE(tabs, (QStringList{u"数据备份"_s, u"日期"_s, u"近期安排"_s, u"预约提醒"_s}));
        QCOMPARE(options()->backupCompression(), 1);
        QCOMPARE(options()->Mode->currentText(), u"标准"_s);
        QCOMPARE(options()->firstDayOfWeek(), 0);
        QCOMPARE(options()->comingDays(), 7);
        QCOMPARE(options()->reminderChoice(), 0);
    }

    void quitWritesNothing()
    {
        openSettings([](TOptionForm *dialog) {
            dialog->findChild<QSpinBox *>(u"days"_s)->setValue(3);
            dialog->Mode->setCurrentIndex(5);
            QTest::mouseClick(dialog->findChild<QPushButton *>(u"quitButton"_s), Qt::LeftButton);
        });
        QVERIFY(!QFile::exists(m_app->iniPath()));
        // The controls show the stored values again.
        QCOMPARE(options()->comingDays(), 7);
        QCOMPARE(options()->compressionLevel(), 3);
    }

    void saveWritesTheKeys()
    {
        openSettings([](TOptionForm *dialog) {
            dialog->findChild<QSpinBox *>(u"days"_s)->setValue(3);
            dialog->Mode->setCurrentIndex(5);
            QTest::mouseClick(dialog->findChild<QPushButton *>(u"saveButton"_s), Qt::LeftButton);
            QVERIFY(!dialog->isVisible());
        });
        QSettings ini(m_app->iniPath(), QSettings::IniFormat);
        QCOMPARE(ini.value(u"TermSet/Set"_s).toString(), u"3"_s);
        QCOMPARE(ini.value(u"BackUpSet/Set"_s).toString(), u"5"_s);
        QCOMPARE(ini.value(u"BackUpSet/BackUp"_s).toString(), u"1"_s);
        QCOMPARE(ini.value(u"SetWeek/Set"_s).toString(), u"0"_s);
        QCOMPARE(ini.value(u"Information/Set"_s).toString(), u"0"_s);
        QCOMPARE(options()->comingDays(), 3);
    }

    void badValuesReadAsDefaults_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("text where numbers belong") << QByteArray("[TermSet]\nSet=sieben\n[BackUpSet]\nSet=x\nBackUp=\n");
        QTest::newRow("not an ini file") << QByteArray("\xff\xfe\x00garbage\n=[=\n");
    }
    void badValuesReadAsDefaults()
    {
        QFETCH(QByteArray, content);
        QFile file(m_app->iniPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        options()->LoadSet();
        QCOMPARE(options()->comingDays(), 7);
        QCOMPARE(options()->compressionLevel(), 3);
        QCOMPARE(options()->backupCompression(), 1);
    }

    // A file that cannot be written: the settings-file error box names it.
    void unwritableFileGivesTheSettingsFileError()
    {
        // A folder in the file's place cannot be written, whatever the user's rights.
        QVERIFY(QDir().mkpath(m_app->iniPath()));
        openSettings([](TOptionForm *dialog) {
            dialog->findChild<QSpinBox *>(u"days"_s)->setValue(3);
            QTest::mouseClick(dialog->findChild<QPushButton *>(u"saveButton"_s), Qt::LeftButton);
            // The dialog stays open on the error.
            QVERIFY(dialog->isVisible());
            dialog->reject();
        });
        QCOMPARE(m_app->prompt.count(), 1);
        QCOMPARE(m_app->prompt.shown().first().caption, u"Lumora客户关系管理系统(免费)"_s);
        QCOMPARE(m_app->prompt.shown().first().icon, MessageIcon::Error);
        QVERIFY2(m_app->prompt.shown().first().text.contains(m_app->iniPath()),
                 qPrintable(m_app->prompt.shown().first().text));
        QCOMPARE(options()->comingDays(), 7);
    }
};

LUMORA_TEST_CLASS(TestSettings)

#include "tst_settings.moc"
