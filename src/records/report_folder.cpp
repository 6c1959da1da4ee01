#include "records/report_folder.h"

#include <QSqlRecord>

namespace veltron::records {

QString storedReportFolder(const db::Store& store)
{
    const auto rows = store.query(QStringLiteral("SELECT Path FROM tabPath"));
    return rows.isEmpty() ? QString() : rows.first().value(0).toString();
}

void storeReportFolder(db::Store& store, const QString& path)
{
    store.transaction([&] {
        if (store.exec(QStringLiteral("UPDATE tabPath SET Path = ?"), {path}) == 0)
            store.exec(QStringLiteral("INSERT INTO tabPath (Path) VALUES (?)"), {path});
    });
}

}  // namespace veltron::records
