// The TNT equivalent and the zones of models II and III, and the
// coefficients of the overpressure calculator.
#include "calc/tnt_equivalent.h"

#include <gtest/gtest.h>

#include <cmath>

namespace veltron::calc {
namespace {

ZoneRun runOf(const ZoneOutcome& o)
{
    if (const auto* stop = std::get_if<Stop>(&o)) {
        ADD_FAILURE() << stop->message.toStdString();
        return {};
    }
    return std::get<ZoneRun>(o);
}

TEST(ModelII, HundredKilogramsOfTntEnergyGiveTheCorrectedRadius)
{
    const ZoneRun r = runOf(runUnstable(100, 4520));
    EXPECT_DOUBLE_EQ(r.Wt, 100);
    EXPECT_EQ(r.formula, RadiusFormula::Corrected22_1);
    EXPECT_NEAR(r.R0, 1.4648, 5e-5);
    const double expected[] = {5.566, 8.203, 14.062, 41.015, 82.030};
    for (int i = 0; i < 5; ++i)
        EXPECT_NEAR(r.Rzone[std::size_t(i)], expected[i], 5e-4) << i;
    EXPECT_DOUBLE_EQ(r.Rzone[4], 56 * r.R0);
}

TEST(ModelII, TheFormulaFollowsTheMassNotTheTntEquivalent)
{
    const struct {
        double mass, energy;
        RadiusFormula formula;
    } cases[] = {
        {5000, 4520, RadiusFormula::Corrected22_1},
        {5000.1, 4520, RadiusFormula::CubeRoot22_2},
        // A small energy keeps Wt far below 5000 kg; the mass still decides.
        {6000, 100, RadiusFormula::CubeRoot22_2},
        {0, 4520, RadiusFormula::Corrected22_1},
    };
    for (const auto& c : cases) {
        const ZoneRun r = runOf(runUnstable(c.mass, c.energy));
        EXPECT_EQ(r.formula, c.formula) << c.mass;
        EXPECT_DOUBLE_EQ(r.R0, reducedRadius(c.mass * c.energy / 4520, c.formula)) << c.mass;
    }
    EXPECT_DOUBLE_EQ(runOf(runUnstable(5000.1, 4520)).R0, std::cbrt(5000.1));
}

TEST(ModelII, ZeroMassGivesZerosEverywhere)
{
    const ZoneRun r = runOf(runUnstable(0, 4520));
    EXPECT_EQ(r.Wt, 0);
    EXPECT_EQ(r.R0, 0);
    for (double x : r.Rzone)
        EXPECT_EQ(x, 0);
}

TEST(ModelIII, TheUsersFormulaHoldsWhateverTheSum)
{
    EXPECT_NEAR(runOf(runSummary(100, 100, RadiusFormula::Corrected22_1)).R0, 2.3241, 5e-5);
    EXPECT_NEAR(runOf(runSummary(100, 100, RadiusFormula::Corrected22_1)).Rzone[0], 8.8317, 5e-5);
    EXPECT_NEAR(runOf(runSummary(100, 100, RadiusFormula::CubeRoot22_2)).R0, 5.8480, 5e-5);
    // Above 5000 kg formula 22.1 stays 22.1 when chosen.
    const ZoneRun big = runOf(runSummary(4000, 2000, RadiusFormula::Corrected22_1));
    EXPECT_EQ(big.Wt, 6000);
    EXPECT_DOUBLE_EQ(big.R0, std::cbrt(6000.0) / std::pow(1 + (3180 / 6000.0) * (3180 / 6000.0), 1.0 / 6));
    EXPECT_EQ(runOf(runSummary(0, 0, RadiusFormula::Corrected22_1)).R0, 0);
}

TEST(TntEquivalent, NegativeOrUncomputableChargesStopWithAMessage)
{
    const ZoneOutcome outcomes[] = {
        runUnstable(-1, 4520),
        runUnstable(100, -5),
        runSummary(100, -0.5, RadiusFormula::Corrected22_1),
        runUnstable(1e305, 1e10),
    };
    for (const ZoneOutcome& o : outcomes) {
        const auto* stop = std::get_if<Stop>(&o);
        ASSERT_NE(stop, nullptr);
        EXPECT_EQ(stop->title, QStringLiteral("Внимание!"));
        EXPECT_TRUE(stop->message.startsWith(QStringLiteral("Расчет невозможен"))) << stop->message.toStdString();
    }
}

TEST(OverpressureCoefficients, EachApproximationOnlyInItsRange)
{
    const OverpressureK at5 = overpressureCoefficients(5);
    EXPECT_DOUBLE_EQ(at5.Kint, 49);
    ASSERT_TRUE(at5.Kpol.has_value());
    EXPECT_FALSE(at5.Kstep.has_value());
    EXPECT_DOUBLE_EQ(at5.K, (49 + *at5.Kpol) / 2);

    const OverpressureK at50 = overpressureCoefficients(50);
    ASSERT_TRUE(at50.Kstep.has_value());
    EXPECT_FALSE(at50.Kpol.has_value());
    EXPECT_DOUBLE_EQ(at50.K, (at50.Kint + *at50.Kstep) / 2);

    EXPECT_DOUBLE_EQ(overpressureCoefficients(90.1).K, overpressureCoefficients(90.1).Kint);
    EXPECT_EQ(overpressureCoefficients(28).K, 9.6);
    EXPECT_EQ(clampOverpressure(150), 100);
    EXPECT_EQ(clampOverpressure(1), 2);
}

}  // namespace
}  // namespace veltron::calc
