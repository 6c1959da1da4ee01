// Rows read field by field by position: texts and numbers exactly as stored
// on either store, a stored value that is not a number refused by its
// field, and the text in which a server hands a row over.
#include "common/test_store.h"
#include "db/copy_store.h"
#include "db/rows.h"
#include "db/store.h"

#include <gtest/gtest.h>

#include <QDateTime>

#include <cfloat>
#include <cmath>

using namespace veltron;

namespace {

struct Stored {
    const char* what;
    QVariant name;   // a text or NULL
    QVariant value;  // a number or NULL
};

}  // namespace

TEST(Rows, TextsAndNumbersComeBackExactlyInTheOrderOfTheQuery)
{
    test::TempFolder dir;
    auto store = test::openStore(dir);
    const Stored rows[] = {
        {"comma and parentheses", QStringLiteral("Блок (1), «Е-1»"), 1e-300},
        {"quotes", QStringLiteral("кавычки \"\" и \" д'Арк"), 0.1 + 0.2},
        {"backslashes", QStringLiteral("\\ обратная \\\\ черта \\"), -2.0 / 7},
        {"spaces and a line end", QStringLiteral("  два\nряда  "), 6.02214076e23},
        {"empty text", QStringLiteral(""), DBL_MAX},
        {"nothing", QVariant(QMetaType::fromType<QString>()), 4.9e-324},
        {"no number", QStringLiteral("Пропан"), QVariant(QMetaType::fromType<double>())},
        {"whole number", QStringLiteral(")"), 32767.0},
    };
    int id = 0;
    for (const Stored& r : rows)
        store->exec("INSERT INTO tabKR (Id, pName, E11) VALUES (?, ?, ?)", {++id, r.name, r.value});

    int seen = 0;
    store->forEachRow("SELECT pName, E11, Id FROM tabKR ORDER BY Id DESC", {}, [&](const db::Row& row) {
        const Stored& r = rows[std::size(rows) - 1 - seen++];
        SCOPED_TRACE(r.what);
        EXPECT_EQ(row.isNull(0), r.name.isNull());
        EXPECT_EQ(row.text(0), r.name.toString());
        EXPECT_EQ(row.isNull(1), r.value.isNull());
        EXPECT_EQ(row.optionalNumber(1).has_value(), !r.value.isNull());
        EXPECT_EQ(row.number(1), r.value.isNull() ? 0.0 : r.value.toDouble());
        EXPECT_EQ(row.whole(2), int(std::size(rows)) + 1 - seen);
    });
    EXPECT_EQ(seen, int(std::size(rows)));
}

// What another program can write into a number field: each one stops the
// reading with the field's name and the value. A server's number fields
// hold only numbers, not-a-number and the infinities among them.
TEST(Rows, AStoredValueThatIsNoNumberIsRefusedNamingTheField)
{
    const struct {
        const char* stored;
        bool onServer;
    } cases[] = {
        {"'abc'", false}, {"'12,5'", false}, {"''", false}, {"'1.5 кг'", false},
        {"'Infinity'", true}, {"'-Infinity'", true}, {"'NaN'", true},
    };
    test::TempFolder dir;
    auto store = test::openStore(dir);
    store->exec("INSERT INTO tabKR (Id, pName, E11, E12) VALUES (1, 'Блок', 2.5, 1)");
    for (const auto& c : cases) {
        if (test::onServer() && !c.onServer)
            continue;
        SCOPED_TRACE(c.stored);
        store->exec(QStringLiteral("UPDATE tabKR SET E12 = %1").arg(QLatin1String(c.stored)));
        int read = 0;
        try {
            store->forEachRow("SELECT E11, E12 FROM tabKR", {}, [&](const db::Row& row) {
                EXPECT_EQ(row.number(0), 2.5);
                ++read;
                row.number(1);
                ADD_FAILURE() << "read as " << row.number(1);
            });
            ADD_FAILURE() << "not refused";
        } catch (const db::NotANumber& e) {
            EXPECT_EQ(read, 1);
            EXPECT_EQ(e.field().toUpper(), QStringLiteral("E12"));
            const QString shown = QString::fromLatin1(c.stored).mid(1).chopped(1);
            EXPECT_EQ(e.value(), shown);
            EXPECT_EQ(e.message(), QStringLiteral("В поле %1 записано «%2» — это не число.").arg(e.field(), shown));
        }
    }
}

TEST(RecordText, ReadsTheFieldsOfARecordAsAServerWritesIt)
{
    db::RecordText r;
    const QString text = QStringLiteral(R"x((7,,"a ""b"" \\c",Пропан,"",-1.5e-300,"(1,2)"))x");
    ASSERT_TRUE(r.read(text));
    EXPECT_EQ(r.number(0), 7.0);
    EXPECT_TRUE(r.isNull(1));
    EXPECT_FALSE(r.number(1).has_value());
    EXPECT_EQ(r.text(2), QStringLiteral(R"(a "b" \c)"));
    EXPECT_EQ(r.text(3), QStringLiteral("Пропан"));
    EXPECT_FALSE(r.isNull(4));
    EXPECT_EQ(r.text(4), QString());
    EXPECT_EQ(r.number(5), -1.5e-300);
    EXPECT_EQ(r.text(6), QStringLiteral("(1,2)"));
    EXPECT_TRUE(std::isnan(*r.number(3)));
    EXPECT_TRUE(r.isNull(7)) << "past the last field";

    for (const char* bad : {"", "()x", "1,2", "(\"open)", "(\"a\"b)"})
        EXPECT_FALSE(r.read(QString::fromUtf8(bad))) << bad;
    ASSERT_TRUE(r.read(QStringLiteral("()")));
    EXPECT_TRUE(r.isNull(0));
}

// A copy between the stores moves each table in batches and tells how far
// it has come; the rows arrive whole in both directions.
TEST(ServerCopy, TablesTravelInBatchesBothWays)
{
    test::TempFolder local;
    auto embedded = db::Store::openEmbedded(local.path());
    const int rows = 2 * db::kCopyBatch + 500;
    QList<QVariantList> journal;
    for (int i = 0; i < rows; ++i)
        journal << QVariantList{QDateTime(QDate(2024, 3, 1), QTime(0, 0).addMSecs(i * 1001)),
                                QStringLiteral("Расчет %1").arg(i), QStringLiteral("Полный расчет")};
    embedded->transaction([&] {
        db::insertRows(*embedded, "tabOtchet", {"Date", "Name_ob", "Conc"}, journal);
    });

    test::useServerSchema();
    auto server = db::Store::openOdbc(local.path(), test::serverDsn());
    std::vector<std::pair<int, bool>> heard;
    db::copyStore(*embedded, *server, [&](const db::CopyProgress& p) {
        if (p.table != QLatin1String("tabOtchet"))
            return;
        EXPECT_EQ(p.rows, rows);
        heard.emplace_back(p.copied, p.finished);
    });
    EXPECT_EQ(heard, (std::vector<std::pair<int, bool>>{{0, false},
                                                       {db::kCopyBatch, false},
                                                       {2 * db::kCopyBatch, false},
                                                       {rows, false},
                                                       {rows, true}}));

    test::TempFolder back;
    auto copy = db::Store::openEmbedded(back.path(), db::Prepare::Nothing);
    db::copyStore(*server, *copy);
    QStringList names;
    copy->forEachRow("SELECT Name_ob, Date FROM tabOtchet ORDER BY Date", {}, [&](const db::Row& r) {
        names << r.text(0);
    });
    ASSERT_EQ(names.size(), rows);
    EXPECT_EQ(names.first(), QStringLiteral("Расчет 0"));
    EXPECT_EQ(names.last(), QStringLiteral("Расчет %1").arg(rows - 1));
}
