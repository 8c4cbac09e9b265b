#pragma once

#include "AppFixture.h"

#include <QStringList>

class TClientListForm;

// The program on a database with two clients and their records:
// 北京华信科技有限公司 (K2) with contacts, a visit, two orders with lines and an
// appointment, and 上海博远贸易有限公司 (K1) with one of each.
class ClientsFixture : public AppFixture
{
public:
    static const QString A; // 北京华信科技有限公司
    static const QString B; // 上海博远贸易有限公司

    explicit ClientsFixture(TestDatabase::Backend backend);

    // Opens the client list (window tag 51) on client `name`.
    TClientListForm *openClientList(const QString &name = A);

    // The rows of each related table that carry `name` as their ClientName.
    QList<int> relatedCounts(const QString &name);
};
