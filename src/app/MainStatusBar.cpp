#include "MainStatusBar.h"

#include "Clock.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLocale>

#include <X11/XKBlib.h>

namespace {

QLabel *pane(QWidget *parent, int width, Qt::Alignment alignment)
{
    auto *label = new QLabel(parent);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    // At least the pane's width, more when the font needs it.
    if (width > 0)
        label->setMinimumWidth(width);
    label->setAlignment(alignment | Qt::AlignVCenter);
    return label;
}

// The lock keys' lamps, where the windowing system tells them (X11).
bool lockState(unsigned int *state)
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->display())
        return false;
    return XkbGetIndicatorState(x11->display(), XkbUseCoreKbd, state) == Success;
}

} // namespace

MainStatusBar::MainStatusBar(QWidget *parent)
    : QStatusBar(parent)
    , RzStatusPane2(pane(this, 135, Qt::AlignHCenter))
    , m_hint(pane(this, 280, Qt::AlignLeft))
    , m_clock(pane(this, 192, Qt::AlignHCenter))
    , m_numLock(pane(this, 50, Qt::AlignHCenter))
    , m_capsLock(pane(this, 50, Qt::AlignHCenter))
{
    setSizeGripEnabled(true);
    RzStatusPane2->setObjectName(QStringLiteral("RzStatusPane2"));
    m_hint->setObjectName(QStringLiteral("hintPane"));
    m_clock->setObjectName(QStringLiteral("clockPane"));
    m_numLock->setText(QStringLiteral("NUM"));
    m_capsLock->setText(QStringLiteral("CAPS"));
    addWidget(m_hint);
    addWidget(m_clock);
    addWidget(RzStatusPane2);
    addWidget(m_numLock);
    addWidget(m_capsLock);
    tick();
}

void MainStatusBar::showHint(const QString &hint)
{
    m_hint->setText(hint);
}

QString MainStatusBar::clockText(const QDateTime &time)
{
    return QLocale(QLocale::Chinese, QLocale::China).toString(time, QStringLiteral("yyyy年MM月dd日 dddd HH:mm:ss"));
}

void MainStatusBar::tick()
{
    m_clock->setText(clockText(currentDateTime()));
    unsigned int state = 0;
    const bool known = lockState(&state);
    m_capsLock->setEnabled(known && (state & 0x1));
    m_numLock->setEnabled(known && (state & 0x2));
}
