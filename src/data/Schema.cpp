#include "Schema.h"

namespace data {

namespace {

using T = ColumnType;

Column text(const QString &name, int length) { return {name, T::Text, length}; }
Column memo(const QString &name) { return {name, T::LongText, 0}; }
Column of(const QString &name, ColumnType type) { return {name, type, 0}; }

Index index(QStringList columns) { return {std::move(columns), false, false}; }
Index unique(QStringList columns) { return {std::move(columns), true, false}; }

QList<Table> buildTables()
{
    QList<Table> tables;

    tables.append({"ClientData",
                   {of("Num", T::AutoNumber), text("ID", 50), text("CoName", 50),
                    text("ClientTier", 50), text("Address", 255), of("Postalcode", T::Integer),
                    text("Area", 50), text("Region", 50), text("TEL", 50), text("FAX", 50),
                    text("ClientTypes", 50), text("EMail", 100), text("WEBs", 200),
                    memo("Remark")},
                   {"Num"},
                   {index({"CoName"}), index({"ID"})}});

    tables.append({"LinkMan",
                   {of("Num", T::AutoNumber), text("ClientName", 200), text("LinkManID", 50),
                    of("MostlyLinkMan", T::Boolean), text("Duty", 50), text("Branch", 50),
                    text("Email", 200), text("HomeAddress", 255), text("OfficeTEL", 50),
                    text("MobileTEL", 50), text("HomeTEL", 50), text("FAX", 50),
                    of("Birthday", T::Date), memo("Remark")},
                   {"Num"},
                   {index({"ClientName"})}});

    tables.append({"ClientVisit",
                   {of("Num", T::AutoNumber), of("Dates", T::Date), of("Times", T::Time),
                    text("Motif", 255), text("ClientName", 255), text("RelationMode", 50),
                    text("Personnel", 50), text("Principal", 50), memo("Remark")},
                   {"Num"},
                   {index({"ClientName"}), index({"Dates"})}});

    tables.append({"ClientBespeak",
                   {of("Num", T::AutoNumber), text("ClientName", 255), text("Motif", 255),
                    text("RelationMode", 150), text("Principal", 50), of("Dates", T::Date),
                    of("Times", T::Time), memo("Remark")},
                   {"Num"},
                   {index({"ClientName"}), index({"Dates"})}});

    tables.append({"ProductInfo",
                   {of("Num", T::AutoNumber), text("ID", 50), text("ProductName", 90),
                    text("Spec", 180), text("Unit", 20), of("Price", T::Decimal),
                    of("CostPrice", T::Decimal), of("SellNumber", T::Integer), memo("Remark")},
                   {"Num"},
                   {index({"ID"}), index({"ProductName"})}});

    tables.append({"ProductSell",
                   {of("Num", T::AutoNumber), text("OrderFormID", 50), text("ClientName", 200),
                    of("SellDate", T::Date), text("Operator", 50), memo("Remark")},
                   {"Num"},
                   {unique({"OrderFormID"}), index({"ClientName"})}});

    tables.append({"SellDetail",
                   {of("Num", T::AutoNumber), text("OrderFormID", 50), text("ClientName", 200),
                    text("ID", 50), text("ProductName", 90), text("Spec", 180), text("Unit", 20),
                    of("UnitPrice", T::Decimal), of("Number", T::Integer), of("Agio", T::Decimal)},
                   {"Num"},
                   {index({"OrderFormID", "ClientName"}), index({"ClientName"}),
                    index({"ProductName"})}});

    tables.append({"Sort", {text("Sorts", 50), text("Items", 100)}, {}, {index({"Sorts"})}});

    tables.append({"所在区域", {text("所属区域", 50), of("Num", T::Integer)}, {}, {}});

    tables.append({"销售区域",
                   {of("Num", T::AutoNumber), text("所属区域", 100), text("地区名称", 100)},
                   {"Num"},
                   {index({"所属区域"})}});

    // 密码 holds an Argon2id hash string, hence its length.
    tables.append({"用户",
                   {text("用户名", 50), text("密码", 255), text("用户类型", 50),
                    of("权限管理", T::Boolean), of("修改密码", T::Boolean),
                    of("打印报表", T::Boolean), of("导出数据", T::Boolean),
                    of("备份还原", T::Boolean), of("查看日志", T::Boolean)},
                   {"用户名"},
                   {{{"用户名"}, true, true}}});

    tables.append({"Log",
                   {of("Degree", T::AutoNumber), of("LoadDate", T::DateTime),
                    {"UserName", T::FixedText, 50}, of("OutDate", T::DateTime)},
                   {"Degree"},
                   {}});

    tables.append({"Transforms",
                   {text("Tables", 50), text("TransformFields", 50), text("Fields", 50)},
                   {},
                   {}});

    return tables;
}

} // namespace

const Column *Table::column(const QString &columnName) const
{
    const int i = columnIndex(columnName);
    return i < 0 ? nullptr : &columns.at(i);
}

int Table::columnIndex(const QString &columnName) const
{
    for (int i = 0; i < columns.size(); ++i) {
        if (columns.at(i).name.compare(columnName, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

const QList<Table> &Schema::tables()
{
    static const QList<Table> all = buildTables();
    return all;
}

const Table *Schema::table(const QString &tableName)
{
    for (const Table &t : tables()) {
        if (t.name.compare(tableName, Qt::CaseInsensitive) == 0)
            return &t;
    }
    return nullptr;
}

bool Schema::hasColumn(const QString &tableName, const QString &columnName)
{
    const Table *t = table(tableName);
    return t && t->column(columnName);
}

bool isTextType(ColumnType type)
{
    return type == ColumnType::Text || type == ColumnType::FixedText
        || type == ColumnType::LongText;
}

bool isNumericType(ColumnType type)
{
    return type == ColumnType::Integer || type == ColumnType::AutoNumber
        || type == ColumnType::Decimal;
}

bool isTemporalType(ColumnType type)
{
    return type == ColumnType::Date || type == ColumnType::Time || type == ColumnType::DateTime;
}

} // namespace data
