#include "records/calculation_inputs.h"

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

QHash<QString, Surface> surfacesOf(const db::Store& store)
{
    QHash<QString, Surface> out;
    for (const QSqlRecord& r : store.query(QStringLiteral("SELECT Name, p, lyambda, c FROM tabPoverhn"))) {
        const QString name = r.value(0).toString();
        if (!out.contains(name))
            out.insert(name, {name, db::numberField(r, "p"), db::numberField(r, "lyambda"), db::numberField(r, "c")});
    }
    return out;
}

struct Loaded {
    CalculationInputs inputs;
    std::optional<calc::Stop> refusal;  // why the input screen could not run it
    const QSqlRecord* mainRow = nullptr;
};

// The inputs from the calculation's tabMain row (null when it has none) and
// its blocks in ascending Id.
Loaded build(const Calculation& calculation, const QSqlRecord* mainRow, const QHash<QString, Surface>& surfaces,
             const QList<Block>& blocks)
{
    Loaded out;
    out.mainRow = mainRow;
    CalculationInputs& in = out.inputs;
    in.calculation = calculation;
    const Conditions stored = mainRow ? conditionsOf(*mainRow) : Conditions{};
    const auto surface = surfaces.constFind(stored.Name_poverhn);
    in.conditions = conditionTexts(
        stored, surface == surfaces.constEnd() ? std::nullopt : std::optional<Surface>(*surface));
    if (mainRow)
        in.settings = runSettingsOf(*mainRow);
    for (const Block& b : blocks) {
        if (b.isMain()) {
            if (!in.main)
                in.main = b;
        } else {
            in.adjacent << b;
        }
    }

    if (!mainRow)
        out.refusal = cannotRun(QStringLiteral("У расчета «%1» нет общих условий (tabMain).").arg(calculation.name));
    else if (surface == surfaces.constEnd())
        out.refusal = cannotRun(QStringLiteral("Подстилающая поверхность «%1» расчета «%2» не найдена в справочнике "
                                               "поверхностей.")
                                    .arg(stored.Name_poverhn, calculation.name));
    else if (!in.main || in.main->Name.isEmpty())
        out.refusal = cannotRun(QStringLiteral("В расчете «%1» нет данных о расчетном блоке: расчет невозможен.")
                                    .arg(calculation.name));
    return out;
}

// Calls each(i, loaded) for every calculation, reading a range of identifiers at a time.
void loadAll(const db::Store& store, const QList<Calculation>& calculations,
             const std::function<void(qsizetype, const Loaded&)>& each)
{
    const QHash<QString, Surface> surfaces = surfacesOf(store);
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
        for (const QSqlRecord& r : mains)
            mainOf.emplace(qRound(db::numberField(r, "Id")), &r);  // the first row of an Id

        std::map<int, QList<Block>> blocksOf;
        for (const Block& b : blocksFrom(store.query(
                 QStringLiteral("SELECT * FROM tabBloki WHERE Id_Rasch BETWEEN ? AND ? ORDER BY Id_Rasch, Id"),
                 {lo, hi})))
            blocksOf[b.Id_Rasch] << b;

        static const QList<Block> kNoBlocks;
        for (std::size_t k = from; k < to; ++k) {
            const Calculation& calculation = calculations[order[k]];
            const auto m = mainOf.find(calculation.id);
            const auto b = blocksOf.find(calculation.id);
            each(order[k], build(calculation, m == mainOf.end() ? nullptr : m->second, surfaces,
                                 b == blocksOf.end() ? kNoBlocks : b->second));
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
        out = l.inputs;
        if (l.mainRow)
            rememberOpened(store, calculation.id, *l.mainRow);
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
    const auto engineInputs = runInputsOf(std::get<CalculationInputs>(loaded));
    if (const auto* bad = std::get_if<NotANumber>(&engineInputs))
        return inputError(*bad);
    return calc::run(std::get<calc::RunInputs>(engineInputs), reference, appendJournalRow);
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
