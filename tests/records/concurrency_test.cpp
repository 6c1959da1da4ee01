// Two programs on one store: each change of a calculation is checked against
// the version the program read.
#include "common/test_store.h"
#include "records/blocks.h"
#include "records/calculations.h"
#include "records/reference_lists.h"
#include "records/substances.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>

#include <functional>

using namespace veltron;
using namespace veltron::records;

namespace {

// Two users: two programs, each with its own connection to the same store.
class TwoUsers : public ::testing::Test {
protected:
    void SetUp() override
    {
        first = test::openStore(folder);
        second = test::openStore(folder);
        for (const char* name : {"Цех 1", "Цех 2"}) {
            const Calculation c = createCalculation(*first, QString::fromUtf8(name));
            Block b;
            b.Id_Rasch = c.id;
            b.Name_blok = QStringLiteral("Емкость");
            b.Name = QStringLiteral("Пропан");
            saveBlock(*first, b);
            ids << c.id;
        }
    }

    static Conditions withAir(Conditions c, double t)
    {
        c.Tempv = t;
        return c;
    }

    test::TempFolder folder;
    std::unique_ptr<db::Store> first, second;
    QList<int> ids;
};

}  // namespace

TEST_F(TwoUsers, SecondSaveOfTheSameCalculationIsRefusedAndTheFirstStaysWhole)
{
    const int id = ids[0];
    const Conditions read1 = *loadConditions(*first, id);
    const Conditions read2 = *loadConditions(*second, id);
    saveConditions(*first, id, withAir(read1, 11));
    // The first user goes on saving what is his own.
    Block b = *findBlock(*first, id, 1);
    b.Name_blok = QStringLiteral("Емкость первого");
    saveBlock(*first, b);
    saveConditions(*first, id, withAir(read1, 12));

    try {
        saveConditions(*second, id, withAir(read2, 21));
        FAIL() << "the second save must be refused";
    } catch (const ConcurrentChange& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Расчет «Цех 1» изменил другой пользователь после того, как вы открыли "
                                              "расчет. Ваши изменения не сохранены, чтобы не затереть его данные: "
                                              "откройте расчет заново или сохраните ваши данные под другим именем."));
    }
    Block other = *findBlock(*second, id, 1);
    other.Name_blok = QStringLiteral("Емкость второго");
    EXPECT_THROW(saveBlock(*second, other), ConcurrentChange);
    EXPECT_THROW(deleteAdjacentBlock(*second, id, 2), ConcurrentChange);
    EXPECT_THROW(renameCalculation(*second, id, QStringLiteral("Цех 1Б")), ConcurrentChange);
    EXPECT_THROW(deleteCalculation(*second, id), ConcurrentChange);

    EXPECT_EQ(loadConditions(*first, id)->Tempv, 12);
    EXPECT_EQ(findBlock(*first, id, 1)->Name_blok, QStringLiteral("Емкость первого"));
    EXPECT_EQ(findById(*first, id)->name, QStringLiteral("Цех 1"));

    // Opened again, the calculation is the second user's to change.
    const Conditions reread = *loadConditions(*second, id);
    EXPECT_EQ(reread.Tempv, 12);
    saveConditions(*second, id, withAir(reread, 22));
    EXPECT_EQ(loadConditions(*first, id)->Tempv, 22);
}

TEST_F(TwoUsers, SavesOfDifferentCalculationsBothLand)
{
    const Conditions a = *loadConditions(*first, ids[0]);
    const Conditions b = *loadConditions(*second, ids[1]);
    saveConditions(*first, ids[0], withAir(a, 11));
    saveConditions(*second, ids[1], withAir(b, 22));
    EXPECT_EQ(loadConditions(*first, ids[0])->Tempv, 11);
    EXPECT_EQ(loadConditions(*first, ids[1])->Tempv, 22);
}

TEST_F(TwoUsers, CalculationDeletedByAnotherIsNotBroughtBack)
{
    const int id = ids[0];
    const Conditions read2 = *loadConditions(*second, id);
    loadConditions(*first, id);
    deleteCalculation(*first, id);
    try {
        saveConditions(*second, id, withAir(read2, 21));
        FAIL() << "a save of a deleted calculation must be refused";
    } catch (const ConcurrentChange& e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Расчет удален другим пользователем")))
            << e.message().toStdString();
    }
    EXPECT_FALSE(loadConditions(*first, id));
    EXPECT_TRUE(blocksOf(*first, id).isEmpty());
    // Its number may serve a new calculation, which the second user can change.
    const Calculation again = createCalculation(*second, QStringLiteral("Новый"));
    EXPECT_EQ(again.id, id);
    saveConditions(*second, id, withAir(*loadConditions(*second, id), 5));
}

TEST_F(TwoUsers, NameTakenMeanwhileIsRefused)
{
    // Each program checked the name before; the store decides.
    const int before = countCalculations(*first);
    createCalculation(*first, QStringLiteral("Склад"));
    EXPECT_THROW(createCalculation(*second, QStringLiteral("Склад")), db::StoreError);
    EXPECT_THROW(renameCalculation(*second, ids[1], QStringLiteral("Склад")), db::StoreError);
    EXPECT_EQ(countCalculations(*first), before + 1);
}

namespace {

struct Client {
    std::unique_ptr<QProcess> process = std::make_unique<QProcess>();
    double value = 0;
};

// Starts the second-program client on a calculation; it reports when it has read it.
Client startClient(const test::TempFolder& folder, const QString& go, const QString& calculation, double value)
{
    Client c;
    c.value = value;
    c.process->start(QStringLiteral(VELTRON_TEST_CLIENT),
                     test::storeOptions(folder.path()) +
                         QStringList{"--calculation", calculation, "--value", QString::number(value), "--go", go});
    return c;
}

// Waits until both clients have read, lets them save at once, waits for both.
void race(std::vector<Client>& clients, const QString& go)
{
    for (Client& c : clients) {
        ASSERT_TRUE(c.process->waitForReadyRead(30000)) << c.process->readAllStandardError().toStdString();
        ASSERT_EQ(c.process->readLine().trimmed(), "read");
    }
    QFile(go).open(QIODevice::WriteOnly);
    for (Client& c : clients)
        ASSERT_TRUE(c.process->waitForFinished(30000));
    QFile::remove(go);
}

}  // namespace

TEST_F(TwoUsers, TwoProgramsSavingAtOnce)
{
    const QString go = folder.file("go");

    std::vector<Client> apart;
    apart.push_back(startClient(folder, go, QStringLiteral("Цех 1"), 11));
    apart.push_back(startClient(folder, go, QStringLiteral("Цех 2"), 22));
    race(apart, go);
    for (Client& c : apart)
        EXPECT_EQ(c.process->exitCode(), 0) << c.process->readAllStandardOutput().toStdString();
    EXPECT_EQ(loadConditions(*first, ids[0])->Tempv, 11);
    EXPECT_EQ(loadConditions(*first, ids[1])->Tempv, 22);

    for (int round = 0; round < 3; ++round) {
        std::vector<Client> same;
        same.push_back(startClient(folder, go, QStringLiteral("Цех 1"), 100 + round));
        same.push_back(startClient(folder, go, QStringLiteral("Цех 1"), 200 + round));
        race(same, go);
        const Client* winner = nullptr;
        int refused = 0;
        for (Client& c : same) {
            const QString out = QString::fromUtf8(c.process->readAllStandardOutput());
            if (c.process->exitCode() == 0) {
                winner = &c;
            } else {
                EXPECT_EQ(c.process->exitCode(), 3) << out.toStdString();
                EXPECT_TRUE(out.startsWith(QStringLiteral("Расчет «Цех 1» изменил другой пользователь")))
                    << out.toStdString();
                ++refused;
            }
        }
        ASSERT_NE(winner, nullptr);
        EXPECT_EQ(refused, 1);
        // The winner's save is there whole, nothing of the other's.
        EXPECT_EQ(loadConditions(*first, ids[0])->Tempv, winner->value);
        EXPECT_EQ(findBlock(*first, ids[0], 1)->Name_blok, QStringLiteral("Клиент %1").arg(winner->value));
        EXPECT_EQ(loadConditions(*first, ids[1])->Tempv, 22);
    }
}

namespace {

// One directory as two users change its records.
struct DirectoryCase {
    const char* what;
    const char* name;  // a record of the seed data
    std::function<bool(db::Store&, const QString& oldName, const QString& newName, double value)> save;
    std::function<void(const db::Store&)> read;
    std::function<void(db::Store&, const QString&)> remove;
    std::function<double(const db::Store&, const QString&)> value;
    const char* directory;
};

// A save writes what the user typed: it does not read the record again.
DirectoryCase listCase(const char* what, const char* name, Directory d, int numbers, const char* directory)
{
    return {what,
            name,
            [d, numbers](db::Store& s, const QString& oldName, const QString& newName, double v) {
                DirectoryEntry e{newName, std::vector<std::optional<double>>(std::size_t(numbers), v)};
                return saveDirectoryEntry(s, d, oldName, e);
            },
            [d](const db::Store& s) { directoryEntries(s, d); },
            [d](db::Store& s, const QString& n) { deleteDirectoryEntry(s, d, n); },
            [d](const db::Store& s, const QString& n) {
                for (const DirectoryEntry& e : directoryEntries(s, d))
                    if (e.Name == n)
                        return e.values[0].value_or(0);
                return -1.0;
            },
            directory};
}

std::vector<DirectoryCase> directoryCases()
{
    return {
        {"substances", "Пропан",
         [](db::Store& s, const QString& oldName, const QString& newName, double v) {
             SubstanceRecord r;
             r.Name = newName;
             r.Vid_vva = 1;
             r.Mol_massa = v;
             return saveSubstance(s, oldName, r);
         },
         [](const db::Store& s) { substanceRecords(s); },
         [](db::Store& s, const QString& n) { deleteSubstance(s, n); },
         [](const db::Store& s, const QString& n) {
             const auto r = findSubstanceRecord(s, n);
             return r ? r->Mol_massa.value_or(0) : -1.0;
         },
         "справочник веществ"},
        listCase("surfaces", "Бетон", Directory::Surfaces, 3, "справочник поверхностей"),
        listCase("fuel kinds", "Водород", Directory::FuelKinds, 1, "справочник видов горючего"),
        listCase("compounds", "Тротил (тринитротолуол)", Directory::Compounds, 1, "справочник нестабильных соединений"),
    };
}

}  // namespace

// Directory records are checked like calculations: a save or a deletion over
// another user's change is refused, naming the record; his data stay.
TEST_F(TwoUsers, DirectoryChangesOverAnotherUsersChangeAreRefused)
{
    for (const DirectoryCase& c : directoryCases()) {
        const QString name = QString::fromUtf8(c.name);
        ASSERT_GE(c.value(*first, name), 0) << c.what << ": the seed data hold the record";
        c.read(*first);
        c.read(*second);
        ASSERT_TRUE(c.save(*first, name, name, 11)) << c.what;
        ASSERT_TRUE(c.save(*first, name, name, 12)) << c.what << ": the first user goes on with his own change";
        const QString expected = QStringLiteral("Запись «%1» (%2) изменил другой пользователь после того, как вы ее "
                                                "открыли. Ваши изменения не сохранены, чтобы не затереть его данные: "
                                                "откройте запись заново.")
                                     .arg(name, QString::fromUtf8(c.directory));
        try {
            c.save(*second, name, name + " 2", 21);
            ADD_FAILURE() << c.what << ": the second save must be refused";
        } catch (const ConcurrentChange& e) {
            EXPECT_EQ(e.message(), expected) << c.what;
        }
        EXPECT_THROW(c.remove(*second, name), ConcurrentChange) << c.what;
        EXPECT_EQ(c.value(*first, name), 12) << c.what;
        EXPECT_EQ(c.value(*first, name + " 2"), -1) << c.what;

        // Read again, the record is the second user's to change, under a new
        // name too; the first one's record is gone under its old name.
        c.read(*second);
        ASSERT_TRUE(c.save(*second, name, name + " 2", 22)) << c.what;
        EXPECT_THROW(c.save(*first, name, name, 13), db::StoreError) << c.what;
        EXPECT_EQ(c.value(*first, name + " 2"), 22) << c.what;
        EXPECT_EQ(c.value(*first, name), -1) << c.what;
    }
}

// The embedded store is locked as a whole (EmbeddedStore.BusyStoreIsBusyNotDamaged);
// a server locks rows.
class ServerTwoUsers : public TwoUsers {};

// On a server a save that waits for a row another user holds gives up after
// the set time, naming the calculation.
TEST_F(ServerTwoUsers, SaveWaitingForAnotherUsersRowGivesUpNamingTheCalculation)
{
    const int id = ids[0];
    const Conditions read2 = *loadConditions(*second, id);
    second->setLockWait(300);
    first->transaction([&] {
        first->exec("UPDATE tabMain SET Tempv = Tempv WHERE Id = ?", {id});
        try {
            saveConditions(*second, id, withAir(read2, 21));
            ADD_FAILURE() << "the save must give up";
        } catch (const db::StoreError& e) {
            EXPECT_EQ(e.kind(), db::StoreError::Kind::LockTimeout);
            EXPECT_EQ(e.message(), QStringLiteral("Расчет «Цех 1» сейчас сохраняет другой пользователь, и его "
                                                  "сохранение длится дольше 1 с. Ваши изменения не сохранены: "
                                                  "повторите сохранение немного позже."));
        }
    });
    // Once the row is free the same save goes through.
    saveConditions(*second, id, withAir(read2, 21));
    EXPECT_EQ(loadConditions(*first, id)->Tempv, 21);
}
