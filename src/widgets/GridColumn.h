#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

class DataGrid;

// One column of a DataGrid: which dataset column it shows, under what caption,
// how its cells look and are edited, and whether the footer sums it. Setters
// return the column so that a window configures it in one statement:
//   grid->addColumn("SellNumber", "销量", 120)
//       .setDisplayKind(GridColumn::Integer).setHeaderAlignment(Qt::AlignCenter)
//       .setFooterSum("总销量：###,###");
class GridColumn
{
public:
    enum DisplayKind {
        Text,      // as the dataset displays the value
        CheckMark, // a Boolean as a check mark, centred
        Money,     // two decimals, centred; "<请输入金额>" when empty
        Integer,   // by the number format ("###,###" unless set), centred
        Date,      // yyyy-MM-dd
        Time,      // HH:mm
    };

    GridColumn(const QString &field, const QString &caption, int width);

    const QString &field() const { return m_field; }
    const QString &caption() const { return m_caption; }
    int width() const { return m_width; }
    bool isVisible() const { return m_visible; }
    bool isReadOnly() const { return m_readOnly; }
    DisplayKind displayKind() const { return m_kind; }
    // The cells' alignment: as set, else centred for check marks, money and integers.
    Qt::Alignment alignment() const;
    Qt::Alignment headerAlignment() const { return m_headerAlignment; }
    // The pattern of formatNumber() for Money and Integer cells.
    QString numberFormat() const;
    const QStringList &pickList() const { return m_pickList; }
    bool hasFooterSum() const { return m_hasFooterSum; }
    const QString &footerFormat() const { return m_footerFormat; }

    GridColumn &setCaption(const QString &caption);
    GridColumn &setWidth(int width);
    GridColumn &setAlignment(Qt::Alignment alignment);
    GridColumn &setHeaderAlignment(Qt::Alignment alignment);
    GridColumn &setVisible(bool visible);
    GridColumn &setReadOnly(bool readOnly);
    GridColumn &setDisplayKind(DisplayKind kind);
    GridColumn &setNumberFormat(const QString &pattern);
    // The cell editor becomes an editable combo box offering these items;
    // other values may still be typed.
    GridColumn &setPickList(const QStringList &items);
    // The footer shows the sum of the column over the rows shown, and group
    // rows the sum over their rows, both formatted by `pattern` (formatNumber).
    GridColumn &setFooterSum(const QString &pattern);
    GridColumn &clearFooterSum();

    // The text of a cell: `datasetText` is how the dataset displays `value`.
    QString displayText(const QVariant &value, const QString &datasetText) const;
    // The text shown, greyed, in an empty Money cell.
    static QString emptyMoneyText();

private:
    friend class DataGrid;
    void changed();

    DataGrid *m_grid = nullptr; // told of every change once the column is added
    QString m_field;
    QString m_caption;
    int m_width;
    bool m_visible = true;
    bool m_readOnly = false;
    DisplayKind m_kind = Text;
    Qt::Alignment m_alignment;
    Qt::Alignment m_headerAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    QString m_numberFormat;
    QStringList m_pickList;
    bool m_hasFooterSum = false;
    QString m_footerFormat;
};
