#pragma once

#include "db/store.h"

#include <QString>

namespace veltron::records {

// The report folder that tabPath holds: empty when the table holds none.
// Each user's report folder is now kept in the user's own settings
// (records::UserMemory), which start from this one. Store failures throw
// db::StoreError.
QString storedReportFolder(const db::Store& store);

}  // namespace veltron::records
