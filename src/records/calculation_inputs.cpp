#include "records/calculation_inputs.h"

#include "calc/number_text.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace veltron::records {

namespace {

calc::Stop cannotRun(const QString& message)
{
    return calc::Stop{calc::text::kAttention, message, calc::StopIcon::Error};
}

// A surface of the directory, or the field of it that holds no number.
using SurfaceEntry = std::variant<Surface, db::NotANumber>;

QHash<QString, SurfaceEntry> surfacesOf(const db::Store& store)
{
    QHash<QString, SurfaceEntry> out;
    store.forEachRow(QStringLiteral("SELECT Name, p, lyambda, c FROM tabPoverhn"), {}, [&](const db::Row& r) {
        const QString name = r.text(0);
        if (out.contains(name))  // the first row of a name
            return;
        try {
            out.insert(name, surfaceFrom(r));
        } catch (const db::NotANumber& e) {
            out.insert(name, e);
        }
    });
    return out;
}

// What the store holds for one calculation.
struct Stored {
    std::optional<MainRow> main;  // its tabMain row
    QList<Block> blocks;          // in ascending Id
    std::optional<db::NotANumber> bad;  // the first stored number of it that is not a number
};

struct Loaded {
    CalculationInputs inputs;
    std::optional<calc::Stop> refusal;  // why the input screen could not run it
    bool notANumber = false;            // the refusal is a stored value that is not a number
    std::optional<qint64> version;      // of its tabMain row
};

Loaded build(const Calculation& calculation, const Stored& stored, const QHash<QString, SurfaceEntry>& surfaces)
{
    Loaded out;
    CalculationInputs& in = out.inputs;
    in.calculation = calculation;
    const Conditions conditions = stored.main ? stored.main->conditions : Conditions{};
    const auto entry = surfaces.constFind(conditions.Name_poverhn);
    const Surface* surface = entry == surfaces.constEnd() ? nullptr : std::get_if<Surface>(&*entry);
    in.conditions = conditionTexts(conditions, surface ? std::optional<Surface>(*surface) : std::nullopt);
    if (stored.main) {
        in.settings = stored.main->settings;
        out.version = stored.main->version;
    }
    for (const Block& b : stored.blocks) {
        if (b.isMain()) {
            if (!in.main)
                in.main = b;
        } else {
            in.adjacent << b;
        }
    }

    std::optional<db::NotANumber> bad = stored.bad;
    if (!bad && stored.main && entry != surfaces.constEnd())
        if (const auto* badSurface = std::get_if<db::NotANumber>(&*entry))
            bad = *badSurface;
    if (bad) {
        out.refusal = cannotRun(notANumberMessage(calculation.name, *bad));
        out.notANumber = true;
    } else if (!stored.main) {
        out.refusal = cannotRun(QStringLiteral("У расчета «%1» нет общих условий (tabMain).").arg(calculation.name));
    } else if (!surface) {
        out.refusal = cannotRun(QStringLiteral("Подстилающая поверхность «%1» расчета «%2» не найдена в справочнике "
                                               "поверхностей.")
                                    .arg(conditions.Name_poverhn, calculation.name));
    } else if (!in.main || in.main->Name.isEmpty()) {
        out.refusal = cannotRun(QStringLiteral("В расчете «%1» нет данных о расчетном блоке: расчет невозможен.")
                                    .arg(calculation.name));
    }
    return out;
}

// Calculations are read this many at a time: a few queries for all of them,
// and memory that does not grow with their number.
constexpr qsizetype kBatch = 500;

// The tabMain rows and the blocks of the calculations, in two queries. The
// identifiers are the program's own numbers and go into the statements as
// a list of numbers: a statement of hundreds of parameters takes longer to
// prepare than to run. The range of the numbers stands beside the list: a
// server plans a long list alone as a scan of the whole table, which makes
// a run over all calculations grow with the square of their number.
QHash<int, Stored> readStored(const db::Store& store, const QList<int>& ids)
{
    QHash<int, Stored> stored;
    stored.reserve(ids.size());
    if (ids.isEmpty())
        return stored;
    QStringList numbers;
    numbers.reserve(ids.size());
    for (int id : ids)
        numbers << QString::number(id);
    const auto [lowest, highest] = std::minmax_element(ids.begin(), ids.end());
    const auto among = [&](const char* field) {
        return QStringLiteral("%1 BETWEEN %2 AND %3 AND %1 IN (%4)")
            .arg(QLatin1String(field))
            .arg(*lowest)
            .arg(*highest)
            .arg(numbers.join(QLatin1Char(',')));
    };
    store.forEachRow(QStringLiteral("SELECT %1 FROM tabMain WHERE %2").arg(mainRowColumns(), among("Id")), {},
                     [&](const db::Row& r) {
                         Stored& s = stored[r.whole(0)];
                         if (s.main || s.bad)  // the first row of an Id
                             return;
                         try {
                             s.main = mainRowFrom(r);
                         } catch (const db::NotANumber& e) {
                             s.bad = e.at(QStringLiteral("общие условия расчета (tabMain)"));
                         }
                     });
    store.forEachRow(QStringLiteral("SELECT %1 FROM tabBloki WHERE %2 ORDER BY Id_Rasch, Id")
                         .arg(blockColumns().join(QStringLiteral(", ")), among("Id_Rasch")),
                     {}, [&](const db::Row& r) {
                         Stored& s = stored[r.whole(0)];
                         try {
                             s.blocks << blockFrom(r);
                         } catch (const db::NotANumber& e) {
                             if (!s.bad)
                                 s.bad = e;
                         }
                     });
    return stored;
}

// Calls each(i, loaded) for every calculation in the order of the list.
void loadAll(const db::Store& store, const QList<Calculation>& calculations,
             const std::function<void(qsizetype, const Loaded&)>& each)
{
    const QHash<QString, SurfaceEntry> surfaces = surfacesOf(store);
    for (qsizetype from = 0; from < calculations.size(); from += kBatch) {
        const qsizetype to = std::min(calculations.size(), from + kBatch);
        QList<int> ids;
        QSet<int> seen;
        for (qsizetype k = from; k < to; ++k)
            if (!seen.contains(calculations[k].id)) {
                seen.insert(calculations[k].id);
                ids << calculations[k].id;
            }
        const QHash<int, Stored> stored = readStored(store, ids);
        static const Stored kNothing;
        for (qsizetype k = from; k < to; ++k) {
            const auto found = stored.constFind(calculations[k].id);
            each(k, build(calculations[k], found == stored.constEnd() ? kNothing : *found, surfaces));
        }
    }
}

}  // namespace

QString airTemperatureCaption(bool outdoors)
{
    return outdoors ? QStringLiteral("Температура воздуха в окружающей среде, °C")
                    : QStringLiteral("Температура воздуха в помещении, °C");
}

ConditionTexts conditionTexts(const Conditions& k, const std::optional<Surface>& surface)
{
    const auto text = [](double x) { return calc::numberText(x); };
    ConditionTexts t;
    t.Name_poverhn = k.Name_poverhn;
    if (surface) {
        t.Koef_teplopr = text(surface->lyambda);
        t.c = text(surface->c);
        t.p = text(surface->p);
    }
    t.t_kontakt = text(k.t_kontakt);
    t.S_kontakt = text(k.S_kontakt);
    t.S_G = text(k.S_G);
    t.Check1 = k.f131 != 0;
    t.Tempv = text(k.Tempv);
    t.Tempp = text(k.Tempp);
    t.txtTg = text(k.Tg);
    t.Option3 = k.opNyu == 0;
    t.txtNyu = text(k.nyu);
    t.Zet = text(k.z);
    // A hidden field keeps its design text when its box is not ticked.
    t.Check3 = k.znPn != 0;
    if (t.Check3)
        t.txtPn = text(k.znPn);
    t.Check4 = k.znPn1 != 0;
    if (t.Check4)
        t.txtPn1 = text(k.znPn1);
    t.Check2 = k.Lnkpr != 0;
    if (t.Check2) {
        t.txtLnkpr = text(k.znLnkpr);
        t.txtUv = text(k.Uv);
    }
    return t;
}

CalculationInputs loadCalculationInputs(const db::Store& store, const Calculation& calculation)
{
    CalculationInputs out;
    loadAll(store, {calculation}, [&](qsizetype, const Loaded& l) {
        if (l.notANumber)
            throw db::StoreError(l.refusal->message);
        out = l.inputs;
        if (l.version)
            rememberOpened(store, calculation.id, *l.version);
    });
    return out;
}

RunnableInputs loadRunnableInputs(const db::Store& store, const Calculation& calculation)
{
    RunnableInputs out;
    loadRunnableInputs(store, {calculation}, [&](qsizetype, const RunnableInputs& in) { out = in; });
    return out;
}

void loadRunnableInputs(const db::Store& store, const QList<Calculation>& calculations,
                        const std::function<void(qsizetype, const RunnableInputs&)>& each)
{
    loadAll(store, calculations, [&](qsizetype i, const Loaded& l) {
        if (l.refusal)
            each(i, *l.refusal);
        else
            each(i, l.inputs);
    });
}

std::variant<calc::RunInputs, NotANumber> runInputsOf(const CalculationInputs& in)
{
    const ConditionTexts& t = in.conditions;
    calc::RunInputs out;
    out.calculationName = in.calculation.name;
    out.settings = in.settings;
    calc::GeneralConditions& c = out.conditions;
    c.Zet = t.Zet;
    c.Check1 = t.Check1;
    c.S_G = t.S_G;
    c.Name_poverhn = t.Name_poverhn;
    c.Check2 = t.Check2;
    c.Check3 = t.Check3;
    c.Check4 = t.Check4;

    using F = ConditionField;
    struct Field {
        F field;
        const QString* text;
        const char* caption;
        double* target;
    };
    double zet = 0, mirror = 0;
    std::vector<Field> fields = {
        {F::Zet, &t.Zet, "Доля приведенной массы парогазовых веществ, участвующих во взрыве, z", &zet},
        {F::S_G, &t.S_G, "Площадь поверхности зеркала жидкости, кв.м", &mirror},
        {F::S_kontakt, &t.S_kontakt, "Площадь контакта жидкости с твердой поверхностью пролива, кв.м", &c.S_kontakt},
        {F::t_kontakt, &t.t_kontakt, "Время контакта жидкости с поверхностью пролива, принимаемое в расчет, с",
         &c.t_kontakt},
        {F::Tempv, &t.Tempv, "Температура воздуха, °C", &c.Tempv},
        {F::txtTg, &t.txtTg, "Температура жидкости в проливе, °C", &c.Tg},
        {F::Tempp, &t.Tempp, "Температура твердой поверхности (пола, поддона, грунта и т.п.), °C", &c.Tempp},
        {F::c, &t.c, "Уд. теплоем. кДж/(кг·К)", &c.c},
        {F::p, &t.p, "Плотность, кг/куб.м", &c.p},
        {F::Koef_teplopr, &t.Koef_teplopr, "Коэффициент теплопр. Вт/(м·К)", &c.Koef_teplopr},
        {F::txtNyu, &t.txtNyu, "Коэффициент интенсивности испарения", &c.Nyu},
    };
    if (t.Check2) {
        fields.push_back({F::txtUv, &t.txtUv, "скорость воздушного потока над зеркалом испарения, м/с", &c.Uv});
        fields.push_back({F::txtLnkpr, &t.txtLnkpr, "L 0,5 НКПР", &c.Lnkpr});
    }
    if (t.Check3)
        fields.push_back({F::txtPn, &t.txtPn, "давление насыщенных паров при реглам. температуре в блоке, кПа", &c.Pn});
    if (t.Check4)
        fields.push_back({F::txtPn1, &t.txtPn1, "давление насыщенных паров при макс. из температур, кПа", &c.Pn1});
    for (const Field& f : fields) {
        const auto v = calc::parseNumber(*f.text);
        if (!v)
            return NotANumber{f.field, QString::fromUtf8(f.caption)};
        *f.target = *v;
    }

    if (in.main)
        out.main = toBlockData(*in.main);
    for (const Block& b : in.adjacent)
        out.adjacent.push_back(toBlockData(b));
    return out;
}

calc::Stop inputError(const NotANumber& bad)
{
    return calc::Stop{QStringLiteral("Ввод данных"),
                      QStringLiteral("Проверьте правильность ввода: \"%1\" должно быть числом.").arg(bad.caption),
                      calc::StopIcon::Warning};
}

calc::RunOutcome runLoaded(const RunnableInputs& loaded, const calc::Reference& reference,
                           const std::function<void()>& appendJournalRow)
{
    if (const auto* refusal = std::get_if<calc::Stop>(&loaded))
        return *refusal;
    const CalculationInputs& inputs = std::get<CalculationInputs>(loaded);
    const auto engineInputs = runInputsOf(inputs);
    if (const auto* bad = std::get_if<NotANumber>(&engineInputs))
        return inputError(*bad);
    try {
        return calc::run(std::get<calc::RunInputs>(engineInputs), reference, appendJournalRow);
    } catch (const db::NotANumber& e) {  // a substance of the directory
        return cannotRun(notANumberMessage(inputs.calculation.name, e));
    }
}

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

}  // namespace veltron::records
