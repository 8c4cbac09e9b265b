#include "NavigationBar.h"

#include <QAction>
#include <QPushButton>
#include <QVBoxLayout>

NavigationGroup::NavigationGroup(const QString &caption, bool open, bool highlighted, QWidget *parent)
    : QWidget(parent)
    , m_header(new QPushButton(this))
    , m_body(new QWidget(this))
    , m_bodyLayout(new QVBoxLayout(m_body))
{
    setObjectName(caption);
    m_caption = caption;
    m_header->setFlat(true);
    m_header->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_header->setStyleSheet(highlighted ? QStringLiteral("QPushButton { font-weight: bold; color: white; text-align: left; "
                                                         "background: #2f6fb3; border: none; padding: 5px; }")
                                        : QStringLiteral("QPushButton { font-weight: bold; color: #1d3557; text-align: left; "
                                                         "background: #c9daf0; border: none; padding: 5px; }"));
    m_body->setStyleSheet(QStringLiteral("background: #eef3fa;"));
    m_bodyLayout->setContentsMargins(8, 4, 4, 6);
    m_bodyLayout->setSpacing(2);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 2);
    layout->setSpacing(0);
    layout->addWidget(m_header);
    layout->addWidget(m_body);
    connect(m_header, &QPushButton::clicked, this, [this] { setOpen(!m_open); });
    setOpen(open);
}

QString NavigationGroup::caption() const
{
    return m_caption;
}

void NavigationGroup::setOpen(bool open)
{
    m_open = open;
    m_body->setVisible(open);
    m_header->setText((open ? QStringLiteral("▾ ") : QStringLiteral("▸ ")) + m_caption);
}

QPushButton *NavigationGroup::newButton()
{
    auto *button = new QPushButton(m_body);
    button->setFlat(true);
    button->setCursor(Qt::PointingHandCursor);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    button->setIconSize(QSize(16, 16));
    button->setStyleSheet(QStringLiteral("QPushButton { text-align: left; border: none; padding: 3px; }"
                                         "QPushButton:hover { color: #1d4e89; text-decoration: underline; }"));
    m_bodyLayout->addWidget(button);
    return button;
}

void NavigationGroup::addCommand(QAction *command)
{
    QPushButton *button = newButton();
    // The button follows its command, as a menu item does: a hidden command disappears.
    const auto follow = [button, command] {
        button->setText(command->text());
        button->setIcon(command->icon());
        button->setToolTip(command->toolTip());
        button->setStatusTip(command->statusTip());
        button->setEnabled(command->isEnabled());
        button->setVisible(command->isVisible());
    };
    connect(command, &QAction::changed, button, follow);
    connect(button, &QPushButton::clicked, command, &QAction::trigger);
    follow();
}

QPushButton *NavigationGroup::addEntry(const QString &caption, int tag)
{
    QPushButton *button = newButton();
    button->setText(caption);
    button->setProperty("tag", tag);
    if (tag != 0)
        connect(button, &QPushButton::clicked, this, [this, button] { emit entryClicked(button); });
    else
        button->setStyleSheet(button->styleSheet() + QStringLiteral("QPushButton { font-weight: bold; }"));
    m_entries.append(button);
    return button;
}

void NavigationGroup::clearEntries()
{
    qDeleteAll(m_entries);
    m_entries.clear();
}

NavigationBar::NavigationBar(QWidget *parent)
    : QScrollArea(parent)
{
    setObjectName(QStringLiteral("NavigationBar"));
    auto *content = new QWidget(this);
    m_layout = new QVBoxLayout(content);
    m_layout->setContentsMargins(2, 2, 2, 2);
    m_layout->setSpacing(2);
    m_layout->addStretch();
    setWidget(content);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

NavigationGroup *NavigationBar::addGroup(const QString &caption, bool open, bool highlighted)
{
    auto *group = new NavigationGroup(caption, open, highlighted, widget());
    m_layout->insertWidget(m_layout->count() - 1, group);
    m_groups.append(group);
    return group;
}

NavigationGroup *NavigationBar::group(const QString &caption) const
{
    for (NavigationGroup *g : m_groups) {
        if (g->caption() == caption)
            return g;
    }
    return nullptr;
}
