#include "Dialect.h"
#include "Error.h"
#include "TextFormats.h"

#include "TestMain.h"

#include <QTest>

using data::ColumnType;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(ColumnType)

// How values typed or set by the program become column values.
class TestValues : public QObject
{
    Q_OBJECT

private slots:
    void converts_data()
    {
        QTest::addColumn<QVariant>("input");
        QTest::addColumn<ColumnType>("type");
        QTest::addColumn<int>("length");
        QTest::addColumn<QVariant>("expected");

        QTest::newRow("text stays") << QVariant(u"O'Brien %_"_s) << ColumnType::Text << 50 << QVariant(u"O'Brien %_"_s);
        QTest::newRow("fixed text padded") << QVariant(u"admin"_s) << ColumnType::FixedText << 8 << QVariant(u"admin   "_s);
        QTest::newRow("integer from text") << QVariant(u" 100081 "_s) << ColumnType::Integer << 0 << QVariant(100081);
        QTest::newRow("integer from whole double") << QVariant(3.0) << ColumnType::Integer << 0 << QVariant(3);
        QTest::newRow("empty text clears integer") << QVariant(u""_s) << ColumnType::Integer << 0 << QVariant();
        QTest::newRow("decimal rounded") << QVariant(12.345678) << ColumnType::Decimal << 0 << QVariant(12.35);
        QTest::newRow("decimal from money text") << QVariant(u"￥1,234.5"_s) << ColumnType::Decimal << 0 << QVariant(1234.5);
        QTest::newRow("boolean from 是") << QVariant(u"是"_s) << ColumnType::Boolean << 0 << QVariant(true);
        QTest::newRow("date from iso") << QVariant(u"2008-1-1"_s) << ColumnType::Date << 0 << QVariant(QDate(2008, 1, 1));
        QTest::newRow("date from date-time") << QVariant(QDateTime(QDate(2008, 5, 1), QTime(9, 30)))
                                             << ColumnType::Date << 0 << QVariant(QDate(2008, 5, 1));
        QTest::newRow("time from text") << QVariant(u"14:30"_s) << ColumnType::Time << 0 << QVariant(QTime(14, 30));
        QTest::newRow("time drops milliseconds") << QVariant(QTime(14, 30, 5, 999)) << ColumnType::Time << 0
                                                 << QVariant(QTime(14, 30, 5));
        QTest::newRow("date-time from text") << QVariant(u"2008-05-01 14:03:22"_s) << ColumnType::DateTime << 0
                                             << QVariant(QDateTime(QDate(2008, 5, 1), QTime(14, 3, 22)));
        QTest::newRow("null stays null") << QVariant() << ColumnType::Date << 0 << QVariant();
    }
    void converts()
    {
        QFETCH(QVariant, input);
        QFETCH(ColumnType, type);
        QFETCH(int, length);
        QFETCH(QVariant, expected);
        const QVariant actual = data::convertValue(input, type, length, u"Column"_s);
        QCOMPARE(actual.isValid(), expected.isValid());
        if (expected.isValid()) {
            QCOMPARE(actual.metaType(), expected.metaType());
            QCOMPARE(actual, expected);
        }
    }

    void refusesWhatDoesNotConvert_data()
    {
        QTest::addColumn<QVariant>("input");
        QTest::addColumn<ColumnType>("type");
        QTest::newRow("letters as integer") << QVariant(u"abc"_s) << ColumnType::Integer;
        QTest::newRow("integer out of range") << QVariant(qlonglong(1) << 40) << ColumnType::Integer;
        QTest::newRow("fraction as integer") << QVariant(2.5) << ColumnType::Integer;
        QTest::newRow("bad date") << QVariant(u"2008-13-45"_s) << ColumnType::Date;
        QTest::newRow("bad time") << QVariant(u"25:61"_s) << ColumnType::Time;
        QTest::newRow("letters as amount") << QVariant(u"十元"_s) << ColumnType::Decimal;
    }
    void refusesWhatDoesNotConvert()
    {
        QFETCH(QVariant, input);
        QFETCH(ColumnType, type);
        try {
            data::convertValue(input, type, 0, u"Postalcode"_s);
            QFAIL("converted");
        } catch (const data::Error &error) {
            // The message names the column so that the user knows which box is wrong.
            QVERIFY2(error.message().contains(u"Postalcode"_s), qPrintable(error.message()));
        }
    }

    void readsStoredText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDateTime>("expected");
        QTest::newRow("date-time") << "2008-05-01 14:03:22" << QDateTime(QDate(2008, 5, 1), QTime(14, 3, 22));
        QTest::newRow("iso with T") << "2008-05-01T14:03:22" << QDateTime(QDate(2008, 5, 1), QTime(14, 3, 22));
        QTest::newRow("date only") << "2008-05-01" << QDate(2008, 5, 1).startOfDay();
        QTest::newRow("garbage") << "yesterday" << QDateTime();
    }
    void readsStoredText()
    {
        QFETCH(QString, text);
        QFETCH(QDateTime, expected);
        QCOMPARE(data::parseStorageDateTime(text), expected);
    }
};

LUMORA_TEST_CLASS(TestValues)

#include "tst_values.moc"
