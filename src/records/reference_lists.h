#pragma once

#include "db/store.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace veltron::records {

// The small directories: a name with none to three numbers, found by the
// name. The first three live in the main database, the organisation lists
// in the second one.
enum class Directory {
    Surfaces,   // tabPoverhn: p, lyambda, c; listed by name
    FuelKinds,  // tabGoryuch: z; listed in the order of the table
    Compounds,  // Explosives: Energy; listed by name
    Positions,  // tabDolgn; listed by name
    Sources,    // tabIstochnik; listed by name
};

struct DirectoryEntry {
    QString Name;
    std::vector<std::optional<double>> values;  // one per number field, in the table's order
    bool operator==(const DirectoryEntry&) const = default;
};

QList<DirectoryEntry> directoryEntries(const db::Store& store, Directory directory);
// The directory's table and its number fields, in the order of the entry's values.
QString directoryTable(Directory directory);
QStringList directoryFields(Directory directory);
// Adds the entry (oldName empty) or changes the one named oldName in place,
// all fields and the name. False, with nothing written, when another entry
// has the entry's name.
bool saveDirectoryEntry(db::Store& store, Directory directory, const QString& oldName, const DirectoryEntry& entry);
void deleteDirectoryEntry(db::Store& store, Directory directory, const QString& name);

// Whether a stored calculation has the surface as its spill surface.
bool surfaceInCalculations(const db::Store& store, const QString& name);

}  // namespace veltron::records
