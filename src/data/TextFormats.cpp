#include "TextFormats.h"

#include <QLocale>
#include <QRegularExpression>

namespace data {

QString formatStorageDate(const QDate &date)
{
    return date.isValid() ? date.toString(QStringLiteral("yyyy-MM-dd")) : QString();
}

QString formatStorageTime(const QTime &time)
{
    return time.isValid() ? time.toString(QStringLiteral("HH:mm:ss")) : QString();
}

QString formatStorageDateTime(const QDateTime &dateTime)
{
    return dateTime.isValid() ? dateTime.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : QString();
}

namespace {

QDate isoDate(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch())
        return QDate();
    return QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
}

QTime clockTime(const QString &text)
{
    static const QRegularExpression pattern(
        QStringLiteral("^(\\d{1,2}):(\\d{2})(?::(\\d{2})(?:\\.\\d+)?)?$"));
    const QRegularExpressionMatch m = pattern.match(text.trimmed());
    if (!m.hasMatch())
        return QTime();
    return QTime(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
}

// The part after the date in "yyyy-MM-dd HH:mm:ss" or "yyyy-MM-ddTHH:mm:ss".
QString timePart(const QString &text)
{
    const qsizetype at = text.indexOf(QRegularExpression(QStringLiteral("[ T]")));
    return at < 0 ? QString() : text.mid(at + 1);
}

} // namespace

QDate parseStorageDate(const QString &text)
{
    return isoDate(text.trimmed());
}

QTime parseStorageTime(const QString &text)
{
    const QString t = text.trimmed();
    if (isoDate(t).isValid())
        return clockTime(timePart(t));
    return clockTime(t);
}

QDateTime parseStorageDateTime(const QString &text)
{
    const QString t = text.trimmed();
    const QDate date = isoDate(t);
    if (!date.isValid())
        return QDateTime();
    const QString rest = timePart(t);
    if (rest.isEmpty())
        return date.startOfDay();
    const QTime time = clockTime(rest);
    return time.isValid() ? QDateTime(date, time) : QDateTime();
}

QDate parseUserDate(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return QDate();
    static const QRegularExpression whole(QStringLiteral("^\\d{4}-\\d{1,2}-\\d{1,2}$"));
    if (whole.match(t).hasMatch())
        return isoDate(t);
    QDate d = QLocale().toDate(t, QLocale::ShortFormat);
    if (!d.isValid())
        d = QLocale().toDate(t, QStringLiteral("yyyy/M/d"));
    return d;
}

QTime parseUserTime(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return QTime();
    QTime time = clockTime(t);
    if (!time.isValid())
        time = QLocale().toTime(t, QLocale::ShortFormat);
    return time;
}

QDateTime parseUserDateTime(const QString &text)
{
    const QString t = text.trimmed();
    const qsizetype space = t.indexOf(QLatin1Char(' '));
    if (space < 0) {
        const QDate d = parseUserDate(t);
        return d.isValid() ? d.startOfDay() : QDateTime();
    }
    const QDate d = parseUserDate(t.left(space));
    const QTime time = parseUserTime(t.mid(space + 1));
    if (!d.isValid() || !time.isValid())
        return QDateTime();
    return QDateTime(d, time);
}

bool parseBoolean(const QString &text)
{
    const QString t = text.trimmed().toLower();
    return t == QLatin1String("1") || t == QLatin1String("-1") || t == QLatin1String("true")
        || t == QLatin1String("t") || t == QLatin1String("yes") || t == QStringLiteral("是");
}

double parseDecimal(const QString &text, bool *ok)
{
    QString t = text.trimmed();
    t.remove(QStringLiteral("￥"));
    t.remove(QLatin1Char(','));
    t.remove(QLatin1Char(' '));
    return t.toDouble(ok);
}

} // namespace data
