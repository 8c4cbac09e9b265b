#include "ClientsFixture.h"

#include "ClientList.h"
#include "DM.h"
#include "Main.h"

#include <QTest>

const QString ClientsFixture::A = QStringLiteral("北京华信科技有限公司");
const QString ClientsFixture::B = QStringLiteral("上海博远贸易有限公司");

ClientsFixture::ClientsFixture(TestDatabase::Backend backend)
    : AppFixture(backend)
{
    TestDatabase &d = db();
    const data::NamedValues names = {{QStringLiteral("a"), A}, {QStringLiteral("b"), B}};
    d.exec(QStringLiteral("INSERT INTO \"ClientData\" (\"ID\", \"CoName\", \"Area\", \"WEBs\", \"EMail\") VALUES "
                          "('K2', :a, '华北', 'http://www.huaxin.com.cn', 'sales@huaxin.com.cn'), "
                          "('K1', :b, '华东', NULL, NULL)"),
           names);
    d.exec(QStringLiteral("INSERT INTO \"LinkMan\" (\"ClientName\", \"LinkManID\", \"Email\") VALUES "
                          "(:a, '王伟', 'wangwei@huaxin.com.cn'), (:a, '李娜', NULL), (:b, '张敏', NULL)"),
           names);
    d.exec(QStringLiteral("INSERT INTO \"ClientVisit\" (\"ClientName\", \"Motif\") VALUES (:a, '回访'), (:b, '洽谈')"),
           names);
    d.exec(QStringLiteral("INSERT INTO \"ClientBespeak\" (\"ClientName\", \"Motif\", \"Dates\") VALUES "
                          "(:a, '签约', '2026-12-11'), (:b, '拜访', '2026-12-12')"),
           names);
    d.exec(QStringLiteral("INSERT INTO \"ProductSell\" (\"OrderFormID\", \"ClientName\") VALUES "
                          "('XS20261201001', :a), ('XS20261201002', :a), ('XS20261201003', :b)"),
           names);
    d.exec(QStringLiteral("INSERT INTO \"SellDetail\" (\"OrderFormID\", \"ClientName\", \"ProductName\", \"Number\") VALUES "
                          "('XS20261201001', :a, '打印机', 1), ('XS20261201001', :a, '扫描仪', 2), "
                          "('XS20261201002', :a, '复印纸', 3), ('XS20261201003', :b, '打印机', 4)"),
           names);
    d.exec(QStringLiteral("INSERT INTO \"所在区域\" (\"所属区域\") VALUES ('华北'), ('华东')"));
    d.exec(QStringLiteral("INSERT INTO \"销售区域\" (\"所属区域\", \"地区名称\") VALUES ('华北', '北京'), ('华东', '上海')"));
    d.exec(QStringLiteral("INSERT INTO \"Sort\" (\"Sorts\", \"Items\") VALUES ('客户类型', '重要客户')"));
    start();
}

TClientListForm *ClientsFixture::openClientList(const QString &name)
{
    app().main->ShowWindows(51);
    if (!ClientListForm)
        return nullptr;
    DM1->ADODataSet1->locate(QStringLiteral("CoName"), name);
    return ClientListForm;
}

QList<int> ClientsFixture::relatedCounts(const QString &name)
{
    QList<int> counts;
    for (const char *table : {"LinkMan", "ClientVisit", "ProductSell", "ClientBespeak", "SellDetail"})
        counts << db().scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE \"ClientName\" = :n")
                                  .arg(data::Dialect::quote(QString::fromLatin1(table))),
                              {{QStringLiteral("n"), name}})
                      .toInt();
    return counts;
}
