#pragma once

#include <QList>
#include <QString>

// The sort text a dataset takes ("ID ASC, CoName DESC"), as terms; one
// reading of it for the dataset and for the grids' header clicks.
struct SortTerm
{
    QString field;
    bool descending = false;
};

QList<SortTerm> parseSortText(const QString &text);
QString sortText(const QList<SortTerm> &terms);
// The sort without any term on `field`.
QString sortTextWithout(const QString &text, const QString &field);
bool isSameField(const QString &a, const QString &b); // column names ignore letter case
