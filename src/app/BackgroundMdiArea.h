#pragma once

#include <QMdiArea>
#include <QPixmap>

// The area of the child windows, with a picture stretched behind them.
class BackgroundMdiArea : public QMdiArea
{
    Q_OBJECT
public:
    explicit BackgroundMdiArea(QWidget *parent = nullptr);
    // Loads the picture; false (and a plain background) when it cannot be read.
    bool loadBackground(const QString &path);
    bool hasBackground() const { return !m_picture.isNull(); }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void updateBackground();
    QPixmap m_picture;
};
