#include "ReportData.h"

#include "DM.h"
#include "Dialect.h"
#include "Error.h"
#include "ReportSource.h"
#include "ReportTemplate.h"

#include <memory>

using data::Dataset;

namespace {

enum class Lines {
    None,
    CurrentOrder, // ADODataSet7, the detail of ADODataSet6
    AnyOrder      // SellDetail rows of the order's OrderFormID and ClientName
};

struct Definition
{
    int number;
    Dataset *TDM1::*records;
    const char *templateName;
    Lines lines;
};

const Definition kReports[] = {
    {1, &TDM1::ADODataSet1, "Client", Lines::None},
    {2, &TDM1::LinkManList, "LinkMan", Lines::None},
    {3, &TDM1::ADODataSet10, "Visit", Lines::None},
    {4, &TDM1::ADODataSet9, "Bespeak", Lines::None},
    {5, &TDM1::SellList, "SELL", Lines::AnyOrder},
    {6, &TDM1::ADODataSet5, "Product", Lines::None},
    {7, &TDM1::LogData, "LOG", Lines::None},
    {211, &TDM1::ADODataSet2, "LinkMan", Lines::None},
    {212, &TDM1::ADODataSet4, "Visit", Lines::None},
    {213, &TDM1::ADODataSet6, "SELL", Lines::CurrentOrder},
    {214, &TDM1::ADODataSet8, "Bespeak", Lines::None},
};

// Walks the order dataset for the lines its detail follows, without the
// grids seeing it, and puts it back on its row afterwards.
class DetailLines
{
public:
    DetailLines(Dataset *orders, Dataset *lines)
        : m_orders(orders)
        , m_lines(lines)
        , m_source(lines)
        , m_home(orders->recNo())
    {
        m_orders->disableControls();
        m_lines->disableControls();
    }
    ~DetailLines()
    {
        try {
            if (m_moved && m_home >= 0)
                m_orders->moveTo(m_home);
        } catch (const std::exception &) {
            // The dataset is where the failed move left it; the report's own error is reported.
        }
        m_lines->enableControls();
        m_orders->enableControls();
    }

    ReportSource *linesOf(int record)
    {
        m_moved = true;
        m_orders->moveTo(record);
        return &m_source;
    }

private:
    Dataset *m_orders;
    Dataset *m_lines;
    DatasetReportSource m_source;
    int m_home;
    bool m_moved = false;
};

// The lines of any order, read by a query of its own: the orders' dataset
// does not move.
class OrderLines
{
public:
    explicit OrderLines(Dataset *orders)
        : m_orders(orders)
        , m_query(DM1->ADOConnection1)
        , m_source(&m_query)
    {
        const auto q = [](const char *name) { return data::Dialect::quote(QString::fromLatin1(name)); };
        m_query.setCommandText(QStringLiteral("SELECT * FROM %1 WHERE %2 = :OrderFormID AND %3 = :ClientName")
                                   .arg(q("SellDetail"), q("OrderFormID"), q("ClientName")));
        m_query.addCalculatedField(QStringLiteral("Money"), data::ColumnType::Decimal);
        m_query.onCalcFields = [](Dataset &d) { DM1->ADODataSet7CalcFields(d); };
    }

    ReportSource *linesOf(int record)
    {
        for (const char *name : {"OrderFormID", "ClientName"}) {
            const QString column = QString::fromLatin1(name);
            const int c = m_orders->columnIndex(column);
            if (c < 0)
                throw data::Error(QStringLiteral("数据集“%1”没有字段“%2”。").arg(m_orders->objectName(), column));
            m_query.setParameter(column, m_orders->valueAt(record, c));
        }
        m_query.close();
        m_query.open();
        return &m_source;
    }

private:
    Dataset *m_orders;
    Dataset m_query;
    DatasetReportSource m_source;
};

} // namespace

QList<int> reportNumbers()
{
    QList<int> numbers;
    for (const Definition &d : kReports)
        numbers << d.number;
    return numbers;
}

std::optional<ReportContent> captureNumberedReport(int number)
{
    const Definition *definition = nullptr;
    for (const Definition &d : kReports) {
        if (d.number == number)
            definition = &d;
    }
    if (!definition)
        throw data::Error(QStringLiteral("没有编号为 %1 的报表。").arg(number));
    if (!DM1)
        throw data::Error(QStringLiteral("数据模块尚未建立。"));
    Dataset *records = DM1->*(definition->records);
    if (!records->isActive() || records->isEmpty())
        return std::nullopt;
    const ReportTemplate layout = loadReportTemplate(QString::fromLatin1(definition->templateName));

    switch (definition->lines) {
    case Lines::None: {
        DatasetReportSource source(records);
        return captureReport(layout, source);
    }
    case Lines::CurrentOrder: {
        DetailLines lines(records, DM1->ADODataSet7);
        DatasetReportSource source(records, [&lines](int r) { return lines.linesOf(r); });
        return captureReport(layout, source);
    }
    case Lines::AnyOrder: {
        OrderLines lines(records);
        DatasetReportSource source(records, [&lines](int r) { return lines.linesOf(r); });
        return captureReport(layout, source);
    }
    }
    return std::nullopt;
}
