#include "common/test_store.h"
#include "db/data_source.h"
#include "db/store.h"

#include <gtest/gtest.h>

#include <QFile>

#include <cfloat>
#include <cmath>

using namespace veltron;

namespace {

std::unique_ptr<db::Store> freshStore(const test::TempFolder& dir)
{
    return test::openStore(dir);
}

}  // namespace

TEST(EmbeddedStore, NewFolderGetsBothDatabaseFiles)
{
    test::TempFolder dir;
    auto store = db::Store::openEmbedded(dir.path());
    EXPECT_TRUE(QFile::exists(dir.file("bdVeltron.sqlite")));
    EXPECT_TRUE(QFile::exists(dir.file("tabMirvel.sqlite")));
}

TEST(Store, NewStoreGetsTheWholeSchema)
{
    test::TempFolder dir;
    auto store = freshStore(dir);
    for (const char* table : {"tabRasch", "tabRasch1", "tabMain", "tabBloki", "tabOtchet", "tabKR",
                              "tabSumm_rasch", "SubstChar", "tabPoverhn", "tabGoryuch", "Explosives",
                              "tabBetta", "tabG", "tabNyu"})
        EXPECT_NO_THROW(store->query(QStringLiteral("SELECT * FROM %1").arg(QLatin1String(table)))) << table;
    for (const char* table : {"tabDolgn", "tabIstochnik"})
        EXPECT_NO_THROW(store->query(QStringLiteral("SELECT Name FROM %1").arg(QLatin1String(table)), {},
                                     db::Base::Second))
            << table;
    EXPECT_EQ(store->query("SELECT * FROM tab_time").size(), 1);
    EXPECT_EQ(store->query("SELECT * FROM tabPath").size(), 1);
}

TEST(Store, NewCalculationRowTakesTheSettingsDefaults)
{
    test::TempFolder dir;
    auto store = freshStore(dir);
    store->exec("INSERT INTO tabMain (Id) VALUES (?)", {777});
    const auto rows = store->query("SELECT A, G, Pn, Gs, znGs, G4, znG4, G5, znG5 FROM tabMain WHERE Id = ?", {777});
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].value("A").toInt(), 0);   // formula 3.1
    EXPECT_EQ(rows[0].value("G").toInt(), 0);   // formula 12
    EXPECT_EQ(rows[0].value("Pn").toInt(), 1);  // formula 14.2
    for (const char* f : {"Gs", "znGs", "G4", "znG4", "G5", "znG5"})
        EXPECT_EQ(rows[0].value(f).toDouble(), 0.0) << f;
}

TEST(Store, ReopeningKeepsDataAndDoesNotSeedTwice)
{
    test::TempFolder dir;
    {
        auto store = freshStore(dir);
        store->exec("INSERT INTO tabRasch (Id, Name) VALUES (?, ?)", {900, QStringLiteral("Колонна К-1")});
    }
    auto store = freshStore(dir);
    EXPECT_EQ(store->query("SELECT * FROM tabRasch WHERE Id = 900").size(), 1);
    EXPECT_EQ(store->query("SELECT * FROM tab_time").size(), 1);
}

TEST(Store, NameWithApostropheRoundTrips)
{
    test::TempFolder dir;
    auto store = freshStore(dir);
    const QString name = QStringLiteral("Блок 'А' д'Арк");
    store->exec("INSERT INTO tabRasch (Id, Name) VALUES (?, ?)", {901, name});
    const auto rows = store->query("SELECT Id FROM tabRasch WHERE Name = ?", {name});
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].value("Id").toInt(), 901);
}

TEST(Store, FieldNamesAreCaseInsensitive)
{
    test::TempFolder dir;
    auto store = freshStore(dir);
    store->exec("INSERT INTO tabMain (Id, nyu) VALUES (?, ?)", {5, 2.5});
    const auto rows = store->query("SELECT * FROM tabmain WHERE id = 5");
    ASSERT_EQ(rows.size(), 1);
    EXPECT_DOUBLE_EQ(rows[0].value("Nyu").toDouble(), 2.5);
}

TEST(Store, FailedTransactionLeavesNothingHalfWritten)
{
    test::TempFolder dir;
    auto store = freshStore(dir);
    store->exec("INSERT INTO tabRasch (Id, Name) VALUES (?, ?)", {50, QStringLiteral("Исходный")});
    EXPECT_THROW(store->transaction([&] {
        store->exec("UPDATE tabRasch SET Name = ? WHERE Id = 50", {QStringLiteral("Изменённый")});
        store->exec("INSERT INTO tabBloki (Id_Rasch, Id, Name_blok) VALUES (?, ?, ?)", {50, 1, QStringLiteral("Б")});
        store->exec("INSERT INTO no_such_table VALUES (1)");
    }),
                 db::StoreError);
    EXPECT_EQ(store->query("SELECT Name FROM tabRasch WHERE Id = 50")[0].value(0).toString(), QStringLiteral("Исходный"));
    EXPECT_TRUE(store->query("SELECT * FROM tabBloki WHERE Id_Rasch = 50").isEmpty());

    // A nested helper call joins the outer transaction and is undone with it.
    EXPECT_THROW(store->transaction([&] {
        store->transaction([&] { store->exec("DELETE FROM tabRasch WHERE Id = 50"); });
        throw db::StoreError(QStringLiteral("прервано"));
    }),
                 db::StoreError);
    EXPECT_EQ(store->query("SELECT * FROM tabRasch WHERE Id = 50").size(), 1);
}

TEST(EmbeddedStore, CorruptFileIsReportedAndLeftUntouched)
{
    test::TempFolder dir;
    const QByteArray garbage(4096, 'x');
    {
        QFile f(dir.file("bdVeltron.sqlite"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(garbage);
    }
    try {
        db::Store::openEmbedded(dir.path());
        FAIL() << "a corrupt database must not open";
    } catch (const db::StoreError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("повреждён"))) << e.message().toStdString();
    }
    QFile f(dir.file("bdVeltron.sqlite"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), garbage);
}

TEST(EmbeddedStore, MissingFolderIsReported)
{
    EXPECT_THROW(db::Store::openEmbedded("/nonexistent/veltron/data"), db::StoreError);
}

TEST(Store, NamesAreInRussianAlphabeticalOrderIgnoringCase)
{
    QStringList names{QStringLiteral("щебень"), QStringLiteral("Асфальт"), QStringLiteral("бетон"),
                      QStringLiteral("Ёмкость"), QStringLiteral("Грунт"), QStringLiteral("ель"),
                      QStringLiteral("Zinc")};
    db::sortRussian(names);
    const QStringList expected{QStringLiteral("Асфальт"), QStringLiteral("бетон"), QStringLiteral("Грунт"),
                               QStringLiteral("ель"), QStringLiteral("Ёмкость"), QStringLiteral("щебень"),
                               QStringLiteral("Zinc")};
    EXPECT_EQ(names, expected);
}

TEST(Store, ListsByNameAreInRussianOrderIgnoringCase)
{
    test::TempFolder dir;
    auto store = freshStore(dir);
    store->exec("DELETE FROM tabPoverhn");
    for (const char* name : {"щебень", "Асфальт", "бетон", "Ёмкость", "Грунт", "ель", "Zinc"})
        store->exec("INSERT INTO tabPoverhn (Name) VALUES (?)", {QString::fromUtf8(name)});
    EXPECT_EQ(store->namesOf("tabPoverhn"), (QStringList{"Асфальт", "бетон", "Грунт", "ель", "Ёмкость", "щебень", "Zinc"}));
}

// Doubles come back bit for bit, texts with every Cyrillic letter and quote.
TEST(Store, NumbersAndTextsRoundTripExactly)
{
    test::TempFolder dir;
    auto store = freshStore(dir);
    const double values[] = {0.1, 1.0 / 3, -2.0 / 7, 101.3, 0.1013f, 273.15, 1e-300, 4.9e-324, DBL_MAX, -DBL_MIN,
                             6.02214076e23, std::nextafter(1.0, 2.0), 0.0};
    int id = 100;
    for (double v : values)
        store->exec("INSERT INTO tabMain (Id, nyu) VALUES (?, ?)", {++id, v});
    id = 100;
    for (double v : values) {
        const double back = store->query("SELECT nyu FROM tabMain WHERE Id = ?", {++id}).first().value(0).toDouble();
        EXPECT_EQ(back, v) << QString::number(v, 'g', 17).toStdString();
    }
    const QString text = QStringLiteral("Ёлка «ель» д'Арк \"щ\" — АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ абвгдеёжзийклмнопрстуфхцчшщъыьэюя");
    store->exec("INSERT INTO tabRasch (Id, Name) VALUES (?, ?)", {7, text});
    EXPECT_EQ(store->query("SELECT Name FROM tabRasch WHERE Id = 7").first().value(0).toString(), text);
    EXPECT_EQ(store->query("SELECT Id FROM tabRasch WHERE Name = ?", {text}).size(), 1);
    store->exec("UPDATE tabPath SET Path = ?", {text + text});
    EXPECT_EQ(store->query("SELECT Path FROM tabPath").first().value(0).toString(), text + text);
}

// A store made before a field was added gets it, existing rows its default.
TEST(Store, OlderStoreGetsTheFieldsAddedSince)
{
    test::TempFolder dir;
    {
        auto store = freshStore(dir);
        store->exec("INSERT INTO tabMain (Id) VALUES (?)", {41});
        store->exec("ALTER TABLE tabMain DROP COLUMN Versiya");
    }
    auto store = freshStore(dir);
    const auto rows = store->query("SELECT Versiya FROM tabMain WHERE Id = 41");
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows.first().value(0).toInt(), 0);
}

TEST(DataSourceFile, WritesTheNameWithoutLineEndAndReadsTheFirstLine)
{
    test::TempFolder dir;
    EXPECT_EQ(db::readDataSourceName(dir.path()), QString());
    ASSERT_TRUE(db::writeDataSourceName(dir.path(), QStringLiteral("Цех 5")));
    QFile f(db::dataSourceFilePath(dir.path()));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(f.readAll()), QStringLiteral("Цех 5"));
    f.close();
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("first\nsecond\n");
    f.close();
    EXPECT_EQ(db::readDataSourceName(dir.path()), QStringLiteral("first"));
}

TEST(ConnectionStrings, KeepTheClassicForms)
{
    const auto rw = db::ConnectionStrings::namedReadWrite("/data", QStringLiteral("Цех"));
    EXPECT_TRUE(rw.main.contains("Data Source='Цех';Mode=ReadWrite ;Initial Catalog=/data/bdVeltron.sqlite"));
    EXPECT_TRUE(rw.second.endsWith("/data/tabMirvel.sqlite"));
    EXPECT_FALSE(db::ConnectionStrings::namedProbe("/data", "X").main.contains("Mode="));
    EXPECT_TRUE(db::ConnectionStrings::embedded("/data").isEmbedded());
    EXPECT_FALSE(rw.isEmbedded());
}

TEST(DataFolder, CommandLineThenEnvironmentThenProgramFolder)
{
    qunsetenv("VELTRON_DATA");
    struct Case {
        QStringList args;
        const char* env;
        QString expected;
        bool named;  // chosen by the user: a store is made there only on request
        QStringList left;
    };
    const Case cases[] = {
        {{"veltron", "--data", "/srv/d1", "run"}, "", "/srv/d1", true, {"veltron", "run"}},
        {{"veltron", "--data=/srv/d2"}, "/srv/env", "/srv/d2", true, {"veltron"}},
        {{"veltron"}, "/srv/env", "/srv/env", true, {"veltron"}},
        {{"veltron"}, "", "/opt/veltron", false, {"veltron"}},
        // Given without a folder: named, but no folder to use.
        {{"veltron", "--data"}, "", "", true, {"veltron"}},
        {{"veltron", "--data=", "run"}, "/srv/env", "", true, {"veltron", "run"}},
    };
    for (const auto& c : cases) {
        if (*c.env)
            qputenv("VELTRON_DATA", c.env);
        else
            qunsetenv("VELTRON_DATA");
        QStringList args = c.args;
        const db::DataFolder folder = db::takeDataFolder(args, "/opt/veltron");
        EXPECT_EQ(folder.path, c.expected) << c.args.join(' ').toStdString();
        EXPECT_EQ(folder.named, c.named) << c.args.join(' ').toStdString();
        EXPECT_EQ(args, c.left);
    }
    qunsetenv("VELTRON_DATA");
}

TEST(DataFolder, SharedSourceByCommandLineThenEnvironment)
{
    qputenv("VELTRON_DSN", "FromEnvironment");
    QStringList args{"veltron-cli", "--dsn", QStringLiteral("Цех 5"), "run", "--all"};
    EXPECT_EQ(db::takeDsn(args), QStringLiteral("Цех 5"));
    EXPECT_EQ(args, (QStringList{"veltron-cli", "run", "--all"}));
    args = {"veltron", "--dsn=Отдел"};
    EXPECT_EQ(db::takeDsn(args), QStringLiteral("Отдел"));
    args = {"veltron"};
    EXPECT_EQ(db::takeDsn(args), QStringLiteral("FromEnvironment"));
    qunsetenv("VELTRON_DSN");
    EXPECT_EQ(db::takeDsn(args), QString());
}
