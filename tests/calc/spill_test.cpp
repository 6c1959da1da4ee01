// Saturated vapour pressure, the spill evaporation (formulas 12 and 16), E4''
// and the evaporation times.
#include "engine_fixture.h"

#include <functional>
#include <random>

namespace veltron::calc::testing {
namespace {

// Hexane liquid (1 m³ × 600 kg/m³) at 70 °C, 2 °C above its boiling point,
// spilling on a 10 m² concrete-like floor at 80 °C under a 10 m² mirror, with
// the saturated vapour pressure at the design temperature typed as 20 kPa.
// By hand: Gperegr = (1 − e^(−2.2·2/335)) × 600 = 7.8291 kg,
// ε = √(0.84 × 1.5 × 2200) = 52.650, W = √86 × 10^-6 × 20 = 1.8547e-4,
// G4(T) = 2 × 12 / 335000 × ε / √π × 10 × √T = 0.021281 √T, G5(T) = 1.8547e-3 T.
RunInputs spillInputs(double vGF = 1)
{
    RunInputs in = makeInputs();
    in.main.V_GF = vGF;
    in.main.Plotn_GF = 600;
    in.main.Temp = 70;
    in.conditions.S_G = "10";
    in.conditions.S_kontakt = 10;
    in.conditions.Tempp = 80;
    in.conditions.c = 0.84;
    in.conditions.p = 2200;
    in.conditions.Koef_teplopr = 1.5;
    in.conditions.t_kontakt = 3600;
    in.conditions.Check4 = true;
    in.conditions.Pn1 = 20;
    return in;
}

TEST(DesignTemperature, IsTheWarmerOfLiquidAndAir)
{
    RunInputs in = makeInputs();
    in.conditions.Tg = 15;
    in.conditions.Tempv = 25;
    EXPECT_EQ(resultOf(run(in, makeReference())).Tr, 25);
    in.conditions.Tg = 30;
    EXPECT_EQ(resultOf(run(in, makeReference())).Tr, 30);
}

struct PressureCase {
    const char* name;
    int code;
    double pressure;  // at 90 °C, kPa
};

class SaturatedPressure : public ::testing::TestWithParam<PressureCase> {};

TEST_P(SaturatedPressure, AtBlockAndDesignTemperature)
{
    const PressureCase& c = GetParam();
    RunInputs in = makeInputs();
    in.settings.Pn = c.code;
    in.main.Temp = 90;
    in.conditions.Tg = 90;
    const RaschResult& r = resultOf(run(in, makeReference()));
    EXPECT_TRUE(close(r.PnT, c.pressure));
    EXPECT_TRUE(close(r.PnTr, c.pressure));
    EXPECT_TRUE(close(r.Cn, c.pressure * 100 / (c.pressure + static_cast<double>(101.3f))));
    EXPECT_TRUE(r.Label17.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Formulas, SaturatedPressure,
    ::testing::Values(
        // 0.1013 × 1000 × exp((1/341.15 − 1/363.15) × 335 × 86 / 8.314)
        PressureCase{"Formula142", 1, 187.43641885088456},
        // exp(6.908 + 0.043 × (90 + 0.924 × 23 + 2.6055)) / (1047 − 7.48 × 23)
        PressureCase{"Formula143", 2, 152.88627264846951},
        // 10^(6 − 1200 / (220 + 90))
        PressureCase{"Antoine", 3, 134.59603241553643}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SaturatedPressure, ManualValuesAreTakenAsTyped)
{
    RunInputs in = makeInputs();
    in.conditions.Check3 = true;
    in.conditions.Pn = 12.5;
    in.conditions.Check4 = true;
    in.conditions.Pn1 = -3;  // a negative pressure at the design temperature becomes 0
    const RaschResult& r = resultOf(run(in, makeReference()));
    EXPECT_EQ(r.PnT, 12.5);
    EXPECT_EQ(r.PnTr, 0);
    EXPECT_TRUE(r.Label17.isEmpty());  // Check3 is ticked
}

struct WarningCase {
    const char* name;
    int code;
    int massFormula;
    bool check3;
    bool check4;
    QString caption;
};

class PressureWarning : public ::testing::TestWithParam<WarningCase> {};

TEST_P(PressureWarning, NamesTheChosenFormula)
{
    const WarningCase& c = GetParam();
    RunInputs in = makeInputs();  // 20 °C: below hexane's boiling point
    in.settings.Pn = c.code;
    in.settings.G = c.massFormula;
    in.conditions.Check3 = c.check3;
    in.conditions.Pn = 5;
    in.conditions.Check4 = c.check4;
    in.conditions.Pn1 = 0;
    EXPECT_EQ(resultOf(run(in, makeReference())).Label17, c.caption);
}

const QString kHead = QStringLiteral(
    "Проверьте правильность выбора формулы расчета давления насыщенного пара, вами выбрана ");

INSTANTIATE_TEST_SUITE_P(
    Cases, PressureWarning,
    ::testing::Values(
        WarningCase{"Formula142BelowBoiling", 1, 0, false, false, kHead + "формула 14.2!"},
        WarningCase{"ManualZeroWithFormula143", 2, 0, false, true, kHead + "формула 14.3!"},
        WarningCase{"ManualZeroWithAntoine", 3, 0, false, true, kHead + "формула Антуана!"},
        WarningCase{"NotWithFormula16", 1, 1, false, false, QString()},
        WarningCase{"NotWithManualBlockPressure", 1, 0, true, false, QString()},
        WarningCase{"AntoineIsPositive", 3, 0, false, false, QString()}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Formula12, MirrorThatNeverEvaporatesTheLiquidRunsToTheContactTime)
{
    const RaschResult& r = resultOf(run(spillInputs(), makeReference()));
    EXPECT_TRUE(close(r.Gperegr, 7.829069679513756));
    EXPECT_TRUE(close(r.Eps, 52.64978632435273));
    EXPECT_TRUE(close(r.W, 0.00018547236990991406));
    EXPECT_EQ(r.Tau, 3600);
    // the last time step used is 3599 s
    EXPECT_TRUE(close(r.G4, 1.2766711213219757));
    EXPECT_TRUE(close(r.G5, 6.675150593057807));
    EXPECT_TRUE(close(r.Gs, 7.951821714379783));
    EXPECT_TRUE(close(r.GW, 10 * 0.00018547236990991406));
    EXPECT_TRUE(close(r.E24, 45000 * 7.951821714379783));
    EXPECT_TRUE(r.Label28.isEmpty());
    EXPECT_EQ(r.Tau_max, 0);  // (Gs − Gperegr − G4) < 0
}

TEST(Formula12, FirstStepEvaporatesEverythingStopsAtTwo)
{
    const RaschResult& r = resultOf(run(spillInputs(0.00001), makeReference()));
    EXPECT_EQ(r.Tau, 2);
    EXPECT_TRUE(close(r.Gs, 0.023135531594178492));
    EXPECT_EQ(r.Label28,
              QStringLiteral("За время 2 c с поверхности аварийного пролива за счет теплоотдачи от "
                             "окружающей среды ЖФ перейдет в ПГФ в количестве 0,0 кг."));
}

TEST(Formula12, StopsAtTheFirstStepThatReachesTheLiquidLeft)
{
    // 0.06 kg of liquid, 0.0592 left after superheat: step 6 gives
    // 0.021281 × √6 + 6 × 1.8547e-3 = 0.06326 ≥ 0.0592, step 5 gives 0.0569.
    const RaschResult& r = resultOf(run(spillInputs(0.0001), makeReference()));
    EXPECT_EQ(r.Tau, 7);
    EXPECT_TRUE(close(r.G4, 0.05212712065713614));
    EXPECT_TRUE(close(r.G5, 0.011128342194594845));
    EXPECT_TRUE(r.Label28.startsWith(QStringLiteral("За время 7 c")));
    EXPECT_TRUE(r.Label28.endsWith(QStringLiteral(" 0,1 кг.")));
}

TEST(Formula12, Formula131UsesTheSquaredContactAreaOverTheMirror)
{
    RunInputs in = spillInputs();
    in.conditions.Check1 = true;
    in.conditions.S_kontakt = 20;  // 20² / 10 = 40 instead of 20
    const RaschResult& r = resultOf(run(in, makeReference()));
    EXPECT_TRUE(close(r.G4, 0.0021280807895079353 * 40 * std::sqrt(3599.0)));
}

// Below its boiling point the spill still evaporates into the air (G5); the
// heat from the surface (G4) follows the surface temperature as before.
TEST(Formula12, BelowBoilingTheAirStillEvaporatesTheSpill)
{
    RunInputs below = spillInputs();
    below.main.Temp = 60;
    const RaschResult& r1 = resultOf(run(below, makeReference()));
    EXPECT_EQ(r1.Gperegr, 0);
    EXPECT_GT(r1.G4, 0) << "the floor at 80 °C is above the boiling point";
    EXPECT_TRUE(close(r1.G5, 10 * ((r1.Tau - 1) * r1.W)));
    EXPECT_GT(r1.G5, 0);
    EXPECT_EQ(r1.Gs, r1.G4 + r1.G5);
    EXPECT_TRUE(close(r1.E24, 45000 * r1.Gs));

    below.conditions.Tempp = 20;
    const RaschResult& r2 = resultOf(run(below, makeReference()));
    EXPECT_EQ(r2.G4, 0);
    EXPECT_EQ(r2.G5, r1.G5) << "600 kg are not used up in an hour at 1.85 g/s";
    EXPECT_EQ(r2.Tau, 3600);
    EXPECT_TRUE(r2.Label28.isEmpty());
}

TEST(Formula12, NoEvaporationWithoutMirrorOrHeatOfVaporisation)
{
    RunInputs noMirror = spillInputs();
    noMirror.conditions.S_G = "0";
    const RaschResult& r2 = resultOf(run(noMirror, makeReference()));
    EXPECT_EQ(r2.Tau, 0);
    EXPECT_EQ(r2.Gs, 0);
    EXPECT_EQ(r2.GW, 0);

    // Without r the repetition is skipped, below the boiling point too.
    MemoryReference ref = makeReference();
    SubstData s = *ref.substance(QStringLiteral("Гексан"));
    s.Name = QStringLiteral("Гексан без r");
    s.Tepl_paroobr = 0;
    ref.addSubstance(s);
    RunInputs noR = spillInputs();
    noR.main.Name = s.Name;
    noR.main.Temp = 60;
    const RaschResult& r3 = resultOf(run(noR, ref));
    EXPECT_EQ(r3.Tau, 0);
    EXPECT_EQ(r3.Gs, 0);
}

// An ambient tank of a hexane-like liquid (boils at 68.7 °C) at 20 °C: air,
// liquid and floor at 20 °C, a 50 m² mirror, an hour of contact.
RunInputs ambientHexane(int pressureFormula)
{
    RunInputs in = makeInputs();
    in.main.Name = QStringLiteral("н-Гексан");
    in.main.V_GF = 10;
    in.main.Plotn_GF = 659;
    in.settings.Pn = pressureFormula;
    GeneralConditions& c = in.conditions;
    c.S_G = "50";
    c.S_kontakt = 50;
    c.t_kontakt = 3600;
    c.c = 0.84;
    c.p = 2000;
    c.Koef_teplopr = 1.5;
    return in;
}

MemoryReference hexaneReference()
{
    MemoryReference ref = makeReference();
    ref.addSubstance(nHexane());
    return ref;
}

TEST(AmbientSpill, AntoineGivesTheEvaporationIntoTheAir)
{
    const RaschResult& r = resultOf(run(ambientHexane(3), hexaneReference()));
    // Pн = 10^(5.99517 − 1166.274 / 243.661) = 16.17 kPa, W = √86.178 × 10⁻⁶ × Pн,
    // G5 = 50 × 3599 × W: the last step of the hour is 3599 s.
    const double Pn = std::pow(10.0, 5.99517 - 1166.274 / (223.661 + 20));
    EXPECT_TRUE(close(r.PnTr, Pn));
    EXPECT_TRUE(close(r.W, std::sqrt(86.178) * 1e-6 * Pn));
    EXPECT_EQ(r.Tau, 3600);
    EXPECT_EQ(r.G4, 0);
    EXPECT_TRUE(close(r.G5, 50 * (3599 * r.W)));
    EXPECT_GT(r.G5, 0);
    EXPECT_TRUE(close(r.E24, 45100 * r.G5));
    EXPECT_GT(r.E24, 0);
    EXPECT_TRUE(pnNote(r).isEmpty());
}

TEST(AmbientSpill, Formula142SaysWhyThereIsNoEvaporation)
{
    const RaschResult& r = resultOf(run(ambientHexane(1), hexaneReference()));
    EXPECT_EQ(r.PnTr, 0);
    EXPECT_EQ(r.W, 0);
    EXPECT_EQ(r.G5, 0);
    EXPECT_EQ(r.E24, 0);
    EXPECT_EQ(pnNote(r),
              QStringLiteral("Давление насыщенного пара при расчетной температуре 20 °C не определено: формула 14.2 "
                             "дает его только выше температуры кипения вещества (68,7 °C). Поэтому интенсивность "
                             "испарения W = 0 и испарение пролива за счет теплопередачи от воздуха в расчете не "
                             "учтено. Ниже температуры кипения давление насыщенного пара дает формула 14.3 или "
                             "формула Антуана (выбор формулы — в настройках расчета)."));

    // No note where W does not come from formula 14.2 below the boiling point.
    const struct {
        const char* name;
        std::function<void(RunInputs&)> change;
    } quiet[] = {
        {"typed pressure", [](RunInputs& in) { in.conditions.Check4 = true; }},
        {"typed intensity", [](RunInputs& in) {
             in.main.mi = true;
             in.main.pmi = 1e-4;
         }},
        {"formula 16", [](RunInputs& in) { in.settings.G = 1; }},
        {"above the boiling point", [](RunInputs& in) { in.conditions.Tg = 70; }},
    };
    for (const auto& q : quiet) {
        RunInputs in = ambientHexane(1);
        q.change(in);
        EXPECT_TRUE(pnNote(resultOf(run(in, hexaneReference()))).isEmpty()) << q.name;
    }
}

TEST(Formula12, EnteredMassesReplaceTheComputedOnes)
{
    RunInputs in = spillInputs();
    in.settings.G4 = true;
    in.settings.znG4 = 3;
    in.settings.G5 = true;
    in.settings.znG5 = 4;
    const RaschResult& r = resultOf(run(in, makeReference()));
    EXPECT_EQ(r.G4, 3);
    EXPECT_EQ(r.G5, 4);
    EXPECT_EQ(r.Gs, 7);
    EXPECT_TRUE(r.G4_entered);
    EXPECT_TRUE(r.G5_entered);
    EXPECT_EQ(r.E24, 7 * 45000.0);
}

TEST(Spill, EnteredTotalAlwaysWins)
{
    for (int formula : {0, 1}) {
        RunInputs in = spillInputs();
        in.settings.G = formula;
        in.settings.Gs = true;
        in.settings.znGs = 100;
        const RaschResult& r = resultOf(run(in, makeReference()));
        EXPECT_EQ(r.Gs, 100) << formula;
        EXPECT_TRUE(r.Gs_entered);
        EXPECT_EQ(r.E24, 100 * 45000.0);
    }
}

TEST(Spill, NoLiquidGivesNoEvaporationUnlessTheTotalIsEntered)
{
    RunInputs in = spillInputs(0);
    const RaschResult& r = resultOf(run(in, makeReference()));
    EXPECT_EQ(r.Ggf, 0);
    EXPECT_EQ(r.Gs, 0);
    EXPECT_EQ(r.E24, 0);
    EXPECT_EQ(r.Tau, 0);
    EXPECT_TRUE(r.Label28.isEmpty());
    in.settings.Gs = true;
    in.settings.znGs = 5;
    EXPECT_EQ(resultOf(run(in, makeReference())).Gs, 5);
}

struct KoefGCase {
    const char* name;
    double boiling;
    double koef;
    double report;
};

class Formula16 : public ::testing::TestWithParam<KoefGCase> {};

TEST_P(Formula16, TakesTheCoefficientByBoilingPoint)
{
    const KoefGCase& c = GetParam();
    MemoryReference ref = makeReference();
    SubstData s = *ref.substance(QStringLiteral("Гексан"));
    s.Name = QStringLiteral("Вариант");
    s.T_kip = c.boiling;
    ref.addSubstance(s);
    RunInputs in = spillInputs();
    in.main.Name = s.Name;
    in.settings.G = 1;
    in.settings.G4 = true;  // ignored on this path
    in.settings.znG4 = 3;
    const RaschResult& r = resultOf(run(in, ref));
    EXPECT_TRUE(close(r.KoefG, c.koef));
    EXPECT_EQ(r.KoefG_report, c.report);
    // Gs = 3600 × (10 × KoefG) / 50 / 180 = 4 KoefG
    EXPECT_TRUE(close(r.Gs, 3600 * (10 * c.koef) / 50 / 180));
    EXPECT_EQ(r.G4, 0);
    EXPECT_EQ(r.G5, 0);
    EXPECT_EQ(r.Eps, 0);
    // 600 kg of liquid outlast the contact time unless Gs reaches them
    const bool usedUp = !(600 > r.Gs);
    EXPECT_EQ(r.Tau, usedUp ? 2 : 3600);
    EXPECT_EQ(r.Label28.isEmpty(), !usedUp);
}

// tabG of the fixture: (−80, 400) (−40, 200) (0, 100) (20, 50) (60, 10).
INSTANTIATE_TEST_SUITE_P(
    Coefficients, Formula16,
    ::testing::Values(KoefGCase{"VeryLowBoiling", -100, 425, 425},
                      KoefGCase{"AtMinus80", -80, 425, 425},
                      KoefGCase{"HighBoiling", 70, 10, 10},
                      KoefGCase{"At60", 60, 10, 10},
                      KoefGCase{"OnARow", 20, 50, 50},
                      KoefGCase{"BetweenRows", -20, 150, 150},
                      // 50 + (20 − 0.333) × (100 − 50) / 20 = 99.1675 → "99,17"
                      KoefGCase{"ReportRoundsToTwoDecimals", 0.333, 99.1675, 99.17}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Formula16, SmallSpillEvaporatesInTheFirstStep)
{
    RunInputs in = spillInputs(0.01);  // 6 kg, Gs = 4 × 10 = 40 kg
    in.settings.G = 1;
    const RaschResult& r = resultOf(run(in, makeReference()));
    EXPECT_EQ(r.Tau, 2);
    EXPECT_EQ(r.Gs, 40);
    EXPECT_EQ(r.Label28,
              QStringLiteral("За время 2 c с поверхности аварийного пролива за счет теплоотдачи от "
                             "окружающей среды ЖФ перейдет в ПГФ в количестве 40,0 кг."));
}

TEST(EvaporationTimes, Formula15UsesAtMost3600Seconds)
{
    RunInputs in = spillInputs();
    in.settings.Gs = true;
    in.settings.znGs = 100;
    in.conditions.Check2 = true;
    in.conditions.Uv = 1;
    in.conditions.Lnkpr = 20;
    const RaschResult& r = resultOf(run(in, makeReference()));
    // (100 − 7.8291 − 0 − 1.2767) / 1.8547e-4 / 10 = 49007 s
    EXPECT_TRUE(close(r.Tau_max, 49006.90018859013, 1e-10));
    // B = 3 × 12 / 335000 × ε / √π × 10 / 10 / W = 17.211; (B / √3600)² × 20 / 1
    EXPECT_TRUE(close(r.Tau15, 1.6456133163781672, 1e-10));

    in.conditions.Uv = 0;
    EXPECT_EQ(resultOf(run(in, makeReference())).Tau15, 0);
    in.conditions.Uv = 1;
    in.conditions.Check2 = false;
    EXPECT_EQ(resultOf(run(in, makeReference())).Tau15, 0);
}

TEST(EvaporationTimes, EnteredIntensityIsUsed)
{
    RunInputs in = spillInputs();
    in.main.mi = true;
    in.main.pmi = 0.01;
    const RaschResult& r = resultOf(run(in, makeReference()));
    EXPECT_EQ(r.W, 0.01);
    EXPECT_TRUE(close(r.GW, 0.1));
}

// The search for the stopping step gives exactly what stepping one second
// at a time gives, for any factors.
TEST(EvaporationSteps, SearchMatchesStepByStep)
{
    std::mt19937 gen(12345);
    std::uniform_real_distribution<double> unit(0, 1);
    for (int i = 0; i < 3000; ++i) {
        const double c4 = (unit(gen) < 0.1 ? -1 : 1) * unit(gen) * 0.1;
        const bool surface = unit(gen) < 0.8;
        const double Fg = unit(gen) * 20;
        const double W = (unit(gen) < 0.1 ? -1 : 1) * unit(gen) * 1e-3;
        const double R = unit(gen) * 50 - 2;
        const int n = static_cast<int>(unit(gen) * 4000) - 5;
        const SpillSteps a = evaporateFormula12(c4, surface, Fg, W, R, n);
        const SpillSteps b = evaporateFormula12(c4, surface, Fg, W, R, n, true);
        ASSERT_EQ(a.Tau, b.Tau) << i;
        ASSERT_EQ(a.G4, b.G4) << i;
        ASSERT_EQ(a.G5, b.G5) << i;
    }
}

}  // namespace
}  // namespace veltron::calc::testing
