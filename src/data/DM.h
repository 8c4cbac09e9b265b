#pragma once

#include "Connection.h"
#include "DataModuleHost.h"
#include "Dataset.h"

#include <QDir>
#include <QObject>
#include <QStringList>
#include <QStringListModel>

// The data module: the one place where the program talks to its database. It
// owns the connection, every dataset that more than one window shows, the two
// general query objects and the local cache of the search field captions.
class TDM1 : public QObject
{
    Q_OBJECT
public:
    // Creates every component and runs the creation sequence. Errors during it
    // are shown in the standard error box and leave the rest of the datasets closed.
    explicit TDM1(DataModuleHost *host = nullptr,
                  const QString &workingDirectory = QDir::currentPath(), QObject *parent = nullptr);
    ~TDM1() override;

    data::Connection *ADOConnection1;

    data::Dataset *ADODataSet1;  // clients
    data::Dataset *ADODataSet2;  // contacts of the current client
    data::Dataset *ADODataSet3;  // areas of the current region
    data::Dataset *ADODataSet4;  // visits of the current client
    data::Dataset *ADODataSet5;  // products
    data::Dataset *ADODataSet6;  // orders of the current client
    data::Dataset *ADODataSet7;  // lines of the current order
    data::Dataset *ADODataSet8;  // appointments of the current client
    data::Dataset *ADODataSet9;  // all appointments (appointment list)
    data::Dataset *ADODataSet10; // all visits (visit list)
    data::Dataset *ADODataSet11; // users
    data::Dataset *ADOTable1;    // regions
    data::Dataset *LogData;
    data::Dataset *LinkManList;
    data::Dataset *SellList;
    data::Dataset *ADOSort;
    data::Dataset *TransformTable;
    data::Dataset *ADOQuery1;
    data::Dataset *TestRe;

    data::DataSource *DataSource1;
    data::DataSource *DataSource2;
    data::DataSource *DataSource3;
    data::DataSource *DataSource4;
    data::DataSource *DataSource5;
    data::DataSource *DataSource6;
    data::DataSource *DataSource7;
    data::DataSource *DataSource8;
    data::DataSource *DataSource9;
    data::DataSource *DataSource10;
    data::DataSource *DataSource11;
    data::DataSource *DataSource12;
    data::DataSource *DataSource14;
    data::DataSource *DataSource15;
    data::DataSource *DataSource16;
    data::DataSource *SortData;

    // Key values of the row being edited, as they were before the change.
    QString OldClientID;
    QString OldCoName;
    QString OldProductID;
    QString OldProductName;
    QString OldUserName;

    // The area names of the region current in ADOTable1.
    QStringList AreaList;

    // The item lists of the editors' drop-downs that the data module fills.
    QStringListModel *ClientAreaItems; // client editor, area (a copy of AreaList)
    QStringListModel *ClientTypeItems; // client editor, client type
    QStringListModel *DutyItems;       // contact editor, position
    QStringListModel *BranchItems;     // contact editor, department
    QStringListModel *BespeakRelationModeItems; // appointment editor, way of contact
    QStringListModel *VisitRelationModeItems;   // visit editor, way of contact

    bool isFileDatabase() const { return ADOConnection1->isFileDatabase(); }
    data::DatabaseKind databaseKind() const;
    QString workingDirectory() const { return m_workingDirectory; }
    QString transformCachePath() const;

    // Moves ADODataSet1 to the client of the list dataset's current row and
    // the detail dataset to the record with the same Num. A row not found is
    // not reported.
    void GoToDataSet(data::Dataset *list, data::Dataset *detail);
    void UpdateAreaList();
    void LoadSortData();
    // Replaces `target` with the Items of the Sort rows whose `column` equals `value`.
    void AddClientTypeList(const QString &column, const QString &value, QStringListModel *target);

    // The save-error handler of the editable shared datasets.
    data::PostErrorAction ADOTable1PostError(data::Dataset &dataset, const data::Error &error);
    void ADODataSet7CalcFields(data::Dataset &dataset);
    // Fills TransformTable from the cache file, or from the table (rewriting
    // the file) when there is no readable cache.
    void loadTransformCache();

private:
    void createComponents();
    void DataModuleCreate();

    DataModuleHost *m_host;
    QString m_workingDirectory;
};

// The one instance, while it exists.
extern TDM1 *DM1;
