#include "db/schema.h"

namespace veltron::db {

namespace {

using T = FieldType;

FieldDef I(const char* n, const char* d = "") { return {QString::fromUtf8(n), T::Integer, QString::fromUtf8(d)}; }
FieldDef D(const char* n, const char* d = "") { return {QString::fromUtf8(n), T::Double, QString::fromUtf8(d)}; }
FieldDef S(const char* n) { return {QString::fromUtf8(n), T::Text, {}}; }
FieldDef M(const char* n) { return {QString::fromUtf8(n), T::Memo, {}}; }
FieldDef DT(const char* n) { return {QString::fromUtf8(n), T::DateTime, {}}; }
FieldDef later(FieldDef f)
{
    f.addedLater = true;
    return f;
}

// Versiya of a directory row counts its changes, as in tabMain: a change
// is refused when another program changed the row after it was read here.
FieldDef directoryVersion()
{
    return later(I("Versiya", "0"));
}

std::vector<TableDef> buildSchema()
{
    const auto energies = [](std::vector<FieldDef> head) {
        for (const char* e : {"E11", "E12", "E21", "E22", "E23", "E24", "Wt"})
            head.push_back(D(e));
        return head;
    };
    return {
        {"tabRasch", Base::Main, {I("Id"), S("Name")}},
        // Versiya counts the changes of a complex calculation, as in tabMain.
        {"tabRasch1", Base::Main, {I("Id"), S("Name"), later(I("Versiya", "0"))}},
        // A new calculation uses formula 3.1 (A = 0), formula 12 (G = 0) and
        // formula 14.2 (Pn = 1) with no entered masses: the basic formulas of
        // the rules, which an expert changes only on purpose.
        {"tabMain", Base::Main,
         {I("Id"), S("Name_poverhn"), D("t_kontakt"), D("S_kontakt"), D("S_G"), D("Tempv"),
          D("Tempp"), D("Tg"), D("nyu"), I("f131"), D("z"), D("znPn"), D("znPn1"), I("Lnkpr"),
          D("znLnkpr"), D("Uv"), I("opNyu"), I("A", "0"), I("G", "0"), I("Pn", "1"),
          I("Gs", "0"), D("znGs", "0"), I("G4", "0"), D("znG4", "0"), I("G5", "0"),
          D("znG5", "0"),
          // Counts the changes of the calculation: a change is refused when
          // another program changed the calculation after it was read here.
          later(I("Versiya", "0"))}},
        {"tabBloki", Base::Main,
         {I("Id_Rasch"), I("Id"), S("Name_blok"), S("Name"), D("V_GF"), D("V_PGF"), D("Davl"),
          D("Temp"), D("Plotn_GF"), D("Plotn_PGF"), D("Adiab"), D("S_sech"),
          D("Sk_teploper_GG"), D("Sk_teploper_GF"), D("Koef_gidro"), D("t"), D("t_P"),
          D("t_T"), D("formula"), D("per1"), D("per2"), D("per3"), D("pVist"), D("pVist_zad"),
          D("pVistG"), D("pVistG_zad"), I("G1"), D("znG1"), I("G2"), D("znG2"), I("mi"),
          D("pmi")}},
        {"tab_time", Base::Main, {D("Id"), DT("Time_nast")}},
        {"tabOtchet", Base::Main, {DT("Date"), S("Name_ob"), S("Conc")}},
        {"tabKR", Base::Main, energies({I("Id"), S("pName")})},
        {"tabSumm_rasch", Base::Main, [&] {
             // Nomer keeps the rows of a calculation in the order they were added.
             auto fields = energies({D("id_raschet"), S("pName")});
             fields.push_back(later(I("Nomer")));
             return fields;
         }()},
        {"tabPath", Base::Main, {M("Path")}},
        {"SubstChar", Base::Main,
         {S("Name"), I("Vid_vva"), S("BruttoFormula"), D("Mol_massa"), D("Plotn_GF"),
          D("T_plavl"), D("T_kip"), D("Tvsp"), D("NKPR"), D("VKPR"), D("pA"), D("pB"),
          D("pCa"), D("pTmin"), D("pTmax"), D("Tepl_sgorGF"), D("Tepl_sgorPGF"),
          D("Tepl_paroobr"), D("Teploem_GF"), D("PokAdiab"), M("Dop_info"), directoryVersion()}},
        {"tabPoverhn", Base::Main, {S("Name"), D("p"), D("lyambda"), D("c"), directoryVersion()}},
        // Fuel kinds are listed in the order of the rules, which Poryadok
        // keeps: a server returns rows in no fixed order without it.
        {"tabGoryuch", Base::Main, {S("Name"), D("z"), later(I("Poryadok")), directoryVersion()}},
        {"Explosives", Base::Main, {S("Name"), D("Energy"), directoryVersion()}},
        {"tabBetta", Base::Main, {D("k"), D("P"), D("Betta")}},
        {"tabG", Base::Main, {D("t"), D("G")}},
        {"tabNyu", Base::Main, {D("V"), D("T"), D("Nyu")}},
        {"tabDolgn", Base::Second, {S("Name")}},
        {"tabIstochnik", Base::Second, {S("Name")}},
    };
}

QString sqlType(FieldType t)
{
    switch (t) {
    case T::Integer: return QStringLiteral("INTEGER");
    case T::Double: return QStringLiteral("DOUBLE PRECISION");
    case T::Text: return QStringLiteral("VARCHAR(255)");
    case T::Memo: return QStringLiteral("TEXT");
    case T::DateTime: return QStringLiteral("TIMESTAMP");
    }
    return {};
}

}  // namespace

const std::vector<TableDef>& schema()
{
    static const std::vector<TableDef> tables = buildSchema();
    return tables;
}

const TableDef* findTable(const QString& name)
{
    for (const auto& t : schema())
        if (t.name.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

const FieldDef* findField(const TableDef& table, const QString& name)
{
    for (const auto& f : table.fields)
        if (f.name.compare(name, Qt::CaseInsensitive) == 0)
            return &f;
    return nullptr;
}

QString columnSql(const FieldDef& f)
{
    QString col = f.name + QLatin1Char(' ') + sqlType(f.type);
    if (!f.defaultValue.isEmpty())
        col += QStringLiteral(" DEFAULT ") + f.defaultValue;
    return col;
}

QString createTableSql(const TableDef& table, const QString& as)
{
    QStringList cols;
    for (const auto& f : table.fields)
        cols << columnSql(f);
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(as.isEmpty() ? table.name : as, cols.join(QStringLiteral(", ")));
}

}  // namespace veltron::db
