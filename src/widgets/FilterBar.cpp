#include "FilterBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

FilterBar::FilterBar(QWidget *parent)
    : QFrame(parent)
    , m_text(new QLabel(this))
    , m_remove(new QPushButton(QStringLiteral("取消过滤"), this))
{
    setObjectName(QStringLiteral("filterBar"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::ToolTipBase);
    m_text->setForegroundRole(QPalette::ToolTipText);
    m_text->setTextFormat(Qt::PlainText);
    m_remove->setObjectName(QStringLiteral("removeFilter"));
    m_remove->setAutoDefault(false);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->addWidget(m_text, 1);
    layout->addWidget(m_remove);
    connect(m_remove, &QPushButton::clicked, this, &FilterBar::removeRequested);
}

void FilterBar::setDescription(const QString &description)
{
    m_text->setText(QStringLiteral("过滤条件：") + description);
    m_text->setToolTip(m_text->text());
}

QString FilterBar::text() const
{
    return m_text->text();
}
