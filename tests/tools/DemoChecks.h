#pragma once

#include "Connection.h"

#include <QDate>
#include <QString>

// What a database made by lumora-crm-initdb --demo must hold, on either
// database kind. Each check reports through QTest; the caller stops at the
// first failure (QTest::currentTestFailed()).

void verifyAllTables(data::Connection &connection);
void verifyStartRows(data::Connection &connection, const QString &admin, const QString &password);
void verifyCategory(data::Connection &connection, const QString &category);
void verifyRegions(data::Connection &connection);
void verifyClients(data::Connection &connection, int clients);
void verifyContacts(data::Connection &connection, int clients);
void verifyVisits(data::Connection &connection, const QDate &today);
void verifyAppointments(data::Connection &connection, const QDate &today, int clients);
void verifyProducts(data::Connection &connection);
void verifyOrders(data::Connection &connection, const QDate &today, const QString &admin);
void verifyOrderLines(data::Connection &connection);
void verifySellNumbers(data::Connection &connection);

// All of the above for a demo database of `clients` clients.
void verifyDemoDatabase(data::Connection &connection, int clients, const QDate &today,
                        const QString &admin, const QString &password);
