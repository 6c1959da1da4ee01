#pragma once

#include "calc/run_inputs.h"
#include "db/rows.h"
#include "db/store.h"

#include <QDateTime>
#include <QList>
#include <QSqlRecord>
#include <QString>

#include <optional>

namespace veltron::records {

// The two tables of stored calculations: model I and the complex calculations of model IV.
enum class Kind { ModelI, Complex };

// A change refused because another program changed or deleted the
// calculation after this program read it; nothing of the change is stored.
class ConcurrentChange : public db::StoreError {
public:
    using db::StoreError::StoreError;
};

struct Calculation {
    int id = 0;
    QString name;
    bool operator==(const Calculation&) const = default;
};

// General conditions of a calculation, one row of tabMain without the run settings.
struct Conditions {
    QString Name_poverhn = QStringLiteral("Бетон");
    double t_kontakt = 0;
    double S_kontakt = 0;
    double S_G = 0;
    double Tempv = 0;
    double Tempp = 0;
    double Tg = 0;
    double nyu = 1;
    int f131 = 0;
    double z = 0.1;
    double znPn = 0;
    double znPn1 = 0;
    int Lnkpr = 0;
    double znLnkpr = 0;
    double Uv = 0;
    int opNyu = 0;

    bool operator==(const Conditions&) const = default;
};

// Calculations of one kind by name in Russian alphabetical order.
QList<Calculation> listCalculations(const db::Store& store, Kind kind = Kind::ModelI);
int countCalculations(const db::Store& store, Kind kind = Kind::ModelI);
std::optional<Calculation> findById(const db::Store& store, int id, Kind kind = Kind::ModelI);
std::optional<Calculation> findByName(const db::Store& store, const QString& name, Kind kind = Kind::ModelI);

// The lowest positive identifier without a row, found by one query.
// Throws StoreError when every identifier up to 32767 is taken.
int allocateId(const db::Store& store, Kind kind = Kind::ModelI);

// A new calculation: its row and, for model I, its tabMain row with the
// defaults of a new calculation (the settings keep their column defaults).
// A name that another program stored meanwhile is refused.
Calculation createCalculation(db::Store& store, const QString& name, Kind kind = Kind::ModelI);

// The calculation opened last, as tab_time remembers it (0 when none).
int lastOpenedId(const db::Store& store);
// Remembers the opening in the single row of tab_time.
void recordOpening(db::Store& store, int id);

// What a calculation's tabMain row holds: its general conditions, its run
// settings and its version. In the settings a flag counts only when it is
// 1, and with the total Gs entered, G4 and G5 are not; a mass not entered is
// 0; Pn is 1, 2, or 3 for any other stored code.
struct MainRow {
    Conditions conditions;
    calc::RunSettings settings;
    qint64 version = 0;
};

// The message of a stored number field of a calculation (its conditions, a
// block, a directory entry it uses) that holds something else than a number.
QString notANumberMessage(const QString& calculation, const db::NotANumber& bad);

// The fields of tabMain that mainRowFrom reads, as a select list.
const QString& mainRowColumns();
// The row of a query that selects mainRowColumns() (Id first). A number
// field that holds something else than a number throws db::NotANumber.
MainRow mainRowFrom(const db::Row& row);

// The general conditions as the input screen opens them; the store keeps
// the version of the row read (rememberOpened), which later changes of the
// calculation by this program check (takeForChange).
std::optional<Conditions> loadConditions(const db::Store& store, int id);
void rememberOpened(const db::Store& store, int id, qint64 version);
// Writes the general conditions into the tabMain row of the calculation;
// the run settings of the row are not touched.
void saveConditions(db::Store& store, int id, const Conditions& conditions);

// The run settings stored with the calculation; nothing when it has no tabMain row.
std::optional<calc::RunSettings> storedRunSettings(const db::Store& store, int id);

// Writes the run settings into the calculation's tabMain row; false when
// the calculation has none.
bool saveRunSettings(db::Store& store, int id, const calc::RunSettings& settings);

// Refuses a name that another calculation has.
void renameCalculation(db::Store& store, int id, const QString& newName);

// Copies calculation sourceId with the given conditions to targetName: onto
// the existing calculation of that name (its blocks replaced, its settings
// kept) or onto a new one. All or nothing. Returns the target.
Calculation saveAs(db::Store& store, int sourceId, const QString& targetName, const Conditions& conditions);

// Deletes a calculation of model I with its conditions and blocks, all or nothing.
void deleteCalculation(db::Store& store, int id);

// The journal row of one model I run.
void appendRunJournal(db::Store& store, const QString& calculationName,
                      const QDateTime& when = QDateTime::currentDateTime());

// Every change of a calculation (model I: its conditions, settings, blocks,
// name, or its deletion; a complex calculation: its rows or its deletion)
// takes the calculation first, inside the change's transaction: the change
// counts in the calculation's version (Versiya of its tabMain row, of its
// tabRasch1 row for a complex one). When this program has read the
// calculation, the version must still be the one it read or last wrote;
// otherwise another program changed or deleted the calculation meanwhile and
// ConcurrentChange is thrown, which undoes the change. On a server the taking
// holds the row until the transaction ends, so of two programs saving at once
// the second waits and is then refused.
void takeForChange(db::Store& store, int id, Kind kind = Kind::ModelI);

// Notes the version the calculation has now as the one this program read;
// forgetVersion drops it, for a calculation this program deleted.
void rememberVersion(const db::Store& store, int id, Kind kind);
void forgetVersion(const db::Store& store, int id, Kind kind);

// Holds the single row of tab_time until the running transaction ends: the
// programs that number or name records (calculations, pool entries) do it
// one after another, so that two of them never take the same number or name.
void lockNumbering(db::Store& store);

}  // namespace veltron::records
