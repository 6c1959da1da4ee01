// Calculations sent as a file: what the file carries, what it refuses, and
// how its substances and surfaces meet the store's own.
#include "common/sample_calculations.h"
#include "common/test_store.h"

#include "calc/engine.h"
#include "records/calculation_inputs.h"
#include "records/calculations.h"
#include "records/exchange.h"
#include "records/store_reference.h"
#include "records/substances.h"

#include <gtest/gtest.h>

#include <QSqlRecord>

using namespace veltron;
using namespace veltron::records;

namespace {

const QString kSent = QStringLiteral("Отправленный расчет");

int rows(const db::Store& store, const char* table, const QString& where = {}, const QVariantList& params = {})
{
    return store.query(QStringLiteral("SELECT COUNT(*) FROM %1 %2").arg(QLatin1String(table), where), params)
        .first()
        .value(0)
        .toInt();
}

class Exchange : public ::testing::Test {
protected:
    void SetUp() override
    {
        source = test::openStore(from);
        // A calculation on a substance and a surface of its own, with empty
        // fields in the substance and the blocks, next to the example.
        test::addScaledExample(*source, kSent, 0.3);
        source->exec("INSERT INTO SubstChar (Name, Vid_vva, Mol_massa, Plotn_GF, T_kip, Tepl_sgorPGF, Tepl_paroobr, "
                     "Teploem_GF, PokAdiab, Dop_info) VALUES ('Смесь «Север»', 2, 48.5, 560, -20.5, 45500, 390, 2.4, "
                     "1.12, 'пробная')");
        source->exec("INSERT INTO tabPoverhn (Name, p, lyambda, c) VALUES ('Асфальт пробный', 2100, 0.9, 0.92)");
        const int id = findByName(*source, kSent)->id;
        source->exec("UPDATE tabBloki SET Name = 'Смесь «Север»', t_T = NULL WHERE Id_Rasch = ?", {id});
        source->exec("UPDATE tabMain SET Name_poverhn = 'Асфальт пробный', A = 1, G = 1 WHERE Id = ?", {id});
    }

    QByteArray sent(const QStringList& names = {kSent})
    {
        QList<Calculation> list;
        for (const QString& n : names)
            list << *findByName(*source, n);
        return exchangeJson(readForExport(*source, list));
    }

    calc::RunOutcome runIn(const db::Store& store, const QString& name)
    {
        return runLoaded(loadRunnableInputs(store, *findByName(store, name)), StoreReference(store));
    }

    test::TempFolder from;
    test::TempFolder to;  // the other store of the Embedded… cases
    std::unique_ptr<db::Store> source;
};

// Two stores at once: on the embedded files only (on the server both would be
// the test's one schema).
class EmbeddedExchange : public Exchange {};

TEST_F(EmbeddedExchange, FileCarriesTheCalculationWholeAndRunsTheSameElsewhere)
{
    const QByteArray text = sent();
    EXPECT_TRUE(text.startsWith("{\n    \"format\": \"veltron-calculations\",\n    \"version\": 1,"));
    const ExchangeFile file = parseExchangeFile(text);
    ASSERT_EQ(file.calculations.size(), 1);
    EXPECT_EQ(file.substances.size(), 1);
    EXPECT_EQ(file.substances[0].value("Name"), QStringLiteral("Смесь «Север»"));
    EXPECT_TRUE(file.substances[0].value("Tvsp").isNull());
    EXPECT_EQ(file.surfaces.size(), 1);
    EXPECT_TRUE(file.calculations[0].blocks[0].value("t_T").isNull());
    EXPECT_EQ(file.calculations[0].settings.value("G").toInt(), 1);

    auto target = test::openStore(to);
    const ImportResult result = importCalculations(*target, file, {kSent});
    ASSERT_EQ(result.calculations.size(), 1);
    EXPECT_TRUE(result.renamed.isEmpty());
    // Stored as it was sent: read back for sending, it is the same file.
    EXPECT_EQ(exchangeJson(readForExport(*target, result.calculations)), text);

    const auto here = runIn(*source, kSent);
    const auto there = runIn(*target, kSent);
    ASSERT_TRUE(calc::succeeded(here)) << std::get<calc::Stop>(here).message.toStdString();
    ASSERT_TRUE(calc::succeeded(there));
    EXPECT_EQ(std::get<calc::RaschResult>(here).E, std::get<calc::RaschResult>(there).E);
    EXPECT_EQ(std::get<calc::RaschResult>(here).Rzone, std::get<calc::RaschResult>(there).Rzone);
}

TEST_F(Exchange, FilesThatCannotBeImportedAreRefusedWithTheReason)
{
    const QByteArray good = sent();
    const auto replaced = [&](const char* from, const char* to) {
        QByteArray t = good;
        EXPECT_TRUE(t.contains(from)) << from;
        return t.replace(from, to);
    };
    const struct {
        const char* what;
        QByteArray text;
        const char* message;
    } cases[] = {
        {"not JSON", QByteArray("PK\x03\x04 a workbook"), "это не файл расчетов Вельтрон (его текст не JSON)"},
        {"JSON of another program", R"({"name": "x", "blocks": []})", "нет отметки формата «veltron-calculations»"},
        {"a newer format", replaced("\"version\": 1", "\"version\": 2"), "более новой версией программы (формат версии 2)"},
        {"no version", replaced("\"version\": 1", "\"version\": \"1\""), "не указана версия формата"},
        {"cut short", good.left(good.size() / 2), "он обрезан"},
        {"damaged inside", replaced("\"settings\": {", "\"settings\": {{"), "он поврежден"},
        {"a text for a number", replaced("\"Davl\": 0.84", "\"Davl\": \"0,84\""),
         "расчет «Отправленный расчет», блок № 1 по порядку, поле «Davl» — ожидается число, а записано «0,84»"},
        {"a fraction for a whole number", replaced("\"G\": 1", "\"G\": 2.5"),
         "настройки, поле «G» — ожидается целое число, а записано 2,5"},
        {"a number for a text", replaced("\"Name_poverhn\": \"Асфальт пробный\"", "\"Name_poverhn\": 7"),
         "поле «Name_poverhn» — ожидается текст, а записано 7"},
        {"a field missing", replaced("\"Temp\": 20,", ""), "нет поля «Temp»"},
        {"a field unknown", replaced("\"Temp\": 20,", "\"Temp\": 20, \"Temp2\": 1,"), "неизвестное поле «Temp2»"},
        {"no calculation", R"({"format": "veltron-calculations", "version": 1, "calculations": [], "substances": [], "surfaces": []})",
         "нет ни одного расчета"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            parseExchangeFile(c.text);
            ADD_FAILURE() << "accepted";
        } catch (const ExchangeError& e) {
            EXPECT_TRUE(e.message().startsWith(QStringLiteral("Файл не принят: "))) << e.message().toStdString();
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.message))) << e.message().toStdString();
        }
    }
}

TEST_F(EmbeddedExchange, ARecordOfTheSameNameIsReusedOnlyWithTheSameValues)
{
    auto target = test::openStore(to);
    // Propane of the seed data, sent with a changed molar mass and boiling point.
    test::addScaledExample(*source, QStringLiteral("Пропан другой"), 0.3);
    source->exec("UPDATE SubstChar SET Mol_massa = 44.5, T_kip = -42 WHERE Name = 'Пропан'");
    const SubstanceRecord localPropane = *findSubstanceRecord(*target, QStringLiteral("Пропан"));
    const int substancesBefore = rows(*target, "SubstChar");

    const ExchangeFile file = parseExchangeFile(sent({QStringLiteral("Пропан другой")}));
    const ImportResult first = importCalculations(*target, file, {QStringLiteral("Первый")});
    ASSERT_EQ(first.renamed.size(), 1);
    EXPECT_EQ(first.renamed[0].what, QStringLiteral("Вещество"));
    EXPECT_EQ(first.renamed[0].importedAs, QStringLiteral("Пропан (импорт)"));
    EXPECT_EQ(first.renamed[0].differences,
              (QStringList{"Mol_massa: в файле 44,5, в базе 44,097", "T_kip: в файле -42, в базе -42,1"}));
    EXPECT_TRUE(renamedNotice(first).contains(QStringLiteral("Различия: Mol_massa: в файле 44,5, в базе 44,097; "
                                                             "T_kip: в файле -42, в базе -42,1.")));
    EXPECT_EQ(*findSubstanceRecord(*target, QStringLiteral("Пропан")), localPropane);
    EXPECT_EQ(findSubstanceRecord(*target, QStringLiteral("Пропан (импорт)"))->Mol_massa, 44.5);
    const int id = findByName(*target, QStringLiteral("Первый"))->id;
    EXPECT_EQ(rows(*target, "tabBloki", "WHERE Id_Rasch = ? AND Name = ?", {id, QStringLiteral("Пропан (импорт)")}), 1);

    // The same file again: the imported record is the same, so it is reused.
    const ImportResult second = importCalculations(*target, file, {QStringLiteral("Второй")});
    EXPECT_EQ(second.renamed.size(), 1);
    EXPECT_EQ(rows(*target, "SubstChar"), substancesBefore + 1);

    // Yet other values come in beside both.
    source->exec("UPDATE SubstChar SET PokAdiab = 1.2 WHERE Name = 'Пропан'");
    const ImportResult third =
        importCalculations(*target, parseExchangeFile(sent({QStringLiteral("Пропан другой")})), {"Третий"});
    EXPECT_EQ(third.renamed[0].importedAs, QStringLiteral("Пропан (импорт 2)"));

    // A surface follows the same rule; the seed's own surface is reused as it is.
    source->exec("UPDATE tabPoverhn SET p = 2500 WHERE Name = 'Бетон'");
    const ImportResult fourth =
        importCalculations(*target, parseExchangeFile(sent({test::kExample})), {QStringLiteral("Четвертый")});
    ASSERT_EQ(fourth.renamed.size(), 2);
    EXPECT_EQ(fourth.renamed[1].what, QStringLiteral("Поверхность"));
    EXPECT_EQ(fourth.renamed[1].differences, QStringList{"p: в файле 2500, в базе 2400"});
    const auto conditions = loadConditions(*target, findByName(*target, QStringLiteral("Четвертый"))->id);
    EXPECT_EQ(conditions->Name_poverhn, QStringLiteral("Бетон (импорт)"));
}

TEST_F(Exchange, ImportIsAllOrNothing)
{
    // The store that sent the file takes it back under another name.
    db::Store& store = *source;
    const ExchangeFile file = parseExchangeFile(sent());
    store.exec("DELETE FROM SubstChar WHERE Name = 'Смесь «Север»'");
    const auto counts = [&] {
        return QList<int>{rows(store, "tabRasch"), rows(store, "tabMain"), rows(store, "tabBloki"),
                          rows(store, "SubstChar"), rows(store, "tabPoverhn")};
    };
    const QList<int> before = counts();

    // A name the store has.
    EXPECT_THROW(importCalculations(store, file, {kSent}), db::StoreError);
    EXPECT_EQ(counts(), before);

    // A failure at the last step undoes the substance and the calculation.
    const QString name = QStringLiteral("Новое имя");
    test::refuse(store, "stop_import", "INSERT", "tabBloki");
    EXPECT_THROW(importCalculations(store, file, {name}), db::StoreError);
    test::dropRefusal(store, "stop_import", "tabBloki");
    EXPECT_EQ(counts(), before);
    EXPECT_FALSE(findByName(store, name));
    EXPECT_FALSE(findSubstanceRecord(store, QStringLiteral("Смесь «Север»")));

    // Without the failure the same import goes through.
    importCalculations(store, file, {name});
    EXPECT_TRUE(findByName(store, name));
    EXPECT_TRUE(findSubstanceRecord(store, QStringLiteral("Смесь «Север»")));
}

}  // namespace
