#include "Welcome.h"

#include "Prompt.h"

#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

TWelcomeForm::TWelcomeForm(QWidget *parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
    , m_version(new QLabel(versionText(), this))
    , m_notice(new QLabel(legalNotice(), this))
{
    setObjectName(QStringLiteral("WelcomeForm"));
    setWindowTitle(applicationTitle());
    setFixedSize(461, 278);
    for (QLabel *label : {m_version, m_notice}) {
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setStyleSheet(QStringLiteral("color: #f4f6fb; background: transparent;"));
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->addStretch();
    layout->addWidget(m_version);
    layout->addWidget(m_notice);
}

QString TWelcomeForm::versionText()
{
    return QStringLiteral("版本号：") + QStringLiteral(LUMORA_VERSION);
}

QString TWelcomeForm::legalNotice()
{
    return QStringLiteral("版权所有 © 2026 Lumora 开发组，本软件免费使用。");
}

void TWelcomeForm::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, width(), height());
    sky.setColorAt(0.0, QColor(0x1d, 0x4e, 0x89));
    sky.setColorAt(1.0, QColor(0x0b, 0x24, 0x47));
    painter.fillRect(rect(), sky);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 28));
    painter.drawEllipse(QPoint(width() - 60, 40), 150, 150);
    painter.drawEllipse(QPoint(40, height()), 110, 110);

    QFont title(QStringLiteral("华文新魏"));
    title.setPointSize(19);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(Qt::white);
    painter.drawText(QRect(24, 50, width() - 48, 60), Qt::AlignLeft | Qt::AlignVCenter, applicationTitle());
    QFont subtitle(QStringLiteral("宋体"));
    subtitle.setPointSize(11);
    painter.setFont(subtitle);
    painter.setPen(QColor(0xd6, 0xe4, 0xf5));
    painter.drawText(QRect(26, 110, width() - 48, 30), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("客户、联系人、拜访、预约、产品与销售，一处管理"));
}

void TWelcomeForm::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && m_clickCloses)
        accept();
}
