#include "common/test_store.h"
#include "records/blocks.h"
#include "records/calculations.h"
#include "records/store_reference.h"

#include <gtest/gtest.h>

#include <QSqlRecord>

using namespace veltron;
using namespace veltron::records;

namespace {

// A store with no calculation at all: the example of the seed data removed.
class Records : public ::testing::Test {
protected:
    void SetUp() override
    {
        store = test::openStore(folder);
        for (const char* t : {"tabRasch", "tabRasch1", "tabMain", "tabBloki"})
            store->exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(t)));
    }

    void addCalculation(int id, const QString& name)
    {
        store->exec("INSERT INTO tabRasch (Id, Name) VALUES (?, ?)", {id, name});
        store->exec("INSERT INTO tabMain (Id, Name_poverhn, z, nyu) VALUES (?, 'Бетон', 0.1, 1)", {id});
    }

    Block block(int idRasch, int id, const QString& name)
    {
        Block b;
        b.Id_Rasch = idRasch;
        b.Id = id;
        b.Name_blok = name;
        b.Name = QStringLiteral("Пропан");
        b.V_GF = id * 1.5;
        b.Koef_gidro = 0.55;
        b.G2 = 1;
        b.znG2 = 12.25;
        b.per3 = 7;
        return b;
    }

    QList<int> idsOf(int idRasch)
    {
        QList<int> ids;
        for (const auto& b : blocksOf(*store, idRasch))
            ids << b.Id;
        return ids;
    }

    QStringList namesOf(int idRasch)
    {
        QStringList names;
        for (const auto& b : blocksOf(*store, idRasch))
            names << b.Name_blok;
        return names;
    }

    test::TempFolder folder;
    std::unique_ptr<db::Store> store;
};

}  // namespace

TEST_F(Records, LowestFreeIdentifierIsAllocated)
{
    struct Case {
        QList<int> used;
        int expected;
    };
    const Case cases[] = {{{}, 1}, {{1, 2, 4}, 3}, {{2, 3}, 1}, {{1, 2, 3}, 4}, {{-5, 0, 1}, 2}};
    for (const auto& c : cases) {
        store->exec("DELETE FROM tabRasch1");
        for (int id : c.used)
            store->exec("INSERT INTO tabRasch1 (Id, Name) VALUES (?, ?)", {id, QString::number(id)});
        EXPECT_EQ(allocateId(*store, Kind::Complex), c.expected) << c.used.size();
    }
    addCalculation(1, "а");
    addCalculation(2, "б");
    addCalculation(4, "в");
    const Calculation created = createCalculation(*store, QStringLiteral("Новый 'цех'"));
    EXPECT_EQ(created.id, 3);
    ASSERT_TRUE(findByName(*store, QStringLiteral("Новый 'цех'")));
    EXPECT_EQ(findByName(*store, QStringLiteral("Новый 'цех'"))->id, 3);
}

TEST_F(Records, EveryIdentifierTakenIsAnError)
{
    store->exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 32767) "
                "INSERT INTO tabRasch (Id, Name) SELECT i, i FROM n");
    EXPECT_THROW(allocateId(*store), db::StoreError);
    EXPECT_THROW(createCalculation(*store, "лишний"), db::StoreError);
    EXPECT_EQ(countCalculations(*store), 32767);
}

TEST_F(Records, NewCalculationHasTheDefaultsAndColumnDefaultSettings)
{
    const Calculation c = createCalculation(*store, QStringLiteral("Установка"));
    const auto conditions = loadConditions(*store, c.id);
    ASSERT_TRUE(conditions);
    EXPECT_EQ(*conditions, Conditions{});
    EXPECT_EQ(conditions->Name_poverhn, QStringLiteral("Бетон"));
    EXPECT_DOUBLE_EQ(conditions->z, 0.1);
    EXPECT_DOUBLE_EQ(conditions->nyu, 1);
    const auto row = store->query("SELECT A, G, Pn, Gs FROM tabMain WHERE Id = ?", {c.id}).first();
    EXPECT_EQ(row.value("Pn").toInt(), 1);
    EXPECT_EQ(row.value("A").toInt(), 0);
    EXPECT_TRUE(blocksOf(*store, c.id).isEmpty());
    // A complex calculation has no tabMain row.
    const Calculation k = createCalculation(*store, QStringLiteral("Установка"), Kind::Complex);
    EXPECT_EQ(k.id, 1);
    EXPECT_EQ(store->query("SELECT * FROM tabMain").size(), 1);
}

TEST_F(Records, ListIsInRussianOrderWhateverTheCase)
{
    addCalculation(1, "яма");
    addCalculation(2, "Береговая");
    addCalculation(3, "абсорбер");
    addCalculation(4, "Ёмкость");
    QStringList names;
    for (const auto& c : listCalculations(*store))
        names << c.name;
    EXPECT_EQ(names, (QStringList{"абсорбер", "Береговая", "Ёмкость", "яма"}));
}

TEST_F(Records, ConditionsRoundTripWithoutTouchingSettings)
{
    addCalculation(5, "x");
    store->exec("UPDATE tabMain SET A = 1, G = 1, Pn = 3, G4 = 1, znG4 = 9.5 WHERE Id = 5");
    Conditions c;
    c.Name_poverhn = "Песок";
    c.t_kontakt = 3600;
    c.S_kontakt = 12.5;
    c.S_G = 7.25;
    c.Tempv = -12.5;
    c.Tempp = -3;
    c.Tg = 4;
    c.nyu = 5.6;
    c.f131 = 1;
    c.z = 0.5;
    c.znPn = 101.3;
    c.znPn1 = 1.5;
    c.Lnkpr = 1;
    c.znLnkpr = 33;
    c.Uv = 2.5;
    c.opNyu = 1;
    saveConditions(*store, 5, c);
    EXPECT_EQ(*loadConditions(*store, 5), c);
    auto s = *storedRunSettings(*store, 5);
    EXPECT_EQ(s.A, 1);
    EXPECT_EQ(s.G, 1);
    EXPECT_EQ(s.Pn, 3);
    EXPECT_TRUE(s.G4);
    EXPECT_DOUBLE_EQ(s.znG4, 9.5);
    EXPECT_FALSE(s.G5);
    // The total mass entered clears the two partial masses.
    store->exec("UPDATE tabMain SET Gs = 1, znGs = 40, G5 = 1, znG5 = 3 WHERE Id = 5");
    s = *storedRunSettings(*store, 5);
    EXPECT_TRUE(s.Gs);
    EXPECT_DOUBLE_EQ(s.znGs, 40);
    EXPECT_FALSE(s.G4);
    EXPECT_FALSE(s.G5);
    EXPECT_DOUBLE_EQ(s.znG4, 0);
}

TEST_F(Records, OpeningIsRecordedInTheSingleRow)
{
    recordOpening(*store, 7);
    recordOpening(*store, 9);
    const auto rows = store->query("SELECT Id, Time_nast FROM tab_time");
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(lastOpenedId(*store), 9);
    EXPECT_FALSE(rows.first().value(1).isNull());
}

TEST_F(Records, BlocksRoundTripAndNumbering)
{
    addCalculation(1, "a");
    EXPECT_EQ(nextAdjacentNumber(*store, 1), 2);
    saveBlock(*store, block(1, 1, "главный"));
    EXPECT_EQ(nextAdjacentNumber(*store, 1), 2);
    saveBlock(*store, block(1, 2, "смежный"));
    saveBlock(*store, block(1, 5, "пятый"));
    EXPECT_EQ(nextAdjacentNumber(*store, 1), 6);
    Block changed = block(1, 2, "смежный 'с кавычкой'");
    changed.Temp = -40.5;
    saveBlock(*store, changed);
    EXPECT_EQ(idsOf(1), (QList<int>{1, 2, 5}));
    EXPECT_EQ(*findBlock(*store, 1, 2), changed);
    EXPECT_FALSE(findBlock(*store, 1, 3));
}

TEST_F(Records, DeletingAnAdjacentBlockRenumbersOnlyThisCalculation)
{
    addCalculation(1, "a");
    addCalculation(2, "b");
    for (int id : {1, 2, 3, 4, 5})
        saveBlock(*store, block(1, id, QStringLiteral("блок %1").arg(id)));
    for (int id : {1, 3, 4})
        saveBlock(*store, block(2, id, QStringLiteral("другой %1").arg(id)));
    deleteAdjacentBlock(*store, 1, 3);
    EXPECT_EQ(idsOf(1), (QList<int>{1, 2, 3, 4}));
    EXPECT_EQ(namesOf(1), (QStringList{"блок 1", "блок 2", "блок 4", "блок 5"}));
    EXPECT_EQ(idsOf(2), (QList<int>{1, 3, 4}));
    // A gap left by another program closes too, the order kept.
    renumberAdjacent(*store, 2);
    EXPECT_EQ(namesOf(2), (QStringList{"другой 1", "другой 3", "другой 4"}));
    EXPECT_EQ(idsOf(2), (QList<int>{1, 2, 3}));
}

TEST_F(Records, SaveAsOntoExistingReplacesBlocksAndKeepsSettings)
{
    addCalculation(1, "источник");
    addCalculation(2, "цель");
    store->exec("UPDATE tabMain SET A = 1, Pn = 3, Gs = 1, znGs = 77 WHERE Id = 2");
    saveBlock(*store, block(1, 1, "главный"));
    saveBlock(*store, block(1, 2, "смежный"));
    for (int id : {1, 2, 3})
        saveBlock(*store, block(2, id, QStringLiteral("старый %1").arg(id)));
    Conditions c;
    c.t_kontakt = 120;
    c.Name_poverhn = "Песок";
    const Calculation target = saveAs(*store, 1, QStringLiteral("цель"), c);
    EXPECT_EQ(target.id, 2);
    EXPECT_EQ(*loadConditions(*store, 2), c);
    EXPECT_EQ(namesOf(2), (QStringList{"главный", "смежный"}));
    Block copied = *findBlock(*store, 2, 2);
    copied.Id_Rasch = 1;
    EXPECT_EQ(copied, *findBlock(*store, 1, 2));
    const auto settings = store->query("SELECT A, Pn, Gs, znGs FROM tabMain WHERE Id = 2").first();
    EXPECT_EQ(settings.value("A").toInt(), 1);
    EXPECT_EQ(settings.value("Pn").toInt(), 3);
    EXPECT_DOUBLE_EQ(settings.value("znGs").toDouble(), 77);
    // The source is untouched.
    EXPECT_EQ(namesOf(1), (QStringList{"главный", "смежный"}));
    EXPECT_EQ(countCalculations(*store), 2);
}

TEST_F(Records, SaveAsToANewNameCreatesItWithColumnDefaults)
{
    addCalculation(1, "источник");
    store->exec("UPDATE tabMain SET Pn = 3 WHERE Id = 1");
    saveBlock(*store, block(1, 1, "главный"));
    const Calculation target = saveAs(*store, 1, QStringLiteral("копия"), Conditions{});
    EXPECT_EQ(target.id, 2);
    EXPECT_EQ(findById(*store, 2)->name, QStringLiteral("копия"));
    EXPECT_EQ(store->query("SELECT Pn FROM tabMain WHERE Id = 2").first().value(0).toInt(), 1);
    EXPECT_EQ(namesOf(2), QStringList{"главный"});
}

TEST_F(Records, FailedSaveAsLeavesTheTargetAsItWas)
{
    addCalculation(1, "источник");
    addCalculation(2, "цель");
    saveBlock(*store, block(1, 1, "главный"));
    saveBlock(*store, block(2, 1, "старый"));
    const auto before = *loadConditions(*store, 2);
    // The block copy fails half-way: after the target's blocks are deleted
    // and its conditions written.
    test::refuse(*store, "stop_copy", "INSERT", "tabBloki", "NEW.Id_Rasch = 2");
    Conditions c;
    c.t_kontakt = 999;
    EXPECT_THROW(saveAs(*store, 1, QStringLiteral("цель"), c), db::StoreError);
    EXPECT_EQ(*loadConditions(*store, 2), before);
    EXPECT_EQ(namesOf(2), QStringList{"старый"});
    // A new target is not left behind either.
    test::dropRefusal(*store, "stop_copy", "tabBloki");
    test::refuse(*store, "stop_copy", "INSERT", "tabBloki", "NEW.Id_Rasch = 3");
    EXPECT_THROW(saveAs(*store, 1, QStringLiteral("новая"), c), db::StoreError);
    EXPECT_FALSE(findByName(*store, QStringLiteral("новая")));
    EXPECT_TRUE(store->query("SELECT * FROM tabMain WHERE Id = 3").isEmpty());
}

TEST_F(Records, DeleteRemovesEverythingOfOneCalculationOrNothing)
{
    addCalculation(1, "a");
    addCalculation(2, "b");
    saveBlock(*store, block(1, 1, "x"));
    saveBlock(*store, block(2, 1, "y"));
    test::refuse(*store, "stop_delete", "DELETE", "tabBloki");
    EXPECT_THROW(deleteCalculation(*store, 1), db::StoreError);
    EXPECT_TRUE(findById(*store, 1));
    EXPECT_TRUE(loadConditions(*store, 1));
    test::dropRefusal(*store, "stop_delete", "tabBloki");
    deleteCalculation(*store, 1);
    EXPECT_FALSE(findById(*store, 1));
    EXPECT_FALSE(loadConditions(*store, 1));
    EXPECT_TRUE(blocksOf(*store, 1).isEmpty());
    EXPECT_EQ(blocksOf(*store, 2).size(), 1);
    renameCalculation(*store, 2, QStringLiteral("b'2"));
    EXPECT_EQ(findById(*store, 2)->name, QStringLiteral("b'2"));
}

// An empty flash point or empty Antoine constants in the directory mean "not
// defined", not zero: the run must be able to refuse formula 14.3 or Antoine's.
TEST_F(Records, SubstanceLookupTellsAnEmptyFlashPointAndEmptyAntoineConstantsFromZero)
{
    store->exec("INSERT INTO SubstChar (Name, Mol_massa, T_kip, Tvsp, pA, pB, pCa) VALUES "
                "('Жидкость', 100, 80, 0, 6, 1200, 220), ('Газ', 30, -90, NULL, 6, 650, 250), "
                "('Без Антуана', 26, -84, NULL, 6, NULL, 250)");
    StoreReference ref(*store);
    const auto liquid = ref.substance(QStringLiteral("Жидкость"));
    ASSERT_TRUE(liquid);
    EXPECT_TRUE(liquid->hasTvsp) << "a flash point of 0 °C is a value";
    EXPECT_EQ(liquid->Tvsp, 0);
    EXPECT_TRUE(liquid->hasAntoine);
    const auto gas = ref.substance(QStringLiteral("Газ"));
    ASSERT_TRUE(gas);
    EXPECT_FALSE(gas->hasTvsp);
    EXPECT_TRUE(gas->hasAntoine);
    const auto partial = ref.substance(QStringLiteral("Без Антуана"));
    ASSERT_TRUE(partial);
    EXPECT_FALSE(partial->hasAntoine) << "one missing constant leaves the formula undefined";
}
