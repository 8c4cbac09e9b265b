#pragma once

// Helpers shared by the files that make up the dataset.

#include "Dataset.h"

namespace data::detail {

// Equal values, where two NULLs count as equal.
bool sameValue(const QVariant &a, const QVariant &b);
// A value as the column presents it.
QString formatDisplay(const QVariant &value, const DatasetColumn &column);

} // namespace data::detail
