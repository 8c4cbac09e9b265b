#include "DataGridFixture.h"
#include "FilterBar.h"
#include "GridFooter.h"
#include "GroupPanel.h"
#include "GuiDoubles.h"
#include "RowIndicator.h"
#include "TestMain.h"

#include <QHelpEvent>
#include <QLabel>
#include <QMimeData>
#include <QSignalSpy>
#include <QToolButton>
#include <QToolTip>

using namespace gridtest;
using data::Dataset;

// The grid over a dataset: the current row both ways, sorting through the
// dataset, grouping, the footer, selection and the signals the windows use.
class TestDataGrid : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<data::Connection> m_connection;
    std::unique_ptr<Dataset> m_products;
    std::unique_ptr<data::DataSource> m_source;

    // The catalogue's columns.
    static void addProductColumns(DataGrid &grid)
    {
        grid.addColumn(u"ID"_s, u"产品代码"_s, 80)
            .setAlignment(Qt::AlignCenter)
            .setHeaderAlignment(Qt::AlignCenter);
        grid.addColumn(u"ProductName"_s, u"产品名称"_s, 150);
        grid.addColumn(u"Spec"_s, u"规格"_s, 120);
        grid.addColumn(u"Unit"_s, u"单位"_s, 50).setAlignment(Qt::AlignCenter);
        grid.addColumn(u"Price"_s, u"销售价"_s, 100).setDisplayKind(GridColumn::Money);
        grid.addColumn(u"SellNumber"_s, u"销量"_s, 120)
            .setDisplayKind(GridColumn::Integer)
            .setHeaderAlignment(Qt::AlignCenter)
            .setFooterSum(u"总销量：###,###"_s);
        grid.addColumn(u"Remark"_s, u"备注"_s, 100);
        grid.setLastColumnFillsWidth(true);
    }

private slots:
    void initTestCase_data() { addBackendRows(); }
    void init()
    {
        LUMORA_INIT_BACKEND(backend);
        m_db = std::make_unique<TestDatabase>(backend);
        addProducts(*m_db);
        m_connection = m_db->connect();
        m_products = openTable(*m_connection, u"ProductInfo"_s, u"ID ASC"_s);
        m_source = std::make_unique<data::DataSource>(m_products.get());
    }
    void cleanup()
    {
        m_source.reset();
        m_products.reset();
        m_connection.reset();
        m_db.reset();
    }

    void currentRowFollowsBothWays_data()
    {
        QTest::addColumn<bool>("grouped");
        QTest::newRow("flat") << false;
        QTest::newRow("grouped") << true;
    }
    void currentRowFollowsBothWays()
    {
        QFETCH(bool, grouped);
        GridForm form(m_source.get());
        DataGrid &grid = *form.grid;
        addProductColumns(grid);
        if (grouped)
            grid.groupBy(u"Unit"_s);
        QVERIFY(form.show());
        QSignalSpy moved(&grid, &DataGrid::currentRowChanged);

        // The dataset moves: the grid selects the row (opening its group).
        QVERIFY(m_products->locate(u"ID"_s, u"P04"_s));
        const QModelIndex current = grid.view()->currentIndex();
        QCOMPARE(grid.currentPosition(), m_products->recNo());
        QCOMPARE(current.siblingAtColumn(grid.model()->columnOfField(u"ID"_s)).data().toString(),
                 u"P04"_s);
        QVERIFY(grid.view()->selectionModel()->isSelected(current));
        if (grouped)
            QVERIFY(grid.view()->isExpanded(current.parent()));
        QVERIFY(!moved.isEmpty());
        QCOMPARE(moved.last().at(0).toInt(), m_products->recNo());

        // A click moves the dataset.
        const int p01 = positionOf(*m_products, u"ID"_s, u"P01"_s);
        grid.view()->expandAll();
        clickRow(grid, p01, u"ProductName"_s);
        QCOMPARE(m_products->recNo(), p01);
        QCOMPARE(m_products->fieldByName(u"ID"_s).asString(), u"P01"_s);
        QCOMPARE(moved.last().at(0).toInt(), p01);
    }

    void headerClickSortsTheDataset_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QStringList>("ascending");
        QTest::newRow("text") << u"ProductName"_s
                              << QStringList{u"P03"_s, u"P01"_s, u"P02"_s, u"P05"_s, u"P04"_s};
        QTest::newRow("integer") << u"SellNumber"_s
                                 << QStringList{u"P05"_s, u"P03"_s, u"P01"_s, u"P02"_s, u"P04"_s};
        // An empty amount sorts first.
        QTest::newRow("money") << u"Price"_s
                               << QStringList{u"P04"_s, u"P02"_s, u"P05"_s, u"P01"_s, u"P03"_s};
    }
    void headerClickSortsTheDataset()
    {
        QFETCH(QString, field);
        QFETCH(QStringList, ascending);
        QStringList descending = ascending;
        std::reverse(descending.begin(), descending.end());
        GridForm form(m_source.get());
        DataGrid &grid = *form.grid;
        addProductColumns(grid);
        QVERIFY(form.show());
        const int section = grid.model()->columnOfField(field);

        clickHeader(grid, field);
        QCOMPARE(m_products->sort(), QString(field + u" ASC"_s));
        QCOMPARE(datasetValues(*m_products, u"ID"_s), ascending);
        QCOMPARE(shownValues(grid, u"ID"_s), ascending);
        QCOMPARE(grid.header()->sortIndicatorSection(), section);
        QCOMPARE(grid.header()->sortIndicatorOrder(), Qt::AscendingOrder);

        clickHeader(grid, field);
        QCOMPARE(m_products->sort(), QString(field + u" DESC"_s));
        QCOMPARE(datasetValues(*m_products, u"ID"_s), descending);
        QCOMPARE(shownValues(grid, u"ID"_s), descending);
        QCOMPARE(grid.header()->sortIndicatorOrder(), Qt::DescendingOrder);
    }

    void sortingCanBeSwitchedOff()
    {
        GridForm form(m_source.get());
        DataGrid &grid = *form.grid;
        addProductColumns(grid);
        grid.setSortingEnabled(false);
        QVERIFY(form.show());
        clickHeader(grid, u"ProductName"_s);
        QCOMPARE(m_products->sort(), u"ID ASC"_s);
        QVERIFY(!grid.header()->isSortIndicatorShown());
    }

    void groupingShowsGroupsInBothOrders_data()
    {
        QTest::addColumn<int>("order");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QStringList>("codes"); // of each group's rows, joined by '/'
        const QString units = u"单位：个（2 条）  总销量：3,800|单位：台（2 条）  总销量：125|"
                              u"单位：对（1 条）  总销量："_s;
        QStringList texts = units.split(u'|');
        QStringList codes = {u"P02/P04"_s, u"P01/P03"_s, u"P05"_s};
        QTest::newRow("ascending") << int(Qt::AscendingOrder) << texts << codes;
        std::reverse(texts.begin(), texts.end());
        std::reverse(codes.begin(), codes.end());
        QTest::newRow("descending") << int(Qt::DescendingOrder) << texts << codes;
    }
    void groupingShowsGroupsInBothOrders()
    {
        QFETCH(int, order);
        QFETCH(QStringList, texts);
        QFETCH(QStringList, codes);
        GridForm form(m_source.get());
        DataGrid &grid = *form.grid;
        addProductColumns(grid);
        QVERIFY(form.show());
        const int unit = grid.model()->columnOfField(u"Unit"_s);

        grid.groupBy(u"Unit"_s, Qt::SortOrder(order));
        // The dataset is sorted by the group column first, then as it was.
        QCOMPARE(m_products->sort(),
                 QString((order == Qt::AscendingOrder ? u"Unit ASC"_s : u"Unit DESC"_s) +
                         u", ID ASC"_s));
        QVERIFY(grid.view()->isColumnHidden(unit));
        QCOMPARE(grid.model()->groupCount(), texts.size());
        for (int g = 0; g < texts.size(); ++g) {
            QCOMPARE(grid.model()->groupText(g), texts.at(g));
            QCOMPARE(grid.model()->groupIndex(g).data().toString(), texts.at(g));
            QCOMPARE(groupValues(grid, g, u"ID"_s).join(u'/'), codes.at(g));
        }

        grid.ungroup();
        QVERIFY(!grid.view()->isColumnHidden(unit));
        QCOMPARE(m_products->sort(), u"ID ASC"_s);
        QCOMPARE(grid.model()->groupCount(), 0);
        QCOMPARE(shownValues(grid, u"ID"_s),
                 (QStringList{u"P01"_s, u"P02"_s, u"P03"_s, u"P04"_s, u"P05"_s}));
    }

    // Grouped rows stay grouped when the user sorts, or a window sorts the dataset itself.
    void groupingKeepsTheGroupColumnFirst()
    {
        GridForm form(m_source.get());
        DataGrid &grid = *form.grid;
        addProductColumns(grid);
        grid.groupBy(u"Unit"_s);
        QVERIFY(form.show());

        clickHeader(grid, u"SellNumber"_s);
        clickHeader(grid, u"SellNumber"_s);
        QCOMPARE(m_products->sort(), u"Unit ASC, SellNumber DESC"_s);
        QCOMPARE(groupValues(grid, 0, u"ID"_s), (QStringList{u"P04"_s, u"P02"_s}));

        m_products->setSort(u"ProductName ASC"_s);
        QApplication::processEvents(); // the grid puts the group column back once the dataset is
                                       // done
        QCOMPARE(m_products->sort(), u"Unit ASC, ProductName ASC"_s);
        QCOMPARE(grid.model()->groupCount(), 3);
        QCOMPARE(groupValues(grid, 1, u"ID"_s), (QStringList{u"P03"_s, u"P01"_s}));
    }

    void groupsFollowEditsWithoutAResetUnlessARunMoves()
    {
        GridForm form(m_source.get());
        DataGrid &grid = *form.grid;
        addProductColumns(grid);
        grid.groupBy(u"Unit"_s);
        GroupingModel *model = grid.model();
        QSignalSpy resets(model, &QAbstractItemModel::modelReset);
        QSignalSpy changes(model, &QAbstractItemModel::dataChanged);

        QVERIFY(m_products->locate(u"ID"_s, u"P02"_s));
        m_products->edit();
        m_products->fieldByName(u"SellNumber"_s).setValue(1600);
        QCOMPARE(resets.count(), 0);
        QVERIFY(!changes.isEmpty());
        QCOMPARE(model->groupText(0), u"单位：个（2 条）  总销量：3,900"_s);

        // The row leaves its run: the groups are found again.
        m_products->fieldByName(u"Unit"_s).setValue(u"套"_s);
        QCOMPARE(resets.count(), 1);
        QCOMPARE(model->groupCount(), 4);
        QCOMPARE(model->groupText(0), u"单位：套（1 条）  总销量：1,600"_s);
        m_products->cancel();
        QCOMPARE(model->groupCount(), 3);
        QCOMPARE(model->groupText(0), u"单位：个（2 条）  总销量：3,800"_s);
    }

    void groupPanelGroupsByADroppedTitle()
    {
        GridForm form(m_source.get());
        DataGrid &grid = *form.grid;
        addProductColumns(grid);
        grid.setGroupPanelVisible(true);
        QVERIFY(form.show());
        GroupPanel *panel = grid.groupPanel();
        QVERIFY(panel->isVisible());
        QVERIFY(panel->findChild<QLabel *>()->isVisible());
        QCOMPARE(panel->findChild<QLabel *>()->text(), u"拖动列标题到此处可以按该列分组"_s);

        // A title of another grid's header is refused.
        DataGrid other(m_source.get());
        addProductColumns(other);
        std::unique_ptr<QMimeData> foreign(
            other.header()->columnMimeData(other.model()->columnOfField(u"Unit"_s)));
        const auto drop = [panel](QMimeData *mime) {
            const QPoint at = panel->rect().center();
            QDragEnterEvent enter(at, Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(panel, &enter);
            if (!enter.isAccepted())
                return false;
            QDropEvent dropped(at, Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(panel, &dropped);
            return dropped.isAccepted();
        };
        QVERIFY(!drop(foreign.get()));
        QVERIFY(grid.groupField().isEmpty());

        std::unique_ptr<QMimeData> own(
            grid.header()->columnMimeData(grid.model()->columnOfField(u"Unit"_s)));
        QSignalSpy grouping(&grid, &DataGrid::groupingChanged);
        QVERIFY(drop(own.get()));
        QCOMPARE(grid.groupField(), u"Unit"_s);
        QCOMPARE(grouping.count(), 1);
        QCOMPARE(grid.model()->groupCount(), 3);
        QVERIFY(panel->titleButton()->isVisible());
        QVERIFY(panel->titleButton()->text().startsWith(u"单位"_s));

        // The title reverses the order; the × ungroups.
        QTest::mouseClick(panel->titleButton(), Qt::LeftButton);
        QCOMPARE(grid.groupOrder(), Qt::DescendingOrder);
        QCOMPARE(m_products->sort(), u"Unit DESC, ID ASC"_s);
        QTest::mouseClick(panel->removeButton(), Qt::LeftButton);
        QVERIFY(grid.groupField().isEmpty());
        QCOMPARE(grid.model()->rowCount(), 5);
        QVERIFY(panel->findChild<QLabel *>()->isVisible());
    }

    void footerSumFollowsFilterAndRows()
    {
        GridForm form(m_source.get());
        DataGrid &grid = *form.grid;
        addProductColumns(grid);
        QVERIFY(form.show());
        QVERIFY(grid.footer()->isVisible());
        QCOMPARE(grid.footerText(u"SellNumber"_s), u"总销量：3,925"_s);
        QCOMPARE(grid.footerText(u"Price"_s), QString());

        GridFilter pieces;
        pieces.addCondition({u"Unit"_s, u"单位"_s, GridFilter::Equal, u"个"_s});
        grid.setFilter(pieces);
        QCOMPARE(m_products->recordCount(), 2);
        QCOMPARE(grid.footerText(u"SellNumber"_s), u"总销量：3,800"_s);

        // A change of the dataset's rows shows at once.
        QVERIFY(m_products->locate(u"ID"_s, u"P04"_s));
        m_products->edit();
        m_products->fieldByName(u"SellNumber"_s).setValue(2301);
        QCOMPARE(grid.footerText(u"SellNumber"_s), u"总销量：3,801"_s);
        m_products->post();

        grid.clearFilter();
        QCOMPARE(m_products->recordCount(), 5);
        QCOMPARE(grid.footerText(u"SellNumber"_s), u"总销量：3,926"_s);
    }

    void multiSelectionReturnsPositions()
    {
        GridForm form(m_source.get());
        DataGrid &grid = *form.grid;
        addProductColumns(grid);
        grid.setSelectionMode(DataGrid::MultiRow);
        QVERIFY(form.show());

        clickRow(grid, 3);
        clickRow(grid, 0, QString(), Qt::ControlModifier);
        clickRow(grid, 4, QString(), Qt::ControlModifier);
        QCOMPARE(grid.selectedPositions(), (QList<int>{0, 3, 4}));
        clickRow(grid, 1, QString(), Qt::ShiftModifier);
        QCOMPARE(grid.selectedPositions(), (QList<int>{0, 1, 2, 3, 4}));
        clickRow(grid, 2);
        QCOMPARE(grid.selectedPositions(), QList<int>{2});
        QCOMPARE(m_products->recNo(), 2);

        // Group rows are no rows of the dataset.
        grid.groupBy(u"Unit"_s);
        grid.view()->expandAll();
        clickIndex(grid, grid.model()->groupIndex(0));
        clickIndex(grid, grid.model()->index(1, 0, grid.model()->groupIndex(0)),
                   Qt::ControlModifier);
        QCOMPARE(grid.selectedPositions(), QList<int>{1});
    }

    void withoutColumnsEveryDatasetColumnShows()
    {
        GridForm form(m_source.get());
        DataGrid &grid = *form.grid;
        QVERIFY(form.show());
        QCOMPARE(grid.model()->columnCount(), m_products->columnCount());
        for (int c = 0; c < m_products->columnCount(); ++c)
            QCOMPARE(grid.model()->headerData(c, Qt::Horizontal).toString(),
                     m_products->column(c).name);

        grid.addColumn(u"ProductName"_s, u"产品名称"_s);
        QCOMPARE(grid.model()->columnCount(), 1);
        QCOMPARE(grid.model()->headerData(0, Qt::Horizontal).toString(), u"产品名称"_s);
        QCOMPARE(shownValues(grid, u"ProductName"_s).first(), u"显示器"_s);
    }

    void cellsShowByTheirKind()
    {
        GridForm form(m_source.get());
        DataGrid &grid = *form.grid;
        addProductColumns(grid);
        QVERIFY(form.show());
        const auto cell = [&](const QString &id, const QString &field, int role = Qt::DisplayRole) {
            return grid.indexOfPosition(positionOf(*m_products, u"ID"_s, id), field).data(role);
        };
        QCOMPARE(cell(u"P01"_s, u"Price"_s).toString(), u"899.50"_s);
        QCOMPARE(cell(u"P04"_s, u"Price"_s).toString(), u"<请输入金额>"_s);
        QCOMPARE(cell(u"P02"_s, u"SellNumber"_s).toString(), u"1,500"_s);
        QCOMPARE(cell(u"P05"_s, u"SellNumber"_s).toString(), QString()); // "###,###" shows no zero
        QCOMPARE(cell(u"P01"_s, u"Price"_s, Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
        QCOMPARE(cell(u"P01"_s, u"ProductName"_s, Qt::TextAlignmentRole).toInt(),
                 int(Qt::AlignLeft | Qt::AlignVCenter));
        const int id = grid.model()->columnOfField(u"ID"_s);
        QCOMPARE(grid.model()->headerData(id, Qt::Horizontal, Qt::TextAlignmentRole).toInt(),
                 int(Qt::AlignCenter));

        grid.column(2).setVisible(false);
        QVERIFY(grid.view()->isColumnHidden(2));
        grid.column(2).setVisible(true);
        QVERIFY(!grid.view()->isColumnHidden(2));
        QCOMPARE(grid.header()->sectionSize(0), 80);
    }

    void doubleClickReportsDataRowsOnly()
    {
        GridForm form(m_source.get());
        DataGrid &grid = *form.grid;
        addProductColumns(grid);
        grid.groupBy(u"Unit"_s);
        QVERIFY(form.show());
        QSignalSpy doubleClicked(&grid, &DataGrid::rowDoubleClicked);

        const QModelIndex group = grid.model()->groupIndex(2);
        QVERIFY(!grid.view()->isExpanded(group));
        doubleClickIndex(grid, group);
        QVERIFY(doubleClicked.isEmpty());
        QVERIFY(grid.view()->isExpanded(group)); // a group row opens instead

        const int p05 = positionOf(*m_products, u"ID"_s, u"P05"_s);
        doubleClickIndex(grid, grid.indexOfPosition(p05, u"ProductName"_s));
        QCOMPARE(doubleClicked.count(), 1);
        QCOMPARE(doubleClicked.first().at(0).toInt(), p05);
        QCOMPARE(m_products->recNo(), p05);
    }

    void contextMenuIsRequestedAtTheClick()
    {
        GridForm form(m_source.get());
        DataGrid &grid = *form.grid;
        addProductColumns(grid);
        QVERIFY(form.show());
        QSignalSpy requested(&grid, &DataGrid::contextMenuRequested);
        const QPoint at = centreOf(grid, grid.indexOfPosition(2, u"ProductName"_s));
        QContextMenuEvent event(QContextMenuEvent::Mouse, at,
                                grid.view()->viewport()->mapToGlobal(at));
        QApplication::sendEvent(grid.view()->viewport(), &event);
        QCOMPARE(requested.count(), 1);
        QCOMPARE(requested.first().at(0).toPoint(), grid.view()->viewport()->mapToGlobal(at));
    }

    void rowIndicatorShowsTheDatasetState()
    {
        GridForm form(m_source.get());
        DataGrid &grid = *form.grid;
        addProductColumns(grid);
        QVERIFY(form.show());
        RowIndicator *indicator = grid.rowIndicator();
        m_products->moveTo(1);
        QCOMPARE(indicator->markOf(1), RowIndicator::Current);
        QCOMPARE(indicator->markOf(0), RowIndicator::NoMark);
        m_products->edit();
        QCOMPARE(indicator->markOf(1), RowIndicator::Editing);
        m_products->cancel();
        m_products->append();
        QCOMPARE(grid.currentPosition(), 5);
        QCOMPARE(indicator->markOf(5), RowIndicator::Inserting);
        QCOMPARE(indicator->markOf(1), RowIndicator::NoMark);
        m_products->cancel();
        grid.setRowIndicatorVisible(false);
        QVERIFY(!indicator->isVisible());
    }

    void tooltipShowsOverTheCells()
    {
        GridForm form(m_source.get());
        DataGrid &grid = *form.grid;
        addProductColumns(grid);
        grid.setToolTip(u"点击右键弹出编辑菜单"_s);
        QVERIFY(form.show());
        const QPoint at = centreOf(grid, grid.indexOfPosition(0));
        QHelpEvent help(QEvent::ToolTip, at, grid.view()->viewport()->mapToGlobal(at));
        QApplication::sendEvent(grid.view()->viewport(), &help);
        QCOMPARE(QToolTip::text(), u"点击右键弹出编辑菜单"_s);
        QToolTip::hideText();
    }

    void selectionIsHiddenWhileUnfocused()
    {
        GridForm form(m_source.get());
        DataGrid &grid = *form.grid;
        addProductColumns(grid);
        grid.setHideSelectionWhenUnfocused(true);
        QVERIFY(form.show());
        form.elsewhere->setFocus();
        const QPalette unfocused = grid.view()->palette();
        QCOMPARE(unfocused.color(QPalette::Active, QPalette::Highlight),
                 unfocused.color(QPalette::Active, QPalette::Base));
        grid.setFocus();
        QVERIFY(grid.view()->hasFocus());
        const QPalette focused = grid.view()->palette();
        QVERIFY(focused.color(QPalette::Active, QPalette::Highlight) !=
                focused.color(QPalette::Active, QPalette::Base));
    }

    void snapshotOfAGroupedGridWithFooter()
    {
        GridForm form(m_source.get());
        DataGrid &grid = *form.grid;
        addProductColumns(grid);
        grid.setGroupPanelVisible(true);
        grid.groupBy(u"Unit"_s);
        grid.setGroupsExpanded(true);
        QVERIFY(m_products->locate(u"ID"_s, u"P01"_s));
        GridFilter sold;
        sold.addCondition({u"SellNumber"_s, u"销量"_s, GridFilter::Greater, u"1"_s});
        grid.setFilter(sold);
        QVERIFY(form.show());
        QVERIFY(grid.filterBar()->isVisible());
        QCOMPARE(grid.filterBar()->text(), u"过滤条件：销量 大于 “1”"_s);
        const QString path = saveSnapshot(form.window(), u"datagrid"_s);
        if (!path.isEmpty())
            QVERIFY(QFile::exists(path));
    }
};

LUMORA_TEST_CLASS(TestDataGrid)
#include "tst_datagrid.moc"
