// The substances directory: every row must be consistent in itself, so that
// a wrong digit or a constant in the wrong units shows up here and not in an
// expert's report.
#include "data/seed_files.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QSet>

#include <cmath>
#include <map>

using veltron::test::SeedFile;

namespace {

const double kAtmosphereKPa = 101.325;

struct Substance {
    const SeedFile* f;
    int row;
    QString name() const { return f->text(row, "Name"); }
    std::optional<double> operator[](const char* field) const { return f->number(row, field); }
    bool isMixture() const { return f->required(row, "Vid_vva") == 2; }
};

// Molar mass of a gross formula such as "C2H6O" or "C7.024H13.706".
std::optional<double> molarMassOf(const QString& formula)
{
    static const std::map<QString, double> atomic = {{"C", 12.011}, {"H", 1.008}, {"O", 15.999},
                                                     {"N", 14.007}, {"S", 32.06}, {"Cl", 35.45}};
    static const QRegularExpression part(QStringLiteral("([A-Z][a-z]?)([0-9]*(?:\\.[0-9]+)?)"));
    double m = 0;
    int consumed = 0;
    for (auto it = part.globalMatch(formula); it.hasNext();) {
        const auto match = it.next();
        const auto a = atomic.find(match.captured(1));
        if (a == atomic.end())
            return std::nullopt;
        m += a->second * (match.captured(2).isEmpty() ? 1.0 : match.captured(2).toDouble());
        consumed += int(match.capturedLength());
    }
    if (consumed != formula.size())
        return std::nullopt;
    return m;
}

class SubstChar : public ::testing::Test {
protected:
    void SetUp() override { file = SeedFile::load("SubstChar.csv"); }
    std::vector<Substance> all() const
    {
        std::vector<Substance> v;
        for (int i = 0; i < file.rowCount(); ++i)
            v.push_back({&file, i});
        return v;
    }
    SeedFile file;
};

}  // namespace

TEST(SubstancesFormula, MolarMassOfGrossFormulas)
{
    EXPECT_NEAR(*molarMassOf("C3H8"), 44.097, 1e-3);
    EXPECT_NEAR(*molarMassOf("C2H6O"), 46.069, 1e-3);
    EXPECT_NEAR(*molarMassOf("C7.024H13.706"), 98.19, 1e-2);
    EXPECT_FALSE(molarMassOf("C3H8x"));
    EXPECT_FALSE(molarMassOf("Xe"));
}

TEST_F(SubstChar, HoldsAtLeastFortySubstancesUnderUniqueNamesOfBothKinds)
{
    EXPECT_GE(file.rowCount(), 40);
    QSet<QString> names;
    int mixtures = 0;
    for (const auto& s : all()) {
        EXPECT_FALSE(s.name().trimmed().isEmpty()) << "row " << s.row + 1;
        EXPECT_EQ(s.name(), s.name().trimmed());
        EXPECT_FALSE(names.contains(s.name())) << "duplicate " << s.name().toStdString();
        names.insert(s.name());
        const double kind = file.required(s.row, "Vid_vva");
        EXPECT_TRUE(kind == 1 || kind == 2) << s.name().toStdString();
        mixtures += s.isMixture();
    }
    EXPECT_GE(mixtures, 3);
    for (const char* expected : {"Метан", "Пропан", "Водород", "Сероводород", "Аммиак", "Бензол", "Этанол",
                                 "Ацетон", "Диэтиловый эфир"})
        EXPECT_TRUE(names.contains(QString::fromUtf8(expected))) << expected;
}

TEST_F(SubstChar, HeatsAndMolarMassArePositiveAndTheMassMatchesTheFormula)
{
    for (const auto& s : all()) {
        const std::string n = s.name().toStdString();
        EXPECT_GT(file.required(s.row, "Tepl_sgorPGF"), 0.0) << n;
        if (const auto r = s["Tepl_paroobr"]) {
            EXPECT_GT(*r, 0.0) << n;
        }
        if (const auto c = s["Teploem_GF"]) {
            EXPECT_GT(*c, 0.0) << n;
        }
        if (const auto rho = s["Plotn_GF"]) {
            EXPECT_GT(*rho, 0.0) << n;
        }
        const auto m = s["Mol_massa"];
        if (!s.isMixture()) {
            EXPECT_TRUE(m.has_value()) << n << ": a pure substance needs its molar mass";
        }
        if (!m)
            continue;
        EXPECT_GT(*m, 0.0) << n;
        const QString formula = file.text(s.row, "BruttoFormula");
        if (!formula.isEmpty()) {
            const auto fromFormula = molarMassOf(formula);
            ASSERT_TRUE(fromFormula) << n << ": unreadable formula " << formula.toStdString();
            EXPECT_NEAR(*m, *fromFormula, 0.005 * *fromFormula) << n;
        }
    }
}

// A run reads M, q', r, c' and Tb of every block's substance; an empty field
// reads as 0 and silently zeroes E1'' (for a liquefied gas the largest term).
// The bands are wide enough for hydrogen and ammonia and narrow enough to
// catch a value in the wrong units (kJ/mol, kcal, kelvins).
TEST_F(SubstChar, EveryShippedSubstanceHasTheFieldsOfTheRunInPlausibleUnits)
{
    for (const auto& s : all()) {
        const std::string n = s.name().toStdString();
        for (const char* field : {"Mol_massa", "T_kip", "Tepl_sgorPGF", "Tepl_paroobr", "Teploem_GF"})
            EXPECT_TRUE(s[field].has_value()) << n << ": " << field << " is empty";
        const auto m = s["Mol_massa"], tb = s["T_kip"], q = s["Tepl_sgorPGF"], r = s["Tepl_paroobr"],
                   c = s["Teploem_GF"];
        if (!m || !tb || !q || !r || !c)
            continue;
        EXPECT_TRUE(*m >= 2 && *m <= 400) << n << ": M = " << *m;
        EXPECT_TRUE(*tb > -260 && *tb < 350) << n << ": Tb = " << *tb;
        EXPECT_TRUE(*q > 5000 && *q < 150000) << n << ": q' = " << *q;
        EXPECT_TRUE(*r > 100 && *r < 2000) << n << ": r = " << *r;
        EXPECT_TRUE(*c > 1 && *c < 12) << n << ": c' = " << *c;
        if (!s.isMixture()) {
            // Molar entropy of vaporisation at the boiling point (Trouton's rule
            // gives about 88 J/(mol*K); hydrogen and associating acids lie lower).
            const double entropy = *r * *m / (*tb + 273.15);
            EXPECT_TRUE(entropy > 40 && entropy < 130) << n << ": r*M/Tb = " << entropy;
        }
    }
}

// An empty flash point means "not defined": the substance is a gas at 20 °C.
// Every liquid and every mixture has one, since formula 14.3 needs it. The
// Antoine constants are empty only where the file header says so.
TEST_F(SubstChar, FlashPointAndAntoineConstantsAreEmptyOnlyWhereNotDefined)
{
    const QSet<QString> withoutAntoine = {QStringLiteral("Ацетилен")};
    int gases = 0;
    for (const auto& s : all()) {
        const std::string n = s.name().toStdString();
        const double tb = file.required(s.row, "T_kip");
        if (s.isMixture() || tb > 20) {
            EXPECT_TRUE(s["Tvsp"].has_value()) << n << ": a liquid needs its flash point";
        }
        if (!s["Tvsp"])
            ++gases;
        EXPECT_EQ(!s["pA"].has_value(), withoutAntoine.contains(s.name())) << n;
    }
    EXPECT_GE(gases, 10);
}

// The heat of combustion of the liquid used by the engine is Tepl_sgorPGF -
// Tepl_paroobr; a vaporisation heat near the combustion heat means a unit slip.
TEST_F(SubstChar, VaporisationHeatIsASmallPartOfTheCombustionHeat)
{
    for (const auto& s : all())
        if (const auto r = s["Tepl_paroobr"]) {
            EXPECT_LT(*r, 0.2 * file.required(s.row, "Tepl_sgorPGF")) << s.name().toStdString();
        }
}

TEST_F(SubstChar, TemperaturesLimitsAndIndexAreInTheirNaturalOrder)
{
    for (const auto& s : all()) {
        const std::string n = s.name().toStdString();
        const double tb = file.required(s.row, "T_kip");
        EXPECT_GT(tb, -273.15) << n;
        if (const auto tm = s["T_plavl"]) {
            EXPECT_GT(tb, *tm) << n << ": boiling point must lie above melting point";
        }
        if (const auto tf = s["Tvsp"]) {
            EXPECT_LT(*tf, tb) << n << ": flash point must lie below boiling point";
        }
        const auto lo = s["NKPR"], hi = s["VKPR"];
        if (lo) {
            EXPECT_TRUE(*lo > 0 && *lo < 100) << n;
        }
        if (lo && hi) {
            EXPECT_LT(*lo, *hi) << n;
        }
        if (hi) {
            EXPECT_LE(*hi, 100.0) << n;
        }
        if (const auto k = s["PokAdiab"]) {
            EXPECT_TRUE(*k > 1.0 && *k <= 5.0 / 3.0) << n;
        }
    }
}

// lg P = A - B / (Ca + t), P in kPa, t in °C. For a pure substance the
// pressure at the normal boiling point is one atmosphere; constants for mmHg
// would give 7.5 times that, constants for K or ln far worse.
TEST_F(SubstChar, AntoinePressureAtTheBoilingPointIsOneAtmosphere)
{
    int withConstants = 0;
    for (const auto& s : all()) {
        const std::string n = s.name().toStdString();
        const auto a = s["pA"], b = s["pB"], ca = s["pCa"];
        EXPECT_TRUE((a && b && ca) || (!a && !b && !ca)) << n << ": Antoine constants come in threes";
        if (!a || !b || !ca)
            continue;
        ++withConstants;
        const double tb = file.required(s.row, "T_kip");
        ASSERT_GT(*ca + tb, 0.0) << n;
        const double p = std::pow(10.0, *a - *b / (*ca + tb));
        if (s.isMixture()) {
            // The constants of a fuel describe the whole product and its tabulated
            // boiling point is the start of distillation: only the order of magnitude holds.
            EXPECT_TRUE(p > 50.0 && p < 200.0) << n << ": " << p << " kPa";
            continue;
        }
        EXPECT_NEAR(p / kAtmosphereKPa, 1.0, 0.03) << n << ": " << p << " kPa at " << tb << " °C";
        const auto tmin = s["pTmin"], tmax = s["pTmax"];
        EXPECT_EQ(tmin.has_value(), tmax.has_value()) << n;
        if (tmin && tmax) {
            EXPECT_LT(*tmin, *tmax) << n;
            EXPECT_GE(tb, *tmin - 2.0) << n << ": constants not valid at the boiling point";
            EXPECT_LE(tb, *tmax + 2.0) << n << ": constants not valid at the boiling point";
        }
    }
    EXPECT_GE(withConstants, 30);
}
