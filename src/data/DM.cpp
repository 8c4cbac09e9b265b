#include "DM.h"

#include "Prompt.h"
#include "RecordsetFile.h"

#include <QFileInfo>

using namespace data;

TDM1 *DM1 = nullptr;

namespace {

QString selectAll(const QString &table)
{
    return QStringLiteral("select * from ") + Dialect::quote(table);
}

const QString kTransformCacheFile = QStringLiteral("CRM.pfADTG");

} // namespace

TDM1::TDM1(DataModuleHost *host, const QString &workingDirectory, QObject *parent)
    : QObject(parent)
    , m_host(host)
    , m_workingDirectory(workingDirectory)
{
    setObjectName(QStringLiteral("DM1"));
    DM1 = this;
    createComponents();
    DataModuleCreate();
}

TDM1::~TDM1()
{
    // Datasets first, so that none outlives the connection it reads through.
    const QList<Dataset *> datasets = findChildren<Dataset *>(Qt::FindDirectChildrenOnly);
    qDeleteAll(datasets);
    delete ADOConnection1;
    if (DM1 == this)
        DM1 = nullptr;
}

void TDM1::createComponents()
{
    ADOConnection1 = new Connection(this);
    ADOConnection1->setObjectName(QStringLiteral("ADOConnection1"));
    ADOConnection1->setWorkingDirectory(m_workingDirectory);

    const auto dataset = [this](const char *name, const QString &sql) {
        auto *d = new Dataset(ADOConnection1, QString::fromLatin1(name), this);
        if (!sql.isEmpty())
            d->setCommandText(sql);
        return d;
    };
    ADODataSet1 = dataset("ADODataSet1", selectAll(QStringLiteral("ClientData")));
    ADODataSet2 = dataset("ADODataSet2", selectAll(QStringLiteral("LinkMan")));
    ADODataSet3 = dataset("ADODataSet3", selectAll(QStringLiteral("销售区域")));
    ADODataSet4 = dataset("ADODataSet4", selectAll(QStringLiteral("ClientVisit")));
    ADODataSet5 = dataset("ADODataSet5", selectAll(QStringLiteral("ProductInfo")));
    ADODataSet6 = dataset("ADODataSet6", selectAll(QStringLiteral("ProductSell")));
    ADODataSet7 = dataset("ADODataSet7", selectAll(QStringLiteral("SellDetail")));
    ADODataSet8 = dataset("ADODataSet8", selectAll(QStringLiteral("ClientBespeak")));
    ADODataSet9 = dataset("ADODataSet9", selectAll(QStringLiteral("ClientBespeak")));
    ADODataSet10 = dataset("ADODataSet10", selectAll(QStringLiteral("ClientVisit")));
    ADODataSet11 = dataset("ADODataSet11", selectAll(QStringLiteral("用户")));
    ADOTable1 = dataset("ADOTable1", QString());
    ADOTable1->setTableName(QStringLiteral("所在区域"));
    LogData = dataset("LogData", selectAll(QStringLiteral("Log")));
    LinkManList = dataset("LinkManList", selectAll(QStringLiteral("LinkMan")));
    SellList = dataset("SellList", selectAll(QStringLiteral("ProductSell")));
    ADOSort = dataset("ADOSort", selectAll(QStringLiteral("Sort")));
    TransformTable = dataset("TransformTable", QString());
    ADOQuery1 = dataset("ADOQuery1", QString());
    TestRe = dataset("TestRe", QString());

    const QStringList client = {QStringLiteral("CoName")};
    const QStringList clientName = {QStringLiteral("ClientName")};
    ADODataSet2->setMasterLink(ADODataSet1, client, clientName);
    ADODataSet3->setMasterLink(ADOTable1, {QStringLiteral("所属区域")}, {QStringLiteral("所属区域")});
    ADODataSet4->setMasterLink(ADODataSet1, client, clientName);
    ADODataSet6->setMasterLink(ADODataSet1, client, clientName);
    const QStringList order = {QStringLiteral("OrderFormID"), QStringLiteral("ClientName")};
    ADODataSet7->setMasterLink(ADODataSet6, order, order);
    ADODataSet8->setMasterLink(ADODataSet1, client, clientName);

    // Fixed presentations of dates, times and the main-contact flag.
    const QString date = QStringLiteral("yyyy-MM-dd");
    const QString time = QStringLiteral("HH:mm");
    ADODataSet2->setDisplayFormat(QStringLiteral("Birthday"), date);
    LinkManList->setDisplayFormat(QStringLiteral("Birthday"), date);
    LinkManList->setDisplayFormat(QStringLiteral("MostlyLinkMan"), QStringLiteral("是;"));
    for (Dataset *d : {ADODataSet4, ADODataSet10, ADODataSet8, ADODataSet9}) {
        d->setDisplayFormat(QStringLiteral("Dates"), date);
        d->setDisplayFormat(QStringLiteral("Times"), time);
    }
    ADODataSet6->setDisplayFormat(QStringLiteral("SellDate"), date);
    SellList->setDisplayFormat(QStringLiteral("SellDate"), date);

    ADODataSet7->addCalculatedField(QStringLiteral("Money"), ColumnType::Decimal);
    ADODataSet7->onCalcFields = [this](Dataset &d) { ADODataSet7CalcFields(d); };

    ADODataSet1->beforeEdit = [this](Dataset &d) {
        OldClientID = d.fieldByName(QStringLiteral("ID")).asString();
        OldCoName = d.fieldByName(QStringLiteral("CoName")).asString();
    };
    ADODataSet5->beforeEdit = [this](Dataset &d) {
        OldProductID = d.fieldByName(QStringLiteral("ID")).asString();
        OldProductName = d.fieldByName(QStringLiteral("ProductName")).asString();
    };
    ADODataSet11->beforeEdit = [this](Dataset &d) {
        OldUserName = d.fieldByName(QStringLiteral("用户名")).asString();
    };
    ADOTable1->afterScroll = [this](Dataset &) { UpdateAreaList(); };
    ADOTable1->afterPost = [this](Dataset &) { UpdateAreaList(); };

    const auto postError = [this](Dataset &d, const Error &e) { return ADOTable1PostError(d, e); };
    for (Dataset *d : {ADODataSet1, ADODataSet2, ADODataSet3, ADODataSet4, ADODataSet5,
                       ADODataSet6, ADODataSet7, ADODataSet8, ADODataSet10, ADODataSet11, ADOTable1})
        d->onPostError = postError;

    const auto source = [this](Dataset *d, const char *name) {
        return new DataSource(d, QString::fromLatin1(name), this);
    };
    DataSource1 = source(ADODataSet1, "DataSource1");
    DataSource2 = source(ADODataSet2, "DataSource2");
    DataSource3 = source(ADODataSet3, "DataSource3");
    DataSource4 = source(ADODataSet4, "DataSource4");
    DataSource5 = source(ADODataSet5, "DataSource5");
    DataSource6 = source(ADODataSet6, "DataSource6");
    DataSource7 = source(ADODataSet7, "DataSource7");
    DataSource8 = source(ADODataSet8, "DataSource8");
    DataSource9 = source(ADOTable1, "DataSource9");
    DataSource10 = source(ADODataSet9, "DataSource10");
    DataSource11 = source(ADODataSet10, "DataSource11");
    DataSource12 = source(ADODataSet11, "DataSource12");
    DataSource14 = source(LogData, "DataSource14");
    DataSource15 = source(LinkManList, "DataSource15");
    DataSource16 = source(SellList, "DataSource16");
    SortData = source(ADOSort, "SortData");

    ClientAreaItems = new QStringListModel(this);
    ClientTypeItems = new QStringListModel(this);
    DutyItems = new QStringListModel(this);
    BranchItems = new QStringListModel(this);
    BespeakRelationModeItems = new QStringListModel(this);
    VisitRelationModeItems = new QStringListModel(this);
}

void TDM1::DataModuleCreate()
{
    try {
        ADOConnection1->close();
        AreaList.clear();
        ADOConnection1->setConnectionString(QStringLiteral("FILE NAME=") + QStringLiteral("Connect.udl"));

        for (Dataset *d : {ADODataSet1, ADODataSet2, ADODataSet3, ADODataSet4, ADODataSet5,
                           ADODataSet6, ADODataSet7, ADODataSet8, ADODataSet9, ADODataSet10,
                           ADOTable1, LinkManList, SellList, ADODataSet11, LogData, ADOSort})
            d->open();

        ADODataSet1->setSort(QStringLiteral("ID ASC"));
        LogData->setSort(QStringLiteral("Degree ASC"));

        if (ADOConnection1->provider().contains(QLatin1String("SQLite")) && m_host)
            m_host->useFileDatabaseCommands();

        loadTransformCache();
        LoadSortData();
        if (m_host)
            m_host->ShowCalendar();
    } catch (const Abort &) {
    } catch (const Error &error) {
        showStandardError(error.message());
    }
}

DatabaseKind TDM1::databaseKind() const
{
    return ADOConnection1->link().kind();
}

QString TDM1::transformCachePath() const
{
    return QDir(m_workingDirectory).absoluteFilePath(kTransformCacheFile);
}

void TDM1::loadTransformCache()
{
    const QString path = transformCachePath();
    const Table *transforms = Schema::table(QStringLiteral("Transforms"));
    QStringList columns;
    for (const Column &c : transforms->columns)
        columns << c.name;
    // A cache that cannot be read is rebuilt: the search must not go without captions.
    if (QFileInfo::exists(path) && loadRecordset(*TransformTable, path, columns))
        return;
    TransformTable->close();
    TransformTable->setTableName(transforms->name);
    TransformTable->open();
    saveRecordset(*TransformTable, path);
}

void TDM1::GoToDataSet(Dataset *list, Dataset *detail)
{
    const QString clientName = list->fieldByName(QStringLiteral("ClientName")).asString();
    const int number = list->fieldByName(QStringLiteral("Num")).asInteger();
    ADODataSet1->locate(QStringLiteral("CoName"), clientName);
    detail->locate(QStringLiteral("Num"), number);
}

void TDM1::UpdateAreaList()
{
    AreaList.clear();
    try {
        if (!ADOTable1->isActive())
            ADOTable1->open();
        ADOQuery1->close();
        ADOQuery1->setCommandText(QStringLiteral("Select * from \"销售区域\" where \"所属区域\"=:PM"));
        ADOQuery1->setParameter(QStringLiteral("PM"),
                                ADOTable1->fieldByName(QStringLiteral("所属区域")).asString());
        ADOQuery1->open();
        ADOQuery1->first();
        const int count = ADOQuery1->recordCount();
        for (int i = 0; i < count; ++i) {
            AreaList << ADOQuery1->fieldByName(QStringLiteral("地区名称")).asString();
            ADOQuery1->next();
        }
        ADOQuery1->close();
    } catch (const std::exception &) {
        // An area list that cannot be read stays empty; the editor offers nothing.
    }
    ClientAreaItems->setStringList(AreaList);
}

void TDM1::LoadSortData()
{
    const QString column = QStringLiteral("Sorts");
    AddClientTypeList(column, QStringLiteral("客户类型"), ClientTypeItems);
    AddClientTypeList(column, QStringLiteral("职务设置"), DutyItems);
    AddClientTypeList(column, QStringLiteral("部门设置"), BranchItems);
    AddClientTypeList(column, QStringLiteral("联系方式"), BespeakRelationModeItems);
    AddClientTypeList(column, QStringLiteral("联系方式"), VisitRelationModeItems);
}

void TDM1::AddClientTypeList(const QString &column, const QString &value, QStringListModel *target)
{
    try {
        const Column *sortColumn = Schema::table(QStringLiteral("Sort"))->column(column);
        if (!sortColumn)
            return;
        ADOQuery1->close();
        ADOQuery1->setCommandText(QStringLiteral("Select * from \"Sort\" where %1=:PM")
                                      .arg(Dialect::quote(sortColumn->name)));
        ADOQuery1->setParameter(QStringLiteral("PM"), value);
        ADOQuery1->open();
        QStringList items;
        ADOQuery1->first();
        const int count = ADOQuery1->recordCount();
        for (int i = 0; i < count; ++i) {
            items << ADOQuery1->fieldByName(QStringLiteral("Items")).asString();
            ADOQuery1->next();
        }
        target->setStringList(items);
    } catch (const std::exception &) {
        // A category that cannot be read keeps the items it had.
    }
}

PostErrorAction TDM1::ADOTable1PostError(Dataset &dataset, const Error &error)
{
    showMessage(QStringLiteral("错误"),
                QStringLiteral("您在对数据进行保存操作时，发生了如下错误：") + QStringLiteral("\r\n")
                    + QString(41, QLatin1Char('-')) + QStringLiteral("\r\r") + error.message(),
                MessageIcon::Warning);
    dataset.cancel();
    return PostErrorAction::Abort;
}

void TDM1::ADODataSet7CalcFields(Dataset &dataset)
{
    const double price = dataset.fieldByName(QStringLiteral("UnitPrice")).asFloat();
    const int number = dataset.fieldByName(QStringLiteral("Number")).asInteger();
    const double agio = dataset.fieldByName(QStringLiteral("Agio")).asFloat();
    dataset.fieldByName(QStringLiteral("Money")).setValue(price * number * agio / 10.0);
}
