// E, m, the category, Qв, the TNT equivalent and the zone radii.
#include "engine_fixture.h"

namespace veltron::calc::testing {
namespace {

// A main block whose only energy is an entered vapour mass of propane
// (q' = 46000 kJ/kg), so that m equals the entered mass.
RunInputs massOnly(double mass)
{
    RunInputs in = makeInputs();
    in.main.Name = QStringLiteral("Пропан");
    in.main.V_PGF = 0;  // A = 0
    in.main.G1 = true;
    in.main.znG1 = mass;
    return in;
}

struct CategoryCase {
    const char* name;
    double m;
    const char* category;
    bool corrected;  // R0 by formula 22.1
};

class Category : public ::testing::TestWithParam<CategoryCase> {};

TEST_P(Category, IsDecidedByTheReducedMass)
{
    const CategoryCase& c = GetParam();
    const RaschResult& r = resultOf(run(massOnly(c.m), makeReference()));
    EXPECT_TRUE(close(r.E, 46000 * c.m));
    EXPECT_TRUE(close(r.m, c.m));
    EXPECT_EQ(r.Zn_kategor, QString::fromLatin1(c.category));
    EXPECT_TRUE(close(r.Q, std::cbrt(46000 * c.m) / 16.534));
    const double wt = 46000 * 0.4 / 0.9 / 4520 * c.m * 0.1;
    EXPECT_TRUE(close(r.Wt, wt));
    const double r0 = c.corrected ? std::cbrt(wt) / std::pow(1 + (3180 / wt) * (3180 / wt), 1.0 / 6)
                                  : std::cbrt(wt);
    EXPECT_TRUE(close(r.R0, r0));
    const double k[] = {3.8, 5.6, 9.6, 28, 56};
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(close(r.Rzone[i], k[i] * r0));
}

INSTANTIATE_TEST_SUITE_P(Bounds, Category,
                         ::testing::Values(CategoryCase{"Small", 10, "III", true},
                                           CategoryCase{"JustBelow2000", 1999.999, "III", true},
                                           CategoryCase{"At2000", 2000, "II", true},
                                           CategoryCase{"At5000", 5000, "II", true},
                                           CategoryCase{"JustAbove5000", 5000.001, "I", false},
                                           CategoryCase{"Large", 80000, "I", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Totals, NoEnergyGivesZeroEverywhere)
{
    RunInputs in = makeInputs();
    in.main.V_PGF = 0;  // A = 0 and G' = 0
    const RaschResult& r = resultOf(run(in, makeReference()));
    EXPECT_EQ(r.E, 0);
    EXPECT_EQ(r.m, 0);
    EXPECT_EQ(r.Zn_kategor, QStringLiteral("III"));
    EXPECT_EQ(r.Q, 0);
    EXPECT_EQ(r.Wt, 0);
    EXPECT_EQ(r.R0, 0);
    for (double radius : r.Rzone)
        EXPECT_EQ(radius, 0);
}

TEST(Totals, ZeroZGivesNoTntEquivalentButKeepsTheCategory)
{
    RunInputs in = massOnly(3000);
    in.conditions.Zet = QStringLiteral("0,0");
    const RaschResult& r = resultOf(run(in, makeReference()));
    EXPECT_TRUE(close(r.m, 3000));
    EXPECT_EQ(r.Zn_kategor, QStringLiteral("II"));
    EXPECT_EQ(r.Wt, 0);
    EXPECT_EQ(r.R0, 0);
    EXPECT_EQ(r.Rzone[4], 0);
}

TEST(Totals, WithoutHeatOfCombustionTheTntEquivalentComesFromA)
{
    // Nitrogen has q' = 0: Wt = A × 0.4 / 0.9 / 4520 whatever z is.
    RunInputs in = makeInputs();
    in.main.Name = QStringLiteral("Азот");
    const RaschResult& r = resultOf(run(in, makeReference()));
    EXPECT_TRUE(close(r.Wt, 12003.439792433404 * 0.4 / 0.9 / 4520));
    in.conditions.Zet = QStringLiteral("1");
    EXPECT_EQ(resultOf(run(in, makeReference())).Wt, r.Wt);
}

TEST(Totals, TntEquivalentOf3180GivesTheHalvedRadius)
{
    // β = 1.6 below the table at 0.3 MPa: A = 1000 × 1.6 × 0.3 × V = 3180 × 4520 × 0.9 / 0.4
    RunInputs in = makeInputs();
    in.main.Name = QStringLiteral("Азот");
    in.settings.A = 1;
    in.main.Adiab = 1.05;
    in.main.Davl = 0.3;
    in.main.V_PGF = 3180.0 * 4520 * 0.9 / 0.4 / 480;
    const RaschResult& r = resultOf(run(in, makeReference()));
    EXPECT_TRUE(close(r.Wt, 3180));
    EXPECT_LE(r.m, 5000);
    EXPECT_TRUE(close(r.R0, std::cbrt(3180.0) / std::pow(2.0, 1.0 / 6)));
}

TEST(Totals, TermsAreAddedInto_E)
{
    RunInputs in = makeInputs();
    in.main.V_GF = 1;
    in.main.Plotn_GF = 600;
    in.main.Temp = 70;
    BlockData b = makeAdjacent(2);
    b.Sk_teploper_GG = 4;
    b.t_P = 9;
    b.Sk_teploper_GF = 1;
    b.t_T = 16;
    in.adjacent.push_back(b);
    in.settings.Gs = true;
    in.settings.znGs = 2;
    const RaschResult& r = resultOf(run(in, makeReference()));
    for (double term : {r.E11, r.E12, r.E21, r.E22, r.E23, r.E24})
        EXPECT_GT(term, 0);
    EXPECT_EQ(r.E, r.E12 + r.E11 + r.E21 + r.E22 + r.E23 + r.E24);
    EXPECT_EQ(r.m, r.E / 46000);
}

TEST(Totals, MoreThan49AdjacentBlocksTakePart)
{
    RunInputs in = makeInputs();
    for (int id = 2; id <= 61; ++id)
        in.adjacent.push_back(makeAdjacent(id));
    const RaschResult& r = resultOf(run(in, makeReference()));
    ASSERT_EQ(r.adjacent.size(), 60u);
    EXPECT_EQ(r.adjacent.back().Id, 61);
    EXPECT_TRUE(close(r.E12, 60 * r.adjacent[0].e12, 1e-12));
    EXPECT_EQ(r.adjacent[59].e12, r.adjacent[0].e12);
}

}  // namespace
}  // namespace veltron::calc::testing
