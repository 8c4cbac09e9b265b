#pragma once

#include <QList>
#include <QString>
#include <QVariant>

class QStringListModel;
namespace data {
class Dataset;
}

// The routines of the client windows that write to the database: the deletes
// of the client list, the rename of a client in its related tables, and the
// category lists fed by typed values. Values are always bound and table and
// column names checked against the schema.

// Deletes the rows of `table` whose `column` equals `value`. A failure shows
// "内容删除失败！在此之前，可能记录已经被删除！" and returns false.
bool ClearData(const QString &table, const QString &column, const QVariant &value);

// The five tables that refer to a client by its name, in the order their rows
// are deleted with the client.
const QStringList &clientDetailTables();

// Deletes the client's rows in the five related tables, then the client row of
// ADODataSet1, all in one transaction: on any failure nothing is deleted and
// the error is thrown (data::Error).
void deleteClientWithDetails(const QString &clientName);

// Deletes the current order of ADODataSet6 with its lines (the SellDetail rows
// of its OrderFormID and ClientName) in one transaction; throws data::Error.
void deleteOrderWithLines();

// Rewrites ClientName from `oldName` to `newName` in one related table; true
// when the table had rows under the old name. Throws data::Error.
bool ChangeClientName(const QString &table, const QString &oldName, const QString &newName);

// Renames the client in the related tables; returns the datasets over the
// tables that had rows, to be requeried once the rename is committed.
QList<data::Dataset *> renameClientInRelatedTables(const QString &oldName, const QString &newName);

// Makes every write of a changed client name in ADODataSet1 rename the
// client's related rows with it, whether the editor saves or the navigator
// moves on.
void installClientRename();

// Adds a typed value to a category of Sort, and to the drop-down's list, when
// the category does not have it yet. Errors are not reported.
void TestDataType(const QString &value, const QString &category, QStringListModel *list);
