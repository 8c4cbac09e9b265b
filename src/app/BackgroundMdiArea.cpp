#include "BackgroundMdiArea.h"

#include <QResizeEvent>

BackgroundMdiArea::BackgroundMdiArea(QWidget *parent)
    : QMdiArea(parent)
{
    setObjectName(QStringLiteral("mdiArea"));
}

bool BackgroundMdiArea::loadBackground(const QString &path)
{
    m_picture = QPixmap(path);
    updateBackground();
    return !m_picture.isNull();
}

void BackgroundMdiArea::resizeEvent(QResizeEvent *event)
{
    QMdiArea::resizeEvent(event);
    updateBackground();
}

void BackgroundMdiArea::updateBackground()
{
    if (m_picture.isNull() || viewport()->size().isEmpty()) {
        setBackground(palette().brush(QPalette::Dark));
        return;
    }
    setBackground(m_picture.scaled(viewport()->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}
