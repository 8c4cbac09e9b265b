#include "ReportSource.h"

#include "Dataset.h"
#include "Error.h"

DatasetReportSource::DatasetReportSource(data::Dataset *dataset, LinesProvider lines)
    : m_dataset(dataset)
    , m_lines(std::move(lines))
{
}

int DatasetReportSource::recordCount()
{
    return m_dataset->isActive() ? m_dataset->recordCount() : 0;
}

int DatasetReportSource::column(const QString &name)
{
    auto found = m_columns.constFind(name);
    if (found == m_columns.constEnd()) {
        const int index = m_dataset->columnIndex(name);
        if (index < 0)
            throw data::Error(QStringLiteral("数据集“%1”没有字段“%2”。").arg(m_dataset->objectName(), name));
        found = m_columns.insert(name, index);
    }
    return *found;
}

QVariant DatasetReportSource::value(int record, const QString &name)
{
    return m_dataset->valueAt(record, column(name));
}

QString DatasetReportSource::plainText(int record, const QString &name)
{
    return m_dataset->displayTextAt(record, column(name));
}

ReportSource *DatasetReportSource::linesOf(int record)
{
    return m_lines ? m_lines(record) : nullptr;
}
