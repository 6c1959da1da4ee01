#pragma once

#include "common/test_support.h"
#include "db/store.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace veltron::test {

// The tests of the records, the store and the command line run twice: on the
// embedded store, and once more (test names prefixed "pg.", the executable
// given --store=server) on the PostgreSQL server that scripts/test starts and
// names by the data source in VELTRON_TEST_DSN. On the server each test
// works in a schema of its own, made on first use and dropped when the test
// ends, so tests stay independent and may run in parallel.
//
// Suites named Embedded… are about the embedded files and run only in the
// first pass; suites named Server… need the server and run only in the second.

// Whether this run of the tests is the one on the server.
bool onServer();
// The data source of the test server; empty when there is none.
QString serverDsn();

// The store the tests work on: the embedded store of the folder, or the
// test's schema on the server, either with the tables and the seed data.
std::unique_ptr<db::Store> openStore(const QString& dataDir);
inline std::unique_ptr<db::Store> openStore(const TempFolder& folder) { return openStore(folder.path()); }

// The options that make the programs open the same store, which is made
// first when it is not there yet: the data folder, and on the server also
// the data source (the schema reaches the child process through the
// environment).
QStringList storeOptions(const QString& dataDir);

// An empty schema of the test's own on the server: every connection the
// process and its children open from now on works in it.
void useServerSchema();

// A trigger that makes the statement `event` (INSERT, UPDATE or DELETE) on
// a table fail for the rows where `condition` holds (any row when empty),
// written in the dialect of the store; dropRefusal removes it.
void refuse(db::Store& store, const QString& name, const QString& event, const QString& table,
            const QString& condition = {});
void dropRefusal(db::Store& store, const QString& name, const QString& table);

// Ends the server connection of the store from the server's side, as a
// server restart or a network failure would, and waits until it is gone.
void cutConnection(const db::Store& store);

// Registers what the server pass needs: called by the tests' main().
void setUpServerPass(bool server);

}  // namespace veltron::test
