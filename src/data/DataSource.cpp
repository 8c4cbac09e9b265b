#include "Dataset.h"

namespace data {

DataSource::DataSource(Dataset *dataset, const QString &name, QObject *parent)
    : QObject(parent)
    , m_dataset(dataset)
{
    setObjectName(name);
}

void DataSource::setDataset(Dataset *dataset)
{
    if (m_dataset == dataset)
        return;
    m_dataset = dataset;
    emit datasetChanged(dataset);
}

} // namespace data
