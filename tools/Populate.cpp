#include "Populate.h"

#include "Connection.h"
#include "DatabaseSetup.h"
#include "DemoWriter.h"
#include "PasswordHash.h"
#include "SeedData.h"

namespace initdb {

RowCounts populate(data::Connection &connection, const InitOptions &options)
{
    RowCounts counts;
    data::Transaction transaction(connection);
    data::createTables(connection);
    data::insertStartRows(connection, options.adminName, data::hashPassword(options.adminPassword));
    counts.add(QStringLiteral("Transforms"), data::transformRows().size());
    counts.add(QStringLiteral("用户"), 1);
    if (options.demoClients) {
        DemoSettings settings;
        settings.clients = *options.demoClients;
        settings.contacts = options.demoContacts;
        settings.seed = options.seed;
        settings.today = options.today;
        writeDemoData(connection, settings, options.adminName, counts);
    }
    transaction.commit();
    return counts;
}

} // namespace initdb
