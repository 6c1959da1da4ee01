// The pool of block results and the rows of complex calculations: exact
// numbers, the order of the rows, saves and deletions all or nothing, and
// two users on one calculation.
#include "common/test_store.h"
#include "records/calculations.h"
#include "records/complex_pool.h"
#include "records/complex_rows.h"

#include <gtest/gtest.h>

#include <QSqlRecord>

#include <cmath>
#include <limits>

using namespace veltron;
using namespace veltron::records;

namespace {

class Complex : public ::testing::Test {
protected:
    void SetUp() override
    {
        store = test::openStore(folder);
        store->exec("DELETE FROM tabKR");
        calculation = createCalculation(*store, QStringLiteral("Установка 'А'"), Kind::Complex);
    }

    // A pool entry added as the hand-over dialog adds it, read back by its Id.
    PoolEntry pooled(const PoolEntry& e)
    {
        EXPECT_TRUE(addPoolEntry(*store, e));
        for (const PoolItem& item : listPool(*store))
            if (item.pName == e.pName)
                return findPoolEntry(*store, item.id).value();
        ADD_FAILURE() << "not in the pool";
        return {};
    }

    QStringList storedNames(int id)
    {
        QStringList names;
        for (const auto& r : openComplexRows(*store, id))
            names << r.pName;
        return names;
    }

    test::TempFolder folder;
    std::unique_ptr<db::Store> store;
    Calculation calculation;
};

PoolEntry entry(const char* name, double base)
{
    return {QString::fromUtf8(name), base, base / 3, 0.1 + 0.2, base * 1e-17, 1.0 / 7, 123456789.123456789 + base,
            base / 9};
}

}  // namespace

TEST_F(Complex, NumbersGoFromThePoolThroughTheRowsWithoutLoss)
{
    const PoolEntry a = pooled(entry("Колонна К-1", 1e6 / 3));
    const PoolEntry b = pooled(entry("Емкость Е-2", std::nextafter(2.5, 3.0)));
    EXPECT_EQ(a, entry("Колонна К-1", 1e6 / 3));
    EXPECT_EQ(b.E11, std::nextafter(2.5, 3.0));

    saveComplexRows(*store, calculation.id, {b, a});
    const QList<calc::BlockEnergies> back = openComplexRows(*store, calculation.id);
    ASSERT_EQ(back.size(), 2);
    EXPECT_EQ(back[0], b);
    EXPECT_EQ(back[1], a);
}

TEST_F(Complex, RowsKeepTheirOrderAndASaveReplacesThemOnlyForItsCalculation)
{
    const Calculation other = createCalculation(*store, QStringLiteral("Другая"), Kind::Complex);
    saveComplexRows(*store, other.id, {entry("чужой", 1)});
    // Names whose alphabetical order differs from the order of adding.
    saveComplexRows(*store, calculation.id, {entry("Я", 1), entry("а", 2), entry("Б", 3)});
    EXPECT_EQ(storedNames(calculation.id), (QStringList{"Я", "а", "Б"}));
    saveComplexRows(*store, calculation.id, {entry("Б", 3), entry("Я", 1)});
    EXPECT_EQ(storedNames(calculation.id), (QStringList{"Б", "Я"}));
    EXPECT_EQ(storedNames(other.id), QStringList{"чужой"});
    EXPECT_EQ(store->query("SELECT * FROM tabSumm_rasch").size(), 3);
}

TEST_F(Complex, AFailedSaveLeavesTheStoredRowsAsTheyWere)
{
    saveComplexRows(*store, calculation.id, {entry("старый 1", 1), entry("старый 2", 2)});
    // The save fails half-way: the old rows deleted, the first new row written.
    test::refuse(*store, "stop_rows", "INSERT", "tabSumm_rasch", "NEW.pName = 'новый 2'");
    EXPECT_THROW(saveComplexRows(*store, calculation.id, {entry("новый 1", 1), entry("новый 2", 2)}),
                 db::StoreError);
    EXPECT_EQ(storedNames(calculation.id), (QStringList{"старый 1", "старый 2"}));
    test::dropRefusal(*store, "stop_rows", "tabSumm_rasch");
    // The refusal left the program able to save again.
    saveComplexRows(*store, calculation.id, {entry("новый 1", 1)});
    EXPECT_EQ(storedNames(calculation.id), QStringList{"новый 1"});
}

TEST_F(Complex, DeletingTakesTheRowsAndTheCalculationOrNothing)
{
    const Calculation other = createCalculation(*store, QStringLiteral("Другая"), Kind::Complex);
    saveComplexRows(*store, calculation.id, {entry("a", 1), entry("b", 2)});
    saveComplexRows(*store, other.id, {entry("c", 1)});
    test::refuse(*store, "stop_delete", "DELETE", "tabRasch1");
    EXPECT_THROW(deleteComplexCalculation(*store, calculation.id), db::StoreError);
    EXPECT_TRUE(findById(*store, calculation.id, Kind::Complex));
    EXPECT_EQ(storedNames(calculation.id).size(), 2);
    test::dropRefusal(*store, "stop_delete", "tabRasch1");

    deleteComplexCalculation(*store, calculation.id);
    EXPECT_FALSE(findById(*store, calculation.id, Kind::Complex));
    EXPECT_TRUE(openComplexRows(*store, calculation.id).isEmpty());
    EXPECT_EQ(storedNames(other.id), QStringList{"c"});
    // A save onto the deleted calculation does not bring it back.
    EXPECT_THROW(saveComplexRows(*store, calculation.id, {entry("a", 1)}), ConcurrentChange);
    EXPECT_TRUE(openComplexRows(*store, calculation.id).isEmpty());
}

TEST_F(Complex, OfTwoUsersSavingTheSameCalculationTheSecondIsRefused)
{
    auto second = test::openStore(folder);
    saveComplexRows(*store, calculation.id, {entry("исходный", 1)});
    openComplexRows(*store, calculation.id);
    openComplexRows(*second, calculation.id);
    saveComplexRows(*store, calculation.id, {entry("первый", 1)});
    try {
        saveComplexRows(*second, calculation.id, {entry("второй", 1)});
        FAIL() << "the second save must be refused";
    } catch (const ConcurrentChange& e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Расчет «Установка 'А'» изменил другой пользователь")))
            << e.message().toStdString();
    }
    EXPECT_THROW(deleteComplexCalculation(*second, calculation.id), ConcurrentChange);
    EXPECT_EQ(storedNames(calculation.id), QStringList{"первый"});
    // Opened again, the second user's save lands.
    openComplexRows(*second, calculation.id);
    saveComplexRows(*second, calculation.id, {entry("второй", 1)});
    EXPECT_EQ(storedNames(calculation.id), QStringList{"второй"});
}

TEST_F(Complex, PoolListIsInRussianOrderAndAnEntryLeavesItAlone)
{
    for (const char* name : {"емкость", "Аппарат", "Ёмкость 2", "колонна", "Блок 'Б'"})
        pooled(entry(name, 1));
    QStringList names;
    for (const PoolItem& item : listPool(*store))
        names << item.pName;
    EXPECT_EQ(names, (QStringList{"Аппарат", "Блок 'Б'", "емкость", "Ёмкость 2", "колонна"}));

    const PoolItem gone = listPool(*store)[1];
    saveComplexRows(*store, calculation.id, {*findPoolEntry(*store, gone.id)});
    deletePoolEntry(*store, gone.id);
    EXPECT_FALSE(findPoolEntry(*store, gone.id));
    EXPECT_EQ(listPool(*store).size(), 4);
    // Rows already copied into a calculation stay.
    EXPECT_EQ(storedNames(calculation.id), QStringList{"Блок 'Б'"});
}
