#include "SortText.h"

#include <QStringList>

bool isSameField(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QList<SortTerm> parseSortText(const QString &text)
{
    QList<SortTerm> terms;
    for (const QString &part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList words = part.trimmed().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.isEmpty())
            continue;
        QString name = words.first();
        if (name.size() > 1 && name.startsWith(QLatin1Char('"')) && name.endsWith(QLatin1Char('"')))
            name = name.mid(1, name.size() - 2);
        const bool descending = words.size() > 1 && words.last().compare(QLatin1String("DESC"),
                                                                         Qt::CaseInsensitive) == 0;
        terms.append({name, descending});
    }
    return terms;
}

QString sortText(const QList<SortTerm> &terms)
{
    QStringList parts;
    for (const SortTerm &t : terms)
        parts << t.field + (t.descending ? QStringLiteral(" DESC") : QStringLiteral(" ASC"));
    return parts.join(QStringLiteral(", "));
}

QString sortTextWithout(const QString &text, const QString &field)
{
    QList<SortTerm> terms = parseSortText(text);
    terms.removeIf([&](const SortTerm &t) { return isSameField(t.field, field); });
    return sortText(terms);
}
