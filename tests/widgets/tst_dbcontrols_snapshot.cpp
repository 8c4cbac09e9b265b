#include "DBCheckBox.h"
#include "DBComboBox.h"
#include "DBControlsFixture.h"
#include "DBDateEdit.h"
#include "DBEdit.h"
#include "DBLabel.h"
#include "DBLookupComboBox.h"
#include "DBMemo.h"
#include "DBNavigator.h"
#include "DBTimeEdit.h"
#include "GuiDoubles.h"
#include "TestMain.h"

#include <QFormLayout>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QTest>

using namespace dbcontrols;
using data::Dataset;
using data::DataSource;

// A form with one control of each kind on a client, one of its contacts and
// one of its appointments: all show their row, in Chinese, and nothing is
// written by showing them. With CRM_SNAPSHOT_DIR set it is saved as a picture.
class TestDBControlsSnapshot : public QObject
{
    Q_OBJECT

    std::unique_ptr<KnownRowsDatabase> m_db;

private slots:
    void initTestCase_data() { addBackendRows(); }
    void init()
    {
        LUMORA_INIT_BACKEND(backend);
        m_db = std::make_unique<KnownRowsDatabase>(backend);
        addRows(m_db->connection(), u"ProductSell"_s,
                {{{u"OrderFormID"_s, u"XS20240506001"_s},
                  {u"ClientName"_s, u"北京华信科技有限公司"_s},
                  {u"SellDate"_s, QDate(2024, 5, 6)}}});
    }
    void cleanup()
    {
        m_db.reset();
    }

    void formOfEveryKind()
    {
        auto clients = openDataset(m_db->connection(), selectAllOf(u"ClientData"_s));
        auto contacts = openDataset(m_db->connection(), selectAllOf(u"LinkMan"_s));
        auto appointments = openDataset(m_db->connection(), selectAllOf(u"ClientBespeak"_s));
        auto orders = openDataset(m_db->connection(), selectAllOf(u"ProductSell"_s));
        DataSource clientSource(clients.get());
        DataSource contactSource(contacts.get());
        DataSource appointmentSource(appointments.get());
        DataSource orderSource(orders.get());

        QWidget form;
        form.setWindowTitle(u"编辑客户资料"_s);
        auto *group = new QGroupBox(u" 客户资料信息 "_s);
        auto *fields = new QFormLayout(group);
        auto *id = new DBEdit(&clientSource, u"ID"_s);
        auto *name = new DBEdit(&clientSource, u"CoName"_s);
        auto *type = new DBComboBox(&clientSource, u"ClientTypes"_s);
        type->setItems({u"代理商"_s, u"直销客户"_s});
        auto *tier = new DBComboBox(&clientSource, u"ClientTier"_s, DBComboBox::Mode::FixedList);
        tier->setItems({u"★★★★★"_s, u"★★★★"_s, u"★★★"_s, u"★★"_s, u"★"_s});
        auto *postalCode = new DBEdit(&clientSource, u"Postalcode"_s);
        postalCode->setAlignment(Qt::AlignRight);
        auto *remark = new DBMemo(&clientSource, u"Remark"_s);
        remark->setFixedHeight(60);
        auto *mainContact = new DBCheckBox(&contactSource, u"MostlyLinkMan"_s, u"主要联系人"_s);
        auto *birthday = new DBDateEdit(&contactSource, u"Birthday"_s);
        auto *principal = new DBLookupComboBox(&appointmentSource, u"Principal"_s, &contactSource,
                                               u"LinkManID"_s);
        auto *time = new DBTimeEdit(&appointmentSource, u"Times"_s);
        auto *order = new DBLabel(&orderSource, u"OrderFormID"_s);
        fields->addRow(u"客户代码："_s, id);
        fields->addRow(u"公司名称："_s, name);
        fields->addRow(u"客户类型："_s, type);
        fields->addRow(u"客户等级："_s, tier);
        fields->addRow(u"邮政编码："_s, postalCode);
        fields->addRow(u"公司概况："_s, remark);
        fields->addRow(QString(), mainContact);
        fields->addRow(u"生日："_s, birthday);
        fields->addRow(u"相关联系人："_s, principal);
        fields->addRow(u"联系时间："_s, time);
        fields->addRow(u"订单编号："_s, order);

        auto *navigator = new DBNavigator(&clientSource);
        auto *layout = new QVBoxLayout(&form);
        layout->addWidget(group);
        layout->addWidget(navigator, 0, Qt::AlignLeft);
        form.resize(420, 0);
        form.show();

        QCOMPARE(id->text(), u"C01"_s);
        QCOMPARE(name->text(), u"北京华信科技有限公司"_s);
        QCOMPARE(type->currentText(), u"代理商"_s);
        QCOMPARE(tier->currentText(), u"★★★"_s);
        QCOMPARE(postalCode->text(), u"100000"_s);
        QCOMPARE(remark->toPlainText(), u"老客户"_s);
        QVERIFY(!mainContact->isChecked());
        QCOMPARE(birthday->text(), u"1980-01-02"_s);
        QCOMPARE(principal->currentText(), u"王伟"_s);
        QCOMPARE(time->text(), u"09:00"_s);
        QCOMPARE(order->text(), u"XS20240506001"_s);
        for (Dataset *d : {clients.get(), contacts.get(), appointments.get(), orders.get()})
            QCOMPARE(d->state(), data::DatasetState::Browse);

        const QString path = saveSnapshot(&form, u"dbcontrols"_s);
        if (!path.isEmpty())
            QVERIFY(!QImage(path).isNull());

        // The date box's drop-down calendar with its three buttons.
        birthday->showCalendar();
        QVERIFY(birthday->calendarPopup()->isVisible());
        const QString calendarPath =
            saveSnapshot(birthday->calendarPopup(), u"dbcontrols-calendar"_s);
        if (!calendarPath.isEmpty())
            QVERIFY(!QImage(calendarPath).isNull());
    }
};

LUMORA_TEST_CLASS(TestDBControlsSnapshot)
#include "tst_dbcontrols_snapshot.moc"
