#include "EditClient.h"

#include "ClientRecords.h"
#include "DBComboBox.h"
#include "DBEdit.h"
#include "DBLookupComboBox.h"
#include "DBMemo.h"
#include "DBNavigator.h"
#include "DM.h"
#include "FieldLink.h"
#include "Guard.h"
#include "Shell.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using data::Dataset;
using data::DatasetState;

TEditClientForm *EditClientForm = nullptr;

namespace {

QLabel *caption(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

} // namespace

TEditClientForm::TEditClientForm(QWidget *parent)
    : EditorDialog(DM1->ADODataSet1, {QStringLiteral("该客户资料已经修改过，您确定要放弃保存并退出吗？")}, parent)
{
    EditClientForm = this;
    setObjectName(QStringLiteral("EditClientForm"));
    setWindowTitle(QStringLiteral("编辑客户资料"));
    data::DataSource *client = DM1->DataSource1;

    auto *box = new QGroupBox(QStringLiteral(" 客户资料信息 "), this);
    RzDBEdit1 = new DBEdit(client, QStringLiteral("ID"), box);
    coName = new DBEdit(client, QStringLiteral("CoName"), box);
    RzDBComboBox1 = new DBComboBox(client, QStringLiteral("ClientTypes"), DBComboBox::Mode::FreeText, box);
    RzDBComboBox1->setItemModel(DM1->ClientTypeItems);
    RzDBComboBox1->setAutoCompletion(false);
    area = new DBLookupComboBox(client, QStringLiteral("Area"), DM1->DataSource9, QStringLiteral("所属区域"), box);
    // The region shown is the current region, so that the area list is its areas.
    area->setLocateListRow(true);
    DBComboBox2 = new DBComboBox(client, QStringLiteral("Region"), DBComboBox::Mode::FreeText, box);
    DBComboBox2->setItemModel(DM1->ClientAreaItems);
    DBComboBox2->setAutoCompletion(false);
    address = new DBEdit(client, QStringLiteral("Address"), box);
    tier = new DBComboBox(client, QStringLiteral("ClientTier"), DBComboBox::Mode::FreeText, box);
    tier->setItems({QStringLiteral("★★★★★"), QStringLiteral("★★★★"), QStringLiteral("★★★"), QStringLiteral("★★"),
                    QStringLiteral("★")});
    tier->setAutoCompletion(false);
    tel = new DBEdit(client, QStringLiteral("TEL"), box);
    fax = new DBEdit(client, QStringLiteral("FAX"), box);
    postalCode = new DBEdit(client, QStringLiteral("Postalcode"), box);
    postalCode->setAlignment(Qt::AlignRight);
    webs = new DBEdit(client, QStringLiteral("WEBs"), box);
    email = new DBEdit(client, QStringLiteral("EMail"), box);
    email->setToolTip(QStringLiteral("双击可直接发送E-Mail"));
    email->installEventFilter(this);
    remark = new DBMemo(client, QStringLiteral("Remark"), box);

    auto *grid = new QGridLayout(box);
    int row = 0;
    const auto pair = [&](const QString &leftCaption, QWidget *left, const QString &rightCaption, QWidget *right) {
        grid->addWidget(caption(leftCaption, box), row, 0);
        grid->addWidget(left, row, 1);
        if (right) {
            grid->addWidget(caption(rightCaption, box), row, 2);
            grid->addWidget(right, row, 3);
        }
        ++row;
    };
    pair(QStringLiteral("客户代码："), RzDBEdit1, QStringLiteral("公司名称："), coName);
    pair(QStringLiteral("客户类型："), RzDBComboBox1, QStringLiteral("客户等级："), tier);
    auto *regionRow = new QHBoxLayout;
    regionRow->addWidget(area);
    regionRow->addWidget(DBComboBox2);
    grid->addWidget(caption(QStringLiteral("所属区域："), box), row, 0);
    grid->addLayout(regionRow, row, 1, 1, 3);
    ++row;
    grid->addWidget(caption(QStringLiteral("通迅地址："), box), row, 0);
    grid->addWidget(address, row, 1, 1, 3);
    ++row;
    pair(QStringLiteral("电话："), tel, QStringLiteral("传真："), fax);
    pair(QStringLiteral("邮政编码："), postalCode, QStringLiteral("公司主页："), webs);
    pair(QStringLiteral("电子邮件："), email, QString(), nullptr);
    grid->addWidget(caption(QStringLiteral("公司概况："), box), row, 0, Qt::AlignTop | Qt::AlignRight);
    grid->addWidget(remark, row, 1, 1, 3);

    navigator = new DBNavigator(client, this);
    RzBitBtn5 = new QPushButton(QStringLiteral("增加预约记录"), this);
    RzBitBtn4 = new QPushButton(QStringLiteral("增加拜访记录"), this);
    RzBitBtn3 = new QPushButton(QStringLiteral("增加联系人"), this);
    RzBitBtn3->setToolTip(QStringLiteral("增加该公司联系人"));
    RzBitBtn1 = new QPushButton(QStringLiteral("保存"), this);
    RzBitBtn2 = new QPushButton(QStringLiteral("退出"), this);
    RzBitBtn1->setObjectName(QStringLiteral("saveButton"));
    RzBitBtn2->setObjectName(QStringLiteral("quitButton"));
    // The contact, visit and appointment editors are not part of the program yet.
    for (QPushButton *b : {RzBitBtn3, RzBitBtn4, RzBitBtn5})
        b->setEnabled(false);
    for (QPushButton *b : {RzBitBtn1, RzBitBtn2, RzBitBtn3, RzBitBtn4, RzBitBtn5})
        b->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(navigator);
    buttons->addStretch();
    for (QPushButton *b : {RzBitBtn5, RzBitBtn4, RzBitBtn3, RzBitBtn1, RzBitBtn2})
        buttons->addWidget(b);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addLayout(buttons);
    resize(620, 460);

    connect(RzBitBtn1, &QPushButton::clicked, this, [this] { guarded([this] { RzBitBtn1Click(); }); });
    connect(RzBitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    connect(RzDBEdit1, &DBEdit::exited, this, [this] { guarded([this] { RzDBEdit1Exit(); }); });
    connect(DBComboBox2, &DBComboBox::exited, this, [this] { guarded([this] { DBComboBox2Exit(); }); });
    connect(tier, &DBComboBox::exited, this, [this] { guarded([this] { DBComboBox2Exit(); }); });
    connect(RzDBComboBox1, &DBComboBox::exited, this, [this] { guarded([this] { RzDBComboBox1Exit(); }); });
}

void TEditClientForm::RzBitBtn1Click()
{
    Dataset *clients = DM1->ADODataSet1;
    // What a box still holds (a half-typed postal code) belongs to the save.
    if (!FieldLink::submitFocused(clients))
        return;
    // A changed name is rewritten in the related tables as the row is written.
    if (clients->isEditing())
        clients->updateBatch();
    accept();
}

void TEditClientForm::RzDBEdit1Exit()
{
    Dataset *clients = DM1->ADODataSet1;
    const QString id = RzDBEdit1->text();
    bool taken = false;
    try {
        Dataset *query = DM1->ADOQuery1;
        query->close();
        query->setCommandText(QStringLiteral("Select * from \"ClientData\" where \"ID\"=:PM"));
        query->setParameter(QStringLiteral("PM"), id);
        query->open();
        const int found = query->recordCount();
        taken = (clients->state() == DatasetState::Edit && found == 1 && id != DM1->OldClientID)
             || (clients->state() == DatasetState::Insert && found >= 1);
    } catch (const std::exception &) {
        return; // the check is not reported when the database fails
    }
    if (!taken)
        return;
    showMessage(QStringLiteral("错误"), QStringLiteral("您输入的编号已存在，请重新输入！"), MessageIcon::Error);
    RzDBEdit1->setFocus();
    RzDBEdit1->undoLastChange();
}

void TEditClientForm::DBComboBox2Exit()
{
    const QString name = DBComboBox2->currentText();
    if (name.isEmpty() || DM1->AreaList.contains(name))
        return;
    // Filed under the region shown: ADODataSet3 follows the current region.
    Dataset *areas = DM1->ADODataSet3;
    areas->append();
    areas->fieldByName(QStringLiteral("地区名称")).setValue(name);
    areas->post();
    areas->requery();
    DM1->UpdateAreaList();
}

void TEditClientForm::RzDBComboBox1Exit()
{
    TestDataType(RzDBComboBox1->currentText(), QStringLiteral("客户类型"), DM1->ClientTypeItems);
}

bool TEditClientForm::eventFilter(QObject *watched, QEvent *event)
{
    // A double click on the address writes the client an e-mail.
    if (watched == email && event->type() == QEvent::MouseButtonDblClick && !email->text().isEmpty()) {
        shellOpen(QStringLiteral("mailto:") + email->text());
        return true;
    }
    return EditorDialog::eventFilter(watched, event);
}
