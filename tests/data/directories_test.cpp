// Surfaces, fuel kinds, compounds and the example calculation: what other
// screens look up by name must be there under that exact name.
#include "data/seed_files.h"

#include "db/schema.h"

#include <gtest/gtest.h>

#include <QSet>

using veltron::test::SeedFile;
namespace db = veltron::db;

namespace {

void expectUniqueNames(const SeedFile& f)
{
    QSet<QString> seen;
    for (int i = 0; i < f.rowCount(); ++i) {
        const QString n = f.text(i, "Name");
        EXPECT_FALSE(n.trimmed().isEmpty()) << f.name().toStdString() << " row " << i + 1;
        EXPECT_FALSE(seen.contains(n)) << f.name().toStdString() << ": duplicate " << n.toStdString();
        seen.insert(n);
    }
}

}  // namespace

// Every seed file must name a table of its base and only fields of that table,
// and every number field must read as a number, or the new store would fail
// to be created.
TEST(SeedFiles, NameExistingTablesAndFieldsWithNumbersWhereNumbersBelong)
{
    const QStringList files = SeedFile::all();
    EXPECT_GE(files.size(), 13);
    for (const QString& rel : files) {
        const auto f = SeedFile::load(rel);
        const QString table = rel.section('/', -1).chopped(4);
        const db::TableDef* def = db::findTable(table);
        ASSERT_NE(def, nullptr) << rel.toStdString();
        EXPECT_EQ(def->base, rel.startsWith("second/") ? db::Base::Second : db::Base::Main) << rel.toStdString();
        EXPECT_GT(f.rowCount(), 0) << rel.toStdString();
        for (const QString& h : f.header()) {
            const db::FieldDef* field = db::findField(*def, h);
            ASSERT_NE(field, nullptr) << rel.toStdString() << ": " << h.toStdString();
            if (field->type == db::FieldType::Integer || field->type == db::FieldType::Double)
                for (int i = 0; i < f.rowCount(); ++i)
                    f.number(i, h);  // fails the test when the text is not a number
        }
    }
}

TEST(Surfaces, ConcreteIsThereWithPhysicalPropertiesLikeEveryOtherSurface)
{
    const auto f = SeedFile::load("tabPoverhn.csv");
    EXPECT_GE(f.rowCount(), 5);
    ASSERT_GE(f.find("Name", QString::fromUtf8("Бетон")), 0);
    expectUniqueNames(f);
    for (int i = 0; i < f.rowCount(); ++i) {
        EXPECT_TRUE(f.required(i, "p") >= 100 && f.required(i, "p") <= 20000) << "row " << i + 1;
        EXPECT_TRUE(f.required(i, "lyambda") > 0 && f.required(i, "lyambda") < 500) << "row " << i + 1;
        EXPECT_TRUE(f.required(i, "c") > 0.1 && f.required(i, "c") < 5) << "row " << i + 1 << ": kJ/(kg*K)";
    }
}

TEST(FuelKinds, FollowTheRulesWithHydrogenFirst)
{
    const auto f = SeedFile::load("tabGoryuch.csv");
    ASSERT_EQ(f.rowCount(), 5);
    expectUniqueNames(f);
    EXPECT_EQ(f.text(0, "Name"), QString::fromUtf8("Водород"));
    const double expected[] = {1.0, 0.5, 0.3, 0.3, 0.0};
    for (int i = 0; i < 5; ++i)
        EXPECT_DOUBLE_EQ(f.required(i, "z"), expected[i]) << f.text(i, "Name").toStdString();
}

TEST(Compounds, TntCarriesTheEnergyOfTheRulesAndOthersArePositive)
{
    const auto f = SeedFile::load("Explosives.csv");
    expectUniqueNames(f);
    int tnt = -1;
    for (int i = 0; i < f.rowCount(); ++i) {
        EXPECT_TRUE(f.required(i, "Energy") > 500 && f.required(i, "Energy") < 10000) << "row " << i + 1;
        if (f.text(i, "Name").startsWith(QString::fromUtf8("Тротил")))
            tnt = i;
    }
    ASSERT_GE(tnt, 0);
    EXPECT_DOUBLE_EQ(f.required(tnt, "Energy"), 4520.0);
}

TEST(OrganisationLists, HaveEntriesWithUniqueNames)
{
    for (const char* rel : {"second/tabDolgn.csv", "second/tabIstochnik.csv"}) {
        const auto f = SeedFile::load(rel);
        EXPECT_GE(f.rowCount(), 3) << rel;
        expectUniqueNames(f);
    }
}

// The example opens from "последний загружаемый расчет": its rows must fit
// together and point at directory entries that exist.
TEST(ExampleCalculation, IsCompleteAndRefersToExistingDirectoryEntries)
{
    const auto rasch = SeedFile::load("tabRasch.csv");
    ASSERT_EQ(rasch.rowCount(), 1);
    EXPECT_EQ(rasch.required(0, "Id"), 1.0);
    EXPECT_EQ(rasch.text(0, "Name"), QString::fromUtf8("Пример — резервуар пропана"));

    const auto time = SeedFile::load("tab_time.csv");
    ASSERT_EQ(time.rowCount(), 1);
    EXPECT_EQ(time.required(0, "Id"), 1.0);

    const auto main = SeedFile::load("tabMain.csv");
    ASSERT_EQ(main.rowCount(), 1);
    EXPECT_EQ(main.required(0, "Id"), 1.0);
    const db::TableDef* mainDef = db::findTable("tabMain");
    ASSERT_NE(mainDef, nullptr);
    for (const auto& field : mainDef->fields)
        EXPECT_FALSE(main.text(0, field.name).isEmpty()) << "tabMain." << field.name.toStdString() << " must be given";
    EXPECT_GE(SeedFile::load("tabPoverhn.csv").find("Name", main.text(0, "Name_poverhn")), 0);
    // Formula 3.1, formula 12, formula 14.2, nothing entered by hand.
    EXPECT_EQ(main.required(0, "A"), 0.0);
    EXPECT_EQ(main.required(0, "G"), 0.0);
    EXPECT_EQ(main.required(0, "Pn"), 1.0);
    for (const char* f : {"Gs", "znGs", "G4", "znG4", "G5", "znG5", "f131", "Lnkpr", "opNyu"})
        EXPECT_EQ(main.required(0, f), 0.0) << f;
    const double z = main.required(0, "z");
    EXPECT_TRUE(z >= 0.02 && z <= 1.0);
    EXPECT_LE(main.required(0, "t_kontakt"), 3600.0);

    const auto blocks = SeedFile::load("tabBloki.csv");
    const auto subst = SeedFile::load("SubstChar.csv");
    ASSERT_EQ(blocks.rowCount(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(blocks.required(i, "Id_Rasch"), 1.0);
        EXPECT_EQ(blocks.required(i, "Id"), double(i + 1));
        const int s = subst.find("Name", blocks.text(i, "Name"));
        ASSERT_GE(s, 0) << "unknown substance " << blocks.text(i, "Name").toStdString();
        EXPECT_GT(blocks.required(i, "Adiab"), 1.0);
        EXPECT_GT(blocks.required(i, "Davl"), 0.1013);
        EXPECT_NE(blocks.required(i, "Temp"), 0.0);
        // Vapour density at atmospheric pressure and block temperature: M P / (R T).
        const double m = subst.required(s, "Mol_massa");
        const double rho = m * 101.325 / (8.314 * (blocks.required(i, "Temp") + 273.15));
        EXPECT_NEAR(blocks.required(i, "Plotn_PGF"), rho, 0.02 * rho);
    }
    EXPECT_GT(blocks.required(1, "S_sech"), 0.0);
    const double kh = blocks.required(1, "Koef_gidro");
    EXPECT_TRUE(kh >= 0.4 && kh <= 0.8);
}
