#include "DM.h"
#include "RecordingHost.h"
#include "ScriptedPrompt.h"
#include "TestDatabase.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include "TestMain.h"

#include <QTest>

using namespace Qt::StringLiterals;
using data::Dataset;

namespace {

const QString kSaveErrorPrefix = u"您在对数据进行保存操作时，发生了如下错误：\r\n-----------------------------------------\r\r"_s;

} // namespace

// The data module on both databases: creation, the cache of the search
// captions, the kept key values, the save-error box and the shared routines.
class TestDataModule : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<ScriptedPrompt> m_prompt;
    RecordingHost m_host;

    std::unique_ptr<TDM1> create()
    {
        m_host = RecordingHost();
        return std::make_unique<TDM1>(&m_host, m_db->workingDirectory());
    }
    void fillClients()
    {
        m_db->exec(u"INSERT INTO \"ClientData\" (\"ID\", \"CoName\") VALUES ('K2', '北京华信科技有限公司'), "
                   "('K1', '上海博远贸易有限公司'), ('K3', 'O''Neil & Co')"_s);
        m_db->exec(u"INSERT INTO \"LinkMan\" (\"ClientName\", \"LinkManID\") VALUES ('北京华信科技有限公司', '王伟'), "
                   "('上海博远贸易有限公司', '张敏'), ('O''Neil & Co', 'Sean')"_s);
        m_db->exec(u"INSERT INTO \"ClientVisit\" (\"ClientName\", \"Motif\") VALUES ('北京华信科技有限公司', '回访')"_s);
        m_db->exec(u"INSERT INTO \"ClientBespeak\" (\"ClientName\", \"Motif\") VALUES ('上海博远贸易有限公司', '洽谈')"_s);
        m_db->exec(u"INSERT INTO \"ProductSell\" (\"OrderFormID\", \"ClientName\") VALUES "
                   "('XS20080101001', '北京华信科技有限公司'), ('XS20080101002', '上海博远贸易有限公司')"_s);
        m_db->exec(u"INSERT INTO \"SellDetail\" (\"OrderFormID\", \"ClientName\", \"ProductName\", \"UnitPrice\", "
                   "\"Number\", \"Agio\") VALUES ('XS20080101001', '北京华信科技有限公司', '打印机', 100, 3, 9), "
                   "('XS20080101002', '上海博远贸易有限公司', '扫描仪', 100, 3, NULL)"_s);
    }
    QStringList values(Dataset *d, const QString &column)
    {
        QStringList list;
        for (int r = 0; r < d->recordCount(); ++r)
            list << d->valueAt(r, d->columnIndex(column)).toString();
        return list;
    }

private slots:
    void initTestCase_data() { addBackendRows(); }
    void init()
    {
        LUMORA_INIT_BACKEND(backend);
        m_db = std::make_unique<TestDatabase>(backend);
        m_prompt = std::make_unique<ScriptedPrompt>();
    }
    void cleanup()
    {
        m_prompt.reset();
        m_db.reset();
    }

    void createsAndOpensEverything()
    {
        fillClients();
        auto dm = create();
        QCOMPARE(m_prompt->count(), 0);
        QCOMPARE(DM1, dm.get());
        for (Dataset *d : {dm->ADODataSet1, dm->ADODataSet2, dm->ADODataSet3, dm->ADODataSet4, dm->ADODataSet5,
                           dm->ADODataSet6, dm->ADODataSet7, dm->ADODataSet8, dm->ADODataSet9, dm->ADODataSet10,
                           dm->ADODataSet11, dm->ADOTable1, dm->LogData, dm->LinkManList, dm->SellList, dm->ADOSort,
                           dm->TransformTable})
            QVERIFY2(d->isActive(), qPrintable(d->objectName()));
        QCOMPARE(values(dm->ADODataSet1, u"ID"_s), (QStringList{u"K1"_s, u"K2"_s, u"K3"_s}));
        QCOMPARE(dm->LinkManList->recordCount(), 3);
        const bool file = m_db->backend() == TestDatabase::Backend::Sqlite;
        QCOMPARE(dm->isFileDatabase(), file);
        QCOMPARE(m_host.fileDatabaseCommands, file ? 1 : 0);
        QCOMPARE(m_host.calendarFills, 1);
        QCOMPARE(dm->DataSource10->dataset(), dm->ADODataSet9);
        QCOMPARE(dm->SortData->dataset(), dm->ADOSort);
    }

    void clientDetailsFollow()
    {
        fillClients();
        auto dm = create();
        QVERIFY(dm->ADODataSet1->locate(u"CoName"_s, u"北京华信科技有限公司"_s));
        QCOMPARE(values(dm->ADODataSet2, u"LinkManID"_s), QStringList{u"王伟"_s});
        QCOMPARE(dm->ADODataSet4->recordCount(), 1);
        QCOMPARE(dm->ADODataSet8->recordCount(), 0);
        QCOMPARE(values(dm->ADODataSet7, u"ProductName"_s), QStringList{u"打印机"_s});
        QVERIFY(dm->ADODataSet1->locate(u"CoName"_s, u"O'Neil & Co"_s));
        QCOMPARE(values(dm->ADODataSet2, u"LinkManID"_s), QStringList{u"Sean"_s});
        QCOMPARE(dm->ADODataSet7->recordCount(), 0);
        dm->ADODataSet8->append();
        QCOMPARE(dm->ADODataSet8->fieldByName(u"ClientName"_s).asString(), u"O'Neil & Co"_s);
    }

    void lineAmount_data()
    {
        QTest::addColumn<QVariant>("price");
        QTest::addColumn<QVariant>("number");
        QTest::addColumn<QVariant>("agio");
        QTest::addColumn<double>("money");
        QTest::newRow("90 %") << QVariant(100) << QVariant(3) << QVariant(9) << 270.0;
        QTest::newRow("full price") << QVariant(12.5) << QVariant(4) << QVariant(10) << 50.0;
        QTest::newRow("no discount given") << QVariant(100) << QVariant(3) << QVariant() << 0.0;
        QTest::newRow("no quantity") << QVariant(100) << QVariant() << QVariant(9) << 0.0;
    }
    void lineAmount()
    {
        QFETCH(QVariant, price);
        QFETCH(QVariant, number);
        QFETCH(QVariant, agio);
        QFETCH(double, money);
        m_db->exec(u"INSERT INTO \"ClientData\" (\"ID\", \"CoName\") VALUES ('K1', 'A')"_s);
        m_db->exec(u"INSERT INTO \"ProductSell\" (\"OrderFormID\", \"ClientName\") VALUES ('XS1', 'A')"_s);
        m_db->exec(u"INSERT INTO \"SellDetail\" (\"OrderFormID\", \"ClientName\", \"UnitPrice\", \"Number\", \"Agio\") "
                   "VALUES ('XS1', 'A', :p, :n, :a)"_s,
                   {{u"p"_s, price}, {u"n"_s, number}, {u"a"_s, agio}});
        auto dm = create();
        QCOMPARE(dm->ADODataSet7->recordCount(), 1);
        QCOMPARE(dm->ADODataSet7->fieldByName(u"Money"_s).asFloat(), money);
        // The amount follows a change of the line while it is edited.
        dm->ADODataSet7->edit();
        dm->ADODataSet7->fieldByName(u"Number"_s).setValue(6);
        dm->ADODataSet7->fieldByName(u"Agio"_s).setValue(5);
        QCOMPARE(dm->ADODataSet7->fieldByName(u"Money"_s).asFloat(), price.toDouble() * 6 * 5 / 10);
    }

    // The key values before an edit stay kept through post and cancel, until the next edit.
    void keptValuesSurvivePostAndCancel()
    {
        fillClients();
        m_db->exec(u"INSERT INTO \"ProductInfo\" (\"ID\", \"ProductName\") VALUES ('CP001', '打印机')"_s);
        auto dm = create();
        QVERIFY(dm->ADODataSet1->locate(u"ID"_s, u"K1"_s));
        dm->ADODataSet1->edit();
        dm->ADODataSet1->fieldByName(u"CoName"_s).setValue(u"上海博远集团"_s);
        dm->ADODataSet1->fieldByName(u"ID"_s).setValue(u"K9"_s);
        QCOMPARE(dm->OldCoName, u"上海博远贸易有限公司"_s);
        dm->ADODataSet1->post();
        QCOMPARE(dm->OldCoName, u"上海博远贸易有限公司"_s);
        QCOMPARE(dm->OldClientID, u"K1"_s);
        dm->ADODataSet1->edit();
        QCOMPARE(dm->OldCoName, u"上海博远集团"_s);
        dm->ADODataSet1->cancel();
        QCOMPARE(dm->OldCoName, u"上海博远集团"_s);
        // A new row does not touch them.
        dm->ADODataSet1->append();
        QCOMPARE(dm->OldClientID, u"K9"_s);
        dm->ADODataSet1->cancel();

        dm->ADODataSet5->edit();
        dm->ADODataSet5->fieldByName(u"ProductName"_s).setValue(u"激光打印机"_s);
        dm->ADODataSet5->cancel();
        QCOMPARE(dm->OldProductID, u"CP001"_s);
        QCOMPARE(dm->OldProductName, u"打印机"_s);
        dm->ADODataSet11->edit();
        QCOMPARE(dm->OldUserName, u"admin"_s);
        dm->ADODataSet11->cancel();
    }

    // A value too long for its column: the box with the database's message, the row as stored.
    void saveErrorShowsTheDatabaseMessage()
    {
        fillClients();
        auto dm = create();
        QVERIFY(dm->ADODataSet1->locate(u"ID"_s, u"K1"_s));
        dm->ADODataSet1->edit();
        dm->ADODataSet1->fieldByName(u"CoName"_s).setValue(QString(51, u'名'));
        QVERIFY_THROWS_EXCEPTION(data::Abort, dm->ADODataSet1->post());
        QCOMPARE(m_prompt->count(), 1);
        const Message box = m_prompt->shown().first();
        QCOMPARE(box.caption, u"错误"_s);
        QCOMPARE(box.icon, MessageIcon::Warning);
        QCOMPARE(box.buttons, MessageButtons(MessageButton::Ok));
        QVERIFY2(box.text.startsWith(kSaveErrorPrefix), qPrintable(box.text));
        QVERIFY(box.text.size() > kSaveErrorPrefix.size());
        QCOMPARE(dm->ADODataSet1->state(), data::DatasetState::Browse);
        QCOMPARE(dm->ADODataSet1->fieldByName(u"CoName"_s).asString(), u"上海博远贸易有限公司"_s);
        QCOMPARE(m_db->scalar(u"SELECT \"CoName\" FROM \"ClientData\" WHERE \"ID\" = 'K1'"_s).toString(),
                 u"上海博远贸易有限公司"_s);
    }

    void saveErrorWhenAnotherWorkstationChangedTheRow()
    {
        fillClients();
        auto dm = create();
        QVERIFY(dm->ADODataSet2->isActive());
        QVERIFY(dm->ADODataSet1->locate(u"ID"_s, u"K2"_s));
        auto other = m_db->connect();
        other->exec(u"UPDATE \"LinkMan\" SET \"Duty\" = '经理' WHERE \"LinkManID\" = '王伟'"_s).finish();

        dm->ADODataSet2->edit();
        dm->ADODataSet2->fieldByName(u"Duty"_s).setValue(u"总经理"_s);
        QVERIFY_THROWS_EXCEPTION(data::Abort, dm->ADODataSet2->post());
        QCOMPARE(m_prompt->count(), 1);
        QVERIFY(m_prompt->shown().first().text.startsWith(kSaveErrorPrefix));
        QVERIFY(m_prompt->shown().first().text.contains(u"其他用户"_s));
        QCOMPARE(m_db->scalar(u"SELECT \"Duty\" FROM \"LinkMan\" WHERE \"LinkManID\" = '王伟'"_s).toString(), u"经理"_s);
    }

    void missingDataLinkFile()
    {
        QFile::remove(m_db->workingDirectory() + u"/Connect.udl"_s);
        auto dm = create();
        QCOMPARE(m_prompt->count(), 1);
        const Message box = m_prompt->shown().first();
        QCOMPARE(box.caption, applicationTitle());
        QCOMPARE(box.icon, MessageIcon::Error);
        QVERIFY2(box.text.contains(m_db->workingDirectory() + u"/Connect.udl"_s), qPrintable(box.text));
        QVERIFY(!dm->ADODataSet1->isActive());
        QVERIFY(!dm->LogData->isActive());
        QCOMPARE(m_host.calendarFills, 0);
        QCOMPARE(m_host.fileDatabaseCommands, 0);
    }

    void unreachableServer()
    {
        data::DataLink link;
        link.provider = u"PostgreSQL"_s;
        link.dataSource = u"127.0.0.1"_s;
        link.port = u"1"_s;
        link.userId = u"crm"_s;
        link.writeFile(m_db->workingDirectory() + u"/Connect.udl"_s);
        auto dm = create();
        QCOMPARE(m_prompt->count(), 1);
        QVERIFY2(m_prompt->shown().first().text.startsWith(u"无法连接数据库服务器“127.0.0.1:1”"_s),
                 qPrintable(m_prompt->shown().first().text));
        QVERIFY(!dm->ADODataSet1->isActive());
    }

    void databaseWithoutTables()
    {
        for (const data::Table &table : data::Schema::tables())
            m_db->exec(u"DROP TABLE "_s + data::Dialect::quote(table.name));
        auto dm = create();
        QCOMPARE(m_prompt->count(), 1);
        QVERIFY2(m_prompt->shown().first().text.contains(u"ClientData"_s), qPrintable(m_prompt->shown().first().text));
        QVERIFY(!dm->ADODataSet1->isActive());
    }

    // First start writes the cache; later starts read it even when the table changed.
    void transformCache()
    {
        const int rows = m_db->count(u"Transforms"_s);
        {
            auto dm = create();
            QVERIFY(QFile::exists(dm->transformCachePath()));
            QCOMPARE(dm->TransformTable->recordCount(), rows);
        }
        m_db->exec(u"DELETE FROM \"Transforms\" WHERE \"Tables\" = 'ClientData'"_s);
        auto dm = create();
        QCOMPARE(dm->TransformTable->recordCount(), rows);
        dm->TransformTable->setFilter({{u"Tables"_s, u"LinkMan"_s}, {u"TransformFields"_s, u"家庭住址"_s}});
        dm->TransformTable->setFiltered(true);
        QCOMPARE(dm->TransformTable->fieldByName(u"Fields"_s).asString(), u"HomeAddress"_s);
    }

    void unreadableCacheIsRebuilt_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not json") << QByteArray("ADTG\x01\x02 binary");
        QTest::newRow("truncated") << QByteArray("{\"format\":\"lumora-recordset\",\"version\":1,\"columns\":[{\"na");
        QTest::newRow("wrong columns")
            << QByteArray("{\"format\":\"lumora-recordset\",\"version\":1,\"columns\":[{\"name\":\"A\",\"type\":\"text\"}],\"rows\":[]}");
        QTest::newRow("short row")
            << QByteArray("{\"format\":\"lumora-recordset\",\"version\":1,\"columns\":[{\"name\":\"Tables\",\"type\":\"text\"},"
                          "{\"name\":\"TransformFields\",\"type\":\"text\"},{\"name\":\"Fields\",\"type\":\"text\"}],\"rows\":[[\"x\"]]}");
    }
    void unreadableCacheIsRebuilt()
    {
        QFETCH(QByteArray, content);
        QFile file(m_db->workingDirectory() + u"/CRM.pfADTG"_s);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        auto dm = create();
        QCOMPARE(m_prompt->count(), 0);
        QCOMPARE(dm->TransformTable->recordCount(), m_db->count(u"Transforms"_s));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(QJsonDocument::fromJson(file.readAll()).object().contains(u"rows"_s));
    }

    void goToDataSet()
    {
        fillClients();
        auto dm = create();
        QVERIFY(dm->LinkManList->locate(u"LinkManID"_s, u"张敏"_s));
        dm->GoToDataSet(dm->LinkManList, dm->ADODataSet2);
        QCOMPARE(dm->ADODataSet1->fieldByName(u"CoName"_s).asString(), u"上海博远贸易有限公司"_s);
        QCOMPARE(dm->ADODataSet2->fieldByName(u"LinkManID"_s).asString(), u"张敏"_s);

        // The list row's client is gone: the client stays, the detail stays within its rows.
        m_db->exec(u"INSERT INTO \"LinkMan\" (\"ClientName\", \"LinkManID\") VALUES ('已删除的客户', '赵强')"_s);
        dm->LinkManList->requery();
        QVERIFY(dm->LinkManList->locate(u"LinkManID"_s, u"赵强"_s));
        dm->GoToDataSet(dm->LinkManList, dm->ADODataSet2);
        QCOMPARE(dm->ADODataSet1->fieldByName(u"CoName"_s).asString(), u"上海博远贸易有限公司"_s);
        QCOMPARE(dm->ADODataSet2->fieldByName(u"LinkManID"_s).asString(), u"张敏"_s);
        QCOMPARE(m_prompt->count(), 0);
    }

    void areaListFollowsTheRegion()
    {
        m_db->exec(u"INSERT INTO \"所在区域\" (\"所属区域\") VALUES ('华北'), ('华东'), ('西北')"_s);
        m_db->exec(u"INSERT INTO \"销售区域\" (\"所属区域\", \"地区名称\") VALUES ('华北', '北京'), ('华北', '天津'), "
                   "('华东', '上海')"_s);
        auto dm = create();
        QVERIFY(dm->ADOTable1->locate(u"所属区域"_s, u"华北"_s));
        QCOMPARE(dm->AreaList, (QStringList{u"北京"_s, u"天津"_s}));
        QCOMPARE(dm->ClientAreaItems->stringList(), dm->AreaList);
        QCOMPARE(values(dm->ADODataSet3, u"地区名称"_s), (QStringList{u"北京"_s, u"天津"_s}));
        QVERIFY(dm->ADOTable1->locate(u"所属区域"_s, u"西北"_s));
        QVERIFY(dm->AreaList.isEmpty());
        QVERIFY(dm->ClientAreaItems->stringList().isEmpty());
        // An area appended under the region shown is stored under it.
        QVERIFY(dm->ADOTable1->locate(u"所属区域"_s, u"华东"_s));
        dm->ADODataSet3->append();
        dm->ADODataSet3->fieldByName(u"地区名称"_s).setValue(u"杭州"_s);
        dm->ADODataSet3->post();
        QCOMPARE(m_db->scalar(u"SELECT \"所属区域\" FROM \"销售区域\" WHERE \"地区名称\" = '杭州'"_s).toString(), u"华东"_s);
        dm->UpdateAreaList();
        QCOMPARE(dm->AreaList, (QStringList{u"上海"_s, u"杭州"_s}));
    }

    void categoryListsFillTheDropDowns()
    {
        m_db->exec(u"INSERT INTO \"Sort\" (\"Sorts\", \"Items\") VALUES ('客户类型', '重要客户'), ('客户类型', 'O''Brien''s'), "
                   "('职务设置', '经理'), ('部门设置', '销售部'), ('联系方式', '电话')"_s);
        auto dm = create();
        QCOMPARE(dm->ClientTypeItems->stringList(), (QStringList{u"重要客户"_s, u"O'Brien's"_s}));
        QCOMPARE(dm->DutyItems->stringList(), QStringList{u"经理"_s});
        QCOMPARE(dm->BranchItems->stringList(), QStringList{u"销售部"_s});
        QCOMPARE(dm->BespeakRelationModeItems->stringList(), QStringList{u"电话"_s});
        QCOMPARE(dm->VisitRelationModeItems->stringList(), QStringList{u"电话"_s});
        // A category value with an apostrophe is matched as text, not spliced into SQL.
        m_db->exec(u"INSERT INTO \"Sort\" (\"Sorts\", \"Items\") VALUES ('O''Brien', 'x')"_s);
        dm->AddClientTypeList(u"Sorts"_s, u"O'Brien"_s, dm->DutyItems);
        QCOMPARE(dm->DutyItems->stringList(), QStringList{u"x"_s});
        // A column that the table does not have leaves the list as it was.
        dm->AddClientTypeList(u"Sorts\" OR 1=1 --"_s, u"x"_s, dm->DutyItems);
        QCOMPARE(dm->DutyItems->stringList(), QStringList{u"x"_s});
    }
};

LUMORA_TEST_CLASS(TestDataModule)

#include "tst_datamodule.moc"
