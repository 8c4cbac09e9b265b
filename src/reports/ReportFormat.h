#pragma once

#include <QString>
#include <QVariant>

// How a report prints a value by its template picture:
//  - a date picture of the tokens YYYY, MM, DD, DDDD (the weekday's Chinese
//    name, "星期五"), HH, MM after HH (minutes), NN, SS in either letter case,
//    with any other text literal: "YYYY年MM月DD日  DDDD";
//  - a Boolean picture "shown-when-true;shown-when-false": "是;";
//  - any other picture is a number picture (formatNumber): "￥###,##0.#0".
// A NULL value prints nothing; `plain` is what prints without a picture.
QString formatReportValue(const QVariant &value, const QString &picture, const QString &plain);

// "星期一" … "星期日" for Qt's day of the week 1 … 7.
QString chineseWeekday(int dayOfWeek);

// The date a report gives as its print date.
QString formatPrintDate(const QDate &date);
