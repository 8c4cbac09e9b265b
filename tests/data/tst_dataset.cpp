#include "Dataset.h"
#include "Error.h"
#include "TestDatabase.h"

#include <QSignalSpy>
#include "TestMain.h"

#include <QTest>

using namespace Qt::StringLiterals;
using data::Dataset;
using data::DatasetState;

// The dataset on both databases: the cursor, writes and their conflicts with
// another workstation, master-detail, tables without a key, order and filter.
class TestDataset : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<data::Connection> m_connection;

    void addClient(const QString &id, const QString &name, const QString &tel = QString())
    {
        m_db->exec(u"INSERT INTO \"ClientData\" (\"ID\", \"CoName\", \"TEL\") VALUES (:i, :n, :t)"_s,
                   {{u"i"_s, id}, {u"n"_s, name}, {u"t"_s, tel.isEmpty() ? QVariant() : QVariant(tel)}});
    }
    void addContact(const QString &client, const QString &name)
    {
        m_db->exec(u"INSERT INTO \"LinkMan\" (\"ClientName\", \"LinkManID\") VALUES (:c, :n)"_s,
                   {{u"c"_s, client}, {u"n"_s, name}});
    }
    std::unique_ptr<Dataset> dataset(const QString &sql, data::Connection *connection = nullptr)
    {
        auto d = std::make_unique<Dataset>(connection ? connection : m_connection.get(), u"test"_s);
        d->setCommandText(sql);
        return d;
    }
    QStringList column(Dataset &d, const QString &name)
    {
        QStringList values;
        for (int r = 0; r < d.recordCount(); ++r)
            values << d.valueAt(r, d.columnIndex(name)).toString();
        return values;
    }

private slots:
    void initTestCase_data() { addBackendRows(); }
    void init()
    {
        LUMORA_INIT_BACKEND(backend);
        m_db = std::make_unique<TestDatabase>(backend);
        m_connection = m_db->connect();
        addClient(u"C02"_s, u"北京华信科技有限公司"_s, u"010-1"_s);
        addClient(u"C01"_s, u"上海博远贸易有限公司"_s, u"021-1"_s);
        addClient(u"C03"_s, u"O'Neil & 100% Co"_s);
        addContact(u"北京华信科技有限公司"_s, u"王伟"_s);
        addContact(u"北京华信科技有限公司"_s, u"李娜"_s);
        addContact(u"上海博远贸易有限公司"_s, u"张敏"_s);
        addContact(u"O'Neil & 100% Co"_s, u"Sean"_s);
    }
    void cleanup()
    {
        m_connection.reset();
        m_db.reset();
    }

    void cursorMovesAndLocates()
    {
        auto d = dataset(u"select * from \"ClientData\""_s);
        d->open();
        QCOMPARE(d->recordCount(), 3);
        QCOMPARE(d->tableName(), u"ClientData"_s);
        QStringList names;
        for (d->first(); !d->eof(); d->next())
            names << d->fieldByName(u"CoName"_s).asString();
        QCOMPARE(names.size(), 3);
        QVERIFY(d->eof());
        QCOMPARE(d->recNo(), 2);

        QVERIFY(d->locate(u"CoName"_s, u"O'Neil & 100% Co"_s));
        QCOMPARE(d->fieldByName(u"ID"_s).asString(), u"C03"_s);
        // Exact match: letter case and a part of the name do not count.
        QVERIFY(!d->locate(u"CoName"_s, u"o'neil & 100% co"_s));
        QVERIFY(!d->locate(u"CoName"_s, u"北京"_s));
        QCOMPARE(d->fieldByName(u"ID"_s).asString(), u"C03"_s);
        QVERIFY_THROWS_EXCEPTION(data::Error, d->fieldByName(u"NoSuchColumn"_s));
    }

    void editPostAndCancel()
    {
        auto d = dataset(u"select * from \"ClientData\""_s);
        d->open();
        QVERIFY(d->locate(u"ID"_s, u"C01"_s));
        QVERIFY_THROWS_EXCEPTION(data::Error, d->fieldByName(u"TEL"_s).setValue(u"x"_s));
        d->edit();
        d->fieldByName(u"TEL"_s).setValue(u"021-9999"_s);
        QCOMPARE(d->state(), DatasetState::Edit);
        QVERIFY(d->isModified());
        d->cancel();
        QCOMPARE(d->fieldByName(u"TEL"_s).asString(), u"021-1"_s);

        d->edit();
        d->fieldByName(u"TEL"_s).setValue(u"021-9999"_s);
        d->fieldByName(u"Postalcode"_s).setValue(u"200001"_s);
        d->post();
        QCOMPARE(d->state(), DatasetState::Browse);
        QCOMPARE(m_db->scalar(u"SELECT \"TEL\" FROM \"ClientData\" WHERE \"ID\" = 'C01'"_s).toString(), u"021-9999"_s);
        QCOMPARE(m_db->scalar(u"SELECT \"Postalcode\" FROM \"ClientData\" WHERE \"ID\" = 'C01'"_s).toInt(), 200001);
    }

    void appendAssignsKeyAndDropsUntouchedRows()
    {
        auto d = dataset(u"select * from \"ClientData\""_s);
        d->open();
        d->append();
        QCOMPARE(d->recordCount(), 4);
        d->post(); // nothing was set: dropped, not written
        QCOMPARE(d->recordCount(), 3);
        QCOMPARE(m_db->count(u"ClientData"_s), 3);

        d->append();
        d->fieldByName(u"CoName"_s).setValue(u"深圳新科电子有限公司"_s);
        d->post();
        QVERIFY(d->fieldByName(u"Num"_s).asInteger() > 0);
        QCOMPARE(m_db->count(u"ClientData"_s), 4);
        QVERIFY_THROWS_EXCEPTION(data::Error, (d->edit(), d->fieldByName(u"Num"_s).setValue(99)));
    }

    // Moving with a pending change writes it; an untouched new row is dropped.
    void movingChecksBrowseMode()
    {
        auto d = dataset(u"select * from \"ClientData\""_s);
        d->open();
        d->setSort(u"ID ASC"_s);
        d->first();
        d->edit();
        d->fieldByName(u"FAX"_s).setValue(u"021-2"_s);
        d->next();
        QCOMPARE(d->state(), DatasetState::Browse);
        QCOMPARE(m_db->scalar(u"SELECT \"FAX\" FROM \"ClientData\" WHERE \"ID\" = 'C01'"_s).toString(), u"021-2"_s);
        d->append();
        d->first();
        QCOMPARE(d->recordCount(), 3);
        QCOMPARE(m_db->count(u"ClientData"_s), 3);
    }

    void eventsFireForExistingRowsOnly()
    {
        auto d = dataset(u"select * from \"ClientData\""_s);
        int beforeEdit = 0;
        int afterPost = 0;
        int afterScroll = 0;
        d->beforeEdit = [&](Dataset &) { ++beforeEdit; };
        d->afterPost = [&](Dataset &) { ++afterPost; };
        d->afterScroll = [&](Dataset &) { ++afterScroll; };
        d->open();
        QCOMPARE(afterScroll, 1);
        d->next();
        QCOMPARE(afterScroll, 2);
        d->edit();
        d->edit(); // already editing
        QCOMPARE(beforeEdit, 1);
        d->cancel();
        d->append();
        QCOMPARE(beforeEdit, 1);
        d->fieldByName(u"CoName"_s).setValue(u"新客户"_s);
        d->post();
        QCOMPARE(afterPost, 1);
    }

    void masterDetailFollowsOnOneColumn()
    {
        auto clients = dataset(u"select * from \"ClientData\""_s);
        auto contacts = dataset(u"select * from \"LinkMan\""_s);
        contacts->setMasterLink(clients.get(), {u"CoName"_s}, {u"ClientName"_s});
        clients->open();
        contacts->open();
        clients->setSort(u"ID"_s);
        QVERIFY(clients->locate(u"ID"_s, u"C02"_s));
        QCOMPARE(column(*contacts, u"LinkManID"_s), (QStringList{u"王伟"_s, u"李娜"_s}));
        QVERIFY(clients->locate(u"ID"_s, u"C03"_s));
        QCOMPARE(column(*contacts, u"LinkManID"_s), QStringList{u"Sean"_s});

        // An appended detail row starts with the link column set.
        contacts->append();
        QCOMPARE(contacts->fieldByName(u"ClientName"_s).asString(), u"O'Neil & 100% Co"_s);
        contacts->fieldByName(u"LinkManID"_s).setValue(u"Mary"_s);
        contacts->post();
        QCOMPARE(m_db->scalar(u"SELECT COUNT(*) FROM \"LinkMan\" WHERE \"ClientName\" = :c"_s,
                              {{u"c"_s, u"O'Neil & 100% Co"_s}})
                     .toInt(),
                 2);

        // A new master row has no details; cancelling it brings them back.
        clients->append();
        QCOMPARE(contacts->recordCount(), 0);
        clients->cancel();
        QCOMPARE(contacts->recordCount(), 2);
    }

    void masterDetailFollowsOnTwoColumns()
    {
        m_db->exec(u"INSERT INTO \"ProductSell\" (\"OrderFormID\", \"ClientName\") VALUES ('XS1', 'A'), "
                   "('XS2', 'A'), ('XS3', 'B')"_s);
        // The stray line carries the number of A's first order under another client.
        m_db->exec(u"INSERT INTO \"SellDetail\" (\"OrderFormID\", \"ClientName\", \"ProductName\") VALUES "
                   "('XS1', 'A', 'p1'), ('XS1', 'A', 'p2'), ('XS2', 'A', 'p3'), ('XS3', 'B', 'p4'), "
                   "('XS1', 'B', 'stray')"_s);
        auto orders = dataset(u"select * from \"ProductSell\""_s);
        auto lines = dataset(u"select * from \"SellDetail\""_s);
        const QStringList link = {u"OrderFormID"_s, u"ClientName"_s};
        lines->setMasterLink(orders.get(), link, link);
        orders->open();
        lines->open();
        orders->setSort(u"ClientName, OrderFormID"_s);
        orders->first();
        QCOMPARE(column(*lines, u"ProductName"_s), (QStringList{u"p1"_s, u"p2"_s}));
        orders->next();
        QCOMPARE(column(*lines, u"ProductName"_s), QStringList{u"p3"_s});
        orders->next();
        QCOMPARE(column(*lines, u"ProductName"_s), QStringList{u"p4"_s});
        lines->append();
        QCOMPARE(lines->fieldByName(u"OrderFormID"_s).asString(), u"XS3"_s);
        QCOMPARE(lines->fieldByName(u"ClientName"_s).asString(), u"B"_s);
    }

    // A pending detail change is written before the master moves away from it.
    void detailChangesWrittenBeforeMasterMoves()
    {
        auto clients = dataset(u"select * from \"ClientData\""_s);
        auto contacts = dataset(u"select * from \"LinkMan\""_s);
        contacts->setMasterLink(clients.get(), {u"CoName"_s}, {u"ClientName"_s});
        clients->open();
        contacts->open();
        QVERIFY(clients->locate(u"ID"_s, u"C01"_s));
        contacts->edit();
        contacts->fieldByName(u"Duty"_s).setValue(u"总经理"_s);
        QVERIFY(clients->locate(u"ID"_s, u"C02"_s));
        QCOMPARE(m_db->scalar(u"SELECT \"Duty\" FROM \"LinkMan\" WHERE \"LinkManID\" = :n"_s, {{u"n"_s, u"张敏"_s}})
                     .toString(),
                 u"总经理"_s);
    }

    // Another workstation wrote the row between our read and our write.
    void concurrentUpdate_data()
    {
        QTest::addColumn<QString>("theirColumn");
        QTest::addColumn<bool>("conflict");
        QTest::newRow("same column") << "TEL" << true;
        QTest::newRow("other column") << "FAX" << false;
    }
    void concurrentUpdate()
    {
        QFETCH(QString, theirColumn);
        QFETCH(bool, conflict);
        auto ours = dataset(u"select * from \"ClientData\""_s);
        ours->open();
        QVERIFY(ours->locate(u"ID"_s, u"C01"_s));

        auto theirConnection = m_db->connect();
        auto theirs = dataset(u"select * from \"ClientData\" where \"ID\" = 'C01'"_s, theirConnection.get());
        theirs->open();
        theirs->edit();
        theirs->fieldByName(theirColumn).setValue(u"theirs"_s);
        theirs->post();

        ours->edit();
        ours->fieldByName(u"TEL"_s).setValue(u"ours"_s);
        if (conflict) {
            QVERIFY_THROWS_EXCEPTION(data::Error, ours->post());
            QCOMPARE(ours->state(), DatasetState::Edit); // nothing lost: the user may still cancel
            QCOMPARE(m_db->scalar(u"SELECT \"TEL\" FROM \"ClientData\" WHERE \"ID\" = 'C01'"_s).toString(), u"theirs"_s);
        } else {
            ours->post();
            QCOMPARE(m_db->scalar(u"SELECT \"TEL\" FROM \"ClientData\" WHERE \"ID\" = 'C01'"_s).toString(), u"ours"_s);
            QCOMPARE(m_db->scalar(u"SELECT \"FAX\" FROM \"ClientData\" WHERE \"ID\" = 'C01'"_s).toString(), u"theirs"_s);
        }
    }

    void deleteOfRowAlreadyDeleted()
    {
        auto ours = dataset(u"select * from \"ClientData\""_s);
        ours->open();
        QVERIFY(ours->locate(u"ID"_s, u"C02"_s));
        m_db->exec(u"DELETE FROM \"ClientData\" WHERE \"ID\" = 'C02'"_s);
        try {
            ours->deleteRow();
            QFAIL("deleted");
        } catch (const data::Error &error) {
            QVERIFY2(error.message().contains(u"其他用户"_s), qPrintable(error.message()));
        }
        QCOMPARE(ours->recordCount(), 3);
        QVERIFY(ours->locate(u"ID"_s, u"C01"_s));
        ours->deleteRow();
        QCOMPARE(ours->recordCount(), 2);
        QCOMPARE(m_db->count(u"ClientData"_s), 1);
    }

    void deleteOnEmptyDatasetFails()
    {
        auto d = dataset(u"select * from \"ProductInfo\""_s);
        d->open();
        QVERIFY(d->isEmpty());
        QVERIFY_THROWS_EXCEPTION(data::Error, d->deleteRow());
    }

    // Rows of a table without a key are found by all their values, one at a time.
    void keylessTableUpdateAndDelete()
    {
        m_db->exec(u"INSERT INTO \"Sort\" (\"Sorts\", \"Items\") VALUES ('客户类型', '重要客户'), "
                   "('客户类型', '重要客户'), ('职务设置', '经理')"_s);
        auto d = dataset(u"select * from \"Sort\""_s);
        d->open();
        QVERIFY(d->tableName() == u"Sort"_s);
        QVERIFY(d->locate(u"Items"_s, u"重要客户"_s));
        d->edit();
        d->fieldByName(u"Items"_s).setValue(u"VIP客户"_s);
        d->post();
        QCOMPARE(m_db->scalar(u"SELECT COUNT(*) FROM \"Sort\" WHERE \"Items\" = '重要客户'"_s).toInt(), 1);
        QCOMPARE(m_db->scalar(u"SELECT COUNT(*) FROM \"Sort\" WHERE \"Items\" = 'VIP客户'"_s).toInt(), 1);

        QVERIFY(d->locate(u"Items"_s, u"重要客户"_s));
        d->deleteRow();
        QCOMPARE(m_db->count(u"Sort"_s), 2);
        QCOMPARE(m_db->scalar(u"SELECT COUNT(*) FROM \"Sort\" WHERE \"Items\" = '重要客户'"_s).toInt(), 0);

        // A keyless row changed by someone else is not found any more.
        QVERIFY(d->locate(u"Items"_s, u"经理"_s));
        m_db->exec(u"UPDATE \"Sort\" SET \"Items\" = '总经理' WHERE \"Items\" = '经理'"_s);
        QVERIFY_THROWS_EXCEPTION(data::Error, d->deleteRow());
    }

    void postErrorHandlerDecides()
    {
        auto d = dataset(u"select * from \"ClientData\""_s);
        QString reported;
        d->onPostError = [&](Dataset &dataset, const data::Error &error) {
            reported = error.message();
            dataset.cancel();
            return data::PostErrorAction::Abort;
        };
        d->open();
        QVERIFY(d->locate(u"ID"_s, u"C01"_s));
        d->edit();
        d->fieldByName(u"CoName"_s).setValue(QString(51, u'长'));
        QVERIFY_THROWS_EXCEPTION(data::Abort, d->post());
        QVERIFY(!reported.isEmpty());
        QCOMPARE(d->state(), DatasetState::Browse);
        QCOMPARE(d->fieldByName(u"CoName"_s).asString(), u"上海博远贸易有限公司"_s);
        QCOMPARE(m_db->scalar(u"SELECT \"CoName\" FROM \"ClientData\" WHERE \"ID\" = 'C01'"_s).toString(),
                 u"上海博远贸易有限公司"_s);
    }

    // What beforeWrite writes stands or falls with the row.
    void writesBeforeTheRowShareItsTransaction_data()
    {
        QTest::addColumn<QString>("newName");
        QTest::addColumn<bool>("written");
        QTest::newRow("row accepted") << "上海博远集团" << true;
        QTest::newRow("row refused") << QString(51, u'长') << false;
    }
    void writesBeforeTheRowShareItsTransaction()
    {
        QFETCH(QString, newName);
        QFETCH(bool, written);
        auto d = dataset(u"select * from \"ClientData\""_s);
        d->beforeWrite = [&](Dataset &) {
            m_connection->exec(u"UPDATE \"LinkMan\" SET \"ClientName\" = :n WHERE \"ClientName\" = :o"_s,
                               {{u"n"_s, newName}, {u"o"_s, u"上海博远贸易有限公司"_s}}).finish();
        };
        d->open();
        QVERIFY(d->locate(u"ID"_s, u"C01"_s));
        d->edit();
        d->fieldByName(u"CoName"_s).setValue(newName);
        if (written)
            d->post();
        else
            QVERIFY_THROWS_EXCEPTION(data::Error, d->post());
        const QString contactsClient = m_db->scalar(u"SELECT \"ClientName\" FROM \"LinkMan\" WHERE \"LinkManID\" = :n"_s,
                                                    {{u"n"_s, u"张敏"_s}}).toString();
        QCOMPARE(contactsClient, written ? newName : u"上海博远贸易有限公司"_s);
        QVERIFY(!m_connection->inTransaction());
    }

    void namedParametersAreBound()
    {
        auto d = dataset(u"select * from \"ClientData\" where \"CoName\" = :PM or \"ID\" = :pm2"_s);
        QCOMPARE(d->parameterNames(), (QStringList{u"PM"_s, u"pm2"_s}));
        d->setParameter(u"PM"_s, u"O'Neil & 100% Co"_s);
        d->setParameter(u"PM2"_s, u"' or '1'='1"_s);
        d->open();
        QCOMPARE(d->recordCount(), 1);
        QCOMPARE(d->fieldByName(u"ID"_s).asString(), u"C03"_s);
        // A requery keeps the values; new text clears them.
        d->requery();
        QCOMPARE(d->recordCount(), 1);
        d->close();
        d->setCommandText(u"select * from \"ClientData\" where \"ID\" = :PM"_s);
        QVERIFY(!d->parameter(u"PM"_s).isValid());
        QVERIFY_THROWS_EXCEPTION(data::Error, (d->open(), d->setCommandText(u"select 1"_s)));
    }

    void typedParametersCompareAsValues()
    {
        m_db->exec(u"INSERT INTO \"ClientBespeak\" (\"ClientName\", \"Dates\", \"Times\") VALUES "
                   "('A', '2008-01-01', '14:30:00'), ('B', '2008-01-02', '09:00:00')"_s);
        auto d = dataset(u"select * from \"ClientBespeak\" where \"Dates\" = :Date and \"Times\" = :Time"_s);
        d->setParameter(u"Date"_s, QDate(2008, 1, 1));
        d->setParameter(u"Time"_s, QTime(14, 30));
        d->open();
        QCOMPARE(column(*d, u"ClientName"_s), QStringList{u"A"_s});
        d->close();
        d->setCommandText(u"select * from \"ClientBespeak\" where \"Dates\" < :PM"_s);
        d->setParameter(u"PM"_s, QDate(2008, 1, 2));
        d->open();
        QCOMPARE(column(*d, u"ClientName"_s), QStringList{u"A"_s});
    }

    void sortsInMemoryKeepingTheCurrentRow()
    {
        auto d = dataset(u"select * from \"ClientData\""_s);
        d->open();
        QVERIFY(d->locate(u"ID"_s, u"C03"_s));
        d->setSort(u"ID ASC"_s);
        QCOMPARE(column(*d, u"ID"_s), (QStringList{u"C01"_s, u"C02"_s, u"C03"_s}));
        QCOMPARE(d->fieldByName(u"ID"_s).asString(), u"C03"_s);
        d->setSort(u"ID DESC"_s);
        QCOMPARE(column(*d, u"ID"_s), (QStringList{u"C03"_s, u"C02"_s, u"C01"_s}));
        QVERIFY_THROWS_EXCEPTION(data::Error, d->setSort(u"Nothing ASC"_s));
        // The order stays through a requery.
        d->requery();
        QCOMPARE(column(*d, u"ID"_s), (QStringList{u"C03"_s, u"C02"_s, u"C01"_s}));
    }

    void filtersInMemory()
    {
        auto d = dataset(u"select * from \"LinkMan\""_s);
        d->open();
        d->setFilter({{u"ClientName"_s, u"北京华信科技有限公司"_s}});
        QCOMPARE(d->recordCount(), 4);
        d->setFiltered(true);
        QCOMPARE(column(*d, u"LinkManID"_s), (QStringList{u"王伟"_s, u"李娜"_s}));
        d->setFilter({{u"ClientName"_s, u"北京华信科技有限公司"_s}, {u"LinkManID"_s, u"李娜"_s}});
        QCOMPARE(column(*d, u"LinkManID"_s), QStringList{u"李娜"_s});
        d->setFiltered(false);
        QCOMPARE(d->recordCount(), 4);

        // A row test narrows further, with or without the column filter.
        const int name = d->columnIndex(u"LinkManID"_s);
        d->setRowFilter([name](const Dataset &, const QVariant *row) { return row[name].toString() != u"Sean"_s; });
        QCOMPARE(d->recordCount(), 3);
        d->setFiltered(true);
        QCOMPARE(d->recordCount(), 1);
        d->setFiltered(false);
        d->setRowFilter({});
        QCOMPARE(d->recordCount(), 4);
    }

    void viewsHearAboutChanges()
    {
        auto d = dataset(u"select * from \"ClientData\""_s);
        QSignalSpy resets(d.get(), &Dataset::reset);
        QSignalSpy moves(d.get(), &Dataset::currentChanged);
        QSignalSpy changes(d.get(), &Dataset::rowChanged);
        d->open();
        QCOMPARE(resets.count(), 1);
        d->next();
        QCOMPARE(moves.last().at(0).toInt(), 1);
        d->edit();
        d->fieldByName(u"TEL"_s).setValue(u"1"_s);
        QVERIFY(!changes.isEmpty());
        d->cancel();
        d->disableControls();
        const int before = int(moves.count());
        d->next();
        QCOMPARE(moves.count(), before);
        d->enableControls();
        QCOMPARE(moves.count(), before + 1);
    }

    void execSqlReportsRowsAffected()
    {
        auto d = dataset(u"Delete From \"LinkMan\" Where \"ClientName\"=:PM"_s);
        d->setParameter(u"PM"_s, u"北京华信科技有限公司"_s);
        QCOMPARE(d->execSQL(), 2);
        QCOMPARE(m_db->count(u"LinkMan"_s), 2);
    }

    void readOnlyStatementsRefuseWrites()
    {
        auto d = dataset(u"select \"ClientName\", count(*) as n from \"LinkMan\" group by \"ClientName\""_s);
        d->open();
        QVERIFY(d->tableName().isEmpty());
        QCOMPARE(d->recordCount(), 3);
        QVERIFY_THROWS_EXCEPTION(data::Error, d->edit());
        QVERIFY_THROWS_EXCEPTION(data::Error, d->append());
    }
};

LUMORA_TEST_CLASS(TestDataset)

#include "tst_dataset.moc"
