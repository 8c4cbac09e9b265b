#include "Dataset.h"
#include "DatasetModel.h"
#include "GridColumn.h"
#include "GroupingModel.h"
#include "TestMain.h"

#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;
using data::Dataset;

// The two-level model under the grid, over in-memory datasets: group runs,
// the mapping between view rows and dataset positions, and sums. (How it
// follows edits needs a dataset that can edit: see TestDataGrid.)
class TestGroupingModel : public QObject
{
    Q_OBJECT

    std::unique_ptr<Dataset> m_dataset;
    std::unique_ptr<data::DataSource> m_source;
    std::unique_ptr<DatasetModel> m_rows;
    std::unique_ptr<GroupingModel> m_model;
    GridColumn m_name{u"Name"_s, u"姓名"_s, 80};
    GridColumn m_amount{u"Amount"_s, u"数量"_s, 80};

    // Rows of (Name, Amount), already in the order the grid would have sorted them.
    void load(const QList<QVariantList> &rows)
    {
        m_dataset = std::make_unique<Dataset>(nullptr, u"memory"_s);
        data::DatasetColumn name;
        name.name = u"Name"_s;
        name.length = 50;
        data::DatasetColumn amount;
        amount.name = u"Amount"_s;
        amount.type = data::ColumnType::Integer;
        m_dataset->loadRecords({name, amount}, rows);
        m_source = std::make_unique<data::DataSource>(m_dataset.get());
        m_rows = std::make_unique<DatasetModel>(m_source.get());
        m_model = std::make_unique<GroupingModel>(m_rows.get());
        m_model->setColumns({&m_name, &m_amount});
    }

private slots:
    void init() { m_amount.setFooterSum(u"合计：###,##0"_s); }
    void cleanup()
    {
        m_model.reset();
        m_rows.reset();
        m_source.reset();
        m_dataset.reset();
    }

    void positionsMapBothWays()
    {
        QList<QVariantList> rows;
        for (int i = 0; i < 20000; ++i)
            rows.append({QStringLiteral("客户%1").arg(i / 7, 5, 10, QLatin1Char('0')), i});
        load(rows);
        m_model->setGroupField(u"Name"_s, u"姓名"_s);
        QCOMPARE(m_model->groupCount(), (20000 + 6) / 7);
        QCOMPARE(m_model->rowCount(), m_model->groupCount());
        for (int position = 0; position < 20000; ++position) {
            const QModelIndex index = m_model->indexOfPosition(position, 1);
            QCOMPARE(index.parent().row(), position / 7);
            QCOMPARE(m_model->positionOf(index), position);
            QCOMPARE(index.data().toString(), QString::number(position));
        }
        QCOMPARE(m_model->rowCount(m_model->groupIndex(2857)), 1); // the last run is short
        QCOMPARE(m_model->positionOf(m_model->groupIndex(0)), -1);
        QVERIFY(!m_model->indexOfPosition(20000).isValid());
    }

    // The view keeps persistent indexes of expanded groups and selected rows
    // in hash tables bucketed by the low bits of qHash: indexes that crowd a
    // few buckets make expanding or collapsing thousands of groups quadratic.
    void indexesSpreadOverHashBuckets()
    {
        QList<QVariantList> rows;
        for (int i = 0; i < 20000; ++i)
            rows.append({QStringLiteral("客户%1").arg(i / 7, 5, 10, QLatin1Char('0')), i});
        load(rows);
        m_model->setGroupField(u"Name"_s, u"姓名"_s);
        QSet<size_t> buckets;
        int indexes = 0;
        for (int g = 0; g < m_model->groupCount(); ++g) {
            const QModelIndex group = m_model->groupIndex(g);
            buckets.insert(qHash(group) & 0xffff);
            ++indexes;
            for (int r = 0; r < m_model->rowCount(group); ++r, ++indexes)
                buckets.insert(qHash(m_model->index(r, 0, group)) & 0xffff);
        }
        // Random hashes would fill about 85% of as many buckets; crowded ones a few percent.
        QVERIFY2(buckets.size() > indexes * 7 / 10,
                 qPrintable(u"%1 indexes in %2 buckets"_s.arg(indexes).arg(buckets.size())));
    }

    void emptyAndNullTextFormOneGroup()
    {
        load({{QVariant(), 1}, {u""_s, 2}, {u"李娜"_s, 3}, {u"李娜"_s, 4}, {u"王伟"_s, 5}});
        m_model->setGroupField(u"Name"_s, u"姓名"_s);
        QCOMPARE(m_model->groupCount(), 3);
        QCOMPARE(m_model->groupText(0), u"姓名：（空）（2 条）  合计：3"_s);
        QCOMPARE(m_model->groupText(1), u"姓名：李娜（2 条）  合计：7"_s);
        QCOMPARE(m_model->groupText(2), u"姓名：王伟（1 条）  合计：5"_s);
        QCOMPARE(m_model->groupSum(1, 1), 7.0);
        QCOMPARE(m_model->total(1), 15.0);
        QCOMPARE(m_model->total(0), 0.0); // no sum on that column

        m_model->setGroupField(QString(), QString());
        QVERIFY(!m_model->isGrouped());
        QCOMPARE(m_model->rowCount(), 5);
        QCOMPARE(m_model->positionOf(m_model->index(3, 0)), 3);
    }

    void groupRowsAreNotEditable()
    {
        load({{u"李娜"_s, 3}});
        m_model->setEditable(true);
        m_model->setGroupField(u"Name"_s, u"姓名"_s);
        QCOMPARE(m_model->flags(m_model->groupIndex(0)) & Qt::ItemIsEditable, Qt::NoItemFlags);
        QVERIFY(m_model->data(m_model->groupIndex(0), GroupingModel::GroupRowRole).toBool());
        QVERIFY(m_model->flags(m_model->indexOfPosition(0, 1)) & Qt::ItemIsEditable);
        m_amount.setReadOnly(true);
        QCOMPARE(m_model->flags(m_model->indexOfPosition(0, 1)) & Qt::ItemIsEditable,
                 Qt::NoItemFlags);
        m_amount.setReadOnly(false);
    }
};

LUMORA_TEST_CLASS(TestGroupingModel)
#include "tst_datagrid_model.moc"
