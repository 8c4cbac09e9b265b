#pragma once

#include "Dataset.h"

#include <QDialog>
#include <QPointer>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The search: one of six record lists narrowed by up to two conditions on
// captions of the Transforms table; the list's window then comes to the front.
// The dialog keeps its choices from one showing to the next.
class TSearchForm : public QDialog
{
    Q_OBJECT
public:
    explicit TSearchForm(QWidget *parent = nullptr);

    QComboBox *Mode;
    QRadioButton *andButton; // 逻辑与
    QRadioButton *orButton;  // 逻辑或
    QCheckBox *row1, *row2;
    QComboBox *RzComboBox1, *RzComboBox2; // the fields
    QComboBox *RzComboBox3, *RzComboBox4; // the comparisons
    QLineEdit *RzEdit1, *RzEdit2;         // the values
    QPushButton *SearchButton;

    QString tableName() const { return m_table; }
    QString baseStatement() const { return m_base; }
    data::Dataset *target() const { return m_target; }

    void ModeChange();
    void RzComboBox3Change() { comparisonChanged(RzComboBox3, RzEdit1); }
    void RzComboBox4Change() { comparisonChanged(RzComboBox4, RzEdit2); }
    // Checks a date or time typed into the value box of row 1 or 2.
    void TestDateTime(int row);
    // True when the conditions are incomplete.
    bool TestSearchTerm() const;
    // The statement, with the values it binds.
    QString SQLBuild(QList<std::pair<QString, QVariant>> &values) const;
    void SearchButtonClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Module
    {
        QString caption;
        QString table;
        data::Dataset *dataset;
        int window;
    };
    QList<Module> modules() const;
    void comparisonChanged(QComboBox *comparison, QLineEdit *value);
    QString condition(int row, QList<std::pair<QString, QVariant>> &values) const;
    void restoreTarget();

    QString m_table;
    QString m_base;
    QPointer<data::Dataset> m_target;
    int m_window = 0;
};

extern TSearchForm *SearchForm;
