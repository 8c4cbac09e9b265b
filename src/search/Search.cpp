#include "Search.h"

#include "DM.h"
#include "Guard.h"
#include "MainWindowServices.h"
#include "Prompt.h"
#include "SearchCondition.h"
#include "TextFormats.h"
#include "TransformData.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using data::Dataset;

TSearchForm *SearchForm = nullptr;

namespace {

// The decoration at the left of the dialog: a magnifier.
QLabel *picture(QWidget *parent)
{
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x1d, 0x4e, 0x89), 6));
    painter.drawEllipse(QRect(8, 8, 34, 34));
    painter.drawLine(QPoint(38, 38), QPoint(56, 56));
    auto *label = new QLabel(parent);
    label->setPixmap(pixmap);
    return label;
}

} // namespace

TSearchForm::TSearchForm(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint)
{
    SearchForm = this;
    setObjectName(QStringLiteral("SearchForm"));
    setWindowTitle(QStringLiteral("搜索记录"));
    auto *box = new QGroupBox(QStringLiteral("搜索匹配记录"), this);

    Mode = new QComboBox(box);
    Mode->setObjectName(QStringLiteral("Mode"));
    for (const Module &m : modules())
        Mode->addItem(m.caption);
    Mode->setCurrentIndex(-1);

    andButton = new QRadioButton(QStringLiteral("逻辑与"), box);
    orButton = new QRadioButton(QStringLiteral("逻辑或"), box);
    andButton->setChecked(true);
    auto *join = new QButtonGroup(this);
    join->addButton(andButton);
    join->addButton(orButton);

    auto *conditions = new QGroupBox(QStringLiteral("数据查询条件"), box);
    row1 = new QCheckBox(QStringLiteral("1"), conditions);
    row2 = new QCheckBox(QStringLiteral("2"), conditions);
    RzComboBox1 = new QComboBox(conditions);
    RzComboBox2 = new QComboBox(conditions);
    RzComboBox3 = new QComboBox(conditions);
    RzComboBox4 = new QComboBox(conditions);
    for (QComboBox *comparison : {RzComboBox3, RzComboBox4}) {
        comparison->addItems(SearchCondition::captions());
        comparison->setCurrentIndex(0);
    }
    RzEdit1 = new QLineEdit(conditions);
    RzEdit2 = new QLineEdit(conditions);
    RzEdit1->setProperty("tag", 1);
    RzEdit2->setProperty("tag", 2);
    RzEdit1->installEventFilter(this);
    RzEdit2->installEventFilter(this);
    auto *rows = new QGridLayout(conditions);
    rows->addWidget(row1, 0, 0);
    rows->addWidget(RzComboBox1, 0, 1);
    rows->addWidget(RzComboBox3, 0, 2);
    rows->addWidget(RzEdit1, 0, 3);
    rows->addWidget(row2, 1, 0);
    rows->addWidget(RzComboBox2, 1, 1);
    rows->addWidget(RzComboBox4, 1, 2);
    rows->addWidget(RzEdit2, 1, 3);

    auto *modeRow = new QHBoxLayout;
    modeRow->addWidget(new QLabel(QStringLiteral("选择查询模块："), box));
    modeRow->addWidget(Mode, 1);
    auto *joinRow = new QHBoxLayout;
    joinRow->addWidget(new QLabel(QStringLiteral("数据查询方式："), box));
    joinRow->addWidget(andButton);
    joinRow->addWidget(orButton);
    joinRow->addStretch();
    auto *right = new QVBoxLayout;
    right->addLayout(modeRow);
    right->addLayout(joinRow);
    right->addWidget(conditions);
    auto *boxLayout = new QHBoxLayout(box);
    boxLayout->addWidget(picture(box), 0, Qt::AlignTop);
    boxLayout->addLayout(right);

    SearchButton = new QPushButton(QStringLiteral("搜索记录"), this);
    SearchButton->setObjectName(QStringLiteral("SearchButton"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(SearchButton);
    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(box);
    layout->addLayout(buttons);

    connect(Mode, &QComboBox::currentIndexChanged, this, [this] { guarded([this] { ModeChange(); }); });
    connect(RzComboBox3, &QComboBox::currentIndexChanged, this, [this] { RzComboBox3Change(); });
    connect(RzComboBox4, &QComboBox::currentIndexChanged, this, [this] { RzComboBox4Change(); });
    connect(SearchButton, &QPushButton::clicked, this, [this] { guarded([this] { SearchButtonClick(); }); });
}

QList<TSearchForm::Module> TSearchForm::modules() const
{
    return {{QStringLiteral("全部客户列表"), QStringLiteral("ClientData"), DM1->ADODataSet1, 51},
            {QStringLiteral("客户拜访记录"), QStringLiteral("ClientVisit"), DM1->ADODataSet10, 52},
            {QStringLiteral("客户预约记录"), QStringLiteral("ClientBespeak"), DM1->ADODataSet9, 53},
            {QStringLiteral("联系人列表"), QStringLiteral("LinkMan"), DM1->LinkManList, 62},
            {QStringLiteral("产品销售列表"), QStringLiteral("ProductSell"), DM1->SellList, 63},
            {QStringLiteral("产品信息列表"), QStringLiteral("ProductInfo"), DM1->ADODataSet5, 54}};
}

void TSearchForm::ModeChange()
{
    const int index = Mode->currentIndex();
    if (index < 0)
        return;
    const Module module = modules().at(index);
    m_target = module.dataset;
    m_table = module.table;
    m_base = QStringLiteral("Select * from ") + data::Dialect::quote(module.table);
    m_window = module.window;
    RzComboBox1->clear();
    RzComboBox2->clear();
    try {
        Dataset *transforms = DM1->TransformTable;
        transforms->setFiltered(false);
        transforms->setFilter({{QStringLiteral("Tables"), module.table}});
        transforms->setFiltered(true);
        for (transforms->first(); !transforms->eof(); transforms->next()) {
            const QString caption = transforms->fieldByName(QStringLiteral("TransformFields")).asString();
            RzComboBox1->addItem(caption);
            RzComboBox2->addItem(caption);
        }
    } catch (const std::exception &) {
        // Without captions the lists stay empty.
    }
    RzComboBox1->setCurrentIndex(RzComboBox1->count() > 0 ? 0 : -1);
    RzComboBox2->setCurrentIndex(RzComboBox2->count() > 0 ? 0 : -1);
}

void TSearchForm::comparisonChanged(QComboBox *comparison, QLineEdit *value)
{
    const int index = comparison->currentIndex();
    if (index == SearchCondition::Empty || index == SearchCondition::NotEmpty) {
        // A row compared with "empty" needs no value, yet counts as filled.
        value->setEnabled(false);
        value->setText(QStringLiteral(" "));
    } else {
        value->setEnabled(true);
    }
}

bool TSearchForm::TestSearchTerm() const
{
    if (!row1->isChecked() && !row2->isChecked())
        return true;
    return (row1->isChecked() && RzEdit1->text().isEmpty()) || (row2->isChecked() && RzEdit2->text().isEmpty());
}

void TSearchForm::TestDateTime(int row)
{
    QComboBox *field = row == 1 ? RzComboBox1 : RzComboBox2;
    QLineEdit *box = row == 1 ? RzEdit1 : RzEdit2;
    const QString caption = field->currentText();
    const QString text = box->text();
    if (text.isEmpty() || !box->isEnabled())
        return;
    // The caption tells, and so does the column's own type.
    const data::Table *table = data::Schema::table(m_table);
    const data::Column *column = table ? table->column(TransformData(m_table, caption)) : nullptr;
    const bool isDate = caption.contains(QStringLiteral("日期")) || (column && column->type == data::ColumnType::Date);
    const bool isTime = caption.contains(QStringLiteral("时间")) || (column && column->type == data::ColumnType::Time);
    if (isDate && !data::parseUserDate(text).isValid()) {
        showMessage(QStringLiteral("错误"), QStringLiteral("您输入的日期格式不正确，请按照“2008-01-01”的格式重新输入!"),
                    MessageIcon::Warning);
        box->setFocus();
        return;
    }
    if (isTime && !data::parseUserTime(text).isValid()) {
        showMessage(QStringLiteral("错误"), QStringLiteral("您输入的时间格式不正确，请按照“12:00”的格式重新输入!"),
                    MessageIcon::Warning);
        box->setFocus();
    }
}

QString TSearchForm::condition(int row, QList<std::pair<QString, QVariant>> &values) const
{
    SearchCondition c;
    c.table = m_table;
    c.column = TransformData(m_table, (row == 1 ? RzComboBox1 : RzComboBox2)->currentText());
    c.comparison = (row == 1 ? RzComboBox3 : RzComboBox4)->currentIndex();
    c.value = (row == 1 ? RzEdit1 : RzEdit2)->text();
    return c.toSql(QStringLiteral("V%1").arg(row), values);
}

QString TSearchForm::SQLBuild(QList<std::pair<QString, QVariant>> &values) const
{
    const bool first = row1->isChecked();
    const bool second = row2->isChecked();
    if (first && second)
        return m_base + QStringLiteral(" where (") + condition(1, values)
             + (andButton->isChecked() ? QStringLiteral(") and (") : QStringLiteral(") or (")) + condition(2, values)
             + QLatin1Char(')');
    if (first)
        return m_base + QStringLiteral(" where ") + condition(1, values);
    return m_base + QStringLiteral(" where ") + condition(2, values);
}

void TSearchForm::restoreTarget()
{
    try {
        m_target->close();
        m_target->setCommandText(m_base);
        m_target->open();
    } catch (const std::exception &) {
        // The list stays closed; refreshing it later reports the database's trouble.
    }
}

void TSearchForm::SearchButtonClick()
{
    if (TestSearchTerm()) {
        showMessage(QStringLiteral("错误"), QStringLiteral("您输入的搜索条件不完全，请重新输入。"), MessageIcon::Warning);
        return;
    }
    const auto failed = [] {
        showMessage(QStringLiteral("错误"), QStringLiteral("数据查询出现意外错误，请点击确定返回!"), MessageIcon::Error);
    };
    if (!m_target) {
        failed();
        return;
    }
    try {
        QList<std::pair<QString, QVariant>> values;
        const QString sql = SQLBuild(values);
        m_target->close();
        m_target->setCommandText(sql);
        for (const auto &[name, value] : values)
            m_target->setParameter(name, value);
        m_target->open();
        if (m_target->isEmpty()) {
            showMessage(QStringLiteral("提示"), QStringLiteral("没有找到任何记录，请点击确定后重新设置查询条件!"),
                        MessageIcon::Warning);
            restoreTarget();
            return;
        }
    } catch (const std::exception &) {
        failed();
        restoreTarget();
        return;
    }
    if (MainWindowServices *main = MainWindowServices::instance())
        main->ShowWindows(m_window);
    accept();
}

bool TSearchForm::eventFilter(QObject *watched, QEvent *event)
{
    // A box or a popup taking the focus is no leaving of the value box.
    if (event->type() == QEvent::FocusOut && (watched == RzEdit1 || watched == RzEdit2)
        && static_cast<QFocusEvent *>(event)->reason() != Qt::ActiveWindowFocusReason
        && static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason) {
        const int row = watched->property("tag").toInt();
        // After the focus has gone, so that the box can take it back.
        QMetaObject::invokeMethod(this, [this, row] { guarded([this, row] { TestDateTime(row); }); },
                                  Qt::QueuedConnection);
    }
    return QDialog::eventFilter(watched, event);
}
