// A program that does what a user of the input screen does, for the tests of
// two programs saving at once: opens a calculation, says "read" on a line
// of its own, waits until the file named by --go exists, then saves the
// general conditions with the air temperature given and the main block
// renamed after it, in one transaction.
//
//   veltron-test-client --data DIR [--dsn NAME] --calculation NAME --value X --go FILE
//
// Exit status: 0 saved, 3 refused because another program changed the
// calculation (the message on stdout), 1 any other failure.
#include "db/data_source.h"
#include "records/blocks.h"
#include "records/calculations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QThread>

#include <iostream>

using namespace veltron;

namespace {

QString option(const QStringList& args, const QString& name)
{
    const qsizetype i = args.indexOf(name);
    return i >= 0 && i + 1 < args.size() ? args[i + 1] : QString();
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    const QString dataDir = db::takeDataDir(args, QDir::currentPath());
    const QString dsn = db::takeDsn(args);
    const double value = option(args, "--value").toDouble();
    try {
        auto store = db::Store::open({dataDir, dsn});
        const auto calculation = records::findByName(*store, option(args, "--calculation"));
        if (!calculation)
            throw db::StoreError(QStringLiteral("no such calculation"));
        auto conditions = records::loadConditions(*store, calculation->id);
        auto main = records::findBlock(*store, calculation->id, 1);
        if (!conditions || !main)
            throw db::StoreError(QStringLiteral("the calculation is incomplete"));
        std::cout << "read" << std::endl;
        for (int i = 0; !QFile::exists(option(args, "--go")); ++i) {
            if (i > 3000)
                throw db::StoreError(QStringLiteral("no go"));
            QThread::msleep(5);
        }
        conditions->Tempv = value;
        main->Name_blok = QStringLiteral("Клиент %1").arg(value);
        store->transaction([&] {
            records::saveConditions(*store, calculation->id, *conditions);
            records::saveBlock(*store, *main);
        });
        std::cout << "saved" << std::endl;
        return 0;
    } catch (const records::ConcurrentChange& e) {
        std::cout << e.message().toStdString() << std::endl;
        return 3;
    } catch (const db::StoreError& e) {
        std::cout << e.message().toStdString() << std::endl;
        return 1;
    }
}
