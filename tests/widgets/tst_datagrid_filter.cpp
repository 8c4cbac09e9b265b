#include "DataGridFixture.h"
#include "FilterBar.h"
#include "FilterDialog.h"
#include "GuiDoubles.h"
#include "ScriptedPrompt.h"
#include "TestMain.h"

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>

using namespace gridtest;
using data::Dataset;

namespace {

// One condition row of the filter dialog, as the user fills it in.
struct Typed
{
    QString caption;
    QString op;
    QString value;
};

QList<QWidget *> conditionRows(QDialog *dialog)
{
    return dialog->findChildren<QWidget *>(u"condition"_s);
}

void fillRow(QWidget *row, const Typed &typed)
{
    auto *field = row->findChild<QComboBox *>(u"field"_s);
    auto *op = row->findChild<QComboBox *>(u"operator"_s);
    field->setCurrentIndex(field->findText(typed.caption));
    op->setCurrentIndex(op->findText(typed.op));
    QVERIFY(field->currentIndex() >= 0);
    QVERIFY(op->currentIndex() >= 0);
    auto *value = row->findChild<QLineEdit *>(u"value"_s);
    if (value->isEnabled()) {
        value->clear();
        typeText(value, typed.value);
    }
}

void click(QDialog *dialog, const QString &name)
{
    auto *button = dialog->findChild<QPushButton *>(name);
    QVERIFY2(button, qPrintable(name));
    QTest::mouseClick(button, Qt::LeftButton);
}

// A script for the filter dialog: fill in the rows (adding as needed), join, press a button.
ScriptedModals::Script fillIn(const QList<Typed> &rows, GridFilter::Join join,
                              const QString &button)
{
    return [=](QDialog *dialog) {
        while (conditionRows(dialog).size() < rows.size())
            click(dialog, u"addCondition"_s);
        const QList<QWidget *> shown = conditionRows(dialog);
        for (int i = 0; i < rows.size(); ++i)
            fillRow(shown.at(i), rows.at(i));
        dialog->findChild<QRadioButton *>(join == GridFilter::All ? u"joinAll"_s : u"joinAny"_s)
            ->click();
        click(dialog, button);
    };
}

} // namespace

// The grid's own filter: which rows each operator lets through on each type
// of column, 并且 and 或者, the dialog that builds it, and the bar that shows it.
class TestDataGridFilter : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<data::Connection> m_connection;
    std::unique_ptr<Dataset> m_products;
    std::unique_ptr<Dataset> m_contacts;

    Dataset &dataset(const QString &table)
    {
        return table == u"LinkMan"_s ? *m_contacts : *m_products;
    }

    // The rows a dataset shows, by a key that names each one.
    static QStringList keys(const Dataset &d)
    {
        QStringList shown;
        const bool contacts = d.columnIndex(u"LinkManID"_s) >= 0;
        for (int r = 0; r < d.recordCount(); ++r) {
            shown << (contacts ? d.valueAt(r, d.columnIndex(u"LinkManID"_s)).toString() + u'@' +
                                     d.valueAt(r, d.columnIndex(u"ClientName"_s)).toString()
                               : d.valueAt(r, d.columnIndex(u"ID"_s)).toString());
        }
        return shown;
    }

    static void addProductColumns(DataGrid &grid)
    {
        grid.addColumn(u"ID"_s, u"产品代码"_s, 80);
        grid.addColumn(u"ProductName"_s, u"产品名称"_s, 150);
        grid.addColumn(u"Spec"_s, u"规格"_s, 120);
        grid.addColumn(u"Unit"_s, u"单位"_s, 50);
        grid.addColumn(u"SellNumber"_s, u"销量"_s, 120).setFooterSum(u"总销量：###,###"_s);
        grid.addColumn(u"Remark"_s, u"备注"_s).setVisible(false);
    }

private slots:
    void initTestCase_data() { addBackendRows(); }
    void init()
    {
        LUMORA_INIT_BACKEND(backend);
        m_db = std::make_unique<TestDatabase>(backend);
        addProducts(*m_db);
        addContacts(*m_db);
        m_connection = m_db->connect();
        m_products = openTable(*m_connection, u"ProductInfo"_s, u"ID ASC"_s);
        m_contacts = openTable(*m_connection, u"LinkMan"_s, u"ClientName ASC, LinkManID ASC"_s);
    }
    void cleanup()
    {
        m_products.reset();
        m_contacts.reset();
        m_connection.reset();
        m_db.reset();
    }

    void eachOperatorSelectsItsRows_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("op");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QStringList>("expected");
        const QString products = u"ProductInfo"_s;
        const QString contacts = u"LinkMan"_s;
        using F = GridFilter;
        const auto row = [&](const char *name, const QString &table, const QString &field,
                             F::Operator op, const QString &value, const QString &expected) {
            QTest::newRow(name) << table << field << int(op) << value
                                << expected.split(u',', Qt::SkipEmptyParts);
        };
        // Text: 等于 minds letter case, 包含 does not; an empty cell is 为空 and passes 不包含.
        row("text equal", products, u"Spec"_s, F::Equal, u"USB Black"_s, u"P01"_s);
        row("text equal minds case", products, u"Spec"_s, F::Equal, u"usb black"_s, QString());
        row("text not equal", products, u"Spec"_s, F::NotEqual, u"USB Black"_s,
            u"P02,P03,P04,P05"_s);
        row("text contains ignores case", products, u"Spec"_s, F::Contains, u"usb"_s, u"P01,P02"_s);
        row("text not contains", products, u"Spec"_s, F::NotContains, u"USB"_s, u"P03,P04,P05"_s);
        row("text is empty", products, u"Spec"_s, F::IsEmpty, QString(), u"P03,P05"_s);
        row("text is not empty", products, u"Spec"_s, F::IsNotEmpty, QString(), u"P01,P02,P04"_s);
        row("text greater", products, u"Spec"_s, F::Greater, u"W"_s, u"P02,P04"_s);
        row("chinese text", products, u"Unit"_s, F::Equal, u"台"_s, u"P01,P03"_s);
        // Numbers compare as numbers, not as text.
        row("integer greater", products, u"SellNumber"_s, F::Greater, u"120"_s, u"P02,P04"_s);
        row("integer at least", products, u"SellNumber"_s, F::GreaterOrEqual, u"120"_s,
            u"P01,P02,P04"_s);
        row("integer less", products, u"SellNumber"_s, F::Less, u"120"_s, u"P03,P05"_s);
        row("integer at most", products, u"SellNumber"_s, F::LessOrEqual, u"5"_s, u"P03,P05"_s);
        row("integer not equal", products, u"SellNumber"_s, F::NotEqual, u"0"_s,
            u"P01,P02,P03,P04"_s);
        row("money equal", products, u"Price"_s, F::Equal, u"99"_s, u"P02"_s);
        row("money with separators", products, u"Price"_s, F::Greater, u"1,000.00"_s, u"P03"_s);
        row("money is empty", products, u"Price"_s, F::IsEmpty, QString(), u"P04"_s);
        row("number contains", products, u"SellNumber"_s, F::Contains, u"50"_s, u"P02"_s);
        // Dates as yyyy-MM-dd or in the locale's short format; an empty date passes no comparison.
        row("date greater", contacts, u"Birthday"_s, F::Greater, u"1990-01-01"_s,
            u"李娜@北京华信"_s);
        row("date at least", contacts, u"Birthday"_s, F::GreaterOrEqual, u"1990-1-1"_s,
            u"张敏@上海博远,李娜@北京华信"_s);
        row("date in the short format", contacts, u"Birthday"_s, F::Equal,
            QLocale().toString(QDate(1985, 3, 12), QLocale::ShortFormat), u"王伟@北京华信"_s);
        row("date is empty", contacts, u"Birthday"_s, F::IsEmpty, QString(), u"王伟@上海博远"_s);
        row("date less", contacts, u"Birthday"_s, F::Less, u"1990-01-01"_s, u"王伟@北京华信"_s);
        // Booleans as 是 / 否; an unset flag is neither.
        row("boolean yes", contacts, u"MostlyLinkMan"_s, F::Equal, u"是"_s,
            u"王伟@上海博远,王伟@北京华信"_s);
        row("boolean no", contacts, u"MostlyLinkMan"_s, F::Equal, u"否"_s, u"李娜@北京华信"_s);
    }
    void eachOperatorSelectsItsRows()
    {
        QFETCH(QString, table);
        QFETCH(QString, field);
        QFETCH(int, op);
        QFETCH(QString, value);
        QFETCH(QStringList, expected);
        Dataset &d = dataset(table);
        GridFilter filter;
        filter.addCondition({field, field, GridFilter::Operator(op), value});
        d.setRowFilter(filter.compile(d));
        QCOMPARE(keys(d), expected);
        d.setRowFilter({});
        QCOMPARE(d.recordCount(), table == u"LinkMan"_s ? 4 : 5);
    }

    void conditionsJoin_data()
    {
        QTest::addColumn<int>("join");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("并且") << int(GridFilter::All) << QStringList{u"P02"_s};
        QTest::newRow("或者") << int(GridFilter::Any)
                              << QStringList{u"P01"_s, u"P02"_s, u"P03"_s, u"P04"_s};
    }
    void conditionsJoin()
    {
        QFETCH(int, join);
        QFETCH(QStringList, expected);
        GridFilter filter;
        filter.setJoin(GridFilter::Join(join));
        filter.addCondition({u"Unit"_s, u"单位"_s, GridFilter::Equal, u"个"_s});
        filter.addCondition({u"Spec"_s, u"规格"_s, GridFilter::Contains, u"USB"_s});
        filter.addCondition({u"SellNumber"_s, u"销量"_s, GridFilter::Greater, u"0"_s});
        m_products->setRowFilter(filter.compile(*m_products));
        QCOMPARE(keys(*m_products), expected);
        QCOMPARE(filter.description(), u"单位 等于 “个” %1 规格 包含 “USB” %1 销量 大于 “0”"_s.arg(
                                           GridFilter::joinText(GridFilter::Join(join))));
    }

    void valuesOfTheWrongTypeAreRefused_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        QTest::newRow("number") << u"ProductInfo"_s << u"SellNumber"_s << u"很多"_s
                                << u"“SellNumber”的比较值“很多”不是有效的数值。"_s;
        QTest::newRow("date") << u"LinkMan"_s << u"Birthday"_s << u"2020-13-45"_s
                              << u"“Birthday”的比较值“2020-13-45”不是有效的日期。"_s;
        QTest::newRow("boolean") << u"LinkMan"_s << u"MostlyLinkMan"_s << u"也许"_s
                                 << u"“MostlyLinkMan”的比较值“也许”不是有效的是否值（是／否）。"_s;
    }
    void valuesOfTheWrongTypeAreRefused()
    {
        QFETCH(QString, table);
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, message);
        GridFilter filter;
        filter.addCondition({field, field, GridFilter::Equal, value});
        try {
            filter.compile(dataset(table));
            QFAIL("the value was taken");
        } catch (const data::Error &error) {
            QCOMPARE(error.message(), message);
        }
    }

    void theDialogNarrowsAndClearRestores()
    {
        data::DataSource source(m_products.get());
        GridForm form(&source);
        DataGrid &grid = *form.grid;
        addProductColumns(grid);
        QVERIFY(form.show());
        ScriptedModals modals;
        QStringList offered;
        modals.expect([&](QDialog *dialog) {
            auto *field = conditionRows(dialog).first()->findChild<QComboBox *>(u"field"_s);
            for (int i = 0; i < field->count(); ++i)
                offered << field->itemText(i);
            fillIn({{u"单位"_s, u"等于"_s, u"个"_s}}, GridFilter::All, u"ok"_s)(dialog);
        });
        grid.showFilterDialog();
        QCOMPARE(modals.shown, QStringList{u"FilterDialog"_s});
        // The visible columns, by caption.
        QCOMPARE(offered,
                 (QStringList{u"产品代码"_s, u"产品名称"_s, u"规格"_s, u"单位"_s, u"销量"_s}));
        QCOMPARE(keys(*m_products), (QStringList{u"P02"_s, u"P04"_s}));
        QCOMPARE(grid.model()->rowCount(), 2);
        QCOMPARE(grid.footerText(u"SellNumber"_s), u"总销量：3,800"_s);
        QCOMPARE(grid.currentPosition(), m_products->recNo());
        QVERIFY(grid.filterBar()->isVisible());
        QCOMPARE(grid.filterBar()->text(), u"过滤条件：单位 等于 “个”"_s);

        // 取消 leaves the filter; the dialog opens on the filter in force.
        QString shownValue;
        modals.expect([&](QDialog *dialog) {
            shownValue = conditionRows(dialog).first()->findChild<QLineEdit *>(u"value"_s)->text();
            click(dialog, u"cancel"_s);
        });
        grid.showFilterDialog();
        QCOMPARE(shownValue, u"个"_s);
        QCOMPARE(m_products->recordCount(), 2);

        modals.expect([](QDialog *dialog) { click(dialog, u"clear"_s); });
        grid.showFilterDialog();
        QCOMPARE(m_products->recordCount(), 5);
        QVERIFY(!m_products->hasRowFilter());
        QVERIFY(!grid.isFiltered());
        QVERIFY(!grid.filterBar()->isVisible());
        QCOMPARE(grid.footerText(u"SellNumber"_s), u"总销量：3,925"_s);
    }

    void theDialogJoinsConditions_data()
    {
        QTest::addColumn<int>("join");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("并且") << int(GridFilter::All) << QStringList{u"P04"_s};
        QTest::newRow("或者") << int(GridFilter::Any) << QStringList{u"P01"_s, u"P02"_s, u"P04"_s};
    }
    void theDialogJoinsConditions()
    {
        QFETCH(int, join);
        QFETCH(QStringList, expected);
        data::DataSource source(m_products.get());
        GridForm form(&source);
        addProductColumns(*form.grid);
        QVERIFY(form.show());
        ScriptedModals modals;
        modals.expect(
            fillIn({{u"销量"_s, u"大于等于"_s, u"120"_s}, {u"规格"_s, u"包含"_s, u"wire"_s}},
                   GridFilter::Join(join), u"ok"_s));
        form.grid->showFilterDialog();
        QCOMPARE(keys(*m_products), expected);
        QCOMPARE(form.grid->filter().conditions().size(), 2);
        QCOMPARE(form.grid->filter().join(), GridFilter::Join(join));
    }

    void theDialogRefusesBadValuesAndStaysOpen()
    {
        data::DataSource source(m_products.get());
        GridForm form(&source);
        addProductColumns(*form.grid);
        QVERIFY(form.show());
        ScriptedModals modals;
        ScriptedPrompt prompt;
        bool stayedOpen = false;
        modals.expect([&](QDialog *dialog) {
            fillIn({{u"销量"_s, u"大于"_s, u"很多"_s}}, GridFilter::All, u"ok"_s)(dialog);
            fillIn({{u"销量"_s, u"大于"_s, QString()}}, GridFilter::All, u"ok"_s)(dialog);
            stayedOpen = dialog->isVisible();
            click(dialog, u"cancel"_s);
        });
        form.grid->showFilterDialog();
        QVERIFY(stayedOpen);
        QCOMPARE(prompt.count(), 2);
        QCOMPARE(prompt.shown().at(0).text, u"“销量”的比较值“很多”不是有效的数值。"_s);
        QCOMPARE(prompt.shown().at(0).icon, MessageIcon::Warning);
        QCOMPARE(prompt.shown().at(1).text, u"请输入“销量”的比较值。"_s);
        QVERIFY(!m_products->hasRowFilter());
    }

    void aConditionCanBeRemoved()
    {
        data::DataSource source(m_products.get());
        GridForm form(&source);
        addProductColumns(*form.grid);
        QVERIFY(form.show());
        ScriptedModals modals;
        modals.expect([](QDialog *dialog) {
            fillIn({{u"单位"_s, u"等于"_s, u"台"_s}, {u"规格"_s, u"为空"_s, QString()}},
                   GridFilter::All, u"addCondition"_s)(dialog);
            QCOMPARE(conditionRows(dialog).size(), 3);
            QTest::mouseClick(
                conditionRows(dialog).first()->findChild<QPushButton *>(u"removeCondition"_s),
                Qt::LeftButton);
            QCOMPARE(conditionRows(dialog).size(), 2);
            QTest::mouseClick(
                conditionRows(dialog).last()->findChild<QPushButton *>(u"removeCondition"_s),
                Qt::LeftButton);
            click(dialog, u"ok"_s);
        });
        form.grid->showFilterDialog();
        QCOMPARE(form.grid->filter().description(), u"规格 为空"_s);
        QCOMPARE(keys(*m_products), (QStringList{u"P03"_s, u"P05"_s}));
    }

    void theBarRemovesTheFilter()
    {
        data::DataSource source(m_products.get());
        GridForm form(&source);
        addProductColumns(*form.grid);
        QVERIFY(form.show());
        GridFilter filter;
        filter.addCondition({u"Unit"_s, u"单位"_s, GridFilter::Equal, u"台"_s});
        form.grid->setFilter(filter);
        QCOMPARE(m_products->recordCount(), 2);
        QTest::mouseClick(form.grid->filterBar()->removeButton(), Qt::LeftButton);
        QCOMPARE(m_products->recordCount(), 5);
        QVERIFY(!form.grid->filterBar()->isVisible());
    }

    // The filter belongs to the grid: a closed window leaves the dataset whole.
    void theFilterGoesWithTheGrid()
    {
        data::DataSource source(m_products.get());
        {
            DataGrid grid(&source);
            GridFilter filter;
            filter.addCondition({u"Unit"_s, u"单位"_s, GridFilter::Equal, u"台"_s});
            grid.setFilter(filter);
            QCOMPARE(m_products->recordCount(), 2);
        }
        QVERIFY(!m_products->hasRowFilter());
        QCOMPARE(m_products->recordCount(), 5);
    }
};

LUMORA_TEST_CLASS(TestDataGridFilter)
#include "tst_datagrid_filter.moc"
