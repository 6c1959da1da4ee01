// E1' of the main block (A, β, G') and the vapour side of adjacent blocks (E2').
#include "engine_fixture.h"

#include <functional>

namespace veltron::calc::testing {
namespace {

TEST(AdiabaticWork, Formula31)
{
    // A = 1000 × 1 × 10 / 0.4 × (1 − 0.1013^(0.4/1.4)) = 25000 × 0.48014 = 12003.44 kJ
    const RaschResult& r = resultOf(run(makeInputs(), makeReference()));
    EXPECT_TRUE(close(r.A, 12003.439792433404));
    EXPECT_EQ(r.Betta, 0);
    // G' = 3 × 10 × (1 / 0.1013) × (20 / 20) = 296.15 kg, q' = 45000 kJ/kg
    EXPECT_TRUE(close(r.G, 296.150046012667));
    EXPECT_FALSE(r.G_entered);
    EXPECT_TRUE(close(r.Gq, 13326752.070570016));
    EXPECT_TRUE(close(r.E11, 13338755.51036245));
}

TEST(AdiabaticWork, NegativeWorkBelowAtmosphereIsReportedAsZero)
{
    RunInputs in = makeInputs();
    in.main.Davl = 0.05;  // (0.1013 / 0.05)^(0.4/1.4) > 1
    const RaschResult& r = resultOf(run(in, makeReference()));
    EXPECT_EQ(r.A, 0);
    EXPECT_GT(r.Gq, 0);
    EXPECT_EQ(r.E11, r.Gq);
}

struct BettaCase {
    const char* name;
    double k;
    double P;
    double betta;
};

class BettaLookup : public ::testing::TestWithParam<BettaCase> {};

TEST_P(BettaLookup, GivesTheCoefficientOfFormula32)
{
    const BettaCase& c = GetParam();
    RunInputs in = makeInputs();
    in.settings.A = 1;
    in.main.Adiab = c.k;
    in.main.Davl = c.P;
    const RaschResult& r = resultOf(run(in, makeReference()));
    EXPECT_TRUE(close(r.Betta, c.betta));
    EXPECT_TRUE(close(r.A, 1000 * c.betta * c.P * 10));
}

// The fixture's table: β(k, P band) = 1 + (index of k) + (index of band) / 10 for
// k 1.1 … 1.4 and bands up to 0.5, 1, 5, 10, 50, 100 MPa.
INSTANTIATE_TEST_SUITE_P(
    Table, BettaLookup,
    ::testing::Values(
        BettaCase{"InTableFirstBandAtOrAbove", 1.3, 2, 3.2},
        BettaCase{"InTableBandEdgeIncluded", 1.3, 5, 3.2},
        BettaCase{"InTableLowPressureUsesTheRow", 1.4, 0.3, 4.0},
        // kLo 1.2 (2.2), kHi 1.3 (3.2): 3.2 + (1.3 − 1.25) × (2.2 − 3.2) / 0.1 = 2.7
        BettaCase{"Interpolated", 1.25, 2, 2.7},
        BettaCase{"InterpolatedTopBand", 1.15, 100, 1.5 + 0.5},
        BettaCase{"BelowTableLowPressure", 1.05, 0.3, 1.6},
        BettaCase{"BelowTableAtHalfMPa", 1.05, 0.5, 1.6},
        BettaCase{"BelowTableUsesK11Rows", 1.05, 2, 1.2},
        BettaCase{"BelowTableAt100MPa", 1.05, 100, 4.63},
        BettaCase{"BelowTableAbove100MPa", 1.05, 150, 4.63},
        BettaCase{"AboveTableLowPressure", 1.5, 0.3, 1.6},
        BettaCase{"AboveTableAtHalfMPa", 1.5, 0.5, 1.6},
        BettaCase{"AboveTableUsesK14Rows", 1.5, 2, 4.2},
        BettaCase{"AboveTableAt100MPa", 1.5, 100, 4.63},
        BettaCase{"AboveTableAbove100MPa", 1.5, 150, 4.63}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BettaLookup, TableKValuesPassThroughTwoDecimals)
{
    // Rows stored as 1.2000001 and 1.2999999 are used as 1.20 and 1.30; the
    // queries for "k = 1.2" and "k = 1.3" then find the rows stored exactly so.
    MemoryReference ref = makeReference();
    ref.setBetta({{1.2000001, 10, 9}, {1.2, 10, 2}, {1.2999999, 10, 9}, {1.3, 10, 3}});
    RunInputs in = makeInputs();
    in.settings.A = 1;
    in.main.Adiab = 1.25;
    in.main.Davl = 2;
    const RaschResult& r = resultOf(run(in, ref));
    EXPECT_TRUE(close(r.Betta, 2.5));
}

TEST(MainVapourMass, EnteredMassIsUsedAndMarked)
{
    RunInputs in = makeInputs();
    in.main.G1 = true;
    in.main.znG1 = 50;
    in.main.Temp = 0;  // not divided by when the mass is entered
    const RaschResult& r = resultOf(run(in, makeReference()));
    EXPECT_EQ(r.G, 50);
    EXPECT_TRUE(r.G_entered);
    EXPECT_EQ(r.Gq, 50 * 45000.0);
}

// G' = ρ′ × V′ × (P / P0) × (T0 / T) with absolute temperatures, T0 = 293.15 K,
// T = t + 273.15 K: 3 × 10 × (1 / 0.1013) × 293.15 / T. The old ratio 20 / t
// gave 39.49 kg at 150 °C, a negative mass (set to 0) at -30 °C and a division
// by zero at 0 °C.
TEST(MainVapourMass, IsReducedWithAbsoluteTemperatures)
{
    const struct {
        double t;
        double G;
        double V0;
    } cases[] = {
        {150, 205.16692895808424, 68.3889763193614},
        {-30, 357.0486777240935, 119.01622590803116},
        {0, 317.83410576098606, 105.94470192032868},
        {20, 296.150046012667, 98.71668200422233},
    };
    for (const auto& c : cases) {
        RunInputs in = makeInputs();
        in.main.Temp = c.t;
        const RaschResult& r = resultOf(run(in, makeReference()));
        EXPECT_TRUE(close(r.G, c.G)) << c.t << " °C";
        EXPECT_TRUE(close(r.V0, c.V0)) << c.t << " °C";
        EXPECT_TRUE(close(r.V0 * in.main.Plotn_PGF, r.G)) << c.t << " °C";
        EXPECT_TRUE(close(r.Gq, 45000 * c.G)) << c.t << " °C";
    }
    // At 20 °C the ratio is exactly 1: the mass is the one it always was.
    RunInputs in = makeInputs();
    EXPECT_EQ(resultOf(run(in, makeReference())).G, 3 * 10 * (1 / kAtm) * 1.0);
}

TEST(MainVapourMass, EnteredMassLeavesNoReducedVolume)
{
    RunInputs in = makeInputs();
    in.main.G1 = true;
    in.main.znG1 = 50;
    in.main.Temp = -300;  // not used when the mass is entered
    const RaschResult& r = resultOf(run(in, makeReference()));
    EXPECT_EQ(r.G, 50);
    EXPECT_EQ(r.V0, 0);
}

// Vapour side of one adjacent propane block at 1 MPa, 20 °C (propane boils at
// −42 °C), k = 1.13, ρ' = 2, S = 0.001 m², τ = 5 s, V' = 20 m³ (40 kg present).
struct OutflowCase {
    const char* name;
    std::function<void(BlockData&)> change;
    double w12;
    double g12;
};

class VapourOutflow : public ::testing::TestWithParam<OutflowCase> {};

TEST_P(VapourOutflow, GivesVelocityMassAndEnergy)
{
    const OutflowCase& c = GetParam();
    RunInputs in = makeInputs();
    BlockData b = makeAdjacent(2);
    c.change(b);
    in.adjacent.push_back(b);
    const RaschResult& r = resultOf(run(in, makeReference()));
    ASSERT_EQ(r.adjacent.size(), 1u);
    const AdjacentResult& a = r.adjacent[0];
    EXPECT_EQ(a.Id, 2);
    EXPECT_TRUE(close(a.w12, c.w12));
    EXPECT_TRUE(close(a.g12, c.g12));
    EXPECT_TRUE(close(a.e12, c.g12 * 46000));
    EXPECT_TRUE(close(r.E12, a.e12));
}

double critical(double P) { return std::sqrt(2 * 1.13 / 2.13 * P * 1e6 / 2); }
double subcritical(double P)
{
    return std::sqrt(2 * 1.13 / 0.13 * P * 1e6 / 2 * (1 - std::pow(kAtm / P, 0.13 / 1.13)));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VapourOutflow,
    ::testing::Values(
        // √(2 × 1.13 / 2.13 × 10^6 / 2) = 728.37 m/s; 2 × 728.37 × 0.001 × 5 = 7.28 kg
        OutflowCase{"Critical", [](BlockData&) {}, 728.3655894706192, 2 * 728.3655894706192 * 0.001 * 5},
        OutflowCase{"ExactlyPoint07AboveAtmosphereIsSubcritical",
                    [](BlockData& b) { b.Davl = 0.1713; }, subcritical(0.1713),
                    2 * subcritical(0.1713) * 0.001 * 5},
        OutflowCase{"JustAbovePoint07IsCritical", [](BlockData& b) { b.Davl = 0.1714; },
                    critical(0.1714), 2 * critical(0.1714) * 0.001 * 5},
        OutflowCase{"NoLimitAtTenSeconds",
                    [](BlockData& b) {
                        b.t = 10;
                        b.pVist = 100;
                    },
                    728.3655894706192, 2 * 728.3655894706192 * 0.001 * 10},
        OutflowCase{"LimitAboveTenSeconds",
                    [](BlockData& b) {
                        b.t = 10.1;
                        b.pVist = 100;
                    },
                    100, 2 * 100 * 0.001 * 10.1},
        OutflowCase{"SetByHandIgnoresTheLimit",
                    [](BlockData& b) {
                        b.t = 20;
                        b.pVist = 100;
                        b.pVist_zad = 500;
                    },
                    500, 2 * 500 * 0.001 * 20},
        OutflowCase{"AtmosphericPressureGivesNoOutflow", [](BlockData& b) { b.Davl = 0.1013; }, 0, 0},
        OutflowCase{"NotAboveBoilingPointFormsNoVapour", [](BlockData& b) { b.Temp = -42; },
                    728.3655894706192, 0},
        OutflowCase{"LessPresentThanCanFlowOut", [](BlockData& b) { b.V_PGF = 1; },
                    728.3655894706192, 2},
        OutflowCase{"NoVapourDensity", [](BlockData& b) { b.Plotn_PGF = 0; }, 0, 0},
        OutflowCase{"EnteredMass",
                    [](BlockData& b) {
                        b.G1 = true;
                        b.znG1 = 12;
                    },
                    0, 12}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(VapourOutflow, EnteredMassIsMarkedPerBlock)
{
    RunInputs in = makeInputs();
    BlockData entered = makeAdjacent(2);
    entered.G1 = true;
    entered.znG1 = 12;
    in.adjacent = {entered, makeAdjacent(3)};
    const RaschResult& r = resultOf(run(in, makeReference()));
    ASSERT_EQ(r.adjacent.size(), 2u);
    EXPECT_TRUE(r.adjacent[0].g12_entered);
    EXPECT_FALSE(r.adjacent[1].g12_entered);
    EXPECT_EQ(r.adjacent[1].Id, 3);
    EXPECT_TRUE(close(r.E12, r.adjacent[0].e12 + r.adjacent[1].e12));
}

}  // namespace
}  // namespace veltron::calc::testing
