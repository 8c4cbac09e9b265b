#pragma once

// The writes of the sales regions that touch both region tables: a region
// goes with its areas, and a renamed region keeps them.

// Deletes the current region of ADOTable1 with its areas, in one transaction.
// A new row not yet written is only dropped; a pending change of a stored row
// is dropped first, so that the areas deleted are those of the stored name.
// False, with nothing deleted, when the areas could not be deleted (ClearData
// has said so); a failed delete of the region row undoes the areas' delete
// and is thrown (data::Error).
bool deleteCurrentRegion();

// Makes every write of a renamed region in ADOTable1 file its areas under the
// new name, in the row's own transaction.
void installRegionRename();
