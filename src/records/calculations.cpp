#include "records/calculations.h"

#include "calc/engine.h"
#include "records/blocks.h"
#include "records/journal.h"

#include "db/rows.h"

#include <QDateTime>
#include <QSqlRecord>
#include <QVariant>

namespace veltron::records {

namespace {

constexpr int kLargestId = 32767;

QString tableOf(Kind kind)
{
    return kind == Kind::ModelI ? QStringLiteral("tabRasch") : QStringLiteral("tabRasch1");
}

Calculation fromRecord(const QSqlRecord& r)
{
    return {r.value(QStringLiteral("Id")).toInt(), r.value(QStringLiteral("Name")).toString()};
}


const char* const kConditionFields[] = {"Name_poverhn", "t_kontakt", "S_kontakt", "S_G",  "Tempv",   "Tempp",
                                        "Tg",           "nyu",       "f131",      "z",    "znPn",    "znPn1",
                                        "Lnkpr",        "znLnkpr",   "Uv",        "opNyu"};

QVariantList valuesOf(const Conditions& c)
{
    return {c.Name_poverhn, c.t_kontakt, c.S_kontakt, c.S_G,  c.Tempv, c.Tempp,   c.Tg, c.nyu,
            c.f131,         c.z,         c.znPn,      c.znPn1, c.Lnkpr, c.znLnkpr, c.Uv, c.opNyu};
}

// Where the version of a calculation is kept: its tabMain row for model I,
// its own row for a complex calculation.
QString versionTable(Kind kind)
{
    return kind == Kind::ModelI ? QStringLiteral("tabMain") : QStringLiteral("tabRasch1");
}

QString versionKey(int id, Kind kind = Kind::ModelI)
{
    return QStringLiteral("%1:%2").arg(versionTable(kind)).arg(id);
}


}  // namespace

QList<Calculation> listCalculations(const db::Store& store, Kind kind)
{
    auto rows = store.query(QStringLiteral("SELECT Id, Name FROM %1").arg(tableOf(kind)));
    db::sortRussianBy(rows);
    QList<Calculation> out;
    for (const auto& r : rows)
        out << fromRecord(r);
    return out;
}

int countCalculations(const db::Store& store, Kind kind)
{
    return store.query(QStringLiteral("SELECT COUNT(*) FROM %1").arg(tableOf(kind))).first().value(0).toInt();
}

std::optional<Calculation> findById(const db::Store& store, int id, Kind kind)
{
    const auto rows = store.query(QStringLiteral("SELECT Id, Name FROM %1 WHERE Id = ?").arg(tableOf(kind)), {id});
    if (rows.isEmpty())
        return std::nullopt;
    return fromRecord(rows.first());
}

std::optional<Calculation> findByName(const db::Store& store, const QString& name, Kind kind)
{
    const auto rows = store.query(QStringLiteral("SELECT Id, Name FROM %1 WHERE Name = ?").arg(tableOf(kind)), {name});
    if (rows.isEmpty())
        return std::nullopt;
    return fromRecord(rows.first());
}

int allocateId(const db::Store& store, Kind kind)
{
    const QString t = tableOf(kind);
    const auto rows = store.query(
        QStringLiteral("SELECT CASE WHEN NOT EXISTS (SELECT 1 FROM %1 WHERE Id = 1) THEN 1 "
                       "ELSE (SELECT MIN(Id) + 1 FROM (SELECT Id, LEAD(Id) OVER (ORDER BY Id) AS nxt "
                       "FROM (SELECT DISTINCT Id FROM %1 WHERE Id >= 1) d) w "
                       "WHERE nxt IS NULL OR nxt > Id + 1) END")
            .arg(t));
    const int id = rows.isEmpty() ? 1 : rows.first().value(0).toInt();
    if (id < 1 || id > kLargestId)
        throw db::StoreError(
            QStringLiteral("Нет свободного номера для нового расчета: заняты все номера от 1 до %1.").arg(kLargestId));
    return id;
}

Calculation createCalculation(db::Store& store, const QString& name, Kind kind)
{
    Calculation c;
    store.transaction([&] {
        lockNumbering(store);
        if (findByName(store, name, kind))
            throw db::StoreError(QStringLiteral("В базе есть расчет с таким именем. Измените название или выберите "
                                                "данное название из списка!"));
        c = {allocateId(store, kind), name};
        store.exec(QStringLiteral("INSERT INTO %1 (Id, Name) VALUES (?, ?)").arg(tableOf(kind)), {c.id, c.name});
        if (kind == Kind::ModelI) {
            QStringList marks;
            for (int i = 0; i <= int(std::size(kConditionFields)); ++i)
                marks << QStringLiteral("?");
            QStringList names{QStringLiteral("Id")};
            for (const char* f : kConditionFields)
                names << QLatin1String(f);
            store.exec(QStringLiteral("INSERT INTO tabMain (%1) VALUES (%2)").arg(names.join(", "), marks.join(", ")),
                       QVariantList{c.id} + valuesOf(Conditions{}));
            store.noteVersion(versionKey(c.id), 0);
        }
    });
    return c;
}

int lastOpenedId(const db::Store& store)
{
    const auto rows = store.query(QStringLiteral("SELECT Id FROM tab_time"));
    if (rows.isEmpty() || rows.first().value(0).isNull())
        return 0;
    return qRound(rows.first().value(0).toDouble());
}

void recordOpening(db::Store& store, int id)
{
    const QDateTime now = QDateTime::currentDateTime();
    store.transaction([&] {
        if (store.exec(QStringLiteral("UPDATE tab_time SET Id = ?, Time_nast = ?"), {double(id), now}) == 0)
            store.exec(QStringLiteral("INSERT INTO tab_time (Id, Time_nast) VALUES (?, ?)"), {double(id), now});
    });
}

namespace {

// The positions of the fields of mainRowColumns().
namespace tabMain {
enum Column {
    Id, Name_poverhn, t_kontakt, S_kontakt, S_G, Tempv, Tempp, Tg, nyu, f131, z, znPn, znPn1, Lnkpr, znLnkpr, Uv,
    opNyu, A, G, Pn, Gs, znGs, G4, znG4, G5, znG5, Versiya
};
}  // namespace tabMain

std::optional<MainRow> findMainRow(const db::Store& store, int id)
{
    std::optional<MainRow> found;
    store.forEachRow(QStringLiteral("SELECT %1 FROM tabMain WHERE Id = ?").arg(mainRowColumns()), {id},
                     [&](const db::Row& r) {
                         if (!found)
                             found = mainRowFrom(r);
                     });
    return found;
}

}  // namespace

QString notANumberMessage(const QString& calculation, const db::NotANumber& bad)
{
    return QStringLiteral("Расчет «%1», %2: в поле %3 записано «%4» — это не число. Исправьте значение в базе данных: "
                          "расчет по нему невозможен.")
        .arg(calculation, bad.where(), bad.field(), bad.value());
}

const QString& mainRowColumns()
{
    static const QString columns = QStringLiteral(
        "Id, Name_poverhn, t_kontakt, S_kontakt, S_G, Tempv, Tempp, Tg, nyu, f131, z, znPn, znPn1, Lnkpr, znLnkpr, "
        "Uv, opNyu, A, G, Pn, Gs, znGs, G4, znG4, G5, znG5, Versiya");
    return columns;
}

MainRow mainRowFrom(const db::Row& r)
{
    MainRow m;
    Conditions& c = m.conditions;
    c.Name_poverhn = r.text(tabMain::Name_poverhn);
    c.t_kontakt = r.number(tabMain::t_kontakt);
    c.S_kontakt = r.number(tabMain::S_kontakt);
    c.S_G = r.number(tabMain::S_G);
    c.Tempv = r.number(tabMain::Tempv);
    c.Tempp = r.number(tabMain::Tempp);
    c.Tg = r.number(tabMain::Tg);
    c.nyu = r.number(tabMain::nyu);
    c.f131 = r.whole(tabMain::f131);
    c.z = r.number(tabMain::z);
    c.znPn = r.number(tabMain::znPn);
    c.znPn1 = r.number(tabMain::znPn1);
    c.Lnkpr = r.whole(tabMain::Lnkpr);
    c.znLnkpr = r.number(tabMain::znLnkpr);
    c.Uv = r.number(tabMain::Uv);
    c.opNyu = r.whole(tabMain::opNyu);

    calc::RunSettings& s = m.settings;
    s.A = r.whole(tabMain::A);
    s.G = r.whole(tabMain::G);
    const int pn = r.whole(tabMain::Pn);
    s.Pn = pn == 1 || pn == 2 ? pn : 3;
    // Every field is read, so that none that holds no number passes unseen.
    const bool gs = r.whole(tabMain::Gs) == 1;
    const double znGs = r.number(tabMain::znGs);
    const bool g4 = r.whole(tabMain::G4) == 1;
    const double znG4 = r.number(tabMain::znG4);
    const bool g5 = r.whole(tabMain::G5) == 1;
    const double znG5 = r.number(tabMain::znG5);
    if (gs) {
        s.Gs = true;
        s.znGs = znGs;
    } else {
        s.G4 = g4;
        s.znG4 = g4 ? znG4 : 0;
        s.G5 = g5;
        s.znG5 = g5 ? znG5 : 0;
    }
    m.version = qint64(r.number(tabMain::Versiya));
    return m;
}

std::optional<Conditions> loadConditions(const db::Store& store, int id)
{
    const std::optional<MainRow> row = findMainRow(store, id);
    if (!row)
        return std::nullopt;
    rememberOpened(store, id, row->version);
    return row->conditions;
}

void rememberOpened(const db::Store& store, int id, qint64 version)
{
    store.noteVersion(versionKey(id), version);
}

void saveConditions(db::Store& store, int id, const Conditions& conditions)
{
    QStringList sets;
    for (const char* f : kConditionFields)
        sets << QLatin1String(f) + QStringLiteral(" = ?");
    store.transaction([&] {
        takeForChange(store, id);
        const int changed = store.exec(QStringLiteral("UPDATE tabMain SET %1 WHERE Id = ?").arg(sets.join(", ")),
                                       valuesOf(conditions) + QVariantList{id});
        if (changed == 0) {
            QStringList names{QStringLiteral("Id")};
            QStringList marks{QStringLiteral("?")};
            for (const char* f : kConditionFields) {
                names << QLatin1String(f);
                marks << QStringLiteral("?");
            }
            store.exec(QStringLiteral("INSERT INTO tabMain (%1) VALUES (%2)").arg(names.join(", "), marks.join(", ")),
                       QVariantList{id} + valuesOf(conditions));
        }
    });
}

std::optional<calc::RunSettings> storedRunSettings(const db::Store& store, int id)
{
    const std::optional<MainRow> row = findMainRow(store, id);
    if (!row)
        return std::nullopt;
    return row->settings;
}

bool saveRunSettings(db::Store& store, int id, const calc::RunSettings& s)
{
    bool stored = false;
    store.transaction([&] {
        takeForChange(store, id);
        stored = store.exec(QStringLiteral("UPDATE tabMain SET A = ?, G = ?, Pn = ?, Gs = ?, znGs = ?, G4 = ?, "
                                           "znG4 = ?, G5 = ?, znG5 = ? WHERE Id = ?"),
                            {s.A, s.G, s.Pn, s.Gs ? 1 : 0, s.znGs, s.G4 ? 1 : 0, s.znG4, s.G5 ? 1 : 0, s.znG5, id})
                 > 0;
    });
    return stored;
}

void renameCalculation(db::Store& store, int id, const QString& newName)
{
    store.transaction([&] {
        lockNumbering(store);
        const auto same = findByName(store, newName);
        if (same && same->id != id)
            throw db::StoreError(QStringLiteral("В базе есть расчет с таким именем!"));
        takeForChange(store, id);
        store.exec(QStringLiteral("UPDATE tabRasch SET Name = ? WHERE Id = ?"), {newName, id});
    });
}

Calculation saveAs(db::Store& store, int sourceId, const QString& targetName, const Conditions& conditions)
{
    Calculation target;
    store.transaction([&] {
        lockNumbering(store);
        if (const auto existing = findByName(store, targetName)) {
            target = *existing;
            if (target.id == sourceId)
                throw db::StoreError(QStringLiteral("Расчет нельзя сохранить сам в себя."));
            takeForChange(store, target.id);
            store.exec(QStringLiteral("DELETE FROM tabBloki WHERE Id_Rasch = ?"), {target.id});
        } else {
            target = {allocateId(store), targetName};
            store.exec(QStringLiteral("INSERT INTO tabRasch (Id, Name) VALUES (?, ?)"), {target.id, target.name});
            store.noteVersion(versionKey(target.id), std::nullopt);
        }
        saveConditions(store, target.id, conditions);
        QStringList rest = blockColumns();
        rest.removeFirst();  // Id_Rasch
        store.exec(QStringLiteral("INSERT INTO tabBloki (Id_Rasch, %1) SELECT ?, %1 FROM tabBloki WHERE Id_Rasch = ?")
                       .arg(rest.join(", ")),
                   {target.id, sourceId});
    });
    return target;
}

void deleteCalculation(db::Store& store, int id)
{
    store.transaction([&] {
        takeForChange(store, id);
        store.exec(QStringLiteral("DELETE FROM tabRasch WHERE Id = ?"), {id});
        store.exec(QStringLiteral("DELETE FROM tabMain WHERE Id = ?"), {id});
        store.exec(QStringLiteral("DELETE FROM tabBloki WHERE Id_Rasch = ?"), {id});
        store.noteVersion(versionKey(id), std::nullopt);
    });
}

void lockNumbering(db::Store& store)
{
    store.exec(QStringLiteral("UPDATE tab_time SET Id = Id"));
}

namespace {

// Runs the statement that takes the calculation's row for a change. On a
// server it waits for a row another user holds only so long: then the
// message names the calculation, which is read beforehand because a failed
// statement ends what the transaction may still read.
int takeRow(db::Store& store, int id, Kind kind, const QString& sql, const QVariantList& params)
{
    if (store.isEmbedded())
        return store.exec(sql, params);
    const std::optional<Calculation> calculation = findById(store, id, kind);
    try {
        return store.exec(sql, params);
    } catch (const db::StoreError& e) {
        if (e.kind() != db::StoreError::Kind::LockTimeout || !calculation)
            throw;
        throw db::StoreError(QStringLiteral("Расчет «%1» сейчас сохраняет другой пользователь, и его сохранение "
                                            "длится дольше %2 с. Ваши изменения не сохранены: повторите сохранение "
                                            "немного позже.")
                                 .arg(calculation->name)
                                 .arg((store.lockWait() + 999) / 1000),
                             e.kind(), e.detail());
    }
}

}  // namespace

void takeForChange(db::Store& store, int id, Kind kind)
{
    const QString key = versionKey(id, kind);
    const QString table = versionTable(kind);
    if (const std::optional<qint64> read = store.knownVersion(key)) {
        if (takeRow(store, id, kind,
                    QStringLiteral("UPDATE %1 SET Versiya = ? WHERE Id = ? AND COALESCE(Versiya, 0) = ?").arg(table),
                    {*read + 1, id, *read})
            == 0) {
            if (const auto now = findById(store, id, kind))
                throw ConcurrentChange(
                    QStringLiteral("Расчет «%1» изменил другой пользователь после того, как вы открыли расчет. Ваши "
                                   "изменения не сохранены, чтобы не затереть его данные: откройте расчет заново или "
                                   "сохраните ваши данные под другим именем.")
                        .arg(now->name));
            throw ConcurrentChange(QStringLiteral("Расчет удален другим пользователем после того, как вы открыли "
                                                  "расчет. Ваши изменения не сохранены: сохраните ваши данные под "
                                                  "другим именем."));
        }
        store.noteVersion(key, *read + 1);
        return;
    }
    takeRow(store, id, kind, QStringLiteral("UPDATE %1 SET Versiya = COALESCE(Versiya, 0) + 1 WHERE Id = ?").arg(table),
            {id});
    rememberVersion(store, id, kind);
}

void rememberVersion(const db::Store& store, int id, Kind kind)
{
    const auto rows =
        store.query(QStringLiteral("SELECT Versiya FROM %1 WHERE Id = ?").arg(versionTable(kind)), {id});
    if (!rows.isEmpty())
        store.noteVersion(versionKey(id, kind), qint64(db::numberField(rows.first(), "Versiya")));
}

void forgetVersion(const db::Store& store, int id, Kind kind)
{
    store.noteVersion(versionKey(id, kind), std::nullopt);
}

void appendRunJournal(db::Store& store, const QString& calculationName, const QDateTime& when)
{
    appendJournalRow(store, calculationName, calc::text::kJournalConc, when);
}

}  // namespace veltron::records
