#include "Load.h"

#include "Clock.h"
#include "DM.h"
#include "Guard.h"
#include "LoginSession.h"
#include "MainWindowServices.h"
#include "PasswordHash.h"
#include "Prompt.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

using data::Dataset;

TLoadForm *LoadForm = nullptr;

TLoadForm::TLoadForm(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , cbbUserName(new QComboBox(this))
    , edtUserPass(new QLineEdit(this))
    , btnYES(new QPushButton(QStringLiteral("确定"), this))
    , btnNO(new QPushButton(QStringLiteral("取消"), this))
{
    LoadForm = this;
    setObjectName(QStringLiteral("LoadForm"));
    setWindowTitle(QStringLiteral("登陆"));
    cbbUserName->setObjectName(QStringLiteral("cbbUserName"));
    cbbUserName->setEditable(false);
    edtUserPass->setObjectName(QStringLiteral("edtUserPass"));
    // Typed passwords are masked.
    edtUserPass->setEchoMode(QLineEdit::Password);
    btnYES->setObjectName(QStringLiteral("btnYES"));
    btnNO->setObjectName(QStringLiteral("btnNO"));
    btnYES->setDefault(true);
    btnYES->setAutoDefault(true);
    btnNO->setAutoDefault(false);

    auto *title = new QLabel(QStringLiteral("用户登陆"), this);
    QFont titleFont(QStringLiteral("华文新魏"));
    titleFont.setPointSize(16);
    title->setFont(titleFont);
    title->setStyleSheet(QStringLiteral("color: white; background: transparent;"));

    auto *form = new QFormLayout;
    auto *nameLabel = new QLabel(QStringLiteral("用户名："), this);
    auto *passLabel = new QLabel(QStringLiteral("密  码："), this);
    for (QLabel *label : {nameLabel, passLabel})
        label->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    form->addRow(nameLabel, cbbUserName);
    form->addRow(passLabel, edtUserPass);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnYES);
    buttons->addWidget(btnNO);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(28, 20, 28, 18);
    layout->addWidget(title);
    layout->addSpacing(12);
    layout->addLayout(form);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    setFixedSize(360, 210);

    connect(btnYES, &QPushButton::clicked, this, [this] { guarded([this] { btnYESClick(); }); });
    connect(btnNO, &QPushButton::clicked, this, [this] { guarded([this] { btnNOClick(); }); });
}

void TLoadForm::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QLinearGradient background(0, 0, 0, height());
    background.setColorAt(0, QColor(0x2a, 0x5d, 0x9f));
    background.setColorAt(1, QColor(0x12, 0x32, 0x5e));
    painter.fillRect(rect(), background);
}

void TLoadForm::showEvent(QShowEvent *event)
{
    guarded([this] { FormShow(); });
    QDialog::showEvent(event);
    // Centred on the screen, not on the main window.
    if (QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

void TLoadForm::FormShow()
{
    m_tries = 1;
    cbbUserName->clear();
    if (!DM1)
        return;
    Dataset *users = DM1->ADODataSet11;
    try {
        if (!users->isActive())
            users->open();
        users->first();
        const int count = users->recordCount();
        for (int i = 0; i < count; ++i) {
            cbbUserName->addItem(users->fieldByName(QStringLiteral("用户名")).asString());
            users->next();
        }
    } catch (const std::exception &) {
        // The list keeps the names read so far.
    }
    if (cbbUserName->count() > 0)
        cbbUserName->setCurrentIndex(0);
}

void TLoadForm::btnYESClick()
{
    if (cbbUserName->currentIndex() < 0) {
        showMessage(QStringLiteral("提示"), QStringLiteral("请选择一个正确的用户名！"), MessageIcon::Information);
        cbbUserName->setFocus();
        return;
    }
    const QString name = cbbUserName->currentText();
    bool matches = false;
    try {
        if (!DM1 || !DM1->ADODataSet11->locate(QStringLiteral("用户名"), name)) {
            showMessage(QStringLiteral("错误"),
                        QStringLiteral("找不到该用户名，请检查您选择的用户名是否正确或与管理员联系！"),
                        MessageIcon::Warning);
            cbbUserName->setFocus();
            return;
        }
        matches = passwordMatches(name);
    } catch (const std::exception &) {
        return; // a database error keeps the dialog open, unreported
    }

    if (!matches) {
        if (m_tries >= 3) {
            reject();
            return;
        }
        showMessage(QStringLiteral("错误"),
                    QStringLiteral("您输入的密码有误，您还有") + QString::number(3 - m_tries)
                        + QStringLiteral("次机会重新输入！"),
                    MessageIcon::Warning);
        edtUserPass->setFocus();
        ++m_tries;
        return;
    }

    LoginSession.loggedIn = true;
    SetUserPower();
    UserLanding();
    LoginSession.userName = name;
    if (MainWindowServices *main = MainWindowServices::instance())
        main->setUserPaneText(QStringLiteral("用户：") + name);
    accept();
}

bool TLoadForm::passwordMatches(const QString &userName)
{
    const QString stored = DM1->ADODataSet11->fieldByName(QStringLiteral("密码")).asString();
    const QString typed = edtUserPass->text();
    if (!data::verifyPassword(typed, stored))
        return false;
    if (!stored.isEmpty() && !data::isPasswordHash(stored))
        rewriteClearPassword(userName, typed);
    return true;
}

// A password kept as typed, from before passwords were hashed: accepted once
// and stored as a hash from now on.
void TLoadForm::rewriteClearPassword(const QString &userName, const QString &typed)
{
    try {
        Dataset *query = DM1->ADOQuery1;
        query->close();
        query->setCommandText(QStringLiteral("UPDATE \"用户\" SET \"密码\" = :hash WHERE \"用户名\" = :name "
                                             "AND \"密码\" = :old"));
        query->setParameter(QStringLiteral("hash"), data::hashPassword(typed));
        query->setParameter(QStringLiteral("name"), userName);
        query->setParameter(QStringLiteral("old"), typed);
        query->execSQL();
        DM1->ADODataSet11->requery();
        DM1->ADODataSet11->locate(QStringLiteral("用户名"), userName);
    } catch (const std::exception &) {
        // The login stands; the password is hashed at a later login.
    }
}

void TLoadForm::btnNOClick()
{
    reject();
}

void TLoadForm::SetUserPower()
{
    try {
        Dataset *users = DM1->ADODataSet11;
        for (Right right : allRights)
            LoginSession.setRight(right, users->fieldByName(rightColumn(right)).asBoolean());
    } catch (const std::exception &) {
    }
}

void TLoadForm::UserLanding()
{
    try {
        Dataset *log = DM1->LogData;
        log->append();
        log->fieldByName(QStringLiteral("LoadDate")).setValue(currentDateTime());
        log->fieldByName(QStringLiteral("UserName")).setValue(cbbUserName->currentText());
        LoginSession.loginTime = currentDateTime();
        log->updateBatch();
        LoginSession.logRowNumber = log->fieldByName(QStringLiteral("Degree")).asInteger();
        log->requery();
    } catch (const std::exception &) {
        // A login that cannot be logged still goes on.
    }
}

void TLoadForm::UserExitDate()
{
    try {
        if (!DM1)
            return;
        Dataset *log = DM1->LogData;
        bool written = false;
        if (log->locate(QStringLiteral("Degree"), LoginSession.logRowNumber)) {
            log->edit();
            log->fieldByName(QStringLiteral("OutDate")).setValue(currentDateTime());
            try {
                log->updateBatch();
                written = true;
            } catch (const data::Error &) {
                // Deleted meanwhile from another workstation: write it whole below.
                log->cancel();
            }
        }
        if (!written) {
            log->append();
            log->fieldByName(QStringLiteral("LoadDate")).setValue(LoginSession.loginTime);
            log->fieldByName(QStringLiteral("UserName")).setValue(LoginSession.userName);
            log->fieldByName(QStringLiteral("OutDate")).setValue(currentDateTime());
            log->updateBatch();
        }
    } catch (const std::exception &) {
        // Leaving never fails for want of a log row.
    }
}
