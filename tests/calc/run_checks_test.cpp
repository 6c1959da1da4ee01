// The checks that stop a run, the arithmetic faults that end it without
// results, and the journal row that every run past the main-block checks leaves.
#include "engine_fixture.h"

#include <functional>
#include <limits>

namespace veltron::calc::testing {
namespace {

struct StopCase {
    const char* name;
    std::function<void(RunInputs&, MemoryReference&)> change;
    QString title;
    QString message;
    StopIcon icon;
    int journalRows;
};

class RunStops : public ::testing::TestWithParam<StopCase> {};

TEST_P(RunStops, ShowsTheExactMessageAndNoResult)
{
    const StopCase& c = GetParam();
    RunInputs in = makeInputs();
    in.adjacent.push_back(makeAdjacent(2));
    MemoryReference ref = makeReference();
    c.change(in, ref);
    int journal = 0;
    const RunOutcome out = run(in, ref, [&] { ++journal; });
    const Stop s = stopOf(out);
    EXPECT_EQ(s.title, c.title);
    EXPECT_EQ(s.message, c.message);
    EXPECT_EQ(s.icon, c.icon);
    EXPECT_EQ(journal, c.journalRows);
}

const QString kAttention = QStringLiteral("Внимание!");
const QString kSpaced = QStringLiteral("В н и м а н и е ! ! !");

INSTANTIATE_TEST_SUITE_P(
    Checks, RunStops,
    ::testing::Values(
        StopCase{"ZetIsTextZero", [](RunInputs& in, MemoryReference&) { in.conditions.Zet = "0"; },
                 kSpaced,
                 QStringLiteral("Уточните долю приведенной массы парогазовых веществ участвующих во "
                                "взрыве; z=?"),
                 StopIcon::None, 0},
        StopCase{"MirrorAreaMissingWithFormula131",
                 [](RunInputs& in, MemoryReference&) {
                     in.conditions.Check1 = true;
                     in.conditions.S_G = "0";
                 },
                 kAttention,
                 QStringLiteral("При выборе \"использовать значение площадь поверхности зеркала "
                                "жидкости для проведения экспертных оценок по ПБ 09-540-03 формула "
                                "13.1\" необходимо ввести площадь поверхности зеркала жидкости!"),
                 StopIcon::Error, 0},
        StopCase{"MainAdiabAtOne",
                 [](RunInputs& in, MemoryReference&) {
                     in.main.Adiab = 1;
                     in.main.Davl = 0;  // the adiabatic index is checked first
                 },
                 kAttention, QStringLiteral("Показатель адиабаты вещества в блоке должен быть > 1!"),
                 StopIcon::Error, 0},
        StopCase{"MainPressureZero", [](RunInputs& in, MemoryReference&) { in.main.Davl = 0; },
                 kAttention, QStringLiteral("Давление в блоке должено быть > 0!"), StopIcon::Error, 0},
        StopCase{"MainMolarMassZero",
                 [](RunInputs& in, MemoryReference& ref) {
                     SubstData s;
                     s.Name = "Без массы";
                     ref.addSubstance(s);
                     in.main.Name = s.Name;
                 },
                 kAttention, QStringLiteral("Молярная масса вещества в блоке должена быть > 0!"),
                 StopIcon::Error, 1},
        StopCase{"AdjacentAdiabAtOne",
                 [](RunInputs& in, MemoryReference&) { in.adjacent[0].Adiab = 1; }, kAttention,
                 QStringLiteral("Показатель адиабаты веществ в блоках должен быть > 1!"),
                 StopIcon::Error, 1},
        StopCase{"AdjacentBelowAtmosphere",
                 [](RunInputs& in, MemoryReference&) { in.adjacent[0].Davl = 0.1012; }, kSpaced,
                 QStringLiteral("Давление в смежном блоке меньше атмосферного (101.3 кПа)."),
                 StopIcon::Error, 1},
        StopCase{"SecondAdjacentBelowAtmosphere",
                 [](RunInputs& in, MemoryReference&) {
                     in.adjacent.push_back(makeAdjacent(3));
                     in.adjacent[1].Davl = 0.05;
                 },
                 kSpaced,
                 QStringLiteral("Давление в смежном блоке меньше атмосферного (101.3 кПа)."),
                 StopIcon::Error, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RunChecks, ZetWrittenAsZeroWithDecimalsIsNotTheTextZero)
{
    // "0,0" passes step 1; z = 0 then gives no TNT equivalent.
    RunInputs in = makeInputs();
    in.conditions.Zet = "0,0";
    const RaschResult& r = resultOf(run(in, makeReference()));
    EXPECT_GT(r.m, 0);
    EXPECT_EQ(r.Wt, 0);
    EXPECT_EQ(r.R0, 0);
}

TEST(RunChecks, MirrorAreaZeroPassesWithoutFormula131)
{
    RunInputs in = makeInputs();
    in.conditions.S_G = "0";
    EXPECT_TRUE(succeeded(run(in, makeReference())));
}

TEST(RunChecks, AdjacentBelowAtmosphereWithEnteredMassesRuns)
{
    RunInputs in = makeInputs();
    BlockData b = makeAdjacent(2);
    b.Davl = 0.09;
    b.G1 = true;
    b.znG1 = 5;
    b.G2 = true;
    b.znG2 = 7;
    in.adjacent.push_back(b);
    const RaschResult& r = resultOf(run(in, makeReference()));
    ASSERT_EQ(r.adjacent.size(), 1u);
    EXPECT_EQ(r.adjacent[0].g12, 5);
    EXPECT_EQ(r.adjacent[0].g21, 7);
}

TEST(RunChecks, EveryCompletedRunAppendsOneJournalRow)
{
    int journal = 0;
    EXPECT_TRUE(succeeded(run(makeInputs(), makeReference(), [&] { ++journal; })));
    EXPECT_EQ(journal, 1);
}

TEST(RunChecks, AJournalFailureEndsTheRun)
{
    EXPECT_THROW(run(makeInputs(), makeReference(), [] { throw std::runtime_error("locked"); }),
                 std::runtime_error);
}

// Faults inside a run: title "Внимание!", error icon, the quantity and the
// block named, the journal row kept, no result.
struct FaultCase {
    const char* name;
    std::function<void(RunInputs&, MemoryReference&)> change;
    std::vector<QString> mentions;
    int journalRows = 1;
};

class RunFaults : public ::testing::TestWithParam<FaultCase> {};

TEST_P(RunFaults, StopWithAMessageNamingTheQuantity)
{
    const FaultCase& c = GetParam();
    RunInputs in = makeInputs();
    MemoryReference ref = makeReference();
    c.change(in, ref);
    int journal = 0;
    const Stop s = stopOf(run(in, ref, [&] { ++journal; }));
    EXPECT_EQ(s.title, QStringLiteral("Внимание!"));
    EXPECT_EQ(s.icon, StopIcon::Error);
    for (const QString& m : c.mentions)
        EXPECT_TRUE(s.message.contains(m)) << s.message.toStdString() << "\n lacks "
                                           << m.toStdString();
    EXPECT_EQ(journal, c.journalRows);
}

// A main block with liquid above its boiling point spilling on a warm floor.
void withSpill(RunInputs& in)
{
    in.main.V_GF = 1;
    in.main.Plotn_GF = 600;
    in.main.Temp = 70;  // hexane boils at 68
    in.conditions.S_G = "10";
    in.conditions.S_kontakt = 10;
    in.conditions.Tempp = 80;
    in.conditions.c = 0.84;
    in.conditions.p = 2200;
    in.conditions.Koef_teplopr = 1.5;
    in.conditions.t_kontakt = 3600;
}

SubstData hexaneWith(const MemoryReference& ref, const std::function<void(SubstData&)>& f)
{
    SubstData s = *ref.substance(QStringLiteral("Гексан"));
    f(s);
    s.Name = QStringLiteral("Вариант");
    return s;
}

void useMainSubstance(RunInputs& in, MemoryReference& ref, const std::function<void(SubstData&)>& f)
{
    ref.addSubstance(hexaneWith(ref, f));
    in.main.Name = QStringLiteral("Вариант");
}

INSTANTIATE_TEST_SUITE_P(
    Arithmetic, RunFaults,
    ::testing::Values(
        FaultCase{"MirrorAreaTypedAsZeroCommaZeroWithFormula131",
                  [](RunInputs& in, MemoryReference&) {
                      withSpill(in);
                      in.conditions.Check1 = true;
                      in.conditions.S_G = "0,0";
                  },
                  {"G4", "формула 13.1", "аварийный пролив", "деление на ноль"}},
        FaultCase{"AdjacentBelowAtmosphereWithGivenVapourMass",
                  [](RunInputs& in, MemoryReference&) {
                      BlockData b = makeAdjacent(3);
                      b.Davl = 0.09;
                      b.G1 = true;
                      b.znG1 = 5;
                      in.adjacent.push_back(b);
                  },
                  {"скорость истечения ЖФ", "смежный блок № 3", "корень из отрицательного числа"}},
        FaultCase{"SubcriticalOutflowWithoutVapourDensity",
                  [](RunInputs& in, MemoryReference&) {
                      BlockData b = makeAdjacent(2);
                      b.Davl = 0.15;
                      b.Plotn_PGF = 0;
                      in.adjacent.push_back(b);
                  },
                  {"скорость истечения ПГФ", "смежный блок № 2", "плотность ПГФ равна 0"}},
        FaultCase{"NegativeHeatInflowRate",
                  [](RunInputs& in, MemoryReference&) {
                      BlockData b = makeAdjacent(2);
                      b.Sk_teploper_GG = -4;
                      b.t_P = 9;
                      in.adjacent.push_back(b);
                  },
                  {"энергия E2''", "смежный блок № 2", "отрицательная скорость теплопритока или время"}},
        FaultCase{"NegativeHeatCarrierTime",
                  [](RunInputs& in, MemoryReference&) {
                      BlockData b = makeAdjacent(3);
                      b.Sk_teploper_GF = 1;
                      b.t_T = -16;
                      in.adjacent.push_back(b);
                  },
                  {"энергия E3''", "смежный блок № 3", "отрицательная скорость теплопритока или время"}},
        FaultCase{"BoilingPointAtAbsoluteZero",
                  [](RunInputs& in, MemoryReference& ref) {
                      useMainSubstance(in, ref, [](SubstData& s) { s.T_kip = -kT0; });
                  },
                  {"давление насыщенного пара", "расчетный блок", "деление на ноль", "−273,15"}},
        FaultCase{"TemperatureAtAbsoluteZero",
                  [](RunInputs& in, MemoryReference& ref) {
                      useMainSubstance(in, ref, [](SubstData& s) { s.T_kip = -300; });
                      in.main.Temp = -kT0;
                  },
                  {"давление насыщенного пара Pн при температуре в блоке", "деление на ноль",
                   "температура равна −273,15 °C"}},
        FaultCase{"BoilingPointNearAbsoluteZeroOverflows",
                  [](RunInputs& in, MemoryReference& ref) {
                      // exp((1/0.15 - 1/293.15) × 335 × 86 / 8.314) overflows
                      useMainSubstance(in, ref, [](SubstData& s) { s.T_kip = -273; });
                  },
                  {"давление насыщенного пара", "не является конечным числом"}},
        FaultCase{"Formula143WithSingularFlashPoint",
                  [](RunInputs& in, MemoryReference& ref) {
                      in.settings.Pn = 2;
                      useMainSubstance(in, ref, [](SubstData& s) { s.Tvsp = -1047 / 7.48; });
                  },
                  {"давление насыщенного пара", "7,48 × Tvsp + 1047 = 0"}},
        FaultCase{"AntoineDenominatorZero",
                  [](RunInputs& in, MemoryReference& ref) {
                      in.settings.Pn = 3;
                      useMainSubstance(in, ref, [](SubstData& s) { s.pCa = -20; });  // T = 20
                  },
                  {"давление насыщенного пара Pн при температуре в блоке", "Ca + T = 0"}},
        FaultCase{"ManualPressureMakesCnSingular",
                  [](RunInputs& in, MemoryReference&) {
                      in.conditions.Check3 = true;
                      in.conditions.Pn = -static_cast<double>(101.3f);
                  },
                  {"концентрация Cn", "деление на ноль"}},
        FaultCase{"NegativeTotalEnergy",
                  [](RunInputs& in, MemoryReference& ref) {
                      useMainSubstance(in, ref, [](SubstData& s) { s.Tepl_sgorPGF = -1000; });
                      in.main.G1 = true;
                      in.main.znG1 = 1000;  // G'q' = -1e6 kJ outweighs A
                  },
                  {"полная энергия E", "отрицательное значение"}},
        FaultCase{"NegativeSurfaceDataUnderRoot",
                  [](RunInputs& in, MemoryReference&) {
                      withSpill(in);
                      in.conditions.c = -0.84;
                  },
                  {"тепловая активность поверхности", "корень из отрицательного числа"}},
        FaultCase{"ContactTimeBeyondTheCounter",
                  [](RunInputs& in, MemoryReference&) {
                      withSpill(in);
                      in.conditions.t_kontakt = 40000;
                  },
                  {"время контакта", "40000"}},
        FaultCase{"ZetNotANumber",
                  [](RunInputs& in, MemoryReference&) { in.conditions.Zet = "abc"; },
                  {"доля z", "«abc»"}},
        FaultCase{"InputNotANumber",
                  [](RunInputs& in, MemoryReference&) {
                      in.main.V_GF = std::numeric_limits<double>::quiet_NaN();
                  },
                  {"V_GF", "расчетный блок"}, 0},
        FaultCase{"AdjacentInputInfinite",
                  [](RunInputs& in, MemoryReference&) {
                      BlockData b = makeAdjacent(4);
                      b.t_T = std::numeric_limits<double>::infinity();
                      in.adjacent.push_back(b);
                  },
                  {"t_T", "смежный блок № 4"}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// An adjacent block of a propane variant, at 20 °C and 1 MPa: liquid arrives
// superheated by 62 °C.
void adjacentPropane(RunInputs& in, MemoryReference& ref, const std::function<void(SubstData&)>& f)
{
    SubstData s = *ref.substance(QStringLiteral("Пропан"));
    s.Name = QStringLiteral("Пропан-вариант");
    f(s);
    ref.addSubstance(s);
    BlockData b = makeAdjacent(2);
    b.Name = s.Name;
    in.adjacent.push_back(b);
}

// An adjacent block of a liquid far below its boiling point whose directory
// record has no heat of vaporisation, with the heat a source brings.
void adjacentWithoutR(RunInputs& in, MemoryReference& ref, const std::function<void(BlockData&)>& f)
{
    SubstData water;
    water.Name = QStringLiteral("Вода без r");
    water.Mol_massa = 18;
    water.T_kip = 100;
    water.Tepl_sgorPGF = 1000;
    water.Teploem_GF = 4.19;
    ref.addSubstance(water);
    BlockData b = makeAdjacent(3);
    b.Name = water.Name;
    f(b);
    in.adjacent.push_back(b);
}

const QString kR = QStringLiteral("удельная теплота парообразования r");
const QString kC = QStringLiteral("удельная теплоемкость жидкой фазы c'");

// Data a formula cannot use stops the run where it would silently zero a term
// that has something to work on; the message names the substance, the block
// and the field.
INSTANTIATE_TEST_SUITE_P(
    UnusableData, RunFaults,
    ::testing::Values(
        FaultCase{"MainBlockAtAbsoluteZero", [](RunInputs& in, MemoryReference&) { in.main.Temp = -273.15; },
                  {"Регламентная температура в блоке (расчетный блок «Сепаратор») -273,15 °C не выше абсолютного "
                   "нуля (-273,15 °C)",
                   "массу ПГФ нельзя привести к нормальным условиям", "Результаты расчета не получены."}},
        FaultCase{"MainBlockBelowAbsoluteZero", [](RunInputs& in, MemoryReference&) { in.main.Temp = -300; },
                  {"(расчетный блок «Сепаратор») -300 °C не выше абсолютного нуля"}},
        FaultCase{"MainSuperheatedLiquidWithoutHeatOfVaporisation",
                  [](RunInputs& in, MemoryReference& ref) {
                      withSpill(in);
                      useMainSubstance(in, ref, [](SubstData& s) { s.Tepl_paroobr = 0; });
                  },
                  {"Для вещества «Вариант» (расчетный блок «Сепаратор») в справочнике веществ не задана " + kR +
                       " (пусто или 0), а она нужна для расчета энергии E1'': жидкая фаза блока перегрета на 2 °C. "
                       "Дополните справочник веществ. Результаты расчета не получены."}},
        FaultCase{"MainSuperheatedLiquidWithoutHeatCapacity",
                  [](RunInputs& in, MemoryReference& ref) {
                      withSpill(in);
                      in.main.Temp = 68.6;  // rounds to a superheat of 1 °C
                      useMainSubstance(in, ref, [](SubstData& s) { s.Teploem_GF = 0; });
                  },
                  {"«Вариант» (расчетный блок «Сепаратор»)", "не задана " + kC + " (пусто или 0)",
                   "E1'': жидкая фаза блока перегрета на 0,6 °C."}},
        FaultCase{"MainSuperheatedLiquidWithoutEither",
                  [](RunInputs& in, MemoryReference& ref) {
                      withSpill(in);
                      useMainSubstance(in, ref, [](SubstData& s) {
                          s.Tepl_paroobr = 0;
                          s.Teploem_GF = 0;
                      });
                  },
                  {"не заданы " + kR + " и " + kC + " (пусто или 0), а они нужны"}},
        FaultCase{"AdjacentSuperheatedWithoutHeatOfVaporisation",
                  [](RunInputs& in, MemoryReference& ref) {
                      adjacentPropane(in, ref, [](SubstData& s) { s.Tepl_paroobr = 0; });
                  },
                  {"«Пропан-вариант» (смежный блок № 2 «Емкость 2»)", "не задана " + kR,
                   "энергии E1'': из блока поступает жидкая фаза, перегретая на 62 °C"}},
        FaultCase{"AdjacentSuperheatedLiquidWithoutHeatCapacity",
                  [](RunInputs& in, MemoryReference& ref) {
                      adjacentPropane(in, ref, [](SubstData& s) { s.Teploem_GF = 0; });
                  },
                  {"«Пропан-вариант» (смежный блок № 2 «Емкость 2»)", "не задана " + kC, "E1''"}},
        FaultCase{"AdjacentReactionHeatWithoutHeatOfVaporisation",
                  [](RunInputs& in, MemoryReference& ref) {
                      adjacentWithoutR(in, ref, [](BlockData& b) {
                          b.Sk_teploper_GG = 4;
                          b.t_P = 9;
                      });
                  },
                  {"«Вода без r» (смежный блок № 3 «Емкость 3»)", "не задана " + kR,
                   "энергии E2'': тепло экзотермических реакций 36 кДж"}},
        FaultCase{"AdjacentHeatCarrierWithoutHeatOfVaporisation",
                  [](RunInputs& in, MemoryReference& ref) {
                      adjacentWithoutR(in, ref, [](BlockData& b) {
                          b.Sk_teploper_GF = 1;
                          b.t_T = 16;
                      });
                  },
                  {"«Вода без r» (смежный блок № 3 «Емкость 3»)", "не задана " + kR,
                   "энергии E3'': теплоприток от внешних теплоносителей 16 кДж"}}),
    [](const auto& info) { return std::string(info.param.name); });

// Everywhere else data without r or c' gives what it gave before: a block
// whose liquid is not superheated and gets no heat, a superheated block
// without liquid, an adjacent block whose superheated liquid does not flow.
TEST(UnusableData, StopsNowhereElse)
{
    const struct {
        const char* name;
        std::function<void(RunInputs&, MemoryReference&)> change;
    } cases[] = {
        {"r = 0 below boiling, no heat inflow",
         [](RunInputs& in, MemoryReference& ref) { adjacentWithoutR(in, ref, [](BlockData&) {}); }},
        {"main liquid below boiling without r and c'",
         [](RunInputs& in, MemoryReference& ref) {
             withSpill(in);
             in.main.Temp = 60;
             useMainSubstance(in, ref, [](SubstData& s) {
                 s.Tepl_paroobr = 0;
                 s.Teploem_GF = 0;
             });
         }},
        {"main superheated by 0.4 °C, rounded to no superheat",
         [](RunInputs& in, MemoryReference& ref) {
             withSpill(in);
             in.main.Temp = 68.4;
             useMainSubstance(in, ref, [](SubstData& s) { s.Teploem_GF = 0; });
         }},
        {"superheated main block without liquid",
         [](RunInputs& in, MemoryReference& ref) {
             in.main.Temp = 90;
             useMainSubstance(in, ref, [](SubstData& s) { s.Tepl_paroobr = 0; });
         }},
        {"superheated adjacent liquid that does not flow, without c'",
         [](RunInputs& in, MemoryReference& ref) {
             adjacentPropane(in, ref, [](SubstData& s) { s.Teploem_GF = 0; });
             in.adjacent.back().S_sech = 0;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RunInputs in = makeInputs();
        MemoryReference ref = makeReference();
        c.change(in, ref);
        const RaschResult& r = resultOf(run(in, ref));
        EXPECT_EQ(r.E21own, 0);
        for (const AdjacentResult& a : r.adjacent) {
            EXPECT_EQ(a.e21, 0);
            EXPECT_EQ(a.e22, 0);
            EXPECT_EQ(a.e23, 0);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    MissingReferenceData, RunFaults,
    ::testing::Values(
        FaultCase{"MainSubstanceNotInDirectory",
                  [](RunInputs& in, MemoryReference&) { in.main.Name = "Нет такого"; },
                  {"Вещество «Нет такого» (расчетный блок) не найдено в справочнике веществ."}},
        FaultCase{"Formula143ForASubstanceWithoutFlashPoint",
                  [](RunInputs& in, MemoryReference& ref) {
                      in.settings.Pn = 2;
                      useMainSubstance(in, ref, [](SubstData& s) { s.hasTvsp = false; });
                  },
                  {"«Вариант» (расчетный блок)", "не задана температура вспышки", "формула 14.3"}},
        FaultCase{"AntoineForASubstanceWithoutConstants",
                  [](RunInputs& in, MemoryReference& ref) {
                      in.settings.Pn = 3;
                      useMainSubstance(in, ref, [](SubstData& s) { s.hasAntoine = false; });
                  },
                  {"«Вариант» (расчетный блок)", "не заданы константы формулы Антуана"}},
        FaultCase{"AdjacentSubstanceNotInDirectory",
                  [](RunInputs& in, MemoryReference&) {
                      BlockData b = makeAdjacent(2);
                      b.Name = "Нет такого";
                      in.adjacent.push_back(b);
                  },
                  {"Вещество «Нет такого» (смежный блок № 2 «Емкость 2»)"}},
        FaultCase{"BettaAbovePressureBands",
                  [](RunInputs& in, MemoryReference&) {
                      in.settings.A = 1;
                      in.main.Adiab = 1.3;
                      in.main.Davl = 150;
                  },
                  {"tabBetta", "k = 1,3", "P ≥ 150 МПа"}},
        FaultCase{"BettaRoundedKWithoutExactRow",
                  [](RunInputs& in, MemoryReference& ref) {
                      in.settings.A = 1;
                      in.main.Adiab = 1.333;
                      ref.setBetta({{1.1, 10, 2}, {1.333, 10, 3}, {1.4, 10, 4}});
                  },
                  {"tabBetta", "k = 1,33"}},
        FaultCase{"TabGWithoutRowBelowBoilingPoint",
                  [](RunInputs& in, MemoryReference& ref) {
                      withSpill(in);
                      in.settings.G = 1;
                      useMainSubstance(in, ref, [](SubstData& s) { s.T_kip = 40; });
                      ref.setG({{40, 10}, {80, 5}});
                  },
                  {"tabG", "ниже температуры кипения 40 °C"}},
        FaultCase{"TabGWithoutRowAboveBoilingPoint",
                  [](RunInputs& in, MemoryReference& ref) {
                      withSpill(in);
                      in.settings.G = 1;
                      useMainSubstance(in, ref, [](SubstData& s) { s.T_kip = 40; });
                      ref.setG({{-80, 400}, {20, 50}});
                  },
                  {"tabG", "не ниже температуры кипения 40 °C"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RunChecks, ManualPressuresNeedNeitherFlashPointNorAntoineConstants)
{
    for (int pn : {2, 3}) {
        RunInputs in = makeInputs();
        MemoryReference ref = makeReference();
        useMainSubstance(in, ref, [](SubstData& s) {
            s.hasTvsp = false;
            s.hasAntoine = false;
        });
        in.settings.Pn = pn;
        in.conditions.Check3 = true;
        in.conditions.Pn = 12;
        in.conditions.Check4 = true;
        in.conditions.Pn1 = 15;
        const RaschResult& r = resultOf(run(in, ref));
        EXPECT_EQ(r.PnT, 12) << "formula " << pn;
        EXPECT_EQ(r.PnTr, 15) << "formula " << pn;
    }
}

}  // namespace
}  // namespace veltron::calc::testing
