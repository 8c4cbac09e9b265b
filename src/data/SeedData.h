#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace data {

// The rows a new database starts with: the field captions of the search window
// and the list windows' keyword searches, and the first user's rights.

struct TransformRow
{
    QString table;
    QString caption;
    QString column;
};

// Every caption of a date column contains "日期" and of a time column "时间",
// so that the search window checks typed values, except "生日", which the
// contact list's own search offers under that name.
const QList<TransformRow> &transformRows();

// The user type of the first user, who holds all six rights.
QString administratorType();
// The six rights columns of 用户, in the order of the rights table.
const QStringList &rightsColumns();

} // namespace data
