#include "FilterDialog.h"

#include "Error.h"
#include "Guard.h"
#include "Prompt.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

FilterDialog::FilterDialog(const QList<Field> &fields, const GridFilter &current, QWidget *parent)
    : QDialog(parent)
    , m_fields(fields)
    , m_rowsLayout(new QVBoxLayout)
    , m_all(new QRadioButton(GridFilter::joinText(GridFilter::All), this))
    , m_any(new QRadioButton(GridFilter::joinText(GridFilter::Any), this))
{
    setObjectName(QStringLiteral("FilterDialog"));
    setWindowTitle(QStringLiteral("过滤显示"));
    m_all->setObjectName(QStringLiteral("joinAll"));
    m_any->setObjectName(QStringLiteral("joinAny"));
    (current.join() == GridFilter::All ? m_all : m_any)->setChecked(true);

    auto *joinRow = new QHBoxLayout;
    joinRow->addWidget(new QLabel(QStringLiteral("条件之间："), this));
    joinRow->addWidget(m_all);
    joinRow->addWidget(m_any);
    joinRow->addStretch();

    auto *add = new QPushButton(QStringLiteral("增加条件"), this);
    add->setObjectName(QStringLiteral("addCondition"));
    add->setAutoDefault(false);
    connect(add, &QPushButton::clicked, this, [this] { guarded([this] { addCondition(); }); });

    auto *ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    cancel->setAutoDefault(false);
    auto *clear = new QPushButton(QStringLiteral("清除"), this);
    clear->setObjectName(QStringLiteral("clear"));
    clear->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, [this] { guarded([this] { confirm(); }); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(clear, &QPushButton::clicked, this, [this] { guarded([this] { clearAll(); }); });

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(clear);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(joinRow);
    layout->addLayout(m_rowsLayout);
    layout->addStretch();
    layout->addLayout(buttons);

    for (const GridFilter::Condition &condition : current.conditions())
        addCondition(condition);
    if (m_rows.isEmpty())
        addCondition();
    resize(560, sizeHint().height());
}

void FilterDialog::addCondition(const GridFilter::Condition &condition)
{
    auto *row = new QWidget(this);
    row->setObjectName(QStringLiteral("condition"));
    auto *field = new QComboBox(row);
    field->setObjectName(QStringLiteral("field"));
    for (const Field &f : std::as_const(m_fields))
        field->addItem(f.caption, f.field);
    const int fieldAt = field->findData(condition.field);
    field->setCurrentIndex(fieldAt >= 0 ? fieldAt : 0);

    auto *op = new QComboBox(row);
    op->setObjectName(QStringLiteral("operator"));
    for (GridFilter::Operator o : GridFilter::operators())
        op->addItem(GridFilter::operatorText(o), int(o));
    op->setCurrentIndex(op->findData(int(condition.op)));

    auto *value = new QLineEdit(condition.value, row);
    value->setObjectName(QStringLiteral("value"));
    value->setPlaceholderText(QStringLiteral("比较值"));
    value->setEnabled(GridFilter::needsValue(condition.op));
    connect(op, &QComboBox::currentIndexChanged, value, [op, value] {
        value->setEnabled(GridFilter::needsValue(GridFilter::Operator(op->currentData().toInt())));
    });

    auto *remove = new QPushButton(QStringLiteral("删除"), row);
    remove->setObjectName(QStringLiteral("removeCondition"));
    remove->setAutoDefault(false);
    connect(remove, &QPushButton::clicked, this, [this, row] { removeCondition(row); });

    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(field, 2);
    layout->addWidget(op, 1);
    layout->addWidget(value, 3);
    layout->addWidget(remove);
    m_rowsLayout->addWidget(row);
    m_rows.append({row, field, op, value});
}

void FilterDialog::removeCondition(QWidget *row)
{
    for (int i = 0; i < m_rows.size(); ++i) {
        if (m_rows.at(i).widget == row) {
            m_rows.removeAt(i);
            break;
        }
    }
    // Out of the dialog now, deleted later: the click that asked for it is
    // still being delivered to the row's own button.
    row->hide();
    row->setParent(nullptr);
    row->deleteLater();
}

GridFilter FilterDialog::filter() const
{
    GridFilter result;
    result.setJoin(m_any->isChecked() ? GridFilter::Any : GridFilter::All);
    for (const Row &row : m_rows) {
        GridFilter::Condition condition;
        condition.field = row.field->currentData().toString();
        condition.caption = row.field->currentText();
        condition.op = GridFilter::Operator(row.op->currentData().toInt());
        if (GridFilter::needsValue(condition.op))
            condition.value = row.value->text();
        result.addCondition(condition);
    }
    return result;
}

void FilterDialog::confirm()
{
    const GridFilter built = filter();
    for (const GridFilter::Condition &condition : built.conditions()) {
        if (GridFilter::needsValue(condition.op) && condition.value.trimmed().isEmpty()) {
            showMessage(windowTitle(),
                        QStringLiteral("请输入“%1”的比较值。").arg(condition.caption),
                        MessageIcon::Warning);
            return;
        }
    }
    try {
        if (m_check)
            m_check(built);
    } catch (const data::Error &error) {
        showMessage(windowTitle(), error.message(), MessageIcon::Warning);
        return;
    }
    accept();
}

void FilterDialog::clearAll()
{
    while (!m_rows.isEmpty())
        removeCondition(m_rows.constLast().widget);
    accept();
}
