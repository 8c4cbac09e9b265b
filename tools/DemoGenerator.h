#pragma once

#include "DemoVocabulary.h"
#include "Random.h"

#include <QDate>
#include <QList>
#include <QSet>
#include <QString>
#include <QTime>
#include <cstdint>
#include <optional>
#include <vector>

namespace initdb {

struct DemoSettings
{
    int clients = 0;
    std::optional<int> contacts; // exactly this many over all clients; else 1-4 each at random
    std::uint64_t seed = 1;
    QDate today;
};

// An empty text stands for a value that is not filled in (NULL), as in the
// program's own editors.

struct ContactRow
{
    QString name;
    bool main = false;
    QString duty;
    QString branch;
    QString email;
    QString homeAddress;
    QString officeTel;
    QString mobileTel;
    QString homeTel;
    QString fax;
    QDate birthday;
    QString remark;
};

struct VisitRow
{
    QDate date;
    QTime time;
    QString motif;
    QString relationMode;
    QString personnel;
    QString principal;
    QString content;
};

struct AppointmentRow
{
    QString motif;
    QString relationMode;
    QString principal;
    QDate date;
    QTime time;
    QString remark;
};

struct ClientRow
{
    QString id;
    QString coName;
    QString tier;
    QString address;
    int postalCode = 0;
    QString area;
    QString region;
    QString tel;
    QString fax;
    QString type;
    QString email;
    QString web;
    QString overview;
    QList<ContactRow> contacts;
    QList<VisitRow> visits;
    QList<AppointmentRow> appointments;
};

struct ProductRow
{
    QString id;
    QString name;
    QString spec;
    QString unit;
    double price = 0;
    double costPrice = 0;
};

struct OrderRow
{
    QString orderFormId;
    QString clientName;
    QDate date;
    QString remark;
};

struct OrderLineRow
{
    int product = 0; // index into products()
    int number = 0;
    double agio = 10;
};

// Plausible, reproducible demo data: the same settings give the same rows.
// Clients come one at a time so that a large database is never held in
// memory; orders are kept back (as small stubs) because they are numbered by
// day and must be written in date order.
class DemoGenerator
{
public:
    explicit DemoGenerator(const DemoSettings &settings);

    const QList<ProductRow> &products() const { return m_products; }

    bool hasNextClient() const { return m_next < m_settings.clients; }
    ClientRow nextClient();

    // After the last client: the orders, oldest first, numbered within their day.
    std::vector<OrderRow> takeOrders();
    // The lines of the next order of takeOrders(): 1-4 different products.
    // Called once per order, in that order, so that the draws repeat.
    QList<OrderLineRow> linesOfOrder();

    // Orders per day stay within the three digits of their number.
    static constexpr int maxOrdersPerDay = 999;
    static constexpr int orderDays = 3 * 365;
    static constexpr int maxClients = 500000;

private:
    void makeProducts();
    QString companyName(const City &city, const Syllable &first, const Syllable &second,
                        const Industry &industry);
    int contactCount();
    ContactRow makeContact(const City &city, const QString &domain, const QString &officeTel,
                           const QString &fax, const QSet<QString> &taken);
    QString telephone(const City &city);
    QString address(const City &city);
    QTime quarterHour(int firstHour, int lastHour);
    void planOrders(const QString &coName);

    DemoSettings m_settings;
    Random m_random;
    QList<ProductRow> m_products;
    QSet<QString> m_names;
    int m_next = 0;
    int m_contactsLeft = 0;

    struct OrderStub
    {
        int day; // days before today
        int sequence;
        QString client;
    };
    std::vector<OrderStub> m_orders;
    std::vector<int> m_ordersOfDay;
};

} // namespace initdb
