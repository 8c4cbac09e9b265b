#include "DemoGenerator.h"

#include "Error.h"

#include <algorithm>
#include <cmath>

namespace initdb {

namespace {

// Weighted draws: the value at index i is chosen with weight weights[i].
int weighted(Random &random, std::initializer_list<int> weights)
{
    int total = 0;
    for (int w : weights)
        total += w;
    int draw = random.below(total);
    int index = 0;
    for (int w : weights) {
        if (draw < w)
            return index;
        draw -= w;
        ++index;
    }
    return index - 1;
}

double roundToCents(double value)
{
    return std::round(value * 100.0) / 100.0;
}

const QStringList &tiers()
{
    static const QStringList list = {"★★★★★", "★★★★", "★★★", "★★", "★"};
    return list;
}

} // namespace

DemoGenerator::DemoGenerator(const DemoSettings &settings)
    : m_settings(settings)
    , m_random(settings.seed)
    , m_contactsLeft(settings.contacts.value_or(0))
    , m_ordersOfDay(orderDays + 1, 0)
{
    m_names.reserve(settings.clients);
    makeProducts();
}

void DemoGenerator::makeProducts()
{
    for (const ProductFamily &family : productFamilies()) {
        for (const ProductModel &model : family.models) {
            ProductRow product;
            product.id = QStringLiteral("CP%1").arg(m_products.size() + 1, 3, 10, QLatin1Char('0'));
            product.name = family.name + QLatin1Char(' ') + model.model;
            product.spec = model.spec;
            product.unit = family.unit;
            product.price = model.price;
            product.costPrice = roundToCents(model.price * m_random.between(55, 80) / 100.0);
            m_products.append(product);
        }
    }
}

QString DemoGenerator::companyName(const City &city, const Syllable &first, const Syllable &second,
                                   const Industry &industry)
{
    static const QStringList suffixes = {"有限公司", "股份有限公司", "有限责任公司",
                                         "集团有限公司"};
    const QString suffix = suffixes.at(weighted(m_random, {60, 15, 15, 10}));
    const QString brand = first.hanzi + second.hanzi;
    // Some companies put the city in brackets after the brand, as many do.
    if (m_random.percent(20))
        return brand + industry.name + QStringLiteral("（") + city.name + QStringLiteral("）") +
               suffix;
    return city.name + brand + industry.name + suffix;
}

QString DemoGenerator::telephone(const City &city)
{
    return city.areaCode + QLatin1Char('-') + m_random.digits(8, 2);
}

QString DemoGenerator::address(const City &city)
{
    QString text = city.province + city.name + QStringLiteral("市") +
                   m_random.pick(city.districts) + m_random.pick(roads()) +
                   QString::number(m_random.between(1, 999)) + QStringLiteral("号");
    if (m_random.percent(30))
        text += QStringLiteral("%1栋%2室")
                    .arg(m_random.between(1, 12))
                    .arg(m_random.between(1, 20) * 100 + m_random.between(1, 8));
    return text;
}

QTime DemoGenerator::quarterHour(int firstHour, int lastHour)
{
    return QTime(m_random.between(firstHour, lastHour), 15 * m_random.below(4));
}

int DemoGenerator::contactCount()
{
    if (!m_settings.contacts)
        return 1 + weighted(m_random, {35, 35, 20, 10});
    // Spread what is left evenly over the clients left, so that the total is
    // exact and every client keeps 1-4.
    const int clientsLeft = m_settings.clients - m_next;
    const int low = std::max(1, m_contactsLeft - 4 * (clientsLeft - 1));
    const int high = std::min(4, m_contactsLeft - (clientsLeft - 1));
    const int base = m_contactsLeft / clientsLeft;
    const int count = base + (m_random.below(clientsLeft) < m_contactsLeft % clientsLeft ? 1 : 0);
    return std::clamp(count, low, high);
}

ContactRow DemoGenerator::makeContact(const City &city, const QString &domain,
                                      const QString &officeTel, const QString &fax,
                                      const QSet<QString> &taken)
{
    ContactRow contact;
    Syllable surname;
    QString givenPinyin;
    do {
        surname = m_random.pick(surnames());
        const Syllable &a = m_random.pick(givenNameCharacters());
        contact.name = surname.hanzi + a.hanzi;
        givenPinyin = a.pinyin;
        if (m_random.percent(60)) {
            const Syllable &b = m_random.pick(givenNameCharacters());
            contact.name += b.hanzi;
            givenPinyin += b.pinyin;
        }
    } while (taken.contains(contact.name)); // a client's contacts are told apart by name

    const int duty = m_random.below(int(duties().size()));
    contact.duty = duties().at(duty);
    contact.branch = branchOfDuty().at(duty);
    if (m_random.percent(90))
        contact.email = givenPinyin + QLatin1Char('.') + surname.pinyin + QLatin1Char('@') + domain;
    if (m_random.percent(50))
        contact.homeAddress = address(city);
    contact.officeTel = m_random.percent(60)
                            ? officeTel.left(officeTel.size() - 4) + m_random.digits(4)
                            : telephone(city);
    contact.mobileTel = m_random.pick(mobilePrefixes()) + m_random.digits(8);
    if (m_random.percent(30))
        contact.homeTel = telephone(city);
    if (m_random.percent(20))
        contact.fax = fax;
    if (m_random.percent(85))
        contact.birthday = QDate(1962, 1, 1).addDays(m_random.below(37 * 365));
    if (m_random.percent(20))
        contact.remark = m_random.pick(contactRemarks());
    return contact;
}

ClientRow DemoGenerator::nextClient()
{
    const int index = m_next;
    const City *city = nullptr;
    const Syllable *first = nullptr;
    const Syllable *second = nullptr;
    const Industry *industry = nullptr;
    ClientRow client;
    for (int attempt = 0;; ++attempt) {
        if (attempt == 1000)
            throw data::Error(
                QStringLiteral("无法再为第 %1 个客户找到不重复的公司名称。").arg(index + 1));
        city = &m_random.pick(cities());
        first = &m_random.pick(brandSyllables());
        do {
            second = &m_random.pick(brandSyllables());
        } while (second->hanzi == first->hanzi);
        industry = &m_random.pick(industries());
        client.coName = companyName(*city, *first, *second, *industry);
        if (!m_names.contains(client.coName))
            break;
    }
    m_names.insert(client.coName);

    static const QStringList tlds = {".com", ".com.cn", ".cn", ".net"};
    static const QStringList mailboxes = {"info", "sales", "service", "contact"};
    const QString domain = first->pinyin + second->pinyin +
                           (m_random.percent(50) ? city->domainTag : QString()) +
                           m_random.pick(tlds);

    client.id = QStringLiteral("KH%1").arg(index + 1, 6, 10, QLatin1Char('0'));
    client.tier = tiers().at(weighted(m_random, {10, 20, 35, 20, 15}));
    client.address = address(*city);
    client.postalCode = city->postalCode + m_random.below(60);
    client.area = city->region;
    client.region = city->name;
    client.tel = telephone(*city);
    if (m_random.percent(70))
        client.fax = client.tel.left(client.tel.size() - 4) + m_random.digits(4);
    client.type = m_random.pick(clientTypes());
    if (m_random.percent(90))
        client.email = m_random.pick(mailboxes) + QLatin1Char('@') + domain;
    if (m_random.percent(80))
        client.web = QStringLiteral("http://www.") + domain;
    client.overview = QStringLiteral("%1成立于%2年，主要从事%3，员工约%4人。")
                          .arg(client.coName)
                          .arg(m_random.between(1992, 2020))
                          .arg(industry->business)
                          .arg(m_random.between(2, 300) * 5);
    if (m_random.percent(30))
        client.overview += QStringLiteral("年采购额约%1万元。").arg(m_random.between(5, 500) * 10);

    const int contacts = contactCount();
    m_contactsLeft -= contacts;
    QSet<QString> taken;
    for (int i = 0; i < contacts; ++i) {
        ContactRow contact = makeContact(*city, domain, client.tel, client.fax, taken);
        contact.main = i == 0;
        taken.insert(contact.name);
        client.contacts.append(contact);
    }
    const auto anyContact = [&] { return m_random.pick(client.contacts).name; };

    const int visits = m_random.below(4);
    for (int i = 0; i < visits; ++i) {
        const Subject &subject = m_random.pick(visitSubjects());
        VisitRow visit;
        visit.date = m_settings.today.addDays(-m_random.between(1, 2 * 365));
        visit.time = quarterHour(8, 17);
        visit.motif = subject.motif;
        visit.relationMode = m_random.pick(relationModes());
        visit.personnel = m_random.pick(staff());
        visit.principal = anyContact();
        visit.content = subject.content;
        client.visits.append(visit);
    }
    std::sort(client.visits.begin(), client.visits.end(), [](const VisitRow &a, const VisitRow &b) {
        return std::pair(a.date, a.time) < std::pair(b.date, b.time);
    });

    // The first clients have something on today's agenda, so that a new
    // demo database shows the agenda and the reminder at work.
    if (index < 3 || m_random.percent(20)) {
        const Subject &subject = m_random.pick(appointmentSubjects());
        AppointmentRow appointment;
        appointment.motif = subject.motif;
        appointment.relationMode = m_random.pick(relationModes());
        appointment.principal = anyContact();
        appointment.date = m_settings.today.addDays(index < 3 ? 0 : m_random.between(-3, 20));
        appointment.time = quarterHour(9, 16);
        appointment.remark = subject.content;
        client.appointments.append(appointment);
    }

    planOrders(client.coName);
    ++m_next;
    return client;
}

void DemoGenerator::planOrders(const QString &coName)
{
    const int orders = weighted(m_random, {30, 40, 30});
    for (int i = 0; i < orders; ++i) {
        int day = m_random.between(1, orderDays);
        while (m_ordersOfDay[day] == maxOrdersPerDay) // full: the next older day with room
            day = day % orderDays + 1;
        ++m_ordersOfDay[day];
        m_orders.push_back({day, int(m_orders.size()), coName});
    }
}

std::vector<OrderRow> DemoGenerator::takeOrders()
{
    std::sort(m_orders.begin(), m_orders.end(), [](const OrderStub &a, const OrderStub &b) {
        return a.day != b.day ? a.day > b.day : a.sequence < b.sequence;
    });
    std::vector<OrderRow> orders;
    orders.reserve(m_orders.size());
    int previousDay = -1;
    int number = 0;
    for (const OrderStub &stub : m_orders) {
        number = stub.day == previousDay ? number + 1 : 1;
        previousDay = stub.day;
        OrderRow order;
        order.date = m_settings.today.addDays(-stub.day);
        order.orderFormId = QStringLiteral("XS") + order.date.toString(QStringLiteral("yyyyMMdd")) +
                            QStringLiteral("%1").arg(number, 3, 10, QLatin1Char('0'));
        order.clientName = stub.client;
        if (m_random.percent(25))
            order.remark = m_random.pick(orderRemarks());
        orders.push_back(std::move(order));
    }
    m_orders.clear();
    m_orders.shrink_to_fit();
    return orders;
}

QList<OrderLineRow> DemoGenerator::linesOfOrder()
{
    static const QList<double> agios = {10, 10, 10, 9.5, 9, 8.8, 8};
    const int count = m_random.between(1, 4);
    QList<OrderLineRow> lines;
    while (lines.size() < count) {
        const int product = m_random.below(int(m_products.size()));
        if (std::any_of(lines.cbegin(), lines.cend(),
                        [&](const OrderLineRow &line) { return line.product == product; }))
            continue; // one line per product and order
        lines.append({product, m_random.between(1, 50), m_random.pick(agios)});
    }
    return lines;
}

} // namespace initdb
