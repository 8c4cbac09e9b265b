#pragma once

#include <QDialog>

class QLabel;

// The splash window at start-up, and the about box later: a picture with the
// version and the legal notice at its lower right.
class TWelcomeForm : public QDialog
{
    Q_OBJECT
public:
    explicit TWelcomeForm(QWidget *parent = nullptr);

    static QString versionText();
    static QString legalNotice();

    // Whether a click on the picture closes the window: only once the main
    // window shows, so that the splash cannot be clicked away during start-up.
    void setClickCloses(bool closes) { m_clickCloses = closes; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QLabel *m_version;
    QLabel *m_notice;
    bool m_clickCloses = false;
};
