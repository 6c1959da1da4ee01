#include "common/test_support.h"
#include "db/data_source.h"
#include "db/store.h"

#include <gtest/gtest.h>

#include <QFile>

using namespace veltron;

namespace {

std::unique_ptr<db::Store> freshStore(const test::TempFolder& dir)
{
    return db::Store::openEmbedded(dir.path());
}

}  // namespace

TEST(Store, NewFolderGetsBothDatabasesWithTheWholeSchema)
{
    test::TempFolder dir;
    auto store = freshStore(dir);
    EXPECT_TRUE(QFile::exists(dir.file("bdVeltron.sqlite")));
    EXPECT_TRUE(QFile::exists(dir.file("tabMirvel.sqlite")));
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

TEST(Store, CorruptFileIsReportedAndLeftUntouched)
{
    test::TempFolder dir;
    const QByteArray garbage(4096, 'x');
    {
        QFile f(dir.file("bdVeltron.sqlite"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(garbage);
    }
    try {
        freshStore(dir);
        FAIL() << "a corrupt database must not open";
    } catch (const db::StoreError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("повреждён"))) << e.message().toStdString();
    }
    QFile f(dir.file("bdVeltron.sqlite"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), garbage);
}

TEST(Store, MissingFolderIsReported)
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
        QStringList left;
    };
    const Case cases[] = {
        {{"veltron", "--data", "/srv/d1", "run"}, "", "/srv/d1", {"veltron", "run"}},
        {{"veltron", "--data=/srv/d2"}, "/srv/env", "/srv/d2", {"veltron"}},
        {{"veltron"}, "/srv/env", "/srv/env", {"veltron"}},
        {{"veltron", "--data"}, "", "/opt/veltron", {"veltron", "--data"}},
    };
    for (const auto& c : cases) {
        if (*c.env)
            qputenv("VELTRON_DATA", c.env);
        else
            qunsetenv("VELTRON_DATA");
        QStringList args = c.args;
        EXPECT_EQ(db::takeDataDir(args, "/opt/veltron"), c.expected) << c.args.join(' ').toStdString();
        EXPECT_EQ(args, c.left);
    }
    qunsetenv("VELTRON_DATA");
}
