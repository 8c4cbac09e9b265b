#include "Dataset.h"
#include "DatabaseSetup.h"
#include "Error.h"
#include "Schema.h"
#include "TestDatabase.h"

#include <QSqlRecord>
#include "TestMain.h"

#include <QTest>

using namespace Qt::StringLiterals;
using data::Dataset;

// The tables as the database holds them, on each database kind.
class TestSchema : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;

private slots:
    void initTestCase_data() { addBackendRows(); }
    void init()
    {
        LUMORA_INIT_BACKEND(backend);
        m_db = std::make_unique<TestDatabase>(backend);
    }
    void cleanup() { m_db.reset(); }

    void createsEveryTableWithItsColumns()
    {
        QCOMPARE(data::existingTables(m_db->admin()).size(), 13);
        for (const data::Table &table : data::Schema::tables()) {
            const QSqlRecord record = m_db->admin().database().record(table.name);
            QStringList actual;
            for (int i = 0; i < record.count(); ++i)
                actual << record.fieldName(i);
            QStringList expected;
            for (const data::Column &c : table.columns)
                expected << c.name;
            QCOMPARE(actual, expected);
        }
    }

    void startRows()
    {
        QCOMPARE(m_db->count(u"用户"_s), 1);
        QCOMPARE(m_db->scalar(u"SELECT \"用户类型\" FROM \"用户\""_s).toString(), u"系统管理员"_s);
        for (const QString &right : {u"权限管理"_s, u"修改密码"_s, u"打印报表"_s, u"导出数据"_s, u"备份还原"_s,
                                     u"查看日志"_s})
            QVERIFY2(m_db->scalar(u"SELECT %1 FROM \"用户\""_s.arg(data::Dialect::quote(right))).toBool(),
                     qPrintable(right));
        QVERIFY(m_db->count(u"Transforms"_s) > 40);
        // Captions of date and time columns say so, for the search's value check.
        Dataset transforms(&m_db->admin());
        transforms.setTableName(u"Transforms"_s);
        transforms.open();
        for (transforms.first(); !transforms.eof(); transforms.next()) {
            const QString table = transforms.fieldByName(u"Tables"_s).asString();
            const QString caption = transforms.fieldByName(u"TransformFields"_s).asString();
            const data::Column *column = data::Schema::table(table)->column(transforms.fieldByName(u"Fields"_s).asString());
            QVERIFY2(column, qPrintable(caption));
            if (column->type == data::ColumnType::Time)
                QVERIFY2(caption.contains(u"时间"_s), qPrintable(caption));
            if (column->type == data::ColumnType::Date && caption != u"生日"_s)
                QVERIFY2(caption.contains(u"日期"_s), qPrintable(caption));
        }
    }

    // Both databases refuse text longer than its column, with their own message.
    void refusesTooLongText_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("column");
        QTest::addColumn<int>("length");
        QTest::newRow("ClientData.CoName") << "ClientData" << "CoName" << 50;
        QTest::newRow("LinkMan.ClientName") << "LinkMan" << "ClientName" << 200;
        QTest::newRow("Log.UserName") << "Log" << "UserName" << 50;
    }
    void refusesTooLongText()
    {
        QFETCH(QString, table);
        QFETCH(QString, column);
        QFETCH(int, length);
        const QString sql = u"INSERT INTO %1 (%2) VALUES (:v)"_s.arg(data::Dialect::quote(table),
                                                                      data::Dialect::quote(column));
        m_db->exec(sql, {{u"v"_s, QString(length, u'名')}});
        QVERIFY_THROWS_EXCEPTION(data::Error, m_db->exec(sql, {{u"v"_s, QString(length + 1, u'名')}}));
        QCOMPARE(m_db->count(table), 1);
    }

    void uniqueColumns_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::newRow("user names without regard to case") << "用户" << "用户名" << "Admin" << "ADMIN";
        QTest::newRow("order numbers") << "ProductSell" << "OrderFormID" << "XS20080101001" << "XS20080101001";
    }
    void uniqueColumns()
    {
        QFETCH(QString, table);
        QFETCH(QString, column);
        QFETCH(QString, first);
        QFETCH(QString, second);
        m_db->exec(u"DELETE FROM "_s + data::Dialect::quote(table));
        const QString sql = u"INSERT INTO %1 (%2) VALUES (:v)"_s.arg(data::Dialect::quote(table),
                                                                      data::Dialect::quote(column));
        m_db->exec(sql, {{u"v"_s, first}});
        QVERIFY_THROWS_EXCEPTION(data::Error, m_db->exec(sql, {{u"v"_s, second}}));
    }

    // Values keep their type through a write and a fresh read.
    void valuesRoundTrip()
    {
        auto connection = m_db->connect();
        Dataset log(connection.get(), u"log"_s);
        log.setCommandText(u"select * from \"Log\""_s);
        log.open();
        log.append();
        const QDateTime in(QDate(2008, 5, 1), QTime(14, 3, 22));
        log.fieldByName(u"LoadDate"_s).setValue(in);
        log.fieldByName(u"UserName"_s).setValue(u"张三"_s);
        log.post();
        QVERIFY(log.fieldByName(u"Degree"_s).asInteger() > 0);

        Dataset visit(connection.get(), u"visit"_s);
        visit.setCommandText(u"select * from \"ClientVisit\""_s);
        visit.open();
        visit.append();
        visit.fieldByName(u"Dates"_s).setValue(QDate(2008, 1, 1));
        visit.fieldByName(u"Times"_s).setValue(QTime(14, 30));
        visit.post();

        Dataset product(connection.get(), u"product"_s);
        product.setCommandText(u"select * from \"ProductInfo\""_s);
        product.open();
        product.append();
        product.fieldByName(u"Price"_s).setValue(1234.56);
        product.fieldByName(u"SellNumber"_s).setValue(7);
        product.post();

        log.requery();
        visit.requery();
        product.requery();
        QCOMPARE(log.fieldByName(u"LoadDate"_s).asDateTime(), in);
        // Fixed-length text reads back padded to its length.
        QCOMPARE(log.fieldByName(u"UserName"_s).asString(), u"张三"_s + QString(48, u' '));
        QVERIFY(log.fieldByName(u"OutDate"_s).isNull());
        QCOMPARE(visit.fieldByName(u"Dates"_s).value(), QVariant(QDate(2008, 1, 1)));
        QCOMPARE(visit.fieldByName(u"Times"_s).value(), QVariant(QTime(14, 30)));
        QCOMPARE(product.fieldByName(u"Price"_s).asFloat(), 1234.56);
        QCOMPARE(product.fieldByName(u"SellNumber"_s).value(), QVariant(7));
        QVERIFY(product.fieldByName(u"CostPrice"_s).isNull());
    }
};

LUMORA_TEST_CLASS(TestSchema)

#include "tst_schema.moc"
