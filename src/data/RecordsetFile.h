#pragma once

#include <QString>
#include <QStringList>

namespace data {

class Dataset;

// A dataset's columns and rows kept in a self-describing JSON file (the local
// cache of the Transforms table).

// Throws data::Error when the file cannot be written.
void saveRecordset(Dataset &dataset, const QString &path);

// Loads the file into `dataset` as an in-memory dataset. Returns false, and
// leaves the dataset as it was, when the file cannot be read, is not such a
// file, or its columns are not exactly `expectedColumns`.
bool loadRecordset(Dataset &dataset, const QString &path, const QStringList &expectedColumns);

} // namespace data
