#include "DBComboBox.h"
#include "DBControlsFixture.h"
#include "DBLookupComboBox.h"
#include "ScriptedPrompt.h"
#include "TestMain.h"

#include <QSignalSpy>
#include <QStringListModel>
#include <QTest>

using namespace dbcontrols;
using data::Dataset;
using data::DatasetState;
using data::DataSource;

namespace {

const QStringList kTiers = {u"★★★★★"_s, u"★★★★"_s, u"★★★"_s, u"★★"_s, u"★"_s};
const QStringList kClientTypes = {u"代理商"_s, u"直销客户"_s, u"合作伙伴"_s};

QStringList itemsOf(const QComboBox &box)
{
    QStringList items;
    for (int i = 0; i < box.count(); ++i)
        items << box.itemText(i);
    return items;
}

} // namespace

// What sets the drop-downs apart: a fixed list or free text, items shared
// through a model, and the lookup's list taken from another dataset.
class TestDBListControls : public QObject
{
    Q_OBJECT

    std::unique_ptr<KnownRowsDatabase> m_db;
    std::unique_ptr<Dataset> m_clients;
    std::unique_ptr<DataSource> m_clientSource;

private slots:
    void initTestCase_data() { addBackendRows(); }
    void init()
    {
        LUMORA_INIT_BACKEND(backend);
        m_db = std::make_unique<KnownRowsDatabase>(backend);
        m_clients = openDataset(m_db->connection(), selectAllOf(u"ClientData"_s));
        m_clientSource = std::make_unique<DataSource>(m_clients.get());
    }
    void cleanup()
    {
        m_clientSource.reset();
        m_clients.reset();
        m_db.reset();
    }

    void fixedListRefusesTypedText()
    {
        ScriptedPrompt prompt;
        Form form;
        auto *tier = form.add(
            new DBComboBox(m_clientSource.get(), u"ClientTier"_s, DBComboBox::Mode::FixedList));
        tier->setItems(kTiers);
        QVERIFY(form.show());
        QVERIFY(!tier->isEditable());

        focus(tier);
        typeText(tier, u"zz9"_s);
        tabAway();
        QCOMPARE(tier->currentText(), u"★★★"_s);
        QCOMPARE(m_clients->state(), DatasetState::Browse);

        // Nor can the program put in a value that is not in the list.
        QVERIFY(!tier->setValue(u"★★★★★★"_s));
        QCOMPARE(prompt.count(), 1);
        QCOMPARE(prompt.shown().first().icon, MessageIcon::Error);
        QCOMPARE(m_clients->fieldByName(u"ClientTier"_s).asString(), u"★★★"_s);
        QVERIFY(tier->setValue(u"★★"_s));
        QCOMPARE(tier->currentText(), u"★★"_s);
        QCOMPARE(m_clients->fieldByName(u"ClientTier"_s).asString(), u"★★"_s);
    }

    void fixedListShowsUnlistedValueAsNothing()
    {
        Form form;
        auto *tier = form.add(
            new DBComboBox(m_clientSource.get(), u"ClientTier"_s, DBComboBox::Mode::FixedList));
        tier->setItems({u"★★★★★"_s, u"★★★★"_s});
        QVERIFY(form.show());
        QCOMPARE(tier->currentIndex(), -1);
        QCOMPARE(tier->currentText(), QString());
        QCOMPARE(m_clients->state(), DatasetState::Browse);
    }

    void freeTextAcceptsTypedTextWithoutListingIt()
    {
        Form form;
        auto *type = form.add(new DBComboBox(m_clientSource.get(), u"ClientTypes"_s));
        type->setItems(kClientTypes);
        QVERIFY(form.show());
        QVERIFY(type->isEditable());
        const QVariant num = m_clients->fieldByName(u"Num"_s).value();

        focus(type);
        selectAll(type);
        typeText(type, u"OEM客户"_s);
        QTest::keyClick(type, Qt::Key_Return);
        tabAway();
        QCOMPARE(m_clients->fieldByName(u"ClientTypes"_s).asString(), u"OEM客户"_s);
        // Adding typed values to a category is the editors' business, not the box's.
        QCOMPARE(itemsOf(*type), kClientTypes);
        m_clients->post();
        QCOMPARE(storedValue(m_db->db(), u"ClientData"_s, u"ClientTypes"_s, num),
                 QVariant(u"OEM客户"_s));
    }

    void autoCompletionCanBeSwitchedOff_data()
    {
        QTest::addColumn<bool>("completion");
        QTest::addColumn<QString>("stored");
        QTest::newRow("completes") << true << u"直销客户"_s;
        QTest::newRow("switched off") << false << u"直"_s;
    }
    void autoCompletionCanBeSwitchedOff()
    {
        QFETCH(bool, completion);
        QFETCH(QString, stored);
        Form form;
        auto *type = form.add(new DBComboBox(m_clientSource.get(), u"ClientTypes"_s));
        type->setItems(kClientTypes);
        type->setAutoCompletion(completion);
        // Switching the mode makes a new line edit; the setting must survive it.
        type->setMode(DBComboBox::Mode::FixedList);
        type->setMode(DBComboBox::Mode::FreeText);
        QVERIFY(form.show());

        focus(type);
        selectAll(type);
        typeText(type, u"直"_s);
        tabAway();
        QCOMPARE(type->currentText(), stored);
        QCOMPARE(m_clients->fieldByName(u"ClientTypes"_s).asString(), stored);
    }

    // The data module keeps the category lists as models that several
    // editors share; a change of the model shows in every box at once.
    void sharedModelChangeShowsAtOnce()
    {
        QStringListModel categories({u"代理商"_s, u"直销客户"_s});
        Form form;
        auto *free = form.add(new DBComboBox(m_clientSource.get(), u"ClientTypes"_s));
        auto *fixed = form.add(
            new DBComboBox(m_clientSource.get(), u"ClientTypes"_s, DBComboBox::Mode::FixedList));
        free->setItemModel(&categories);
        fixed->setItemModel(&categories);
        QVERIFY(form.show());
        QCOMPARE(free->itemModel(), &categories);

        m_clients->next(); // 直销客户
        QCOMPARE(fixed->currentText(), u"直销客户"_s);
        categories.insertRows(0, 1);
        categories.setData(categories.index(0), u"合作伙伴"_s);
        QCOMPARE(itemsOf(*free), (QStringList{u"合作伙伴"_s, u"代理商"_s, u"直销客户"_s}));
        QCOMPARE(itemsOf(*fixed), itemsOf(*free));
        QCOMPARE(free->currentText(), u"直销客户"_s);
        QCOMPARE(fixed->currentText(), u"直销客户"_s);

        // The value leaves the list: the fixed list shows nothing, the free
        // box still the text; neither writes anything.
        categories.setStringList({u"代理商"_s});
        QCOMPARE(fixed->currentText(), QString());
        QCOMPARE(free->currentText(), u"直销客户"_s);
        categories.setStringList({u"代理商"_s, u"直销客户"_s});
        QCOMPARE(fixed->currentText(), u"直销客户"_s);
        QCOMPARE(m_clients->state(), DatasetState::Browse);

        // Items of its own again: the shared model is left alone.
        free->setItems({u"甲"_s});
        QCOMPARE(categories.rowCount(), 2);
        QCOMPARE(itemsOf(*free), QStringList{u"甲"_s});
    }

    void lookupListsOtherDatasetAndFollowsIt()
    {
        auto appointments = openDataset(m_db->connection(), selectAllOf(u"ClientBespeak"_s));
        auto contacts = openDataset(m_db->connection(), selectAllOf(u"LinkMan"_s));
        DataSource appointmentSource(appointments.get());
        DataSource contactSource(contacts.get());
        Form form;
        auto *principal = form.add(new DBLookupComboBox(&appointmentSource, u"Principal"_s,
                                                        &contactSource, u"LinkManID"_s));
        QVERIFY(form.show());
        QCOMPARE(itemsOf(*principal), (QStringList{u"王伟"_s, u"李娜"_s, u"张敏"_s}));
        QCOMPARE(principal->currentText(), u"王伟"_s);

        // A contact added to the list dataset is offered at once.
        contacts->append();
        contacts->fieldByName(u"LinkManID"_s).setValue(u"赵强"_s);
        contacts->post();
        QCOMPARE(itemsOf(*principal), (QStringList{u"王伟"_s, u"李娜"_s, u"张敏"_s, u"赵强"_s}));

        // The list narrowed: a stored name no longer listed shows as nothing.
        contacts->setFilter({{u"LinkManID"_s, u"李娜"_s}});
        contacts->setFiltered(true);
        QCOMPARE(itemsOf(*principal), QStringList{u"李娜"_s});
        QCOMPARE(principal->currentText(), QString());
        contacts->setFiltered(false);
        QCOMPARE(principal->currentText(), u"王伟"_s);

        // The list's data source switched to another dataset.
        auto clients = openDataset(m_db->connection(), selectAllOf(u"ClientData"_s));
        contactSource.setDataset(clients.get());
        principal->setListField(u"CoName"_s);
        QCOMPARE(itemsOf(*principal), (QStringList{u"北京华信科技有限公司"_s,
                                                   u"上海博远贸易有限公司"_s, u"广州恒通"_s}));
        QCOMPARE(appointments->state(), DatasetState::Browse);
    }

    void lookupStoresTheChosenValue()
    {
        auto appointments = openDataset(m_db->connection(), selectAllOf(u"ClientBespeak"_s));
        auto contacts = openDataset(m_db->connection(), selectAllOf(u"LinkMan"_s));
        DataSource appointmentSource(appointments.get());
        DataSource contactSource(contacts.get());
        Form form;
        auto *principal = form.add(new DBLookupComboBox(&appointmentSource, u"Principal"_s,
                                                        &contactSource, u"LinkManID"_s));
        QVERIFY(form.show());
        const QVariant num = appointments->fieldByName(u"Num"_s).value();

        focus(principal);
        QTest::keyClick(principal, Qt::Key_Down);
        QCOMPARE(principal->currentText(), u"李娜"_s);
        QCOMPARE(appointments->state(), DatasetState::Edit);
        // Typing is no way in: the box offers the listed names only.
        typeText(principal, u"qq"_s);
        QCOMPARE(principal->currentText(), u"李娜"_s);
        tabAway();
        appointments->post();
        QCOMPARE(storedValue(m_db->db(), u"ClientBespeak"_s, u"Principal"_s, num), QVariant(u"李娜"_s));
    }

    // Where a detail of the list dataset depends on the value shown (the
    // areas of the region shown), the list dataset's row follows that value.
    void lookupMovesListRowWhenAsked()
    {
        auto appointments = openDataset(m_db->connection(), selectAllOf(u"ClientBespeak"_s));
        auto contacts = openDataset(m_db->connection(), selectAllOf(u"LinkMan"_s));
        DataSource appointmentSource(appointments.get());
        DataSource contactSource(contacts.get());
        Form form;
        auto *principal = form.add(new DBLookupComboBox(&appointmentSource, u"Principal"_s,
                                                        &contactSource, u"LinkManID"_s));
        QVERIFY(form.show());
        appointments->next(); // 张敏
        QCOMPARE(contacts->recNo(), 0);

        principal->setLocateListRow(true);
        QCOMPARE(contacts->fieldByName(u"LinkManID"_s).asString(), u"张敏"_s);
        appointments->first(); // 王伟
        QCOMPARE(contacts->fieldByName(u"LinkManID"_s).asString(), u"王伟"_s);
        focus(principal);
        QTest::keyClick(principal, Qt::Key_Down);
        QCOMPARE(contacts->fieldByName(u"LinkManID"_s).asString(), u"李娜"_s);
        // An empty value moves nothing.
        appointments->last();
        QCOMPARE(contacts->fieldByName(u"LinkManID"_s).asString(), u"李娜"_s);
    }
};

LUMORA_TEST_CLASS(TestDBListControls)
#include "tst_dbcontrols_lists.moc"
