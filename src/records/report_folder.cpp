#include "records/report_folder.h"

#include <QSqlRecord>

namespace veltron::records {

QString storedReportFolder(const db::Store& store)
{
    const auto rows = store.query(QStringLiteral("SELECT Path FROM tabPath"));
    return rows.isEmpty() ? QString() : rows.first().value(0).toString();
}

}  // namespace veltron::records
