#include "RegionRecords.h"

#include "ClientRecords.h"
#include "DM.h"

#include <memory>

using data::Dataset;

namespace {

const QString kRegions = QStringLiteral("所在区域");
const QString kAreas = QStringLiteral("销售区域");
const QString kRegion = QStringLiteral("所属区域");

} // namespace

bool deleteCurrentRegion()
{
    Dataset *regions = DM1->ADOTable1;
    if (regions->state() == data::DatasetState::Insert) {
        regions->cancel();
        return true;
    }
    regions->cancel();
    const QString region = regions->fieldByName(kRegion).asString();
    data::Transaction transaction(*DM1->ADOConnection1);
    if (!ClearData(kAreas, kRegion, region))
        return false;
    regions->deleteRow();
    transaction.commit();
    return true;
}

void installRegionRename()
{
    // The name as it was read, kept when the row starts being edited.
    auto oldName = std::make_shared<QString>();
    DM1->ADOTable1->beforeEdit = [oldName](Dataset &regions) {
        *oldName = regions.fieldByName(kRegion).asString();
    };
    DM1->ADOTable1->beforeWrite = [oldName](Dataset &regions) {
        if (regions.state() != data::DatasetState::Edit)
            return;
        const QString newName = regions.fieldByName(kRegion).asString();
        if (newName == *oldName)
            return;
        DM1->ADOConnection1
            ->exec(QStringLiteral("UPDATE %1 SET %2 = :new WHERE %2 = :old")
                       .arg(data::Dialect::quote(kAreas), data::Dialect::quote(kRegion)),
                   {{QStringLiteral("new"), newName}, {QStringLiteral("old"), *oldName}})
            .finish();
    };
}
