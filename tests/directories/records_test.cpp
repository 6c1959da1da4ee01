#include "common/test_support.h"
#include "db/store.h"
#include "records/reference_lists.h"
#include "records/substances.h"

#include <gtest/gtest.h>

using namespace veltron;
using namespace veltron::records;

namespace {

class DirectoryRecords : public ::testing::Test {
protected:
    void SetUp() override { store = db::Store::openEmbedded(folder.path()); }
    test::TempFolder folder;
    std::unique_ptr<db::Store> store;
};

SubstanceRecord complete()
{
    SubstanceRecord s;
    s.Name = QStringLiteral("Проба-1");
    s.Vid_vva = 1;
    s.Mol_massa = 92.14;
    s.T_kip = 110.6;
    s.Tvsp = 4;
    s.Tepl_sgorPGF = 40940;
    s.Tepl_paroobr = 363;
    s.Teploem_GF = 1.7;
    s.pA = 6.0;
    s.pB = 1344.8;
    s.pCa = 219.5;
    return s;
}

}  // namespace

TEST(MissingProperties, NamesWhatTheRunReadsAndTheRecordLacks)
{
    const struct {
        const char* name;
        std::optional<double> SubstanceRecord::*cleared;
        QStringList always;
        QStringList byFormula;
    } cases[] = {
        {"complete", nullptr, {}, {}},
        {"molar mass", &SubstanceRecord::Mol_massa, {"молярная масса"}, {}},
        {"boiling point", &SubstanceRecord::T_kip, {"температура кипения"}, {}},
        {"heat of combustion", &SubstanceRecord::Tepl_sgorPGF, {"удельная теплота сгорания ПГФ"}, {}},
        {"heat of vaporisation", &SubstanceRecord::Tepl_paroobr, {"удельная теплота парообразования"}, {}},
        {"heat capacity", &SubstanceRecord::Teploem_GF, {"удельная теплоемкость жидкой фазы"}, {}},
        {"flash point", &SubstanceRecord::Tvsp, {}, {"температура вспышки (формула 14.3)"}},
        {"one Antoine constant", &SubstanceRecord::pCa, {}, {"константы формулы Антуана"}},
        {"not read by a run", &SubstanceRecord::NKPR, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SubstanceRecord s = complete();
        if (c.cleared)
            s.*c.cleared = std::nullopt;
        const MissingProperties m = missingProperties(s);
        EXPECT_EQ(m.always, c.always);
        EXPECT_EQ(m.byFormula, c.byFormula);
        EXPECT_EQ(missingPropertiesNote(m).isEmpty(), c.always.isEmpty() && c.byFormula.isEmpty());
    }
    EXPECT_EQ(missingPropertiesNote({{"молярная масса"}, {"константы формулы Антуана"}}),
              QStringLiteral("Нет данных для расчета: молярная масса — расчет, которому они нужны, остановится с "
                             "сообщением или примет их равными 0.\n"
                             "Не заданы: константы формулы Антуана — расчет по этой формуле остановится с "
                             "сообщением."));
}

// A value the formulas cannot use counts as missing too, named with its value:
// 0 where the property must be positive, an adiabatic index not above 1. A 0
// that is valid (q' of a substance that does not burn, a boiling point of
// 0 °C) is not, nor an empty adiabatic index, which no run reads.
TEST(MissingProperties, AZeroWhereThePropertyMustBePositiveIsMissing)
{
    const struct {
        const char* name;
        std::optional<double> SubstanceRecord::*field;
        std::optional<double> value;
        QStringList always;
    } cases[] = {
        {"molar mass 0", &SubstanceRecord::Mol_massa, 0.0, {"молярная масса = 0"}},
        {"heat of vaporisation 0", &SubstanceRecord::Tepl_paroobr, 0.0, {"удельная теплота парообразования = 0"}},
        {"heat capacity 0", &SubstanceRecord::Teploem_GF, 0.0, {"удельная теплоемкость жидкой фазы = 0"}},
        {"adiabatic index 0", &SubstanceRecord::PokAdiab, 0.0, {"показатель адиабаты = 0"}},
        {"adiabatic index 1", &SubstanceRecord::PokAdiab, 1.0, {"показатель адиабаты = 1"}},
        {"adiabatic index empty", &SubstanceRecord::PokAdiab, std::nullopt, {}},
        {"heat of combustion 0", &SubstanceRecord::Tepl_sgorPGF, 0.0, {}},
        {"boiling point 0", &SubstanceRecord::T_kip, 0.0, {}},
        {"liquid density 0", &SubstanceRecord::Plotn_GF, 0.0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SubstanceRecord s = complete();
        s.PokAdiab = 1.1;
        s.*c.field = c.value;
        EXPECT_EQ(missingProperties(s).always, c.always);
    }
}

TEST_F(DirectoryRecords, SubstancesRoundTripWithEmptyFieldsAndRefuseATakenName)
{
    SubstanceRecord s = complete();
    s.Name = QStringLiteral("Спирт 'этиловый'");
    s.Tvsp.reset();
    s.Vid_vva = 9;
    s.BruttoFormula.clear();
    ASSERT_TRUE(saveSubstance(*store, {}, s));
    EXPECT_EQ(findSubstanceRecord(*store, s.Name), s);
    EXPECT_TRUE(store->query("SELECT Tvsp, BruttoFormula FROM SubstChar WHERE Name = ?", {s.Name}).first().isNull(0));

    // A name already there is refused, also as the new name of another one.
    SubstanceRecord copy = complete();
    copy.Name = s.Name;
    EXPECT_FALSE(saveSubstance(*store, {}, copy));
    const int before = int(substanceRecords(*store).size());
    ASSERT_TRUE(saveSubstance(*store, {}, complete()));
    EXPECT_FALSE(saveSubstance(*store, QStringLiteral("Проба-1"), copy));
    EXPECT_EQ(int(substanceRecords(*store).size()), before + 1);

    // A rewrite under its own name, and under a new one.
    copy.Name = QStringLiteral("Проба-1");
    copy.Mol_massa = 92.0;
    ASSERT_TRUE(saveSubstance(*store, QStringLiteral("Проба-1"), copy));
    copy.Name = QStringLiteral("Проба-2");
    ASSERT_TRUE(saveSubstance(*store, QStringLiteral("Проба-1"), copy));
    EXPECT_FALSE(findSubstanceRecord(*store, QStringLiteral("Проба-1")));
    EXPECT_EQ(findSubstanceRecord(*store, QStringLiteral("Проба-2"))->Mol_massa, 92.0);

    // A record gone meanwhile is not silently recreated.
    copy.Name = QStringLiteral("Проба-3");
    EXPECT_THROW(saveSubstance(*store, QStringLiteral("Проба-1"), copy), db::StoreError);
    EXPECT_FALSE(findSubstanceRecord(*store, copy.Name));

    deleteSubstance(*store, s.Name);
    EXPECT_FALSE(findSubstanceRecord(*store, s.Name));
}

TEST_F(DirectoryRecords, SmallDirectoriesAndOrganisationListsChangeInPlace)
{
    const auto names = [&](Directory d) {
        QStringList out;
        for (const auto& e : directoryEntries(*store, d))
            out << e.Name;
        return out;
    };
    const QStringList fuel = names(Directory::FuelKinds);
    ASSERT_GE(fuel.size(), 3);
    ASSERT_TRUE(saveDirectoryEntry(*store, Directory::FuelKinds, fuel[0], {QStringLiteral("Водород (H2)"), {1.0}}));
    QStringList renamed = fuel;
    renamed[0] = QStringLiteral("Водород (H2)");
    EXPECT_EQ(names(Directory::FuelKinds), renamed);
    EXPECT_FALSE(saveDirectoryEntry(*store, Directory::FuelKinds, {}, {fuel[1], {0.1}}));
    EXPECT_EQ(names(Directory::FuelKinds), renamed);

    ASSERT_TRUE(saveDirectoryEntry(*store, Directory::Surfaces, {}, {QStringLiteral("абразив"), {2100, 1.05, std::nullopt}}));
    const auto surfaces = directoryEntries(*store, Directory::Surfaces);
    EXPECT_EQ(surfaces.first().Name, QStringLiteral("абразив"));  // case-insensitive Russian order
    EXPECT_FALSE(surfaces.first().values[2].has_value());
    EXPECT_TRUE(surfaceInCalculations(*store, QStringLiteral("Бетон")));  // the shipped example calculation
    EXPECT_FALSE(surfaceInCalculations(*store, QStringLiteral("абразив")));

    const QStringList positions = names(Directory::Positions);
    ASSERT_GE(positions.size(), 2);
    EXPECT_FALSE(saveDirectoryEntry(*store, Directory::Positions, positions[0], {positions[1], {}}));
    ASSERT_TRUE(saveDirectoryEntry(*store, Directory::Positions, positions[0], {QStringLiteral("Я-последний"), {}}));
    EXPECT_EQ(names(Directory::Positions), positions.mid(1) << QStringLiteral("Я-последний"));
    EXPECT_EQ(names(Directory::Sources).size(), store->query("SELECT Name FROM tabIstochnik", {}, db::Base::Second).size());
}
