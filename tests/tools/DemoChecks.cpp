#include "DemoChecks.h"

#include "DatabaseSetup.h"
#include "Error.h"
#include "InitDbRun.h"
#include "PasswordHash.h"
#include "Schema.h"
#include "SeedData.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <functional>

using namespace Qt::StringLiterals;
using data::ColumnType;

namespace {

QVariant as(const QVariant &value, ColumnType type)
{
    return data::Dialect::fromDatabase(value, type);
}

int count(data::Connection &connection, const QString &sql, const data::NamedValues &values = {})
{
    return scalar(connection, sql, values).toInt();
}

QStringList items(data::Connection &connection, const QString &category)
{
    QStringList list;
    for (const QVariantList &row :
         rows(connection, uR"(SELECT "Items" FROM "Sort" WHERE "Sorts" = :c)"_s,
              {{u"c"_s, category}}))
        list << row.first().toString();
    return list;
}

bool matches(const QString &pattern, const QString &text)
{
    return QRegularExpression(QRegularExpression::anchoredPattern(pattern)).match(text).hasMatch();
}

void verifyQuarterHour(const QTime &time, int firstHour, int lastHour)
{
    QVERIFY(time.isValid());
    QVERIFY2(time.hour() >= firstHour && time.hour() <= lastHour, qPrintable(time.toString()));
    QCOMPARE(time.minute() % 15, 0);
    QCOMPARE(time.second(), 0);
}

} // namespace

void verifyAllTables(data::Connection &connection)
{
    QStringList expected;
    for (const data::Table &table : data::Schema::tables())
        expected << table.name;
    QStringList existing;
    try {
        existing = data::existingTables(connection);
    } catch (const data::Error &error) {
        failOnError(error, __FILE__, __LINE__);
        return;
    }
    QCOMPARE(existing, expected);
    QCOMPARE(count(connection, uR"(SELECT COUNT(*) FROM "Log")"_s), 0);
}

void verifyStartRows(data::Connection &connection, const QString &admin, const QString &password)
{
    const auto transforms =
        rows(connection, uR"(SELECT "Tables", "TransformFields", "Fields" FROM "Transforms")"_s);
    QCOMPARE(transforms.size(), data::transformRows().size());
    for (const data::TransformRow &row : data::transformRows())
        QVERIFY2(transforms.contains(QVariantList{row.table, row.caption, row.column}),
                 qPrintable(row.caption));

    const data::Table &table = *data::Schema::table(u"用户"_s);
    const auto users = rows(connection, uR"(SELECT * FROM "用户")"_s);
    QCOMPARE(users.size(), 1);
    const QVariantList &user = users.first();
    const auto column = [&](const QString &name) { return user.at(table.columnIndex(name)); };
    QCOMPARE(column(u"用户名"_s).toString(), admin);
    QCOMPARE(column(u"用户类型"_s).toString(), data::administratorType());
    for (const QString &right : data::rightsColumns())
        QVERIFY2(as(column(right), ColumnType::Boolean).toBool(), qPrintable(right));
    const QString stored = column(u"密码"_s).toString();
    if (password.isEmpty()) {
        QCOMPARE(stored, QString());
    } else {
        QVERIFY2(data::isPasswordHash(stored), qPrintable(stored));
        QVERIFY(data::verifyPassword(password, stored));
        QVERIFY(!data::verifyPassword(password + u'x', stored));
    }
}

void verifyCategory(data::Connection &connection, const QString &category)
{
    const QStringList list = items(connection, category);
    QVERIFY2(list.size() >= 5 && list.size() <= 8, qPrintable(list.join(u',')));
    QCOMPARE(QSet<QString>(list.cbegin(), list.cend()).size(), list.size());
    for (const QString &item : list)
        QVERIFY(!item.trimmed().isEmpty());
}

void verifyRegions(data::Connection &connection)
{
    QStringList regions;
    for (const QVariantList &row : rows(connection, uR"(SELECT "所属区域" FROM "所在区域")"_s))
        regions << row.first().toString();
    regions.sort();
    QStringList expected = {u"华北"_s, u"华东"_s, u"华南"_s, u"华中"_s,
                            u"西南"_s, u"西北"_s, u"东北"_s};
    expected.sort();
    QCOMPARE(regions, expected);
    QCOMPARE(count(connection, uR"(SELECT COUNT(*) FROM "销售区域" a WHERE NOT EXISTS
                                     (SELECT 1 FROM "所在区域" r WHERE r."所属区域" = a."所属区域"))"_s),
             0);
    // Every client's region and area are a pair of the region window.
    QCOMPARE(count(connection, uR"(SELECT COUNT(*) FROM "ClientData" c WHERE NOT EXISTS
                                     (SELECT 1 FROM "销售区域" a
                                      WHERE a."所属区域" = c."Area" AND a."地区名称" = c."Region"))"_s),
             0);
}

void verifyClients(data::Connection &connection, int clients)
{
    const QStringList types = items(connection, u"客户类型"_s);
    const QStringList tiers = {u"★★★★★"_s, u"★★★★"_s, u"★★★"_s, u"★★"_s, u"★"_s};
    const auto all = rows(connection, uR"(SELECT "ID", "CoName", "ClientTier", "Postalcode", "TEL",
                                             "EMail", "WEBs", "ClientTypes", "Address", "Remark"
                                      FROM "ClientData" ORDER BY "Num")"_s);
    QCOMPARE(all.size(), clients);
    QSet<QString> names;
    for (int i = 0; i < all.size(); ++i) {
        const QVariantList &c = all.at(i);
        const QString name = c.at(1).toString();
        QCOMPARE(c.at(0).toString(), u"KH%1"_s.arg(i + 1, 6, 10, QLatin1Char('0')));
        QVERIFY(!name.isEmpty());
        QVERIFY2(name.size() <= 50, qPrintable(name));
        QVERIFY2(!names.contains(name), qPrintable(name)); // related rows refer to it
        names.insert(name);
        QVERIFY2(tiers.contains(c.at(2).toString()), qPrintable(c.at(2).toString()));
        const int postalCode = as(c.at(3), ColumnType::Integer).toInt();
        QVERIFY2(postalCode >= 100000 && postalCode <= 999999,
                 qPrintable(QString::number(postalCode)));
        QVERIFY2(matches(u"0\\d{2,3}-[2-9]\\d{7}"_s, c.at(4).toString()),
                 qPrintable(c.at(4).toString()));
        const QString email = c.at(5).toString();
        QVERIFY2(email.isEmpty() || matches(u"[a-z]+@[a-z0-9.]+\\.[a-z]+"_s, email),
                 qPrintable(email));
        const QString web = c.at(6).toString();
        QVERIFY2(web.isEmpty() || matches(u"http://www\\.[a-z0-9.]+\\.[a-z]+"_s, web),
                 qPrintable(web));
        QVERIFY2(types.contains(c.at(7).toString()), qPrintable(c.at(7).toString()));
        QVERIFY(!c.at(8).toString().isEmpty());
        QVERIFY(c.at(9).toString().startsWith(name));
    }
}

void verifyContacts(data::Connection &connection, int clients)
{
    const auto perClient = rows(connection, uR"(
        SELECT c."CoName", COUNT(l."Num"), SUM(CASE WHEN l."MostlyLinkMan" THEN 1 ELSE 0 END)
        FROM "ClientData" c LEFT JOIN "LinkMan" l ON l."ClientName" = c."CoName"
        GROUP BY c."CoName")"_s);
    QCOMPARE(perClient.size(), clients);
    for (const QVariantList &row : perClient) {
        const int contacts = row.at(1).toInt();
        QVERIFY2(contacts >= 1 && contacts <= 4, qPrintable(row.at(0).toString()));
        QCOMPARE(row.at(2).toInt(), 1); // one main contact each
    }
    // The main contact is the client's first.
    QCOMPARE(count(connection,
                   uR"(SELECT COUNT(*) FROM "LinkMan" l WHERE l."MostlyLinkMan" AND l."Num" <>
                                     (SELECT MIN(m."Num") FROM "LinkMan" m WHERE m."ClientName" = l."ClientName"))"_s),
             0);
    QCOMPARE(count(connection, uR"(SELECT COUNT(*) FROM "LinkMan" l WHERE NOT EXISTS
                                     (SELECT 1 FROM "ClientData" c WHERE c."CoName" = l."ClientName"))"_s),
             0);
    // A visit names its contact person by name, so names differ within a client.
    QCOMPARE(rows(connection, uR"(SELECT "ClientName", "LinkManID" FROM "LinkMan"
                                  GROUP BY "ClientName", "LinkManID" HAVING COUNT(*) > 1)"_s)
                 .size(),
             0);
    for (const auto &[column, category] :
         {std::pair(u"Duty"_s, u"职务设置"_s), std::pair(u"Branch"_s, u"部门设置"_s)}) {
        QCOMPARE(count(connection,
                       uR"(SELECT COUNT(*) FROM "LinkMan" WHERE %1 NOT IN
                             (SELECT "Items" FROM "Sort" WHERE "Sorts" = :c))"_s.arg(
                           data::Dialect::quote(column)),
                       {{u"c"_s, category}}),
                 0);
    }
    for (const QVariantList &row :
         rows(connection,
              uR"(SELECT "LinkManID", "MobileTEL", "Email", "Birthday" FROM "LinkMan")"_s)) {
        const QString name = row.at(0).toString();
        QVERIFY2(name.size() >= 2 && name.size() <= 3, qPrintable(name));
        QVERIFY2(matches(u"1[3-9]\\d{9}"_s, row.at(1).toString()),
                 qPrintable(row.at(1).toString()));
        const QString email = row.at(2).toString();
        QVERIFY2(email.isEmpty() || matches(u"[a-z]+\\.[a-z]+@[a-z0-9.]+\\.[a-z]+"_s, email),
                 qPrintable(email));
        const QDate birthday = as(row.at(3), ColumnType::Date).toDate();
        QVERIFY(row.at(3).isNull() || (birthday.year() >= 1950 && birthday.year() <= 2005));
    }
}

void verifyVisits(data::Connection &connection, const QDate &today)
{
    const auto visits =
        rows(connection, uR"(SELECT "Dates", "Times", "Motif", "Personnel" FROM "ClientVisit")"_s);
    QVERIFY(!visits.isEmpty());
    for (const QVariantList &v : visits) {
        const QDate date = as(v.at(0), ColumnType::Date).toDate();
        QVERIFY2(date >= today.addDays(-2 * 365) && date < today, qPrintable(date.toString()));
        verifyQuarterHour(as(v.at(1), ColumnType::Time).toTime(), 8, 17);
        QVERIFY(!v.at(2).toString().isEmpty());
        QVERIFY(!v.at(3).toString().isEmpty());
    }
    QVERIFY(
        scalar(
            connection,
            uR"(SELECT MAX(n) FROM (SELECT COUNT(*) AS n FROM "ClientVisit" GROUP BY "ClientName") t)"_s)
            .toInt() <= 3);
    QCOMPARE(count(connection, uR"(SELECT COUNT(*) FROM "ClientVisit" v WHERE NOT EXISTS
                                     (SELECT 1 FROM "LinkMan" l
                                      WHERE l."ClientName" = v."ClientName" AND l."LinkManID" = v."Principal"))"_s),
             0);
    QCOMPARE(count(connection, uR"(SELECT COUNT(*) FROM "ClientVisit" WHERE "RelationMode" NOT IN
                                     (SELECT "Items" FROM "Sort" WHERE "Sorts" = :c))"_s,
                   {{u"c"_s, u"联系方式"_s}}),
             0);
}

void verifyAppointments(data::Connection &connection, const QDate &today, int clients)
{
    const auto appointments =
        rows(connection, uR"(SELECT "Dates", "Times" FROM "ClientBespeak")"_s);
    // About one client in five, and a few today for the agenda.
    QVERIFY2(appointments.size() >= clients / 10 && appointments.size() <= clients / 2 + 3,
             qPrintable(QString::number(appointments.size())));
    int onToday = 0;
    for (const QVariantList &a : appointments) {
        const QDate date = as(a.at(0), ColumnType::Date).toDate();
        QVERIFY2(date >= today.addDays(-3) && date <= today.addDays(20),
                 qPrintable(date.toString()));
        verifyQuarterHour(as(a.at(1), ColumnType::Time).toTime(), 9, 16);
        onToday += date == today ? 1 : 0;
    }
    if (clients >= 10)
        QVERIFY2(onToday >= 3, qPrintable(QString::number(onToday)));
    QCOMPARE(count(connection, uR"(SELECT COUNT(*) FROM "ClientBespeak" b WHERE NOT EXISTS
                                     (SELECT 1 FROM "LinkMan" l
                                      WHERE l."ClientName" = b."ClientName" AND l."LinkManID" = b."Principal"))"_s),
             0);
}

void verifyProducts(data::Connection &connection)
{
    const QStringList units = {u"件"_s, u"套"_s, u"个"_s, u"桶"_s, u"台"_s, u"箱"_s};
    const auto products =
        rows(connection, uR"(SELECT "ID", "ProductName", "Spec", "Unit", "Price", "CostPrice"
                                             FROM "ProductInfo" ORDER BY "Num")"_s);
    QVERIFY2(products.size() >= 50, qPrintable(QString::number(products.size())));
    QSet<QString> names;
    for (int i = 0; i < products.size(); ++i) {
        const QVariantList &p = products.at(i);
        QCOMPARE(p.at(0).toString(), u"CP%1"_s.arg(i + 1, 3, 10, QLatin1Char('0')));
        const QString name = p.at(1).toString();
        QVERIFY(!name.isEmpty() && name.size() <= 90);
        QVERIFY2(!names.contains(name), qPrintable(name));
        names.insert(name);
        QVERIFY(!p.at(2).toString().isEmpty());
        QVERIFY2(units.contains(p.at(3).toString()), qPrintable(p.at(3).toString()));
        const double price = as(p.at(4), ColumnType::Decimal).toDouble();
        const double cost = as(p.at(5), ColumnType::Decimal).toDouble();
        QVERIFY2(cost > 0 && cost < price, qPrintable(name));
    }
}

void verifyOrders(data::Connection &connection, const QDate &today, const QString &admin)
{
    const auto orders = rows(
        connection,
        uR"(SELECT "OrderFormID", "SellDate", "Operator" FROM "ProductSell" ORDER BY "Num")"_s);
    QVERIFY(!orders.isEmpty());
    QDate previous;
    int previousNumber = 0;
    for (const QVariantList &o : orders) {
        const QString id = o.at(0).toString();
        const QDate date = as(o.at(1), ColumnType::Date).toDate();
        const auto m = QRegularExpression(u"^XS(\\d{8})(\\d{3})$"_s).match(id);
        QVERIFY2(m.hasMatch(), qPrintable(id));
        QCOMPARE(m.captured(1), date.toString(u"yyyyMMdd"_s));
        QVERIFY2(date >= today.addDays(-3 * 365) && date < today, qPrintable(id));
        // Written oldest first, numbered 001, 002, … within each day.
        QVERIFY2(!previous.isValid() || date >= previous, qPrintable(id));
        const int number = m.captured(2).toInt();
        QCOMPARE(number, date == previous ? previousNumber + 1 : 1);
        previous = date;
        previousNumber = number;
        QCOMPARE(o.at(2).toString(), admin);
    }
    QVERIFY(
        scalar(
            connection,
            uR"(SELECT MAX(n) FROM (SELECT COUNT(*) AS n FROM "ProductSell" GROUP BY "ClientName") t)"_s)
            .toInt() <= 2);
    QCOMPARE(count(connection, uR"(SELECT COUNT(*) FROM "ProductSell" o WHERE NOT EXISTS
                                     (SELECT 1 FROM "ClientData" c WHERE c."CoName" = o."ClientName"))"_s),
             0);
}

void verifyOrderLines(data::Connection &connection)
{
    const auto perOrder = rows(connection, uR"(
        SELECT o."OrderFormID", COUNT(d."Num"), COUNT(DISTINCT d."ProductName")
        FROM "ProductSell" o LEFT JOIN "SellDetail" d
             ON d."OrderFormID" = o."OrderFormID" AND d."ClientName" = o."ClientName"
        GROUP BY o."OrderFormID")"_s);
    QVERIFY(!perOrder.isEmpty());
    for (const QVariantList &row : perOrder) {
        const int lines = row.at(1).toInt();
        QVERIFY2(lines >= 1 && lines <= 4, qPrintable(row.at(0).toString()));
        QCOMPARE(row.at(2).toInt(), lines); // one line per product
    }
    QCOMPARE(count(connection, uR"(SELECT COUNT(*) FROM "SellDetail" d WHERE NOT EXISTS
                                     (SELECT 1 FROM "ProductSell" o
                                      WHERE o."OrderFormID" = d."OrderFormID" AND o."ClientName" = d."ClientName"))"_s),
             0);
    // Copied from the product as the order editor copies them.
    QCOMPARE(count(connection, uR"(SELECT COUNT(*) FROM "SellDetail" d WHERE NOT EXISTS
                                     (SELECT 1 FROM "ProductInfo" p
                                      WHERE p."ID" = d."ID" AND p."ProductName" = d."ProductName"
                                        AND p."Spec" = d."Spec" AND p."Unit" = d."Unit"
                                        AND p."Price" = d."UnitPrice"))"_s),
             0);
    QCOMPARE(count(connection,
                   uR"(SELECT COUNT(*) FROM "SellDetail" WHERE "Number" < 1 OR "Number" > 50)"_s),
             0);
    const QList<double> agios = {10, 9.5, 9, 8.8, 8};
    for (const QVariantList &row :
         rows(connection, uR"(SELECT DISTINCT "Agio" FROM "SellDetail")"_s))
        QVERIFY2(agios.contains(as(row.first(), ColumnType::Decimal).toDouble()),
                 qPrintable(row.first().toString()));
}

void verifySellNumbers(data::Connection &connection)
{
    QHash<QString, int> sold;
    for (const QVariantList &row :
         rows(connection, uR"(SELECT "ProductName", "Number" FROM "SellDetail")"_s))
        sold[row.at(0).toString()] += row.at(1).toInt();
    QVERIFY(!sold.isEmpty());
    for (const QVariantList &row :
         rows(connection, uR"(SELECT "ProductName", "SellNumber" FROM "ProductInfo")"_s))
        QCOMPARE(row.at(1).toInt(), sold.value(row.at(0).toString()));
}

void verifyDemoDatabase(data::Connection &connection, int clients, const QDate &today,
                        const QString &admin, const QString &password)
{
    const std::initializer_list<std::function<void()>> checks = {
        [&] { verifyAllTables(connection); },
        [&] { verifyStartRows(connection, admin, password); },
        [&] {
            for (const QString &category :
                 {u"客户类型"_s, u"职务设置"_s, u"部门设置"_s, u"联系方式"_s})
                verifyCategory(connection, category);
        },
        [&] { verifyRegions(connection); },
        [&] { verifyClients(connection, clients); },
        [&] { verifyContacts(connection, clients); },
        [&] { verifyVisits(connection, today); },
        [&] { verifyAppointments(connection, today, clients); },
        [&] { verifyProducts(connection); },
        [&] { verifyOrders(connection, today, admin); },
        [&] { verifyOrderLines(connection); },
        [&] { verifySellNumbers(connection); },
    };
    for (const auto &check : checks) {
        check();
        if (QTest::currentTestFailed())
            return;
    }
}
