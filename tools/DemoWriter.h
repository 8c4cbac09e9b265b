#pragma once

#include "DemoGenerator.h"
#include "RowCounts.h"

namespace data {
class Connection;
}

namespace initdb {

// Fills a database that has its tables and start rows with demo data: the
// category lists, regions, products, clients with their contacts, visits and
// appointments, and orders with their lines; then the products' sales
// totals. Runs inside the caller's transaction; `operatorName` enters the orders.
void writeDemoData(data::Connection &connection, const DemoSettings &settings,
                   const QString &operatorName, RowCounts &counts);

} // namespace initdb
