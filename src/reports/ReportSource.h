#pragma once

#include <QHash>
#include <QString>
#include <QVariant>

#include <functional>

namespace data {
class Dataset;
}

// Where a report reads its records: by position, in the order the source
// shows them, without moving anyone's cursor.
class ReportSource
{
public:
    virtual ~ReportSource() = default;
    virtual int recordCount() = 0;
    virtual QVariant value(int record, const QString &column) = 0;
    // The value as the source shows it (its display format).
    virtual QString plainText(int record, const QString &column) = 0;
    // The lines of a record (an order's), or nullptr when the report has none.
    // Valid until the next call.
    virtual ReportSource *linesOf(int record)
    {
        Q_UNUSED(record)
        return nullptr;
    }
};

// The rows a dataset shows, read through its row positions. A column the
// dataset lacks throws data::Error.
class DatasetReportSource : public ReportSource
{
public:
    using LinesProvider = std::function<ReportSource *(int record)>;

    explicit DatasetReportSource(data::Dataset *dataset, LinesProvider lines = {});

    int recordCount() override;
    QVariant value(int record, const QString &column) override;
    QString plainText(int record, const QString &column) override;
    ReportSource *linesOf(int record) override;

private:
    int column(const QString &name);

    data::Dataset *m_dataset;
    LinesProvider m_lines;
    QHash<QString, int> m_columns;
};
