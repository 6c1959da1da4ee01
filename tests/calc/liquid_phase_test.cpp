// E1'', E2'', E3'': the main block's superheat and the liquid arriving from
// adjacent blocks; qr, Gperegr and G23.
#include "engine_fixture.h"

#include <functional>

namespace veltron::calc::testing {
namespace {

// Hexane: boils at 68 °C, c' = 2.2, r = 335, q' = 45000, so qGF = 44665 kJ/kg.
constexpr double kQgf = 45000 - 335;

struct SuperheatCase {
    const char* name;
    double temp;
    bool ownPart;      // E21own non-zero
    bool superheated;  // Gperegr non-zero
};

class MainSuperheat : public ::testing::TestWithParam<SuperheatCase> {};

TEST_P(MainSuperheat, RoundsTheSuperheatForE21ownOnly)
{
    const SuperheatCase& c = GetParam();
    RunInputs in = makeInputs();
    in.main.V_GF = 1;
    in.main.Plotn_GF = 600;
    in.main.Temp = c.temp;
    const RaschResult& r = resultOf(run(in, makeReference()));
    EXPECT_EQ(r.Ggf, 600);
    const double d = c.temp - 68;
    const double share = 1 - std::exp(-2.2 * d / 335);
    EXPECT_TRUE(close(r.E21own, c.ownPart ? kQgf * 600 * share : 0));
    EXPECT_TRUE(close(r.Gperegr, c.superheated ? share * 600 : 0));
    EXPECT_EQ(r.E21, r.E21own);  // no adjacent blocks
    EXPECT_EQ(r.E22, 0);
    EXPECT_EQ(r.E23, 0);
    EXPECT_EQ(r.E12, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Temperatures, MainSuperheat,
    ::testing::Values(SuperheatCase{"Below", 60, false, false},
                      SuperheatCase{"AtBoilingPoint", 68, false, false},
                      SuperheatCase{"Point4Above", 68.4, false, true},
                      SuperheatCase{"HalfDegreeRoundsToZero", 68.5, false, true},
                      SuperheatCase{"Point6Above", 68.6, true, true},
                      SuperheatCase{"OneAndAHalfRoundsToTwo", 69.5, true, true},
                      SuperheatCase{"TwoAndAHalfRoundsToTwo", 70.5, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MainLiquid, EnteredMassTakesThePlaceOfTheComputedOne)
{
    RunInputs in = makeInputs();
    in.main.V_GF = 1;
    in.main.Plotn_GF = 600;
    in.main.Temp = 70;
    in.main.G2 = true;
    in.main.znG2 = 100;
    const RaschResult& r = resultOf(run(in, makeReference()));
    EXPECT_EQ(r.Ggf, 100);
    EXPECT_TRUE(r.Ggf_entered);
    EXPECT_TRUE(close(r.E21own, kQgf * 100 * (1 - std::exp(-2.2 * 2 / 335))));
    EXPECT_TRUE(close(r.qr, 45000.0 / 335));
}

// Liquid side of an adjacent propane block: 1 MPa, ρ'' = 500, μ = 0.5,
// S = 0.001 m², τ = 5 s, 62 °C above its boiling point, c' = 2.5, r = 428,
// q' = 46000.
struct LiquidCase {
    const char* name;
    std::function<void(BlockData&)> change;
    double w21;
    double g21;
    bool superheated;
};

class LiquidOutflow : public ::testing::TestWithParam<LiquidCase> {};

TEST_P(LiquidOutflow, GivesVelocityMassAndE1Part)
{
    const LiquidCase& c = GetParam();
    RunInputs in = makeInputs();
    BlockData b = makeAdjacent(2);
    b.Sk_teploper_GG = 4;
    b.t_P = 9;
    b.Sk_teploper_GF = 1;
    b.t_T = 16;
    c.change(b);
    in.adjacent.push_back(b);
    const RaschResult& r = resultOf(run(in, makeReference()));
    ASSERT_EQ(r.adjacent.size(), 1u);
    const AdjacentResult& a = r.adjacent[0];
    EXPECT_TRUE(close(a.w21, c.w21));
    EXPECT_TRUE(close(a.g21, c.g21));
    const double share = 1 - std::exp(-2.5 * (b.Temp + 42) / 428);
    // The heat of combustion is the main block's qGF, the rest the block's own.
    EXPECT_TRUE(close(a.e21, c.superheated ? kQgf * c.g21 * share : 0));
    // The heat brought times q'/r: 4 kJ/s × 9 s × 46000 / 428 and
    // 1 kJ/s × 16 s × 46000 / 428, whatever the outflow.
    EXPECT_TRUE(close(a.e22, 36 * 46000.0 / 428));
    EXPECT_TRUE(close(a.e23, 16 * 46000.0 / 428));
    EXPECT_TRUE(close(r.E21, r.E21own + a.e21));
    EXPECT_TRUE(close(r.E22, a.e22));
    EXPECT_TRUE(close(r.E23, a.e23));
    EXPECT_TRUE(close(r.G23, r.E23 / 45000));
}

// 0.5 × √(2 × (1 − 0.1013) × 10^6 / 500) = 29.98 m/s
const double kW21 = 0.5 * std::sqrt(2 * (1 - kAtm) * 1e6 / 500);

INSTANTIATE_TEST_SUITE_P(
    Cases, LiquidOutflow,
    ::testing::Values(
        LiquidCase{"Computed", [](BlockData&) {}, kW21, 500 * kW21 * 0.001 * 5, true},
        LiquidCase{"LimitedWhateverTheTime", [](BlockData& b) { b.pVistG = 10; }, 10,
                   500 * 10 * 0.001 * 5, true},
        LiquidCase{"SetByHandIgnoresTheLimit",
                   [](BlockData& b) {
                       b.pVistG = 10;
                       b.pVistG_zad = 500;
                   },
                   500, 500 * 500 * 0.001 * 5, true},
        LiquidCase{"AtmosphericPressure", [](BlockData& b) { b.Davl = 0.1013; }, 0, 0, true},
        LiquidCase{"NoLiquidDensity", [](BlockData& b) { b.Plotn_GF = 0; }, 0, 0, true},
        LiquidCase{"AtBoilingPoint", [](BlockData& b) { b.Temp = -42; }, kW21,
                   500 * kW21 * 0.001 * 5, false},
        LiquidCase{"EnteredMass",
                   [](BlockData& b) {
                       b.G2 = true;
                       b.znG2 = 7;
                   },
                   0, 7, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LiquidOutflow, SubstanceWithoutHeatOfVaporisationBelowBoilingGivesNothing)
{
    MemoryReference ref = makeReference();
    SubstData water;
    water.Name = QStringLiteral("Вода");
    water.Mol_massa = 18;
    water.T_kip = 100;
    water.Tepl_sgorPGF = 1000;
    ref.addSubstance(water);
    RunInputs in = makeInputs();
    BlockData b = makeAdjacent(2);
    b.Name = water.Name;  // no heat inflow: with one the run would stop for the missing r
    in.adjacent.push_back(b);
    const RaschResult& r = resultOf(run(in, ref));
    const AdjacentResult& a = r.adjacent.at(0);
    EXPECT_EQ(a.w21, 0);
    EXPECT_EQ(a.g21, 0);
    EXPECT_EQ(a.e21, 0);
    EXPECT_EQ(a.e22, 0);
    EXPECT_EQ(a.e23, 0);
}

TEST(LiquidOutflow, EnteredMassIsMarked)
{
    RunInputs in = makeInputs();
    BlockData b = makeAdjacent(2);
    b.G2 = true;
    b.znG2 = 7;
    in.adjacent.push_back(b);
    const RaschResult& r = resultOf(run(in, makeReference()));
    EXPECT_TRUE(r.adjacent.at(0).g21_entered);
    EXPECT_FALSE(r.adjacent.at(0).g12_entered);
}

// A substance that does not burn (q' = 0) with its liquid below the boiling
// point: the run goes through, and the TNT equivalent comes from the work of
// adiabatic expansion alone (formula 19.1).
TEST(LiquidPhase, NonCombustibleSubstanceRunsOnFormula19_1)
{
    MemoryReference ref = makeReference();
    SubstData water;
    water.Name = QStringLiteral("Вода");
    water.Mol_massa = 18;
    water.T_kip = 100;
    water.Tepl_paroobr = 2260;
    water.Teploem_GF = 4.19;
    ref.addSubstance(water);
    RunInputs in = makeInputs();
    in.main.Name = water.Name;
    in.main.V_GF = 1;
    in.main.Plotn_GF = 1000;
    const RaschResult& r = resultOf(run(in, ref));
    EXPECT_EQ(r.Gq, 0);
    EXPECT_EQ(r.E21own, 0);
    EXPECT_EQ(r.E, r.A);
    EXPECT_TRUE(close(r.Wt, r.A * 0.4 / 0.9 / 4520));
}

TEST(LiquidPhase, NoHeatOfCombustionGivesNoG23)
{
    MemoryReference ref = makeReference();
    SubstData s = *ref.substance(QStringLiteral("Гексан"));
    s.Name = QStringLiteral("Негорючее");
    s.Tepl_sgorPGF = 0;
    ref.addSubstance(s);
    RunInputs in = makeInputs();
    in.main.Name = s.Name;
    BlockData b = makeAdjacent(2);
    b.Sk_teploper_GF = 1;
    b.t_T = 16;
    in.adjacent.push_back(b);
    const RaschResult& r = resultOf(run(in, ref));
    EXPECT_GT(r.E23, 0);
    EXPECT_EQ(r.G23, 0);
}

}  // namespace
}  // namespace veltron::calc::testing
