#pragma once

#include "db/store.h"

#include <QString>

namespace veltron::records {

// The report folder kept in tabPath between program runs: empty when the
// table holds none. Store failures throw db::StoreError.
QString storedReportFolder(const db::Store& store);
void storeReportFolder(db::Store& store, const QString& path);

}  // namespace veltron::records
