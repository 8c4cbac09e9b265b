#include "ClientRecords.h"

#include "DM.h"
#include "Prompt.h"
#include "Schema.h"

#include <QStringListModel>

#include <memory>
#include <utility>

using data::Dataset;
using data::Dialect;

namespace {

const data::Column *checkedColumn(const QString &table, const QString &column)
{
    const data::Table *t = data::Schema::table(table);
    const data::Column *c = t ? t->column(column) : nullptr;
    if (!c)
        throw data::Error(QStringLiteral("表“%1”中没有列“%2”。").arg(table, column));
    return c;
}

void requery(std::initializer_list<Dataset *> datasets)
{
    for (Dataset *d : datasets) {
        if (d->isActive())
            d->requery();
    }
}

} // namespace

bool ClearData(const QString &table, const QString &column, const QVariant &value)
{
    try {
        const data::Column *c = checkedColumn(table, column);
        Dataset *query = DM1->ADOQuery1;
        query->close();
        query->setCommandText(QStringLiteral("Delete From %1 Where %2=:PM")
                                  .arg(Dialect::quote(data::Schema::table(table)->name), Dialect::quote(c->name)));
        query->setParameter(QStringLiteral("PM"), value);
        query->execSQL();
        return true;
    } catch (const std::exception &) {
        showMessage(QStringLiteral("错误"), QStringLiteral("内容删除失败！在此之前，可能记录已经被删除！"),
                    MessageIcon::Error);
        return false;
    }
}

const QStringList &clientDetailTables()
{
    static const QStringList tables = {QStringLiteral("LinkMan"), QStringLiteral("ClientVisit"),
                                       QStringLiteral("ProductSell"), QStringLiteral("ClientBespeak"),
                                       QStringLiteral("SellDetail")};
    return tables;
}

void deleteClientWithDetails(const QString &clientName)
{
    data::Connection &connection = *DM1->ADOConnection1;
    {
        data::Transaction transaction(connection);
        for (const QString &table : clientDetailTables())
            connection
                .exec(QStringLiteral("DELETE FROM %1 WHERE \"ClientName\" = :name").arg(Dialect::quote(table)),
                      {{QStringLiteral("name"), clientName}})
                .finish();
        DM1->ADODataSet1->deleteRow();
        transaction.commit();
    }
    requery({DM1->ADODataSet2, DM1->ADODataSet4, DM1->ADODataSet6, DM1->ADODataSet8, DM1->ADODataSet7});
}

void deleteOrderWithLines()
{
    Dataset *orders = DM1->ADODataSet6;
    data::Connection &connection = *DM1->ADOConnection1;
    const QString order = orders->fieldByName(QStringLiteral("OrderFormID")).asString();
    const QString client = orders->fieldByName(QStringLiteral("ClientName")).asString();
    {
        data::Transaction transaction(connection);
        connection
            .exec(QStringLiteral("DELETE FROM \"SellDetail\" WHERE \"OrderFormID\" = :order AND \"ClientName\" = :client"),
                  {{QStringLiteral("order"), order}, {QStringLiteral("client"), client}})
            .finish();
        orders->deleteRow();
        transaction.commit();
    }
    requery({DM1->ADODataSet7, DM1->SellList});
}

bool ChangeClientName(const QString &table, const QString &oldName, const QString &newName)
{
    checkedColumn(table, QStringLiteral("ClientName"));
    const int rows = DM1->ADOConnection1
                         ->exec(QStringLiteral("UPDATE %1 SET \"ClientName\" = :new WHERE \"ClientName\" = :old")
                                    .arg(Dialect::quote(table)),
                                {{QStringLiteral("new"), newName}, {QStringLiteral("old"), oldName}})
                         .numRowsAffected();
    return rows > 0;
}

QList<Dataset *> renameClientInRelatedTables(const QString &oldName, const QString &newName)
{
    struct Step
    {
        const char *table;
        QList<Dataset *> datasets;
    };
    const Step steps[] = {
        {"ProductSell", {DM1->ADODataSet6, DM1->SellList}},
        {"SellDetail", {DM1->ADODataSet7}},
        {"LinkMan", {DM1->ADODataSet2, DM1->LinkManList}},
        {"ClientVisit", {DM1->ADODataSet4, DM1->ADODataSet10}},
        {"ClientBespeak", {DM1->ADODataSet8, DM1->ADODataSet9}},
    };
    QList<Dataset *> renamed;
    for (const Step &step : steps) {
        if (ChangeClientName(QString::fromLatin1(step.table), oldName, newName))
            renamed << step.datasets;
    }
    return renamed;
}

void installClientRename()
{
    // Filled inside the row's transaction, shown once it is committed.
    auto pending = std::make_shared<QList<Dataset *>>();
    DM1->ADODataSet1->beforeWrite = [pending](Dataset &clients) {
        pending->clear();
        if (clients.state() != data::DatasetState::Edit)
            return;
        const QString newName = clients.fieldByName(QStringLiteral("CoName")).asString();
        // The comparison counts letter case: "abc" renamed "ABC" is a rename.
        if (newName != DM1->OldCoName)
            *pending = renameClientInRelatedTables(DM1->OldCoName, newName);
    };
    DM1->ADODataSet1->afterPost = [pending](Dataset &) {
        const QList<Dataset *> datasets = std::exchange(*pending, {});
        for (Dataset *d : datasets) {
            if (d->isActive())
                d->requery();
        }
    };
}

void TestDataType(const QString &value, const QString &category, QStringListModel *list)
{
    if (value.isEmpty())
        return;
    try {
        Dataset *query = DM1->ADOQuery1;
        query->close();
        query->setCommandText(QStringLiteral("Select * from \"Sort\" where \"Sorts\"=:category and \"Items\"=:value"));
        query->setParameter(QStringLiteral("category"), category);
        query->setParameter(QStringLiteral("value"), value);
        query->open();
        if (query->isEmpty()) {
            query->append();
            query->fieldByName(QStringLiteral("Sorts")).setValue(category);
            query->fieldByName(QStringLiteral("Items")).setValue(value);
            if (list) {
                QStringList items = list->stringList();
                items << value;
                list->setStringList(items);
            }
            query->post();
        }
        query->close();
        DM1->ADOSort->requery();
    } catch (const std::exception &) {
        // A value that cannot be kept is simply not offered again.
    }
}
