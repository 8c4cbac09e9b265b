#pragma once

#include "EditorDialog.h"

class DBComboBox;
class DBEdit;
class DBLookupComboBox;
class DBMemo;
class DBNavigator;
class QPushButton;

// The client editor: one ClientData row of ADODataSet1, with the check of the
// client code, the area list of the region shown and the client-type
// category. A changed company name is rewritten in the related tables as the
// row is written (see installClientRename).
class TEditClientForm : public EditorDialog
{
    Q_OBJECT
public:
    explicit TEditClientForm(QWidget *parent = nullptr);

    DBEdit *RzDBEdit1;          // 客户代码 (ID)
    DBEdit *coName;             // 公司名称
    DBComboBox *RzDBComboBox1;  // 客户类型
    DBLookupComboBox *area;     // 所属区域 (the region)
    DBComboBox *DBComboBox2;    // the area of the region
    DBComboBox *tier;           // 客户等级
    DBEdit *address, *tel, *fax, *postalCode, *webs, *email;
    DBMemo *remark;
    DBNavigator *navigator;
    QPushButton *RzBitBtn1; // 保存
    QPushButton *RzBitBtn2; // 退出
    QPushButton *RzBitBtn3; // 增加联系人
    QPushButton *RzBitBtn4; // 增加拜访记录
    QPushButton *RzBitBtn5; // 增加预约记录

    void RzBitBtn1Click();
    void RzDBEdit1Exit();
    void DBComboBox2Exit();
    void RzDBComboBox1Exit();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

extern TEditClientForm *EditClientForm;
