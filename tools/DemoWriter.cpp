#include "DemoWriter.h"

#include "Connection.h"
#include "TableWriter.h"

namespace initdb {

namespace {

// Left empty in the generator means not filled in.
QVariant optional(const QString &text)
{
    return text.isEmpty() ? QVariant() : QVariant(text);
}

QVariant optional(const QDate &date)
{
    return date.isValid() ? QVariant(date) : QVariant();
}

void writeCategories(data::Connection &connection, RowCounts &counts)
{
    TableWriter sort(connection, QStringLiteral("Sort"), {"Sorts", "Items"});
    const QList<std::pair<QString, const QStringList *>> categories = {
        {QStringLiteral("客户类型"), &clientTypes()},
        {QStringLiteral("职务设置"), &duties()},
        {QStringLiteral("部门设置"), &branches()},
        {QStringLiteral("联系方式"), &relationModes()},
    };
    for (const auto &[category, items] : categories) {
        for (const QString &item : *items)
            sort.add({category, item});
    }
    sort.flush();
    counts.add(sort.table(), sort.rowsWritten());

    // 所在区域.Num is a column the program neither assigns nor reads.
    TableWriter regionTable(connection, QStringLiteral("所在区域"), {"所属区域"});
    for (const QString &region : regions())
        regionTable.add({region});
    regionTable.flush();
    counts.add(regionTable.table(), regionTable.rowsWritten());

    TableWriter areas(connection, QStringLiteral("销售区域"), {"所属区域", "地区名称"});
    for (const QString &region : regions()) {
        for (const City &city : cities()) {
            if (city.region == region)
                areas.add({region, city.name});
        }
    }
    areas.flush();
    counts.add(areas.table(), areas.rowsWritten());
}

void writeProducts(data::Connection &connection, const QList<ProductRow> &products,
                   RowCounts &counts)
{
    TableWriter writer(connection, QStringLiteral("ProductInfo"),
                       {"ID", "ProductName", "Spec", "Unit", "Price", "CostPrice", "SellNumber"});
    for (const ProductRow &p : products)
        writer.add({p.id, p.name, p.spec, p.unit, p.price, p.costPrice, 0});
    writer.flush();
    counts.add(writer.table(), writer.rowsWritten());
}

void writeClients(data::Connection &connection, DemoGenerator &generator, RowCounts &counts)
{
    TableWriter clients(connection, QStringLiteral("ClientData"),
                        {"ID", "CoName", "ClientTier", "Address", "Postalcode", "Area", "Region",
                         "TEL", "FAX", "ClientTypes", "EMail", "WEBs", "Remark"});
    TableWriter contacts(connection, QStringLiteral("LinkMan"),
                         {"ClientName", "LinkManID", "MostlyLinkMan", "Duty", "Branch", "Email",
                          "HomeAddress", "OfficeTEL", "MobileTEL", "HomeTEL", "FAX", "Birthday",
                          "Remark"});
    TableWriter visits(connection, QStringLiteral("ClientVisit"),
                       {"Dates", "Times", "Motif", "ClientName", "RelationMode", "Personnel",
                        "Principal", "Remark"});
    TableWriter appointments(
        connection, QStringLiteral("ClientBespeak"),
        {"ClientName", "Motif", "RelationMode", "Principal", "Dates", "Times", "Remark"});
    while (generator.hasNextClient()) {
        const ClientRow c = generator.nextClient();
        clients.add({c.id, c.coName, c.tier, c.address, c.postalCode, c.area, c.region, c.tel,
                     optional(c.fax), c.type, optional(c.email), optional(c.web), c.overview});
        for (const ContactRow &p : c.contacts)
            contacts.add({c.coName, p.name, p.main, p.duty, p.branch, optional(p.email),
                          optional(p.homeAddress), p.officeTel, p.mobileTel, optional(p.homeTel),
                          optional(p.fax), optional(p.birthday), optional(p.remark)});
        for (const VisitRow &v : c.visits)
            visits.add({v.date, v.time, v.motif, c.coName, v.relationMode, v.personnel, v.principal,
                        v.content});
        for (const AppointmentRow &a : c.appointments)
            appointments.add({c.coName, a.motif, a.relationMode, a.principal, a.date, a.time,
                              optional(a.remark)});
    }
    for (TableWriter *writer : {&clients, &contacts, &visits, &appointments}) {
        writer->flush();
        counts.add(writer->table(), writer->rowsWritten());
    }
}

void writeOrders(data::Connection &connection, DemoGenerator &generator,
                 const QString &operatorName, RowCounts &counts)
{
    TableWriter heads(connection, QStringLiteral("ProductSell"),
                      {"OrderFormID", "ClientName", "SellDate", "Operator", "Remark"});
    TableWriter lines(connection, QStringLiteral("SellDetail"),
                      {"OrderFormID", "ClientName", "ID", "ProductName", "Spec", "Unit",
                       "UnitPrice", "Number", "Agio"});
    const QList<ProductRow> &products = generator.products();
    // Oldest first, so that the order with the highest Num is the latest one,
    // from which the order editor numbers the next.
    for (const OrderRow &order : generator.takeOrders()) {
        heads.add({order.orderFormId, order.clientName, order.date, operatorName,
                   optional(order.remark)});
        for (const OrderLineRow &line : generator.linesOfOrder()) {
            const ProductRow &p = products.at(line.product);
            lines.add({order.orderFormId, order.clientName, p.id, p.name, p.spec, p.unit, p.price,
                       line.number, line.agio});
        }
    }
    heads.flush();
    lines.flush();
    counts.add(heads.table(), heads.rowsWritten());
    counts.add(lines.table(), lines.rowsWritten());
}

} // namespace

void writeDemoData(data::Connection &connection, const DemoSettings &settings,
                   const QString &operatorName, RowCounts &counts)
{
    DemoGenerator generator(settings);
    writeCategories(connection, counts);
    writeProducts(connection, generator.products(), counts);
    writeClients(connection, generator, counts);
    writeOrders(connection, generator, operatorName, counts);

    // The same total the product sales figures compute, so the catalogue
    // agrees with the lines from the start.
    connection
        .exec(QStringLiteral("UPDATE \"ProductInfo\" SET \"SellNumber\" = "
                             "(SELECT COALESCE(SUM(d.\"Number\"), 0) FROM \"SellDetail\" d "
                             "WHERE d.\"ProductName\" = \"ProductInfo\".\"ProductName\")"))
        .finish();
}

} // namespace initdb
