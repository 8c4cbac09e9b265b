#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class PreparedReport;

// A prepared report read back as text, for checking what it prints.

// Every text of every page, in order.
QStringList allTexts(const PreparedReport &report);

// The texts of one record block each: from one "编号：" up to the next (page
// headers and footers between them left out).
QList<QStringList> recordTexts(const PreparedReport &report);

// The texts that follow `label` in `texts`, one per occurrence.
QStringList valuesAfter(const QStringList &texts, const QString &label);
// The first of them, or a null string.
QString valueAfter(const QStringList &texts, const QString &label);
