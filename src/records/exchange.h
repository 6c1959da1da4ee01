#pragma once

// Calculations of model I sent between stores as one file: a JSON text that
// a reviewer can read and a version-control system can diff. It holds, for
// each calculation, its conditions and run settings and all its blocks with
// their entered values, and the whole records of the substances and surfaces
// those use, so that the calculation runs elsewhere exactly as it ran here.

#include "db/store.h"
#include "records/calculations.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <stdexcept>

namespace veltron::records {

inline const QString kExchangeFormat = QStringLiteral("veltron-calculations");
inline constexpr int kExchangeVersion = 1;
// The extension of the file, without the point.
inline const QString kExchangeExtension = QStringLiteral("veltron");

// A file that cannot be imported; the message tells the user what is wrong.
class ExchangeError : public std::runtime_error {
public:
    explicit ExchangeError(const QString& message);
    QString message() const { return message_; }

private:
    QString message_;
};

// One row of a table as the file carries it: field name -> value (a number,
// a text, or null for an empty field).
using ExchangeRow = QVariantMap;

struct ExchangeCalculation {
    QString name;
    ExchangeRow conditions;  // the general conditions of tabMain
    ExchangeRow settings;    // the run settings of tabMain
    QList<ExchangeRow> blocks;  // tabBloki without Id_Rasch, in ascending Id
};

struct ExchangeFile {
    QList<ExchangeCalculation> calculations;
    QList<ExchangeRow> substances;  // whole rows of SubstChar
    QList<ExchangeRow> surfaces;    // whole rows of tabPoverhn
};

// The calculations as they are stored, with the substances and surfaces
// they name (those the directories hold). Store failures throw db::StoreError.
ExchangeFile readForExport(const db::Store& store, const QList<Calculation>& calculations);

// The file's text: pretty-printed UTF-8 JSON with the format's name and version.
QByteArray exchangeJson(const ExchangeFile& file);

// Reads a file's text. Throws ExchangeError for a text that is not JSON, a
// JSON of another kind, a newer version of the format, a truncated file, a
// missing or unknown field, or a value of the wrong kind (a text where a
// number belongs): the message names the place.
ExchangeFile parseExchangeFile(const QByteArray& bytes);

// A substance or surface of the file whose name the store already has with
// other values: it came in under another name.
struct RenamedRecord {
    QString what;  // "Вещество", "Поверхность"
    QString name;  // in the file and in the store
    QString importedAs;
    QStringList differences;  // "Поле: в файле X, в базе Y"
};

struct ImportResult {
    QList<Calculation> calculations;  // as stored, in the file's order
    QList<RenamedRecord> renamed;
};

// The names of the file's calculations that the store already has.
QStringList takenNames(const db::Store& store, const QStringList& names);

// Adds the file's calculations under `names` (one per calculation, in the
// file's order) in one transaction. A substance or surface of the same name
// and the same values is the store's own; one of the same name with other
// values comes in as "Имя (импорт)" (or "Имя (импорт 2)" …), and the blocks
// or the calculation point to it; a record of the store is never changed.
// A name the store already has, or given twice, throws db::StoreError and
// nothing is stored.
ImportResult importCalculations(db::Store& store, const ExchangeFile& file, const QStringList& names);

// What the user is told about the records that came in under other names;
// empty when none did.
QString renamedNotice(const ImportResult& result);

}  // namespace veltron::records
