#include "SizeBarSplitter.h"

#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

class SizeBarHandle : public QSplitterHandle
{
public:
    SizeBarHandle(SizeBarSplitter *splitter)
        : QSplitterHandle(Qt::Horizontal, splitter)
    {
        auto *hotSpot = new QToolButton(this);
        hotSpot->setObjectName(QStringLiteral("sizeBarHotSpot"));
        hotSpot->setFixedSize(7, 40);
        hotSpot->setAutoRaise(true);
        hotSpot->setCursor(Qt::PointingHandCursor);
        hotSpot->setStyleSheet(QStringLiteral("QToolButton { background: #7c97bd; border: none; }"));
        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addStretch();
        layout->addWidget(hotSpot);
        layout->addStretch();
        connect(hotSpot, &QToolButton::clicked, splitter, &SizeBarSplitter::toggle);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter(this).fillRect(rect(), QColor(0xc9, 0xda, 0xf0));
    }
};

} // namespace

SizeBarSplitter::SizeBarSplitter(QWidget *parent)
    : QSplitter(Qt::Horizontal, parent)
{
    setHandleWidth(7);
    setChildrenCollapsible(true);
}

QSplitterHandle *SizeBarSplitter::createHandle()
{
    return new SizeBarHandle(this);
}

int SizeBarSplitter::panelWidth() const
{
    return sizes().value(0);
}

bool SizeBarSplitter::isCollapsed() const
{
    return panelWidth() == 0;
}

void SizeBarSplitter::setCollapsed(bool collapsed)
{
    if (count() < 2 || collapsed == isCollapsed())
        return;
    QList<int> widths = sizes();
    const int total = widths.at(0) + widths.at(1);
    if (collapsed) {
        m_restoreWidth = widths.at(0);
        widths = {0, total};
    } else {
        widths = {m_restoreWidth, std::max(0, total - m_restoreWidth)};
    }
    setSizes(widths);
}
