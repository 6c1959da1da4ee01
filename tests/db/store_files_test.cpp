// The two files of the embedded store: whose they are, that they change
// together, and how a busy one is reported.
#include "common/test_store.h"
#include "db/copy_store.h"
#include "db/store.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

using namespace veltron;

namespace {

// A SQLite file written by "another program": the statements on a
// connection of its own.
void writeSqlite(const QString& path, const QStringList& statements)
{
    const QString name = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name);
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        for (const QString& sql : statements) {
            QSqlQuery q(db);
            ASSERT_TRUE(q.exec(sql)) << sql.toStdString() << ": " << q.lastError().text().toStdString();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

QByteArray digest(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256) : QByteArray();
}

int pragma(const QString& path, const char* name)
{
    const QString connection = QUuid::createUuid().toString();
    int value = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", connection);
        db.setDatabaseName(path);
        db.open();
        QSqlQuery q(db);
        if (q.exec(QStringLiteral("PRAGMA %1").arg(QLatin1String(name))) && q.next())
            value = q.value(0).toInt();
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return value;
}

int count(const db::Store& store, const char* table, db::Base base = db::Base::Main)
{
    return store.query(QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(table)), {}, base)
        .first()
        .value(0)
        .toInt();
}

}  // namespace

// Another program's SQLite file, or one of a newer version of this program,
// is refused whichever way the store is opened, and stays byte for byte as
// it was; nothing is added beside it.
TEST(EmbeddedStore, FilesOfOtherProgramsAreRefusedAndLeftUntouched)
{
    const struct {
        const char* what;
        const char* file;
        QStringList statements;
        const char* said;
    } cases[] = {
        {"a program with its own tabMain", "bdVeltron.sqlite",
         {"CREATE TABLE tabMain (Kod TEXT, Summa REAL)", "INSERT INTO tabMain VALUES ('a', 1)",
          "CREATE TABLE Kontragenty (Id INTEGER)"},
         "база данных другой программы"},
        {"an empty file of a program with its mark", "bdVeltron.sqlite", {"PRAGMA application_id = 1234"},
         "база данных другой программы"},
        {"our tables beside a foreign one", "bdVeltron.sqlite",
         {"CREATE TABLE tabRasch (Id INTEGER, Name VARCHAR(255))", "CREATE TABLE Zakazy (Id INTEGER)"},
         "база данных другой программы"},
        {"a foreign second file", "tabMirvel.sqlite", {"CREATE TABLE tabDolgn (Kod INTEGER)"},
         "база данных другой программы"},
        {"a store of a newer version", "bdVeltron.sqlite",
         {"PRAGMA application_id = 1449487476", "PRAGMA user_version = 99", "CREATE TABLE tabRasch (Id INTEGER)"},
         "более новой версией программы"},
    };
    for (const auto& c : cases) {
        for (const db::Prepare prepare : {db::Prepare::CreateAndSeed, db::Prepare::Existing, db::Prepare::Nothing}) {
            test::TempFolder dir;
            const QString path = dir.file(QLatin1String(c.file));
            if (QLatin1String(c.file) == QLatin1String("tabMirvel.sqlite")) {
                db::Store::openEmbedded(dir.path());  // our main file beside it
                QFile::remove(path);
            }
            writeSqlite(path, c.statements);
            const QStringList before = QDir(dir.path()).entryList(QDir::Files);
            const QByteArray hash = digest(path);
            try {
                db::Store::openEmbedded(dir.path(), prepare);
                ADD_FAILURE() << c.what << ": opened";
            } catch (const db::StoreError& e) {
                if (prepare == db::Prepare::Existing && e.kind() == db::StoreError::Kind::NoStore)
                    continue;  // checked before the files are looked into
                EXPECT_EQ(e.kind(), db::StoreError::Kind::Foreign) << c.what;
                EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.said))) << c.what << ": " << e.message().toStdString();
                EXPECT_TRUE(e.message().contains(path)) << c.what;
            }
            EXPECT_EQ(digest(path), hash) << c.what;
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), before) << c.what;
        }
    }
}

// Stores made before the files were marked are recognised once by their
// tables, also without the fields added since, and get the mark.
TEST(EmbeddedStore, UnmarkedStoresOfThisProgramAreRecognisedAndMarked)
{
    test::TempFolder dir;
    db::Store::openEmbedded(dir.path())->exec("INSERT INTO tabRasch (Id, Name) VALUES (?, ?)",
                                              {900, QStringLiteral("Колонна")});
    writeSqlite(dir.file("bdVeltron.sqlite"), {"PRAGMA application_id = 0", "PRAGMA user_version = 0",
                                               "ALTER TABLE tabMain DROP COLUMN Versiya",
                                               "ALTER TABLE tabGoryuch DROP COLUMN Poryadok", "DROP TABLE tabRasch1"});
    writeSqlite(dir.file("tabMirvel.sqlite"), {"PRAGMA application_id = 0", "PRAGMA user_version = 0"});
    ASSERT_EQ(pragma(dir.file("bdVeltron.sqlite"), "application_id"), 0);

    auto store = db::Store::openEmbedded(dir.path(), db::Prepare::Existing);
    EXPECT_EQ(store->query("SELECT Name FROM tabRasch WHERE Id = 900").first().value(0).toString(),
              QStringLiteral("Колонна"));
    EXPECT_NO_THROW(store->query("SELECT Versiya FROM tabMain"));
    EXPECT_NO_THROW(store->query("SELECT Id FROM tabRasch1"));
    store.reset();
    for (const char* file : {"bdVeltron.sqlite", "tabMirvel.sqlite"}) {
        EXPECT_NE(pragma(dir.file(file), "application_id"), 0) << file;
        EXPECT_EQ(pragma(dir.file(file), "user_version"), 1) << file;
    }
}

// One transaction covers both files: a failure in either leaves both as
// they were, as a copy that fails at its last table shows.
TEST(EmbeddedStore, BothFilesChangeTogetherOrNotAtAll)
{
    test::TempFolder sourceDir, dir;
    auto source = db::Store::openEmbedded(sourceDir.path());
    source->exec("INSERT INTO tabRasch (Id, Name) VALUES (?, ?)", {7, QStringLiteral("Новый")});
    source->exec("INSERT INTO tabDolgn (Name) VALUES (?)", {QStringLiteral("Новая должность")}, db::Base::Second);

    auto store = db::Store::openEmbedded(dir.path());
    store->exec("INSERT INTO tabRasch (Id, Name) VALUES (?, ?)", {5, QStringLiteral("Старый")});
    const struct {
        const char* what;
        const char* trigger;
        const char* drop;
    } failures[] = {
        {"the last table, in the second file",
         "CREATE TRIGGER mirvel.stop BEFORE INSERT ON tabIstochnik BEGIN SELECT RAISE(ABORT, 'refused'); END",
         "DROP TRIGGER mirvel.stop"},
        {"a late table of the main file",
         "CREATE TRIGGER stop BEFORE INSERT ON tabNyu BEGIN SELECT RAISE(ABORT, 'refused'); END", "DROP TRIGGER stop"},
    };
    for (const auto& f : failures) {
        store->exec(QLatin1String(f.trigger));
        const QByteArray mainBefore = digest(dir.file("bdVeltron.sqlite"));
        const QByteArray secondBefore = digest(dir.file("tabMirvel.sqlite"));
        EXPECT_THROW(db::copyStore(*source, *store), db::StoreError) << f.what;
        EXPECT_EQ(digest(dir.file("bdVeltron.sqlite")), mainBefore) << f.what;
        EXPECT_EQ(digest(dir.file("tabMirvel.sqlite")), secondBefore) << f.what;
        EXPECT_EQ(count(*store, "tabRasch WHERE Id = 5"), 1) << f.what;
        store->exec(QLatin1String(f.drop));
    }

    db::copyStore(*source, *store);
    EXPECT_EQ(count(*store, "tabRasch WHERE Id = 5"), 0);
    EXPECT_EQ(count(*store, "tabRasch WHERE Id = 7"), 1);
    EXPECT_EQ(store->query("SELECT COUNT(*) FROM tabDolgn WHERE Name = ?", {QStringLiteral("Новая должность")},
                           db::Base::Second)
                  .first()
                  .value(0)
                  .toInt(),
              1);
}

// While another program holds the write lock, the store says it is busy
// (after the wait set for it), in the program's words, and never that it is
// damaged; the database's own text is kept for --verbose.
TEST(EmbeddedStore, BusyStoreIsBusyNotDamaged)
{
    test::TempFolder dir;
    auto store = db::Store::openEmbedded(dir.path());
    store->setLockWait(200);
    const QString holder = QUuid::createUuid().toString();
    {
        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", holder);
        other.setDatabaseName(dir.file("bdVeltron.sqlite"));
        ASSERT_TRUE(other.open());
        QSqlQuery lock(other);
        ASSERT_TRUE(lock.exec("BEGIN EXCLUSIVE"));
        const std::function<void()> actions[] = {
            [&] { store->query("SELECT COUNT(*) FROM tabRasch"); },
            [&] { store->exec("INSERT INTO tabRasch (Id, Name) VALUES (1, 'x')"); },
            [&] { store->transaction([&] { store->exec("DELETE FROM tabRasch"); }); },
        };
        for (const auto& action : actions) {
            try {
                action();
                ADD_FAILURE() << "a locked store must not be read or changed";
            } catch (const db::StoreError& e) {
                EXPECT_EQ(e.kind(), db::StoreError::Kind::Busy) << e.message().toStdString();
                EXPECT_TRUE(e.message().contains(QStringLiteral("занята другой программой. Повторите действие")))
                    << e.message().toStdString();
                EXPECT_FALSE(e.message().contains(QStringLiteral("повреждён")));
                EXPECT_FALSE(e.message().contains(QStringLiteral("locked")));
                EXPECT_TRUE(e.detail().contains(QStringLiteral("database is locked"))) << e.detail().toStdString();
            }
        }
        lock.exec("ROLLBACK");
        other.close();
    }
    QSqlDatabase::removeDatabase(holder);
    EXPECT_EQ(count(*store, "tabRasch"), 1);  // the example calculation, nothing deleted
}

TEST(EmbeddedStore, SecretsOfConnectionStringsAreMaskedInMessages)
{
    const struct {
        QString text;
        QString shown;
    } cases[] = {
        {"Driver=X;Password=S3cr3t-Pw!;Port=1", "Driver=X;Password=***;Port=1"},
        {"DRIVER=X;pwd = {a;b}c;UID=u", "DRIVER=X;pwd = ***c;UID=u"},
        {"PWD=last", "PWD=***"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(db::maskSecrets(c.text), c.shown);
        const db::StoreError e(QStringLiteral("Источник «%1» недоступен.").arg(c.text), db::StoreError::Kind::Other,
                               c.text + QStringLiteral("\nnext line"));
        EXPECT_FALSE(e.message().contains("S3cr3t") || e.message().contains("last") || e.message().contains("a;b"));
        EXPECT_TRUE(e.message().endsWith(QStringLiteral("» недоступен."))) << e.message().toStdString();
        EXPECT_TRUE(e.detail().endsWith(QStringLiteral("\nnext line")));
        EXPECT_FALSE(e.detail().contains("S3cr3t"));
    }
}
