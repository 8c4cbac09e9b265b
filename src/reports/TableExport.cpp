#include "TableExport.h"

#include "Connection.h"
#include "Dialect.h"
#include "Schema.h"
#include "SpreadsheetWriter.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace {

TableExport::Column col(const char *name, const char *caption)
{
    return {QString::fromLatin1(name), QString::fromUtf8(caption)};
}

} // namespace

const QList<TableExport> &TableExport::all()
{
    static const QList<TableExport> exports = {
        {81, QStringLiteral("ClientData"), QStringLiteral("客户资料"),
         {col("ID", "代号"), col("CoName", "公司名称"), col("ClientTier", "客户等级"), col("ClientTypes", "客户类型"),
          col("Address", "联系地址"), col("Postalcode", "邮编"), col("Region", "地区"), col("TEL", "联系电话"),
          col("FAX", "传真"), col("EMail", "电子邮件"), col("WEBs", "主页")}},
        {82, QStringLiteral("LinkMan"), QStringLiteral("联系人列表"),
         {col("LinkManID", "联系人"), col("ClientName", "所属公司"), col("MostlyLinkMan", "主联系人"),
          col("Duty", "职务"), col("Branch", "部门"), col("Email", "电子邮件"), col("HomeAddress", "家庭地址"),
          col("OfficeTEL", "办公电话"), col("MobileTEL", "手机"), col("HomeTEL", "家庭电话"), col("FAX", "传真"),
          col("Birthday", "生日")}},
        {83, QStringLiteral("ClientVisit"), QStringLiteral("客户拜访记录"),
         {col("Dates", "日期"), col("Times", "时间"), col("Motif", "主题"), col("ClientName", "客户名称"),
          col("RelationMode", "联系方式"), col("Principal", "联系人"), col("Personnel", "我方人员")}},
        {84, QStringLiteral("ClientBespeak"), QStringLiteral("客户预约记录"),
         {col("Dates", "日期"), col("Times", "时间"), col("ClientName", "客户名称"), col("Motif", "主题"),
          col("RelationMode", "联系方式"), col("Principal", "负责人")}},
        {85, QStringLiteral("ProductInfo"), QStringLiteral("产品目录"),
         {col("ID", "产品代码"), col("ProductName", "产品名称"), col("Spec", "规格"), col("Unit", "单位"),
          col("Price", "销售价"), col("CostPrice", "成本价"), col("SellNumber", "销量"), col("Remark", "备注")}},
    };
    return exports;
}

const TableExport *TableExport::ofTag(int tag)
{
    for (const TableExport &e : all())
        if (e.tag == tag)
            return &e;
    return nullptr;
}

int TableExport::write(data::Connection &connection, const QString &path) const
{
    const data::Table *schema = data::Schema::table(table);
    QStringList selected;
    QList<data::ColumnType> types;
    QVariantList headers;
    for (const Column &c : columns) {
        const data::Column *column = schema->column(c.name);
        selected << data::Dialect::quote(column->name);
        types << column->type;
        headers << c.caption;
    }
    QString sql = QStringLiteral("SELECT %1 FROM %2").arg(selected.join(QLatin1String(", ")), data::Dialect::quote(table));
    // In the order the rows were entered.
    if (!schema->key.isEmpty())
        sql += QStringLiteral(" ORDER BY ") + data::Dialect::quote(schema->key.first());

    SpreadsheetWriter writer(path, title);
    writer.writeRow(headers);
    QSqlQuery query = connection.exec(sql);
    int rows = 0;
    QVariantList values;
    while (query.next()) {
        values.clear();
        for (int i = 0; i < types.size(); ++i)
            values << data::Dialect::fromDatabase(query.value(i), types.at(i));
        writer.writeRow(values);
        ++rows;
    }
    writer.close();
    return rows;
}
