// veltron-cli killed at any moment of copy-store --from … --replace and of
// init: the two files of the store are both as they were or both as the
// command leaves them, never one of each.
#include "cli/cli_support.h"
#include "common/test_support.h"
#include "db/store.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

#include <algorithm>
#include <array>
#include <functional>
#include <iostream>

using namespace veltron;

namespace {

constexpr int kTrials = 30;

enum class State { Old, New, Mixed };

const char* nameOf(State s)
{
    return s == State::Old ? "old" : s == State::New ? "new" : "MIXED";
}

// Starts veltron-cli, kills it (SIGKILL) `delayMs` after the start, and
// waits until it is gone. True when it was still running.
bool killAfter(const QStringList& args, int delayMs)
{
    QProcess p;
    p.start(QStringLiteral(VELTRON_CLI), args);
    if (!p.waitForStarted(10000))
        return false;
    QThread::usleep(static_cast<unsigned long>(delayMs) * 1000);
    const bool running = p.state() == QProcess::Running;
    p.kill();
    p.waitForFinished(10000);
    return running;
}

// How long one whole run of the command takes here, in milliseconds.
int wholeRun(const QStringList& args)
{
    QElapsedTimer t;
    t.start();
    const auto r = test::runCliWith(args);
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    return int(t.elapsed());
}

// The kill points: spread over the whole run and a little past it, each at
// a random place within its share, so that early, late and middle moments
// are all tried.
int killPoint(int trial, int wholeMs)
{
    const double share = 1.3 * wholeMs / kTrials;
    return int(share * (trial + QRandomGenerator::global()->generateDouble()));
}

// How long one whole run takes while the machine is as busy as it is now:
// the longest of three, measured right before the trials.
int wholeRunNow(const QStringList& args, const std::function<void()>& reset)
{
    int longest = 0;
    for (int i = 0; i < 3; ++i) {
        reset();
        longest = std::max(longest, wholeRun(args));
    }
    return longest;
}

// Runs the trials: a kill in each, then `outcome` tells how the files were
// left. When the machine's pace changed so much that no kill came before
// the commit, or none after it, a few more trials aim there, so that both
// sides are always tried. Returns the count of each outcome.
std::array<int, 3> killTrials(const QStringList& args, const std::function<void()>& reset,
                              const std::function<State(int trial, int killedAt)>& outcome, int& trials, int& wholeMs)
{
    wholeMs = wholeRunNow(args, reset);
    std::array<int, 3> outcomes{0, 0, 0};
    const auto trial = [&](int at) {
        reset();
        killAfter(args, at);
        ++outcomes[std::size_t(outcome(trials, at))];
        ++trials;
    };
    trials = 0;
    for (int i = 0; i < kTrials; ++i)
        trial(killPoint(i, wholeMs));
    for (int extra = 1; extra <= 5 && outcomes[0] == 0; ++extra)
        trial(0);
    for (int extra = 1; extra <= 5 && outcomes[1] == 0; ++extra)
        trial(wholeMs * (1 + extra));
    return outcomes;
}

int count(const db::Store& store, const QString& sql, db::Base base = db::Base::Main)
{
    return store.query(sql, {}, base).first().value(0).toInt();
}

void copyFiles(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    for (const QString& f : QDir(to).entryList(QDir::Files))
        QFile::remove(QDir(to).filePath(f));
    for (const char* name : {"bdVeltron.sqlite", "tabMirvel.sqlite"})
        ASSERT_TRUE(QFile::copy(QDir(from).filePath(QLatin1String(name)), QDir(to).filePath(QLatin1String(name))));
}

}  // namespace

TEST(EmbeddedCrash, CopyFromASourceKilledAnywhereLeavesBothFilesOldOrBothNew)
{
    test::TempFolder work;
    // The source: a shared source on a SQLite file, with a calculation, many
    // blocks (a longer copy) and an organisation entry of its own.
    const QString sourceDir = work.file("source"), oldDir = work.file("old"), trialDir = work.file("trial");
    const QString source = QStringLiteral("Driver=SQLite3;Database=%1").arg(work.file("source.db"));
    ASSERT_EQ(test::runCliWith({"--data", sourceDir, "init"}).status, 0);
    {
        auto store = db::Store::openEmbedded(sourceDir);
        store->exec("INSERT INTO tabRasch (Id, Name) VALUES (2, 'Новый')");
        QList<QVariantList> blocks;
        for (int i = 1; i <= 3000; ++i)
            blocks << QVariantList{2, i, QStringLiteral("Блок %1").arg(i)};
        store->transaction([&] {
            store->execRows("INSERT INTO tabBloki (Id_Rasch, Id, Name_blok) VALUES (?, ?, ?)", blocks);
        });
        store->exec("INSERT INTO tabDolgn (Name) VALUES ('Новая должность')", {}, db::Base::Second);
    }
    ASSERT_EQ(test::runCliWith({"--data", sourceDir, "copy-store", "--to", source}).status, 0);
    // The target as it was: a calculation and an entry of its own.
    ASSERT_EQ(test::runCliWith({"--data", oldDir, "init"}).status, 0);
    {
        auto store = db::Store::openEmbedded(oldDir);
        store->exec("INSERT INTO tabRasch (Id, Name) VALUES (3, 'Старый')");
        store->exec("INSERT INTO tabDolgn (Name) VALUES ('Старая должность')", {}, db::Base::Second);
    }
    const int newBlocks = count(*db::Store::openEmbedded(sourceDir), "SELECT COUNT(*) FROM tabBloki");
    const int oldBlocks = count(*db::Store::openEmbedded(oldDir), "SELECT COUNT(*) FROM tabBloki");
    const QStringList copy{"--data", trialDir, "copy-store", "--from", source, "--replace"};
    int trials = 0, whole = 0;
    const auto outcomes = killTrials(
        copy, [&] { copyFiles(oldDir, trialDir); },
        [&](int trial, int at) {
            // Opened as the program opens it, which first undoes what an
            // interrupted commit left in the journals.
            auto store = db::Store::openEmbedded(trialDir, db::Prepare::Nothing);
            const State main = count(*store, "SELECT COUNT(*) FROM tabRasch WHERE Name = 'Новый'") == 1
                                       && count(*store, "SELECT COUNT(*) FROM tabBloki") == newBlocks
                                   ? State::New
                               : count(*store, "SELECT COUNT(*) FROM tabRasch WHERE Name = 'Старый'") == 1
                                       && count(*store, "SELECT COUNT(*) FROM tabBloki") == oldBlocks
                                   ? State::Old
                                   : State::Mixed;
            const State second =
                count(*store, "SELECT COUNT(*) FROM tabDolgn WHERE Name = 'Новая должность'", db::Base::Second) == 1
                    ? State::New
                : count(*store, "SELECT COUNT(*) FROM tabDolgn WHERE Name = 'Старая должность'", db::Base::Second) == 1
                    ? State::Old
                    : State::Mixed;
            EXPECT_NE(main, State::Mixed) << "trial " << trial << ", killed after " << at << " ms";
            EXPECT_EQ(main, second) << "trial " << trial << ", killed after " << at << " ms: bdVeltron "
                                    << nameOf(main) << ", tabMirvel " << nameOf(second);
            return main == second ? main : State::Mixed;
        },
        trials, whole);
    std::cout << "copy-store --from … --replace killed in " << trials << " trials over " << whole
              << " ms: both old " << outcomes[0] << ", both new " << outcomes[1] << ", mixed " << outcomes[2]
              << std::endl;
    EXPECT_GT(outcomes[0], 0) << "no kill came before the commit";
    EXPECT_GT(outcomes[1], 0) << "no kill came after the commit";
}

TEST(EmbeddedCrash, InitKilledAnywhereLeavesNoStoreOrAWholeOneAndInitCompletesIt)
{
    test::TempFolder work;
    const QString dir = work.file("store");
    const QStringList init{"--data", dir, "init"};
    int trials = 0, whole = 0;
    const auto outcomes = killTrials(
        init, [&] { QDir(dir).removeRecursively(); },
        [&](int trial, int at) {
            State state = State::Old;
            if (QFile::exists(QDir(dir).filePath("bdVeltron.sqlite"))) {
                auto store = db::Store::openEmbedded(dir, db::Prepare::Nothing);
                const bool mainMade = count(*store, "SELECT COUNT(*) FROM main.sqlite_master WHERE type = 'table'") > 0;
                const bool secondMade =
                    count(*store, "SELECT COUNT(*) FROM mirvel.sqlite_master WHERE type = 'table'", db::Base::Second) > 0;
                if (mainMade != secondMade)
                    state = State::Mixed;
                else if (mainMade)
                    state = store->hasAllTables() && count(*store, "SELECT COUNT(*) FROM SubstChar") > 0
                                    && count(*store, "SELECT COUNT(*) FROM tabDolgn", db::Base::Second) > 0
                                ? State::New
                                : State::Mixed;
            }
            EXPECT_NE(state, State::Mixed) << "trial " << trial << ", killed after " << at << " ms";
            // Whatever the kill left, init then gives a whole store (or finds one).
            const auto again = test::runCliWith(init);
            EXPECT_TRUE(again.status == 0 || again.err.contains(QStringLiteral("уже есть таблицы программы")))
                << again.err.toStdString();
            EXPECT_TRUE(db::Store::openEmbedded(dir, db::Prepare::Existing)->hasAllTables());
            return state;
        },
        trials, whole);
    std::cout << "init killed in " << trials << " trials over " << whole << " ms: no store " << outcomes[0]
              << ", whole store " << outcomes[1] << ", partial " << outcomes[2] << std::endl;
    EXPECT_GT(outcomes[0], 0) << "no kill came before the commit";
    EXPECT_GT(outcomes[1], 0) << "no kill came after the commit";
}
