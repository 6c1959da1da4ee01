// veltron-cli export, import and register, end to end.
#include "cli/cli_support.h"
#include "common/sample_calculations.h"
#include "common/test_support.h"

#include "db/store.h"
#include "report/docx/document.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlRecord>

using namespace veltron;

namespace {

QList<int> rowCounts(const db::Store& store)
{
    QList<int> counts;
    for (const auto& [table, rows] : store.rowCounts())
        counts << rows;
    return counts;
}

}  // namespace

// Two stores at once: on the embedded files only.
TEST(EmbeddedCliExchange, CalculationsSentToAFreshStoreRunByteForByteTheSame)
{
    test::TempFolder here;
    test::TempFolder there;
    QStringList names;
    {
        auto store = test::openStore(here);
        names = test::addMixedCalculations(*store);
        store->exec("INSERT INTO SubstChar (Name, Vid_vva, Mol_massa, Plotn_GF, T_kip, Tepl_sgorPGF, Tepl_paroobr, "
                    "Teploem_GF, PokAdiab) VALUES ('Бутан пробный', 1, 58.12, 580, -0.5, 45700, 385, 2.39, 1.1)");
        store->exec("UPDATE tabBloki SET Name = 'Бутан пробный' WHERE Name_blok LIKE '%половина%'");
    }
    names.removeAll(test::kExample);
    const QString file = here.file("расчеты.veltron");
    const auto exported = test::runCli(here.path(), QStringList{"export"} + names + QStringList{"--out", file});
    ASSERT_EQ(exported.status, 0) << exported.err.toStdString();
    const QJsonObject json = QJsonDocument::fromJson(test::readFile(file)).object();
    EXPECT_EQ(json["format"].toString(), QStringLiteral("veltron-calculations"));
    EXPECT_EQ(json["calculations"].toArray().size(), names.size());
    EXPECT_EQ(json["substances"].toArray().size(), 2);

    test::openStore(there);
    const auto imported = test::runCli(there.path(), {"import", file});
    ASSERT_EQ(imported.status, 0) << imported.err.toStdString();
    const QJsonObject result = QJsonDocument::fromJson(imported.out.toUtf8()).object();
    EXPECT_EQ(result["imported"].toArray().size(), names.size());
    EXPECT_EQ(result["renamed"].toArray().size(), 0);

    const auto home = test::runCli(here.path(), {"run", "--all"});
    const auto away = test::runCli(there.path(), {"run", "--all"});
    EXPECT_EQ(home.status, 2) << "the calculation without a main block stops in both";
    EXPECT_EQ(away.status, home.status);
    EXPECT_EQ(QJsonDocument::fromJson(home.out.toUtf8()).array().size(), names.size() + 1);
    EXPECT_EQ(away.out.toUtf8(), home.out.toUtf8());
}

class CliExchange : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto store = test::openStore(dir);
        test::addScaledExample(*store, QStringLiteral("Копия"), 0.3);
        const auto exported =
            test::runCli(dir.path(), {"export", test::kExample, QStringLiteral("Копия"), "--out", dir.file("два.veltron")});
        ASSERT_EQ(exported.status, 0) << exported.err.toStdString();
        one = dir.file("один.veltron");
        ASSERT_EQ(test::runCli(dir.path(), {"export", test::kExample, "--out", one}).status, 0);
    }
    QList<int> counts() { return rowCounts(*test::openStore(dir)); }

    test::TempFolder dir;
    QString one;
};

TEST_F(CliExchange, ANameTheStoreHasIsRefusedUnlessAnotherIsGiven)
{
    const QList<int> before = counts();
    const auto clash = test::runCli(dir.path(), {"import", one});
    EXPECT_EQ(clash.status, 1);
    EXPECT_TRUE(clash.err.contains(QStringLiteral("В базе уже есть расчет «Пример — резервуар пропана»")))
        << clash.err.toStdString();
    EXPECT_EQ(counts(), before);
    EXPECT_EQ(test::runCli(dir.path(), {"import", dir.file("два.veltron"), "--as", "Другой"}).status, 1);

    const auto renamed = test::runCli(dir.path(), {"import", one, "--as", "Присланный пример"});
    ASSERT_EQ(renamed.status, 0) << renamed.err.toStdString();
    EXPECT_TRUE(renamed.err.isEmpty()) << "the seed's propane and concrete are reused: " << renamed.err.toStdString();
    const auto a = test::runCli(dir.path(), {"run", test::kExample});
    EXPECT_EQ(a.out, test::runCli(dir.path(), {"run", "Присланный пример"}).out);
}

TEST_F(CliExchange, AFileThatCannotBeImportedLeavesTheStoreAsItWas)
{
    QByteArray good = test::readFile(one);
    const QList<int> before = counts();
    const struct {
        const char* name;
        QByteArray bytes;
        const char* message;
    } cases[] = {
        {"чужой.veltron", R"({"rows": []})", "это не файл расчетов Вельтрон"},
        {"обрезан.veltron", good.left(good.size() - 40), "он обрезан"},
        {"число.veltron", QByteArray(good).replace("\"Davl\": 0.84", "\"Davl\": \"много\""), "поле «Davl» — ожидается число"},
        {"новый.veltron", QByteArray(good).replace("\"version\": 1", "\"version\": 7"), "формат версии 7"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.file(QString::fromUtf8(c.name));
        test::writeFile(path, c.bytes);
        const auto r = test::runCli(dir.path(), {"import", path, "--as", "Новое имя"});
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    EXPECT_EQ(test::runCli(dir.path(), {"import", dir.file("нет такого.veltron")}).status, 1);
    EXPECT_EQ(test::runCli(dir.path(), {"export", "Нет такого", "--out", dir.file("x.veltron")}).status, 1);
    EXPECT_EQ(counts(), before);
}

TEST(CliRegister, EveryCalculationOrTheNamedOnesAndStoppedRunsDoNotFailIt)
{
    test::TempFolder dir;
    QStringList order;
    {
        auto store = test::openStore(dir);
        order = test::addMixedCalculations(*store);
    }
    const auto all = test::runCli(dir.path(), {"register", "--out", dir.file("перечень.xlsx"), "--signer",
                                               "Главный инженер|Сидоров С. С.", "--source", "Проектная документация"});
    ASSERT_EQ(all.status, 0) << all.err.toStdString();
    const QJsonObject summary = QJsonDocument::fromJson(all.out.toUtf8()).object();
    EXPECT_EQ(summary["calculations"].toInt(), order.size());
    EXPECT_EQ(summary["stopped"].toInt(), 1);
    EXPECT_TRUE(test::readFile(dir.file("перечень.xlsx")).startsWith("PK"));

    const auto two = test::runCli(dir.path(), {"register", order[2], test::kStoppingCalculation, "--out",
                                               dir.file("два.csv")});
    ASSERT_EQ(two.status, 0) << two.err.toStdString();
    const QStringList lines = QString::fromUtf8(test::readFile(dir.file("два.csv"))).split("\r\n", Qt::SkipEmptyParts);
    EXPECT_EQ(lines.size(), 3);

    const auto word = test::runCli(dir.path(), {"register", "--out", dir.file("перечень.docx"), "--signer",
                                                "Главный инженер|Сидоров С. С."});
    ASSERT_EQ(word.status, 0) << word.err.toStdString();
    const QString signature =
        docx::Document::open(dir.file("перечень.docx")).bookmarkText(QStringLiteral("mPodpis"));
    EXPECT_TRUE(signature.contains(QStringLiteral("Расчет выполнил: Главный инженер ____________ Сидоров С. С.")));

    const int journal = test::openStore(dir)->query("SELECT COUNT(*) FROM tabOtchet").first().value(0).toInt();
    for (const QStringList& bad : {QStringList{"register", "--out", dir.file("перечень.pdf")},
                                   QStringList{"register", "Нет такого", "--out", dir.file("x.docx")},
                                   QStringList{"register", "--out", dir.file("нет папки/x.docx")},
                                   QStringList{"register", "--out", dir.file("x.docx"), "--signer", "без черты"},
                                   QStringList{"register", "--pressure", "5", "--out", dir.file("x.docx")},
                                   QStringList{"register"}}) {
        SCOPED_TRACE(bad.join(' ').toStdString());
        const auto r = test::runCli(dir.path(), bad);
        EXPECT_EQ(r.status, 1);
        EXPECT_FALSE(r.err.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(dir.file("x.docx")));
    // Refused before any run: no journal row.
    EXPECT_EQ(test::openStore(dir)->query("SELECT COUNT(*) FROM tabOtchet").first().value(0).toInt(), journal);
}
