#pragma once

#include <QStatusBar>

class QLabel;

// The main window's status bar: the hint of the control under the mouse, the
// clock, the logged-in user, and the Num Lock and Caps Lock indicators.
class MainStatusBar : public QStatusBar
{
    Q_OBJECT
public:
    explicit MainStatusBar(QWidget *parent = nullptr);

    QLabel *hintPane() const { return m_hint; }
    QLabel *clockPane() const { return m_clock; }
    QLabel *RzStatusPane2; // the user pane

    void showHint(const QString &hint);
    // Shows the clock's time and the lock keys' state; the main window calls it every second.
    void tick();
    static QString clockText(const QDateTime &time);

private:
    QLabel *m_hint;
    QLabel *m_clock;
    QLabel *m_numLock;
    QLabel *m_capsLock;
};
