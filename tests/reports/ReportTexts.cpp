#include "ReportTexts.h"

#include "PreparedReport.h"

QStringList allTexts(const PreparedReport &report)
{
    QStringList texts;
    for (int i = 0; i < report.pageCount(); ++i)
        texts << report.pageTexts(i);
    return texts;
}

QList<QStringList> recordTexts(const PreparedReport &report)
{
    QList<QStringList> records;
    for (int i = 0; i < report.pageCount(); ++i) {
        const QStringList page = report.pageTexts(i);
        // The title opens each page and the two footer texts close it.
        for (qsizetype k = 1; k < page.size() - 2; ++k) {
            if (page.at(k) == QStringLiteral("编号："))
                records.append(QStringList());
            if (!records.isEmpty())
                records.last() << page.at(k);
        }
    }
    return records;
}

QStringList valuesAfter(const QStringList &texts, const QString &label)
{
    QStringList values;
    for (qsizetype i = 0; i + 1 < texts.size(); ++i) {
        if (texts.at(i) == label)
            values << texts.at(i + 1);
    }
    return values;
}

QString valueAfter(const QStringList &texts, const QString &label)
{
    const QStringList values = valuesAfter(texts, label);
    return values.isEmpty() ? QString() : values.first();
}
