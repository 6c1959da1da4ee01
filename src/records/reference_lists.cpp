#include "records/reference_lists.h"

#include "records/named_rows.h"

#include <QSqlRecord>

namespace veltron::records {

namespace {

const NamedTable& tableOf(Directory d)
{
    static const NamedTable surfaces{QStringLiteral("tabPoverhn"),
                                     {QStringLiteral("p"), QStringLiteral("lyambda"), QStringLiteral("c")},
                                     db::Base::Main,
                                     {},
                                     QStringLiteral("справочник поверхностей")};
    static const NamedTable fuelKinds{QStringLiteral("tabGoryuch"), {QStringLiteral("z")}, db::Base::Main,
                                      QStringLiteral("Poryadok"), QStringLiteral("справочник видов горючего")};
    static const NamedTable compounds{QStringLiteral("Explosives"), {QStringLiteral("Energy")}, db::Base::Main, {},
                                      QStringLiteral("справочник нестабильных соединений")};
    static const NamedTable positions{QStringLiteral("tabDolgn"), {}, db::Base::Second};
    static const NamedTable sources{QStringLiteral("tabIstochnik"), {}, db::Base::Second};
    switch (d) {
    case Directory::Surfaces: return surfaces;
    case Directory::FuelKinds: return fuelKinds;
    case Directory::Compounds: return compounds;
    case Directory::Positions: return positions;
    case Directory::Sources: break;
    }
    return sources;
}

}  // namespace

QString directoryTable(Directory directory)
{
    return tableOf(directory).table;
}

QStringList directoryFields(Directory directory)
{
    return tableOf(directory).fields;
}

QList<DirectoryEntry> directoryEntries(const db::Store& store, Directory directory)
{
    const NamedTable& t = tableOf(directory);
    const QStringList columns = QStringList{QStringLiteral("Name")} + t.fields;
    const QString order = t.orderField.isEmpty() ? QString() : QStringLiteral(" ORDER BY ") + t.orderField;
    QList<QSqlRecord> rows = store.query(QStringLiteral("SELECT %1%2 FROM %3%4")
                                             .arg(columns.join(QStringLiteral(", ")), versionColumn(t), t.table, order),
                                         {}, t.base);
    noteRowVersions(store, t, rows);
    if (t.orderField.isEmpty())
        db::sortRussianBy(rows);
    QList<DirectoryEntry> out;
    for (const QSqlRecord& r : rows) {
        DirectoryEntry e{r.value(0).toString(), {}};
        for (int i = 0; i < t.fields.size(); ++i)
            e.values.push_back(optionalNumber(r.value(i + 1)));
        out << e;
    }
    return out;
}

bool saveDirectoryEntry(db::Store& store, Directory directory, const QString& oldName, const DirectoryEntry& entry)
{
    QVariantList values;
    for (const auto& v : entry.values)
        values << nullableNumber(v);
    return saveNamedRow(store, tableOf(directory), oldName, entry.Name, values);
}

void deleteDirectoryEntry(db::Store& store, Directory directory, const QString& name)
{
    deleteNamedRow(store, tableOf(directory), name);
}

bool surfaceInCalculations(const db::Store& store, const QString& name)
{
    const auto rows = store.query(QStringLiteral("SELECT COUNT(*) FROM tabMain WHERE Name_poverhn = ?"), {name});
    return !rows.isEmpty() && rows.first().value(0).toLongLong() > 0;
}

}  // namespace veltron::records
