#include "ReportFormat.h"

#include "NumberFormat.h"
#include "TextFormats.h"

#include <QDate>
#include <QDateTime>

namespace {

bool isDatePicture(const QString &picture)
{
    const QString p = picture.toUpper();
    return p.contains(QLatin1String("YYYY")) || p.contains(QLatin1String("DD"))
        || p.contains(QLatin1String("HH"));
}

QDateTime toDateTime(const QVariant &value)
{
    switch (value.metaType().id()) {
    case QMetaType::QDateTime:
        return value.toDateTime();
    case QMetaType::QDate:
        return value.toDate().startOfDay();
    case QMetaType::QTime:
        return QDateTime(QDate(1899, 12, 30), value.toTime());
    default:
        return data::parseStorageDateTime(value.toString());
    }
}

QString pad(int n, int width)
{
    return QStringLiteral("%1").arg(n, width, 10, QLatin1Char('0'));
}

QString formatDatePicture(const QDateTime &when, const QString &picture)
{
    QString out;
    bool afterHour = false; // "MM" after "HH" is the minute
    qsizetype i = 0;
    const auto at = [&](const char *token) {
        const QString t = QString::fromLatin1(token);
        return picture.mid(i, t.size()).compare(t, Qt::CaseInsensitive) == 0;
    };
    while (i < picture.size()) {
        if (at("YYYY")) {
            out += pad(when.date().year(), 4);
            i += 4;
        } else if (at("DDDD")) {
            out += chineseWeekday(when.date().dayOfWeek());
            i += 4;
            afterHour = false;
        } else if (at("DD")) {
            out += pad(when.date().day(), 2);
            i += 2;
            afterHour = false;
        } else if (at("MM")) {
            out += afterHour ? pad(when.time().minute(), 2) : pad(when.date().month(), 2);
            i += 2;
            afterHour = false;
        } else if (at("NN")) {
            out += pad(when.time().minute(), 2);
            i += 2;
        } else if (at("HH")) {
            out += pad(when.time().hour(), 2);
            i += 2;
            afterHour = true;
        } else if (at("SS")) {
            out += pad(when.time().second(), 2);
            i += 2;
        } else {
            out += picture.at(i);
            ++i;
        }
    }
    return out;
}

} // namespace

QString chineseWeekday(int dayOfWeek)
{
    static const QString names[] = {QStringLiteral("星期一"), QStringLiteral("星期二"), QStringLiteral("星期三"),
                                    QStringLiteral("星期四"), QStringLiteral("星期五"), QStringLiteral("星期六"),
                                    QStringLiteral("星期日")};
    return dayOfWeek >= 1 && dayOfWeek <= 7 ? names[dayOfWeek - 1] : QString();
}

QString formatReportValue(const QVariant &value, const QString &picture, const QString &plain)
{
    if (value.isNull() || !value.isValid())
        return QString();
    if (picture.isEmpty())
        return plain;
    if (const qsizetype semicolon = picture.indexOf(QLatin1Char(';')); semicolon >= 0) {
        const bool yes = value.metaType().id() == QMetaType::Bool ? value.toBool() : data::parseBoolean(value.toString());
        return yes ? picture.left(semicolon) : picture.mid(semicolon + 1);
    }
    if (isDatePicture(picture)) {
        const QDateTime when = toDateTime(value);
        return when.isValid() ? formatDatePicture(when, picture) : plain;
    }
    bool ok = false;
    const double number = value.toDouble(&ok);
    return ok ? formatNumber(number, picture) : plain;
}

QString formatPrintDate(const QDate &date)
{
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}
