#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

// The login: a user picked from 用户 and a password, three tries. A success
// fills LoginSession, writes a Log row and shows the user in the status bar.
class TLoadForm : public QDialog
{
    Q_OBJECT
public:
    explicit TLoadForm(QWidget *parent = nullptr);

    QComboBox *cbbUserName;
    QLineEdit *edtUserPass;
    QPushButton *btnYES;
    QPushButton *btnNO;

    int tries() const { return m_tries; }

    void FormShow();
    void btnYESClick();
    void btnNOClick();

    // Copies the six rights of ADODataSet11's current row into LoginSession.
    void SetUserPower();
    // Writes this login's Log row and remembers its number.
    void UserLanding();
    // Writes the log-off time of the current login (a whole new row when its
    // row was deleted meanwhile).
    void UserExitDate();

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    bool passwordMatches(const QString &userName);
    void rewriteClearPassword(const QString &userName, const QString &typed);

    int m_tries = 1;
};

// The one login dialog, while it exists.
extern TLoadForm *LoadForm;
