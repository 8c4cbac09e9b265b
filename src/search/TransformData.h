#pragma once

#include <QString>

// The column a caption of the search stands for, in `table`: the Fields of the
// first Transforms row (as the data module holds the table) with that table
// and caption. Empty when there is none, or when the row names a column the
// table does not have: a caption never brings a column name into SQL unchecked.
QString TransformData(const QString &table, const QString &caption);
