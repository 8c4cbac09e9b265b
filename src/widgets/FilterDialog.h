#pragma once

#include "GridFilter.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QLineEdit;
class QRadioButton;
class QVBoxLayout;

// The dialog of a grid's filter builder ("过滤显示"): rows of conditions
// (column, operator, value), joined by 并且 or 或者. "确定" accepts the
// conditions once every value reads as its column's type, "取消" leaves the
// filter as it was, "清除" accepts with no conditions (the filter goes).
//
// Widgets carry object names for scripted tests: each condition row is a
// "condition" widget holding "field", "operator", "value" and
// "removeCondition"; further "addCondition", "joinAll", "joinAny", "ok",
// "cancel", "clear".
class FilterDialog : public QDialog
{
    Q_OBJECT
public:
    struct Field
    {
        QString field;
        QString caption;
    };
    // Throws data::Error when the conditions do not apply (a value of the wrong type).
    using Check = std::function<void(const GridFilter &)>;

    FilterDialog(const QList<Field> &fields, const GridFilter &current, QWidget *parent = nullptr);

    void setCheck(Check check) { m_check = std::move(check); }
    // The conditions as the rows now stand.
    GridFilter filter() const;
    int conditionCount() const { return int(m_rows.size()); }
    void addCondition(const GridFilter::Condition &condition = {});

private:
    struct Row
    {
        QWidget *widget;
        QComboBox *field;
        QComboBox *op;
        QLineEdit *value;
    };

    void removeCondition(QWidget *row);
    void confirm();
    void clearAll();

    QList<Field> m_fields;
    QList<Row> m_rows;
    QVBoxLayout *m_rowsLayout;
    QRadioButton *m_all;
    QRadioButton *m_any;
    Check m_check;
};
