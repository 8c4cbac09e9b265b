#include "Option.h"

#include "Guard.h"
#include "IniFile.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <limits>

namespace {

// A titled group of radio buttons at positions 0, 1, ... top to bottom.
QGroupBox *choiceGroup(const QString &title, const QStringList &items, QButtonGroup *group, QWidget *parent)
{
    auto *box = new QGroupBox(title, parent);
    auto *layout = new QVBoxLayout(box);
    for (int i = 0; i < items.size(); ++i) {
        auto *button = new QRadioButton(items.at(i), box);
        group->addButton(button, i);
        layout->addWidget(button);
    }
    return box;
}

QLabel *note(const QString &first, const QString &second, QWidget *parent)
{
    auto *label = new QLabel(first + QLatin1Char('\n') + second, parent);
    label->setStyleSheet(QStringLiteral("color: navy;"));
    return label;
}

void select(QButtonGroup *group, int position)
{
    if (QAbstractButton *button = group->button(position)) {
        button->setChecked(true);
        return;
    }
    // A stored value outside the choices selects nothing.
    group->setExclusive(false);
    for (QAbstractButton *button : group->buttons())
        button->setChecked(false);
    group->setExclusive(true);
}

} // namespace

TOptionForm::TOptionForm(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , Mode(new QComboBox(this))
    , m_ini(std::make_unique<IniFile>(ProgramFolder::filePath(QStringLiteral("CRM.ini"))))
    , m_pages(new QTabWidget(this))
    , m_compression(new QButtonGroup(this))
    , m_weekStart(new QButtonGroup(this))
    , m_days(new QSpinBox(this))
    , m_reminder(new QButtonGroup(this))
{
    setObjectName(QStringLiteral("OptionForm"));
    setWindowTitle(QStringLiteral("系统设置"));
    m_pages->addTab(backupPage(), QStringLiteral("数据备份"));
    m_pages->addTab(datePage(), QStringLiteral("日期"));
    m_pages->addTab(termPage(), QStringLiteral("近期安排"));
    m_pages->addTab(reminderPage(), QStringLiteral("预约提醒"));

    auto *save = new QPushButton(QStringLiteral("保存"), this);
    auto *quit = new QPushButton(QStringLiteral("退出"), this);
    save->setObjectName(QStringLiteral("saveButton"));
    quit->setObjectName(QStringLiteral("quitButton"));
    save->setDefault(true);
    connect(save, &QPushButton::clicked, this, [this] {
        guarded([this] {
            SaveSet();
            accept();
        });
    });
    // Esc rejects the dialog as well: the same as "退出".
    connect(quit, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(quit);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    LoadSet();
}

TOptionForm::~TOptionForm() = default;

QWidget *TOptionForm::backupPage()
{
    auto *page = new QWidget(this);
    auto *group = choiceGroup(QStringLiteral("压缩备份设置"),
                              {QStringLiteral("不使用压缩(速度最快，但备份文件可能比较大)"),
                               QStringLiteral("压缩备份的数据库(可能会影响速度，但备份文件较小)")},
                              m_compression, page);
    Mode->setObjectName(QStringLiteral("Mode"));
    Mode->addItems({QStringLiteral("存储"), QStringLiteral("最快"), QStringLiteral("较快"),
                    QStringLiteral("标准"), QStringLiteral("较好"), QStringLiteral("最好")});
    auto *level = new QHBoxLayout;
    level->addWidget(new QLabel(QStringLiteral("数据压缩方式："), group));
    level->addWidget(Mode);
    level->addStretch();
    static_cast<QVBoxLayout *>(group->layout())->addLayout(level);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(group);
    layout->addStretch();
    return page;
}

QWidget *TOptionForm::datePage()
{
    auto *page = new QWidget(this);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(choiceGroup(QStringLiteral("每星期第一天"),
                                  {QStringLiteral("星期天(Windows默认)"), QStringLiteral("星期一")},
                                  m_weekStart, page));
    layout->addWidget(note(QStringLiteral("说明：更改此项设置，可以改变“本周安排”中日期"),
                           QStringLiteral("的设置。"), page));
    layout->addStretch();
    return page;
}

QWidget *TOptionForm::termPage()
{
    auto *page = new QWidget(this);
    auto *group = new QGroupBox(QStringLiteral("近期安排最长期限"), page);
    m_days->setObjectName(QStringLiteral("days"));
    // The number of days is neither limited nor checked.
    m_days->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    m_days->setAttribute(Qt::WA_InputMethodEnabled, false);
    auto *row = new QHBoxLayout(group);
    row->addWidget(new QLabel(QStringLiteral("设置天数："), group));
    row->addWidget(m_days);
    row->addStretch();
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(group);
    layout->addWidget(note(QStringLiteral("说明：更改此项设置，可以改变“近期安排”中日期"),
                           QStringLiteral("的设置。建议重新启动程序使其完全生效。"), page));
    layout->addStretch();
    return page;
}

QWidget *TOptionForm::reminderPage()
{
    auto *page = new QWidget(this);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(choiceGroup(QStringLiteral("预约到时提醒"),
                                  {QStringLiteral("显示提示信息(推荐)"), QStringLiteral("不显示提示信息")},
                                  m_reminder, page));
    layout->addWidget(note(QStringLiteral("说明：使用信息提醒功能时，系统会自动监视今天日"),
                           QStringLiteral("程安排，并在预定时间到达时给予提醒。"), page));
    layout->addStretch();
    return page;
}

void TOptionForm::LoadSet()
{
    select(m_compression, m_ini->readInteger(QStringLiteral("BackUpSet"), QStringLiteral("BackUp"), 1));
    Mode->setCurrentIndex(m_ini->readInteger(QStringLiteral("BackUpSet"), QStringLiteral("Set"), 3));
    select(m_weekStart, m_ini->readInteger(QStringLiteral("SetWeek"), QStringLiteral("Set"), 0));
    m_days->setValue(m_ini->readInteger(QStringLiteral("TermSet"), QStringLiteral("Set"), 7));
    select(m_reminder, m_ini->readInteger(QStringLiteral("Information"), QStringLiteral("Set"), 0));
}

void TOptionForm::SaveSet()
{
    m_ini->writeInteger(QStringLiteral("BackUpSet"), QStringLiteral("BackUp"), backupCompression());
    m_ini->writeInteger(QStringLiteral("BackUpSet"), QStringLiteral("Set"), compressionLevel());
    m_ini->writeInteger(QStringLiteral("SetWeek"), QStringLiteral("Set"), firstDayOfWeek());
    m_ini->writeInteger(QStringLiteral("TermSet"), QStringLiteral("Set"), comingDays());
    m_ini->writeInteger(QStringLiteral("Information"), QStringLiteral("Set"), reminderChoice());
}

int TOptionForm::backupCompression() const
{
    return m_compression->checkedId();
}

int TOptionForm::compressionLevel() const
{
    return Mode->currentIndex();
}

int TOptionForm::firstDayOfWeek() const
{
    return m_weekStart->checkedId();
}

int TOptionForm::comingDays() const
{
    return m_days->value();
}

int TOptionForm::reminderChoice() const
{
    return m_reminder->checkedId();
}

void TOptionForm::showEvent(QShowEvent *event)
{
    LoadSet();
    QDialog::showEvent(event);
}

void TOptionForm::done(int result)
{
    QDialog::done(result);
    // Unsaved choices are dropped on every close.
    LoadSet();
}
