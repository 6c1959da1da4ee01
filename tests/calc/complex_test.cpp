// Model IV: the energies and TNT equivalents of several blocks summed into
// one result.
#include "calc/complex_calculation.h"

#include <gtest/gtest.h>

#include <cmath>

namespace veltron::calc {
namespace {

BlockEnergies row(double E11, double Wt, double E24 = 0)
{
    BlockEnergies r;
    r.pName = QStringLiteral("блок");
    r.E11 = E11;
    r.E24 = E24;
    r.Wt = Wt;
    return r;
}

ComplexResult resultOf(const ComplexOutcome& o)
{
    if (const auto* stop = std::get_if<Stop>(&o)) {
        ADD_FAILURE() << stop->message.toStdString();
        return {};
    }
    return std::get<ComplexResult>(o);
}

TEST(ModelIV, CategoryAndFormulaFollowTheReducedMassAtItsBounds)
{
    const struct {
        const char* what;
        QList<BlockEnergies> rows;
        double m;
        const char* category;
        RadiusFormula formula;
    } cases[] = {
        {"no rows", {}, 0, "III", RadiusFormula::Corrected22_1},
        {"m = 5000 kg", {row(200e6, 100), row(20e6, 0, 10e6)}, 5000, "II", RadiusFormula::Corrected22_1},
        {"m above 5000 kg", {row(230e6 + 46, 100)}, 5000.001, "I", RadiusFormula::CubeRoot22_2},
        {"m = 2000 kg", {row(92e6, 100)}, 2000, "II", RadiusFormula::Corrected22_1},
        {"m below 2000 kg", {row(92e6 - 46, 100)}, 1999.999, "III", RadiusFormula::Corrected22_1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ComplexResult r = resultOf(runComplex(c.rows));
        EXPECT_DOUBLE_EQ(r.m, c.m);
        EXPECT_EQ(r.Zn_kategor, QLatin1String(c.category));
        EXPECT_EQ(r.formula, c.formula);
        EXPECT_DOUBLE_EQ(r.Q, std::cbrt(r.E) / 16.534);
        if (c.rows.isEmpty()) {
            EXPECT_EQ(r.E, 0);
            EXPECT_EQ(r.Q, 0);
            EXPECT_EQ(r.Wt, 0);
            EXPECT_EQ(r.R0, 0);
            for (double radius : r.Rzone)
                EXPECT_EQ(radius, 0);
        } else {
            EXPECT_EQ(r.Wt, 100);
            const double cube = std::cbrt(r.Wt);
            EXPECT_DOUBLE_EQ(r.R0, c.formula == RadiusFormula::CubeRoot22_2
                                       ? cube
                                       : cube / std::pow(1 + std::pow(3180 / r.Wt, 2), 1.0 / 6));
            EXPECT_DOUBLE_EQ(r.Rzone[0], 3.8 * r.R0);
            EXPECT_DOUBLE_EQ(r.Rzone[4], 56 * r.R0);
        }
    }
}

TEST(ModelIV, TheTntEquivalentIsTheSumRoundedToOneDecimal)
{
    // 0.03 + 0.01 shows as 0,0: no zones, although the energy is there.
    const ComplexResult small = resultOf(runComplex({row(5e6, 0.03), row(1e6, 0.01)}));
    EXPECT_EQ(small.Wt, 0);
    EXPECT_EQ(small.R0, 0);
    EXPECT_EQ(small.Rzone[4], 0);
    EXPECT_DOUBLE_EQ(small.E, 6e6);

    // Halves go up, as the decimal text of the sum reads.
    EXPECT_EQ(resultOf(runComplex({row(1, 0.1), row(1, 0.15)})).Wt, 0.3);
    EXPECT_EQ(resultOf(runComplex({row(1, 0.1), row(1, 0.2), row(1, 0.05)})).Wt, 0.4);
    EXPECT_EQ(resultOf(runComplex({row(1, 1234.56), row(1, 0.04)})).Wt, 1234.6);
}

TEST(ModelIV, ANegativeTotalStopsTheRun)
{
    const auto energy = runComplex({row(100, 1), row(-200, 1)});
    ASSERT_TRUE(std::holds_alternative<Stop>(energy));
    EXPECT_EQ(std::get<Stop>(energy).title, text::kAttention);
    EXPECT_TRUE(std::get<Stop>(energy).message.contains(QStringLiteral("полная энергия E отрицательна (-100 кДж)")))
        << std::get<Stop>(energy).message.toStdString();

    const auto tnt = runComplex({row(100, 1), row(100, -2)});
    ASSERT_TRUE(std::holds_alternative<Stop>(tnt));
    EXPECT_TRUE(std::get<Stop>(tnt).message.contains(QStringLiteral("тротиловый эквивалент")));

    // A negative row that the others outweigh is summed like any other.
    EXPECT_DOUBLE_EQ(resultOf(runComplex({row(300, 1), row(-200, -0.5)})).E, 100);

    EXPECT_TRUE(std::holds_alternative<Stop>(runComplex({row(1e308, 1), row(1e308, 1)})));
}

}  // namespace
}  // namespace veltron::calc
