#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

namespace data {

// How temporal values are kept as text where the database has no type for
// them (SQLite), and how text typed by a user is read.

QString formatStorageDate(const QDate &date);             // yyyy-MM-dd
QString formatStorageTime(const QTime &time);             // HH:mm:ss
QString formatStorageDateTime(const QDateTime &dateTime); // yyyy-MM-dd HH:mm:ss

QDate parseStorageDate(const QString &text);
QTime parseStorageTime(const QString &text);
QDateTime parseStorageDateTime(const QString &text);

// Typed dates are read as yyyy-MM-dd (one-digit month and day allowed) first,
// then in the locale's short format; times as HH:mm or HH:mm:ss.
QDate parseUserDate(const QString &text);
QTime parseUserTime(const QString &text);
QDateTime parseUserDateTime(const QString &text);

bool parseBoolean(const QString &text);
// A number as a user types an amount: spaces, "￥" and thousands separators allowed.
double parseDecimal(const QString &text, bool *ok);

} // namespace data
