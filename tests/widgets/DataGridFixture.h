#pragma once

#include "DataGrid.h"
#include "Dataset.h"
#include "GridHeader.h"
#include "GridView.h"
#include "GroupingModel.h"
#include "TestDatabase.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <memory>

// What the grid tests share: known products and contacts, a shown window
// holding the grid, and clicks as a user makes them.
namespace gridtest {

using namespace Qt::StringLiterals;

// Five products, not inserted in the order of their codes, so that a test
// that expects an order has to have sorted.
inline void addProducts(TestDatabase &db)
{
    struct Row
    {
        const char *id;
        QString name;
        QVariant spec;
        QString unit;
        QVariant price;
        int sold;
    };
    const QList<Row> rows = {
        {"P03", u"打印机"_s, QVariant(), u"台"_s, 1200.0, 5},
        {"P01", u"显示器"_s, u"USB Black"_s, u"台"_s, 899.5, 120},
        {"P02", u"键盘"_s, u"usb white"_s, u"个"_s, 99.0, 1500},
        {"P04", u"鼠标"_s, u"Wireless"_s, u"个"_s, QVariant(), 2300},
        {"P05", u"音箱"_s, u""_s, u"对"_s, 350.0, 0},
    };
    for (const Row &r : rows) {
        db.exec(
            u"INSERT INTO \"ProductInfo\" (\"ID\", \"ProductName\", \"Spec\", \"Unit\", \"Price\", "
            u"\"SellNumber\") VALUES (:i, :n, :s, :u, :p, :q)"_s,
            {{u"i"_s, QString::fromLatin1(r.id)},
             {u"n"_s, r.name},
             {u"s"_s, r.spec},
             {u"u"_s, r.unit},
             {u"p"_s, r.price},
             {u"q"_s, r.sold}});
    }
}

// Four contacts; 王伟 works for both companies.
inline void addContacts(TestDatabase &db)
{
    struct Row
    {
        QString client;
        QString name;
        QVariant main;
        QVariant birthday;
    };
    const QList<Row> rows = {
        {u"北京华信"_s, u"王伟"_s, true, QDate(1985, 3, 12)},
        {u"北京华信"_s, u"李娜"_s, false, QDate(1992, 7, 1)},
        {u"上海博远"_s, u"王伟"_s, true, QVariant()},
        {u"上海博远"_s, u"张敏"_s, QVariant(), QDate(1990, 1, 1)},
    };
    for (const Row &r : rows) {
        db.exec(u"INSERT INTO \"LinkMan\" (\"ClientName\", \"LinkManID\", \"MostlyLinkMan\", "
                u"\"Birthday\") "
                u"VALUES (:c, :n, :m, :b)"_s,
                {{u"c"_s, r.client}, {u"n"_s, r.name}, {u"m"_s, r.main}, {u"b"_s, r.birthday}});
    }
}

// Types as the user does: Latin text key by key, other text (Chinese) the way
// an input method hands it over, one committed character at a time.
inline void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClicks(widget, QString(c));
        } else {
            QInputMethodEvent event;
            event.setCommitString(QString(c));
            QApplication::sendEvent(widget, &event);
        }
    }
}

inline std::unique_ptr<data::Dataset> openTable(data::Connection &connection, const QString &table,
                                                const QString &sort)
{
    auto dataset = std::make_unique<data::Dataset>(&connection, table);
    dataset->setTableName(table);
    dataset->open();
    dataset->setSort(sort);
    return dataset;
}

// A column's values in the dataset's order.
inline QStringList datasetValues(const data::Dataset &dataset, const QString &field)
{
    QStringList values;
    const int column = dataset.columnIndex(field);
    for (int r = 0; r < dataset.recordCount(); ++r)
        values << dataset.valueAt(r, column).toString();
    return values;
}

// A column's texts in the order the grid shows its data rows (flat grid).
inline QStringList shownValues(const DataGrid &grid, const QString &field)
{
    QStringList values;
    const GroupingModel *model = grid.model();
    const int column = model->columnOfField(field);
    for (int row = 0; row < model->rowCount(); ++row)
        values << model->index(row, column).data().toString();
    return values;
}

// The texts of one column in the rows under a group.
inline QStringList groupValues(const DataGrid &grid, int group, const QString &field)
{
    QStringList values;
    const GroupingModel *model = grid.model();
    const QModelIndex parent = model->groupIndex(group);
    const int column = model->columnOfField(field);
    for (int row = 0; row < model->rowCount(parent); ++row)
        values << model->index(row, column, parent).data().toString();
    return values;
}

// A window holding a grid and a plain box to move the focus to.
class GridForm
{
public:
    explicit GridForm(data::DataSource *source)
    {
        m_window.resize(900, 420);
        auto *layout = new QVBoxLayout(&m_window);
        grid = new DataGrid(source, &m_window);
        elsewhere = new QLineEdit(&m_window);
        elsewhere->setObjectName(u"elsewhere"_s);
        layout->addWidget(grid);
        layout->addWidget(elsewhere);
    }
    // Shows the window and makes it the active one; false when that failed.
    bool show()
    {
        m_window.show();
        m_window.activateWindow();
        const bool active = QTest::qWaitForWindowActive(&m_window);
        QApplication::processEvents();
        return active;
    }
    QWidget *window() { return &m_window; }

    DataGrid *grid;
    QLineEdit *elsewhere;

private:
    QWidget m_window;
};

inline QPoint centreOf(DataGrid &grid, const QModelIndex &index)
{
    grid.view()->scrollTo(index);
    return grid.view()->visualRect(index).center();
}

inline void clickIndex(DataGrid &grid, const QModelIndex &index,
                       Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::mouseClick(grid.view()->viewport(), Qt::LeftButton, modifiers, centreOf(grid, index));
}

// As a mouse does it: press, release, then the double click and its release.
inline void doubleClickIndex(DataGrid &grid, const QModelIndex &index)
{
    const QPoint at = centreOf(grid, index);
    QWidget *viewport = grid.view()->viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, at);
}

// Clicks the data row of a dataset position, in a column (the first visible one by default).
inline void clickRow(DataGrid &grid, int position, const QString &field = QString(),
                     Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    clickIndex(grid, grid.indexOfPosition(position, field), modifiers);
}

inline void clickHeader(DataGrid &grid, const QString &field)
{
    GridHeader *header = grid.header();
    const int section = grid.model()->columnOfField(field);
    const QPoint point(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                       header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, point);
}

inline int positionOf(data::Dataset &dataset, const QString &field, const QString &value)
{
    const int column = dataset.columnIndex(field);
    for (int r = 0; r < dataset.recordCount(); ++r) {
        if (dataset.valueAt(r, column).toString() == value)
            return r;
    }
    return -1;
}

} // namespace gridtest
