#include "NumberFormat.h"
#include "TestMain.h"

#include <QTest>

using namespace Qt::StringLiterals;

// The display patterns of footer sums, group sums and money and integer cells.
class TestNumberFormat : public QObject
{
    Q_OBJECT

private slots:
    void formatsByPattern_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("expected");
        struct Case
        {
            const char *name;
            double value;
            QString pattern;
            QString expected;
        };
        const QList<Case> cases = {
            {"money with prefix", 1234567.891, u"￥###,##0.#0"_s, u"￥1,234,567.89"_s},
            {"money rounds up", 0.125, u"￥###,##0.#0"_s, u"￥0.13"_s},
            {"footer sum", 1234, u"总销量：###,###"_s, u"总销量：1,234"_s},
            {"footer sum of zero keeps its text", 0, u"总销量：###,###"_s, u"总销量："_s},
            {"zero with optional digits", 0, u"###,###"_s, QString()},
            {"zero with a mandatory digit", 0, u"###,##0"_s, u"0"_s},
            {"half rounds away from zero", 0.5, u"###,###"_s, u"1"_s},
            {"below half rounds to nothing", 0.4, u"###,###"_s, QString()},
            {"negative", -1234.5, u"###,##0.00"_s, u"-1,234.50"_s},
            {"negative before the text", -1234.5, u"￥###,##0.00"_s, u"-￥1,234.50"_s},
            {"negative rounding carries", -999.995, u"#,##0.00"_s, u"-1,000.00"_s},
            {"negative rounding to zero has no sign", -0.4, u"###,##0"_s, u"0"_s},
            {"decimal intent, not binary", 2.675, u"0.00"_s, u"2.68"_s},
            {"optional decimals drop zeros", 1234.5, u"0.0#"_s, u"1234.5"_s},
            {"optional decimals round", 1234.567, u"0.0#"_s, u"1234.57"_s},
            {"optional decimals only", 12, u"0.##"_s, u"12"_s},
            {"leading zeros", 7, u"000"_s, u"007"_s},
            {"more digits than placeholders", 123456789, u"#,##0"_s, u"123,456,789"_s},
            {"no separators", 1234567, u"0"_s, u"1234567"_s},
            {"suffix", 12.3, u"0.00元"_s, u"12.30元"_s},
            {"quoted placeholders are text", 5, u"\"No.0\" 0"_s, u"No.0 5"_s},
            {"a tiny amount", 1e-9, u"#,##0.00"_s, u"0.00"_s},
            {"a large amount", 1e15, u"#,##0"_s, u"1,000,000,000,000,000"_s},
            {"no placeholders", 5, u"合计"_s, u"合计"_s},
        };
        for (const Case &c : cases)
            QTest::newRow(c.name) << c.value << c.pattern << c.expected;
    }
    void formatsByPattern()
    {
        QFETCH(double, value);
        QFETCH(QString, pattern);
        QFETCH(QString, expected);
        QCOMPARE(formatNumber(value, pattern), expected);
    }
};

LUMORA_TEST_CLASS(TestNumberFormat)
#include "tst_datagrid_numberformat.moc"
