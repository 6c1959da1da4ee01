#include "records/run_inputs.h"

#include "calc/number_text.h"

#include <QHash>
#include <QSqlRecord>

#include <algorithm>
#include <map>

namespace veltron::records {

namespace {

calc::Stop cannotRun(const QString& message)
{
    return calc::Stop{calc::text::kAttention, message, calc::StopIcon::Error};
}

// Field values by column position, the positions found once per result.
class Columns {
public:
    Columns(const QSqlRecord& r, std::initializer_list<const char*> names)
    {
        for (const char* n : names)
            index_[n] = r.indexOf(QLatin1String(n));
    }
    double number(const QSqlRecord& r, const char* name) const
    {
        const int i = index_.at(name);
        const QVariant v = i < 0 ? QVariant() : r.value(i);
        return v.isNull() ? 0.0 : v.toDouble();
    }
    int flag(const QSqlRecord& r, const char* name) const { return qRound(number(r, name)); }
    QString text(const QSqlRecord& r, const char* name) const
    {
        const int i = index_.at(name);
        return i < 0 ? QString() : r.value(i).toString();
    }

private:
    std::map<std::string, int> index_;
};

const std::initializer_list<const char*> kBlockFields = {
    "Id_Rasch", "Id", "Name_blok", "Name", "V_GF", "V_PGF", "Davl", "Temp", "Plotn_GF", "Plotn_PGF",
    "Adiab", "S_sech", "Sk_teploper_GG", "Sk_teploper_GF", "Koef_gidro", "t", "t_P", "t_T", "pVist",
    "pVist_zad", "pVistG", "pVistG_zad", "G1", "znG1", "G2", "znG2", "mi", "pmi"};

const std::initializer_list<const char*> kMainFields = {
    "Id", "Name_poverhn", "t_kontakt", "S_kontakt", "S_G", "Tempv", "Tempp", "Tg", "nyu", "f131",
    "z", "znPn", "znPn1", "Lnkpr", "znLnkpr", "Uv", "A", "G", "Pn", "Gs", "znGs", "G4", "znG4",
    "G5", "znG5"};

calc::BlockData blockFrom(const Columns& c, const QSqlRecord& r)
{
    calc::BlockData d;
    d.Id = c.flag(r, "Id");
    d.Name_blok = c.text(r, "Name_blok");
    d.Name = c.text(r, "Name");
#define VELTRON_NUMBER(f) d.f = c.number(r, #f)
    VELTRON_NUMBER(V_GF); VELTRON_NUMBER(V_PGF); VELTRON_NUMBER(Davl); VELTRON_NUMBER(Temp);
    VELTRON_NUMBER(Plotn_GF); VELTRON_NUMBER(Plotn_PGF); VELTRON_NUMBER(Adiab); VELTRON_NUMBER(S_sech);
    VELTRON_NUMBER(Sk_teploper_GG); VELTRON_NUMBER(Sk_teploper_GF); VELTRON_NUMBER(Koef_gidro);
    VELTRON_NUMBER(t); VELTRON_NUMBER(t_P); VELTRON_NUMBER(t_T); VELTRON_NUMBER(pVist);
    VELTRON_NUMBER(pVist_zad); VELTRON_NUMBER(pVistG); VELTRON_NUMBER(pVistG_zad);
    VELTRON_NUMBER(znG1); VELTRON_NUMBER(znG2); VELTRON_NUMBER(pmi);
#undef VELTRON_NUMBER
    d.G1 = c.flag(r, "G1") == 1;
    d.G2 = c.flag(r, "G2") == 1;
    d.mi = c.flag(r, "mi") == 1;
    return d;
}

struct Surface {
    double p = 0;
    double lyambda = 0;
    double c = 0;
};

QHash<QString, Surface> surfacesOf(const db::Store& store)
{
    QHash<QString, Surface> out;
    for (const QSqlRecord& r : store.query(QStringLiteral("SELECT Name, p, lyambda, c FROM tabPoverhn"))) {
        const QString name = r.value(0).toString();
        if (!out.contains(name))
            out.insert(name, {r.value(1).toDouble(), r.value(2).toDouble(), r.value(3).toDouble()});
    }
    return out;
}

// The inputs from the calculation's tabMain row (null when it has none) and
// its blocks in ascending Id.
LoadedInputs build(const Calculation& calculation, const Columns* mc, const QSqlRecord* m,
                   const QHash<QString, Surface>& surfaces, const std::vector<calc::BlockData>& blocks)
{
    calc::RunInputs in;
    in.calculationName = calculation.name;
    if (!m)
        return cannotRun(QStringLiteral("У расчета «%1» нет общих условий (tabMain).").arg(calculation.name));
    calc::GeneralConditions& g = in.conditions;
    g.Zet = calc::numberText(mc->number(*m, "z"));
    g.Check1 = mc->flag(*m, "f131") == 1;
    g.S_G = calc::numberText(mc->number(*m, "S_G"));
    g.S_kontakt = mc->number(*m, "S_kontakt");
    g.t_kontakt = mc->number(*m, "t_kontakt");
    g.Tempv = mc->number(*m, "Tempv");
    g.Tg = mc->number(*m, "Tg");
    g.Tempp = mc->number(*m, "Tempp");
    g.Nyu = mc->number(*m, "nyu");
    g.Name_poverhn = mc->text(*m, "Name_poverhn");
    g.Pn = mc->number(*m, "znPn");
    g.Check3 = g.Pn != 0;
    g.Pn1 = mc->number(*m, "znPn1");
    g.Check4 = g.Pn1 != 0;
    g.Check2 = mc->number(*m, "Lnkpr") != 0;
    if (g.Check2) {
        g.Lnkpr = mc->number(*m, "znLnkpr");
        g.Uv = mc->number(*m, "Uv");
    }
    const auto surface = surfaces.constFind(g.Name_poverhn);
    if (surface == surfaces.constEnd())
        return cannotRun(QStringLiteral("Подстилающая поверхность «%1» расчета «%2» не найдена в справочнике поверхностей.")
                             .arg(g.Name_poverhn, calculation.name));
    g.p = surface->p;
    g.Koef_teplopr = surface->lyambda;
    g.c = surface->c;

    // The settings as the run settings dialog confirms them after loading.
    calc::RunSettings& s = in.settings;
    s.A = mc->flag(*m, "A");
    s.G = mc->flag(*m, "G");
    const int code = mc->flag(*m, "Pn");
    s.Pn = code == 1 || code == 2 ? code : 3;
    if (mc->flag(*m, "Gs") == 1) {
        s.Gs = true;
        s.znGs = mc->number(*m, "znGs");
    } else {
        s.G4 = mc->flag(*m, "G4") == 1;
        s.znG4 = s.G4 ? mc->number(*m, "znG4") : 0;
        s.G5 = mc->flag(*m, "G5") == 1;
        s.znG5 = s.G5 ? mc->number(*m, "znG5") : 0;
    }

    bool hasMain = false;
    for (const calc::BlockData& b : blocks) {
        if (b.Id == 1) {
            in.main = b;
            hasMain = !b.Name.isEmpty();
        } else {
            in.adjacent.push_back(b);
        }
    }
    if (!hasMain)
        return cannotRun(QStringLiteral("В расчете «%1» нет данных о расчетном блоке: расчет невозможен.")
                             .arg(calculation.name));
    return in;
}

}  // namespace

calc::BlockData toBlockData(const Block& b)
{
    calc::BlockData d;
    d.Id = b.Id;
    d.Name_blok = b.Name_blok;
    d.Name = b.Name;
    d.V_GF = b.V_GF;
    d.V_PGF = b.V_PGF;
    d.Davl = b.Davl;
    d.Temp = b.Temp;
    d.Plotn_GF = b.Plotn_GF;
    d.Plotn_PGF = b.Plotn_PGF;
    d.Adiab = b.Adiab;
    d.S_sech = b.S_sech;
    d.Sk_teploper_GG = b.Sk_teploper_GG;
    d.Sk_teploper_GF = b.Sk_teploper_GF;
    d.Koef_gidro = b.Koef_gidro;
    d.t = b.t;
    d.t_P = b.t_P;
    d.t_T = b.t_T;
    d.pVist = b.pVist;
    d.pVist_zad = b.pVist_zad;
    d.pVistG = b.pVistG;
    d.pVistG_zad = b.pVistG_zad;
    d.G1 = b.G1 == 1;
    d.znG1 = b.znG1;
    d.G2 = b.G2 == 1;
    d.znG2 = b.znG2;
    d.mi = b.mi == 1;
    d.pmi = b.pmi;
    return d;
}

LoadedInputs loadRunInputs(const db::Store& store, const Calculation& calculation)
{
    LoadedInputs out;
    loadRunInputs(store, {calculation}, [&](qsizetype, const LoadedInputs& in) { out = in; });
    return out;
}

void loadRunInputs(const db::Store& store, const QList<Calculation>& calculations,
                   const std::function<void(qsizetype, const LoadedInputs&)>& each)
{
    const QHash<QString, Surface> surfaces = surfacesOf(store);
    // Calculations by identifier, read a range of identifiers at a time.
    std::vector<qsizetype> order(calculations.size());
    for (qsizetype i = 0; i < calculations.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(),
              [&](qsizetype a, qsizetype b) { return calculations[a].id < calculations[b].id; });
    constexpr std::size_t kChunk = 500;
    for (std::size_t from = 0; from < order.size(); from += kChunk) {
        const std::size_t to = std::min(order.size(), from + kChunk);
        const int lo = calculations[order[from]].id;
        const int hi = calculations[order[to - 1]].id;

        const QList<QSqlRecord> mains =
            store.query(QStringLiteral("SELECT * FROM tabMain WHERE Id BETWEEN ? AND ?"), {lo, hi});
        std::map<int, const QSqlRecord*> mainOf;
        std::optional<Columns> mainColumns;
        for (const QSqlRecord& r : mains) {
            if (!mainColumns)
                mainColumns.emplace(r, kMainFields);
            mainOf.emplace(mainColumns->flag(r, "Id"), &r);  // the first row of an Id
        }

        std::map<int, std::vector<calc::BlockData>> blocksOf;
        {
            const QList<QSqlRecord> rows = store.query(
                QStringLiteral("SELECT * FROM tabBloki WHERE Id_Rasch BETWEEN ? AND ? ORDER BY Id_Rasch, Id"),
                {lo, hi});
            std::optional<Columns> c;
            for (const QSqlRecord& r : rows) {
                if (!c)
                    c.emplace(r, kBlockFields);
                blocksOf[c->flag(r, "Id_Rasch")].push_back(blockFrom(*c, r));
            }
        }

        static const std::vector<calc::BlockData> kNoBlocks;
        for (std::size_t k = from; k < to; ++k) {
            const Calculation& calculation = calculations[order[k]];
            const auto m = mainOf.find(calculation.id);
            const auto b = blocksOf.find(calculation.id);
            each(order[k], build(calculation, m == mainOf.end() ? nullptr : &*mainColumns,
                                 m == mainOf.end() ? nullptr : m->second, surfaces,
                                 b == blocksOf.end() ? kNoBlocks : b->second));
        }
    }
}

void appendRunJournal(db::Store& store, const QString& calculationName, const QDateTime& when)
{
    store.exec(QStringLiteral("INSERT INTO tabOtchet (Date, Name_ob, Conc) VALUES (?, ?, ?)"),
               {when, calculationName, calc::text::kJournalConc});
}

}  // namespace veltron::records
