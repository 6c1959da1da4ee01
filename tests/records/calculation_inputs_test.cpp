// The typed inputs of a calculation: built from the records as the input
// screen shows them on opening, refused where the screen could not run them,
// and turned into the engine's numbers.
#include "common/test_store.h"
#include "records/calculation_inputs.h"

#include <gtest/gtest.h>

using namespace veltron;
using namespace veltron::records;

namespace {

class Inputs : public ::testing::Test {
protected:
    void SetUp() override
    {
        store = test::openStore(folder);
        for (const char* t : {"tabRasch", "tabMain", "tabBloki"})
            store->exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(t)));
    }

    // A calculation with the given general conditions and blocks 1 (unless
    // noMain) and 2, 3 in the store in descending Id.
    Calculation add(int id, const QString& name, const Conditions& c, bool noMain = false)
    {
        store->exec("INSERT INTO tabRasch (Id, Name) VALUES (?, ?)", {id, name});
        saveConditions(*store, id, c);
        for (int b : {3, 2, 1}) {
            if (b == 1 && noMain)
                continue;
            Block block;
            block.Id_Rasch = id;
            block.Id = b;
            block.Name = QStringLiteral("Пропан");
            block.Name_blok = QStringLiteral("Блок %1").arg(b);
            block.Adiab = 1.13;
            block.Davl = 0.84;
            block.formula = b;  // a hidden column of the adjacent grid
            saveBlock(*store, block);
        }
        return {id, name};
    }

    test::TempFolder folder;
    std::unique_ptr<db::Store> store;
};

}  // namespace

TEST_F(Inputs, OpeningShowsTheStoredConditionsAsTheInputScreenDoes)
{
    Conditions c;
    c.Name_poverhn = QStringLiteral("Бетон");
    c.t_kontakt = 3600;
    c.S_G = 12.5;
    c.Tempv = -5;
    c.nyu = 5.6;
    c.f131 = 2;  // any flag but 0 ticks the box
    c.z = 0.05;
    c.znPn = 0;
    c.znPn1 = 101.3;
    c.Lnkpr = 0;
    c.znLnkpr = 33;  // not shown while formula 15 is off
    c.Uv = 4;
    c.opNyu = 1;
    const Calculation calc = add(5, QStringLiteral("Цех 'А'"), c);
    store->exec("UPDATE tabMain SET A = 1, Pn = 2, G4 = 1, znG4 = 9.5 WHERE Id = 5");

    const CalculationInputs in = loadCalculationInputs(*store, calc);
    EXPECT_EQ(in.calculation, calc);
    const ConditionTexts& t = in.conditions;
    EXPECT_EQ(t.Name_poverhn, QStringLiteral("Бетон"));
    EXPECT_EQ(t.Koef_teplopr, QStringLiteral("1,86"));
    EXPECT_EQ(t.p, QStringLiteral("2400"));
    EXPECT_EQ(t.t_kontakt, QStringLiteral("3600"));
    EXPECT_EQ(t.S_G, QStringLiteral("12,5"));
    EXPECT_EQ(t.Tempv, QStringLiteral("-5"));
    EXPECT_EQ(t.txtNyu, QStringLiteral("5,6"));
    EXPECT_EQ(t.Zet, QStringLiteral("0,05"));
    EXPECT_TRUE(t.Check1);
    EXPECT_FALSE(t.Option3);
    EXPECT_FALSE(t.Check3);
    EXPECT_EQ(t.txtPn, QStringLiteral("0"));
    EXPECT_TRUE(t.Check4);
    EXPECT_EQ(t.txtPn1, QStringLiteral("101,3"));
    EXPECT_FALSE(t.Check2);
    EXPECT_EQ(t.txtLnkpr, QStringLiteral("20"));
    EXPECT_EQ(t.txtUv, QStringLiteral("1"));
    EXPECT_EQ(in.settings.A, 1);
    EXPECT_EQ(in.settings.Pn, 2);
    EXPECT_TRUE(in.settings.G4);
    EXPECT_EQ(in.settings.znG4, 9.5);

    // The blocks as the grids show them: the main block, the adjacent ones
    // in ascending Id, with every column.
    ASSERT_TRUE(in.main.has_value());
    EXPECT_EQ(in.main->Name_blok, QStringLiteral("Блок 1"));
    ASSERT_EQ(in.adjacent.size(), 2);
    EXPECT_EQ(in.adjacent[0].Id, 2);
    EXPECT_EQ(in.adjacent[1].formula, 3);

    // Formula 15 on: its distance and speed are shown.
    c.Lnkpr = 1;
    saveConditions(*store, 5, c);
    const ConditionTexts drift = loadCalculationInputs(*store, calc).conditions;
    EXPECT_TRUE(drift.Check2);
    EXPECT_EQ(drift.txtLnkpr, QStringLiteral("33"));
    EXPECT_EQ(drift.txtUv, QStringLiteral("4"));
}

TEST_F(Inputs, WhatTheInputScreenCouldNotRunIsRefusedWithoutIt)
{
    Conditions unknownSurface;
    unknownSurface.Name_poverhn = QStringLiteral("Лёд");
    const struct {
        const char* what;
        Calculation calc;
        const char* says;  // nothing: the inputs load
    } cases[] = {
        {"complete", add(1, "Полный", Conditions{}), nullptr},
        {"no general conditions", add(2, "Без условий", Conditions{}), "нет общих условий"},
        {"surface not in the directory", add(3, "Лёд", unknownSurface), "«Лёд» расчета «Лёд» не найдена"},
        {"no main block", add(4, "Без блока", Conditions{}, true), "нет данных о расчетном блоке"},
        {"main block without a substance", add(5, "Без вещества", Conditions{}), "нет данных о расчетном блоке"},
    };
    store->exec("DELETE FROM tabMain WHERE Id = 2");
    store->exec("UPDATE tabBloki SET Name = '' WHERE Id_Rasch = 5 AND Id = 1");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const RunnableInputs loaded = loadRunnableInputs(*store, c.calc);
        if (!c.says) {
            ASSERT_TRUE(std::holds_alternative<CalculationInputs>(loaded));
            EXPECT_TRUE(std::get<CalculationInputs>(loaded) == loadCalculationInputs(*store, c.calc));
            continue;
        }
        ASSERT_TRUE(std::holds_alternative<calc::Stop>(loaded));
        EXPECT_TRUE(std::get<calc::Stop>(loaded).message.contains(QString::fromUtf8(c.says)))
            << std::get<calc::Stop>(loaded).message.toStdString();
    }
    // The screen opens on what it can: a new calculation's conditions, the
    // unknown surface with "0" data.
    EXPECT_EQ(loadCalculationInputs(*store, cases[1].calc).conditions,
              conditionTexts(Conditions{}, findSurface(*store, QStringLiteral("Бетон"))));
    EXPECT_EQ(loadCalculationInputs(*store, cases[2].calc).conditions.p, QStringLiteral("0"));

    // Many at once give what each gives alone.
    QList<Calculation> all;
    for (const auto& c : cases)
        all << c.calc;
    int seen = 0;
    loadRunnableInputs(*store, all, [&](qsizetype i, const RunnableInputs& loaded) {
        ++seen;
        EXPECT_TRUE(loaded.index() == loadRunnableInputs(*store, all[i]).index()) << i;
        if (const auto* in = std::get_if<CalculationInputs>(&loaded))
            EXPECT_TRUE(*in == loadCalculationInputs(*store, all[i])) << i;
    });
    EXPECT_EQ(seen, all.size());
}

TEST_F(Inputs, TheEngineGetsTheNumbersOfTheFieldsItUses)
{
    CalculationInputs in = loadCalculationInputs(*store, add(1, "Расчет", Conditions{}));
    ConditionTexts& t = in.conditions;
    t.Zet = "0,0";
    t.S_G = "12,5";
    t.txtNyu = "5,6";
    t.txtUv = "не число";   // formula 15 off: not read
    t.txtPn = "не число";   // not ticked: not read
    t.Check4 = true;
    t.txtPn1 = "101,3";
    auto engine = runInputsOf(in);
    ASSERT_TRUE(std::holds_alternative<calc::RunInputs>(engine));
    const calc::RunInputs& r = std::get<calc::RunInputs>(engine);
    EXPECT_EQ(r.calculationName, QStringLiteral("Расчет"));
    EXPECT_EQ(r.conditions.Zet, QStringLiteral("0,0"));  // compared as text by the run
    EXPECT_EQ(r.conditions.S_G, QStringLiteral("12,5"));
    EXPECT_EQ(r.conditions.Nyu, 5.6);
    EXPECT_EQ(r.conditions.Uv, 1);
    EXPECT_EQ(r.conditions.Pn, 0);
    EXPECT_TRUE(r.conditions.Check4);
    EXPECT_EQ(r.conditions.Pn1, 101.3);
    EXPECT_EQ(r.conditions.p, 2400);
    EXPECT_EQ(r.main.Name_blok, QStringLiteral("Блок 1"));
    ASSERT_EQ(r.adjacent.size(), 2u);
    EXPECT_EQ(r.adjacent[1].Id, 3);

    t.Check2 = true;
    engine = runInputsOf(in);
    ASSERT_TRUE(std::holds_alternative<NotANumber>(engine));
    EXPECT_EQ(std::get<NotANumber>(engine).field, ConditionField::txtUv);
    const calc::Stop message = inputError(std::get<NotANumber>(engine));
    EXPECT_EQ(message.title, QStringLiteral("Ввод данных"));
    EXPECT_EQ(message.message, QStringLiteral("Проверьте правильность ввода: \"скорость воздушного потока над зеркалом "
                                              "испарения, м/с\" должно быть числом."));
}
