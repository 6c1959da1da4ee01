// The example calculation run through the engine on the shipped reference
// data: a new user must see a complete run, whichever formulas are chosen.
#include "data/seed_files.h"

#include "calc/engine.h"

#include <gtest/gtest.h>

#include <cmath>

using veltron::test::SeedFile;
namespace calc = veltron::calc;

namespace {

calc::MemoryReference shippedReference()
{
    calc::MemoryReference ref;
    const auto s = SeedFile::load("SubstChar.csv");
    for (int i = 0; i < s.rowCount(); ++i) {
        calc::SubstData d;
        d.Name = s.text(i, "Name");
        const auto v = [&](const char* f) { return s.number(i, f).value_or(0.0); };
        d.Mol_massa = v("Mol_massa");
        d.T_kip = v("T_kip");
        d.Tvsp = v("Tvsp");
        d.Tepl_sgorPGF = v("Tepl_sgorPGF");
        d.Tepl_paroobr = v("Tepl_paroobr");
        d.Teploem_GF = v("Teploem_GF");
        d.pA = v("pA");
        d.pB = v("pB");
        d.pCa = v("pCa");
        d.hasTvsp = s.number(i, "Tvsp").has_value();
        d.hasAntoine = s.number(i, "pA") && s.number(i, "pB") && s.number(i, "pCa");
        ref.addSubstance(d);
    }
    const auto b = SeedFile::load("tabBetta.csv");
    std::vector<calc::BettaRow> betta;
    for (int i = 0; i < b.rowCount(); ++i)
        betta.push_back({b.required(i, "k"), b.required(i, "P"), b.required(i, "Betta")});
    ref.setBetta(betta);
    const auto g = SeedFile::load("tabG.csv");
    std::vector<calc::GRow> rows;
    for (int i = 0; i < g.rowCount(); ++i)
        rows.push_back({g.required(i, "t"), g.required(i, "G")});
    ref.setG(rows);
    return ref;
}

calc::BlockData blockFrom(const SeedFile& f, int i)
{
    const auto v = [&](const char* name) { return f.number(i, name).value_or(0.0); };
    calc::BlockData b;
    b.Id = int(v("Id"));
    b.Name_blok = f.text(i, "Name_blok");
    b.Name = f.text(i, "Name");
    b.V_GF = v("V_GF");
    b.V_PGF = v("V_PGF");
    b.Davl = v("Davl");
    b.Temp = v("Temp");
    b.Plotn_GF = v("Plotn_GF");
    b.Plotn_PGF = v("Plotn_PGF");
    b.Adiab = v("Adiab");
    b.S_sech = v("S_sech");
    b.Sk_teploper_GG = v("Sk_teploper_GG");
    b.Sk_teploper_GF = v("Sk_teploper_GF");
    b.Koef_gidro = v("Koef_gidro");
    b.t = v("t");
    b.t_P = v("t_P");
    b.t_T = v("t_T");
    b.pVist = v("pVist");
    b.pVist_zad = v("pVist_zad");
    b.pVistG = v("pVistG");
    b.pVistG_zad = v("pVistG_zad");
    b.G1 = v("G1") == 1;
    b.znG1 = v("znG1");
    b.G2 = v("G2") == 1;
    b.znG2 = v("znG2");
    b.mi = v("mi") == 1;
    b.pmi = v("pmi");
    return b;
}

// The inputs the input screen holds after opening the example.
calc::RunInputs exampleInputs()
{
    const auto main = SeedFile::load("tabMain.csv");
    const auto surfaces = SeedFile::load("tabPoverhn.csv");
    const auto blocks = SeedFile::load("tabBloki.csv");
    const auto v = [&](const char* f) { return main.number(0, f).value_or(0.0); };
    calc::RunInputs in;
    in.calculationName = SeedFile::load("tabRasch.csv").text(0, "Name");
    auto& c = in.conditions;
    c.Zet = main.text(0, "z").replace('.', ',');
    c.Check1 = v("f131") == 1;
    c.S_G = main.text(0, "S_G").replace('.', ',');
    c.S_kontakt = v("S_kontakt");
    c.t_kontakt = v("t_kontakt");
    c.Tempv = v("Tempv");
    c.Tg = v("Tg");
    c.Tempp = v("Tempp");
    c.Name_poverhn = main.text(0, "Name_poverhn");
    const int s = surfaces.find("Name", c.Name_poverhn);
    EXPECT_GE(s, 0);
    if (s >= 0) {
        c.p = surfaces.required(s, "p");
        c.Koef_teplopr = surfaces.required(s, "lyambda");
        c.c = surfaces.required(s, "c");
    }
    c.Nyu = v("nyu");
    c.Check2 = v("Lnkpr") == 1;
    c.Uv = v("Uv");
    c.Lnkpr = v("znLnkpr");
    in.settings.A = int(v("A"));
    in.settings.G = int(v("G"));
    in.settings.Pn = int(v("Pn"));
    for (int i = 0; i < blocks.rowCount(); ++i) {
        const auto b = blockFrom(blocks, i);
        if (b.Id == 1)
            in.main = b;
        else
            in.adjacent.push_back(b);
    }
    return in;
}

void expectCompleteRun(const calc::RunOutcome& outcome, const char* variant)
{
    if (const auto* stop = std::get_if<calc::Stop>(&outcome)) {
        ADD_FAILURE() << variant << ": run stopped: " << stop->message.toStdString();
        return;
    }
    const auto& r = std::get<calc::RaschResult>(outcome);
    for (double x : {r.A, r.G, r.E11, r.E12, r.Ggf, r.E21, r.E22, r.E23, r.E24, r.E, r.m, r.Q, r.Wt, r.R0}) {
        EXPECT_TRUE(std::isfinite(x)) << variant;
        EXPECT_GE(x, 0.0) << variant;
    }
    EXPECT_GT(r.E11, 0.0) << variant;
    EXPECT_GT(r.E24, 0.0) << variant << ": the spill of the vessel evaporates";
    EXPECT_GT(r.Wt, 0.0) << variant;
    EXPECT_FALSE(r.Zn_kategor.isEmpty()) << variant;
}

}  // namespace

TEST(ExampleRun, CompletesWithTheStoredSettings)
{
    const auto ref = shippedReference();
    const auto in = exampleInputs();
    ASSERT_EQ(in.adjacent.size(), 1u);
    const auto outcome = calc::run(in, ref);
    expectCompleteRun(outcome, "formulas 3.1, 12, 14.2");
    if (const auto* r = std::get_if<calc::RaschResult>(&outcome)) {
        // A propane vessel of this size is a block of the first category.
        EXPECT_EQ(r->Zn_kategor, QStringLiteral("I"));
        EXPECT_EQ(r->Label17, QString()) << "the pressure formula suits a liquefied gas";
    }
}

// The other formulas read the shipped tabBetta, tabG and Antoine constants.
TEST(ExampleRun, CompletesWithEveryOtherFormulaOnTheShippedTables)
{
    const auto ref = shippedReference();
    struct Variant { const char* name; int A, G, Pn; };
    for (const Variant& v : {Variant{"formula 3.2", 1, 0, 1}, Variant{"Antoine", 0, 0, 3},
                             Variant{"formula 16", 0, 1, 1}}) {
        auto in = exampleInputs();
        in.settings.A = v.A;
        in.settings.G = v.G;
        in.settings.Pn = v.Pn;
        const auto outcome = calc::run(in, ref);
        expectCompleteRun(outcome, v.name);
        const auto* r = std::get_if<calc::RaschResult>(&outcome);
        if (!r)
            continue;
        if (v.A == 1) {
            // k = 1.13 lies between the rows 1.1 and 1.2; 0.84 MPa falls in the band up to 1 MPa.
            EXPECT_NEAR(r->Betta, 1.53 + (1.2 - 1.13) * (1.95 - 1.53) / (1.2 - 1.1), 1e-9);
        }
        if (v.G == 1) {
            // Propane boils at -42.1 °C, between the rows -80 °C (425) and 10 °C (135).
            EXPECT_NEAR(r->KoefG, 135 + (10 - (-42.1)) * (425.0 - 135.0) / (10 - (-80)), 1e-9);
        }
        if (v.Pn != 2) {
            // Both the Clausius-Clapeyron formula 14.2 and the Antoine constants must
            // give the vessel's own saturation pressure at 20 °C within a few per cent.
            EXPECT_NEAR(r->PnTr, 1000 * in.main.Davl, 0.05 * 1000 * in.main.Davl) << v.name;
        }
    }
}

// The example's vessel is at 20 °C, where the vapour mass reduced with
// absolute temperatures equals the old one, and above its boiling point, where
// the spill evaporated before too: its results, as the program gave them
// before those mends, stay the same to the last digit.
TEST(ExampleRun, KeepsItsResultsThroughTheMethodologyMends)
{
    const auto outcome = calc::run(exampleInputs(), shippedReference());
    ASSERT_TRUE(calc::succeeded(outcome));
    const auto& r = std::get<calc::RaschResult>(outcome);
    EXPECT_DOUBLE_EQ(r.G, 113.81046268266793);
    EXPECT_DOUBLE_EQ(r.E11, 5285582.9650928015);
    EXPECT_DOUBLE_EQ(r.E24, 377872085.5346707);
    EXPECT_DOUBLE_EQ(r.E, 882211121.5045898);
    EXPECT_DOUBLE_EQ(r.m, 19178.502641404128);
    EXPECT_EQ(r.Zn_kategor, QStringLiteral("I"));
    EXPECT_DOUBLE_EQ(r.Wt, 8740.64500913551);
    EXPECT_DOUBLE_EQ(r.R0, 20.599080149594506);
    const double radii[] = {78.27650456845912, 115.35484883772922, 197.75116943610726, 576.7742441886462,
                            1153.5484883772924};
    for (int i = 0; i < 5; ++i)
        EXPECT_DOUBLE_EQ(r.Rzone[std::size_t(i)], radii[i]) << "R" << i + 1;
    EXPECT_TRUE(pnNote(r).isEmpty());
}
