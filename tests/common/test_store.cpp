#include "common/test_store.h"

#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QUuid>

#include <iostream>
#include <stdexcept>

namespace veltron::test {

namespace {

bool serverPass = false;
QString schemaOfTest;  // the running test's schema on the server; empty: none yet

const QString kAdmin = QStringLiteral("veltron-test-admin");

QSqlQuery adminExec(const QString& sql)
{
    if (!QSqlDatabase::contains(kAdmin)) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), kAdmin);
        db.setDatabaseName(serverDsn());
    }
    QSqlDatabase db = QSqlDatabase::database(kAdmin);
    QSqlQuery q(db);
    if (!db.isOpen() || !q.exec(sql))
        throw std::runtime_error(("test server: " + sql + ": " + (db.isOpen() ? q.lastError() : db.lastError()).text())
                                     .toStdString());
    return q;
}

// Drops the schema of the test that ended.
class SchemaCleaner : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo&) override
    {
        if (schemaOfTest.isEmpty())
            return;
        adminExec(QStringLiteral("DROP SCHEMA %1 CASCADE").arg(schemaOfTest));
        schemaOfTest.clear();
        qunsetenv("PGOPTIONS");
    }
};

// Skips every test of the server pass when there is no server to run on.
// GoogleTest reports a skip in the environment as a pass: the line in its
// own format lets CTest count the tests as skipped.
class NeedsServer : public ::testing::Environment {
    void SetUp() override
    {
        if (!serverDsn().isEmpty())
            return;
        std::cout << "[  SKIPPED ] no test server: VELTRON_TEST_DSN is not set (scripts/test starts one and sets it)"
                  << std::endl;
        GTEST_SKIP();
    }
};

}  // namespace

bool onServer()
{
    return serverPass;
}

QString serverDsn()
{
    return qEnvironmentVariable("VELTRON_TEST_DSN");
}

void useServerSchema()
{
    if (!schemaOfTest.isEmpty())
        return;
    const QString name = QStringLiteral("t") + QUuid::createUuid().toString(QUuid::Id128);
    adminExec(QStringLiteral("CREATE SCHEMA %1").arg(name));
    schemaOfTest = name;
    qputenv("PGOPTIONS", QStringLiteral("-c search_path=%1").arg(name).toUtf8());
}

std::unique_ptr<db::Store> openStore(const QString& dataDir)
{
    if (!serverPass)
        return db::Store::openEmbedded(dataDir);
    useServerSchema();
    auto store = db::Store::openOdbc(dataDir, serverDsn());
    if (!store->hasTables())
        store->createSchema(true);
    return store;
}

QStringList storeOptions(const QString& dataDir)
{
    // A folder named by --data gets a store only from init: the store is
    // made here, as openStore makes it.
    openStore(dataDir);
    if (!serverPass)
        return {QStringLiteral("--data"), dataDir};
    return {QStringLiteral("--data"), dataDir, QStringLiteral("--dsn"), serverDsn()};
}

void refuse(db::Store& store, const QString& name, const QString& event, const QString& table,
            const QString& condition)
{
    if (store.isEmbedded()) {
        store.exec(QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 %4 BEGIN SELECT RAISE(ABORT, 'refused'); END")
                       .arg(name, event, table, condition.isEmpty() ? QString() : QStringLiteral("WHEN ") + condition));
        return;
    }
    store.exec(QStringLiteral("CREATE FUNCTION %1() RETURNS trigger LANGUAGE plpgsql AS "
                              "'BEGIN RAISE EXCEPTION ''refused''; END'")
                   .arg(name));
    store.exec(QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 FOR EACH ROW %4 EXECUTE FUNCTION %1()")
                   .arg(name, event, table,
                        condition.isEmpty() ? QString() : QStringLiteral("WHEN (%1)").arg(condition)));
}

void dropRefusal(db::Store& store, const QString& name, const QString& table)
{
    if (store.isEmbedded()) {
        store.exec(QStringLiteral("DROP TRIGGER %1").arg(name));
        return;
    }
    store.exec(QStringLiteral("DROP TRIGGER %1 ON %2").arg(name, table));
    store.exec(QStringLiteral("DROP FUNCTION %1()").arg(name));
}

void cutConnection(const db::Store& store)
{
    const int pid = store.query(QStringLiteral("SELECT pg_backend_pid()")).first().value(0).toInt();
    adminExec(QStringLiteral("SELECT pg_terminate_backend(%1)").arg(pid));
    for (int i = 0; i < 500; ++i) {
        QSqlQuery q = adminExec(QStringLiteral("SELECT COUNT(*) FROM pg_stat_activity WHERE pid = %1").arg(pid));
        if (q.next() && q.value(0).toInt() == 0)
            return;
        QThread::msleep(10);
    }
    throw std::runtime_error("test server: the connection did not end");
}

void setUpServerPass(bool server)
{
    serverPass = server;
    if (!server)
        return;
    ::testing::UnitTest::GetInstance()->listeners().Append(new SchemaCleaner);
    ::testing::AddGlobalTestEnvironment(new NeedsServer);
}

}  // namespace veltron::test
