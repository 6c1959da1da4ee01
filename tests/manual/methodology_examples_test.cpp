// The worked examples of the manual's chapter on the refinements of the
// methodology: every number marked in the text (<span data-example="key">) is
// what the engine computes for the example's data now, or what the earlier
// formula gave for the same data, written as the results screen writes it.

#include "calc/engine.h"
#include "calc/engine_fixture.h"
#include "report/format.h"

#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <QFile>

#include <cmath>
#include <map>

using namespace veltron;

namespace {

const QString kManual = QStringLiteral(VELTRON_MANUAL_SOURCE) + QStringLiteral("/manual.html");
const double kAtm = static_cast<double>(0.1013f);

// Every marked number of the manual by its key.
std::map<QString, QString> markedNumbers()
{
    QFile f(kManual);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    pugi::xml_document doc;
    EXPECT_TRUE(doc.load_buffer(text.constData(), text.size()));
    std::map<QString, QString> out;
    for (const auto& span : doc.select_nodes("//span[@data-example]")) {
        const QString key = QString::fromUtf8(span.node().attribute("data-example").value());
        EXPECT_EQ(out.count(key), 0u) << key.toStdString() << " is marked twice";
        out[key] = QString::fromUtf8(span.node().child_value()).simplified();
    }
    return out;
}

calc::RaschResult resultOf(const calc::RunInputs& in, const calc::Reference& ref)
{
    const calc::RunOutcome o = calc::run(in, ref);
    if (const auto* stop = std::get_if<calc::Stop>(&o))
        ADD_FAILURE() << stop->message.toStdString();
    return o.index() == 0 ? std::get<calc::RaschResult>(o) : calc::RaschResult{};
}

calc::SubstData toluene()
{
    calc::SubstData s;
    s.Name = QStringLiteral("Толуол");
    s.Mol_massa = 92.14;
    s.T_kip = 110.6;
    s.Tvsp = 4;
    s.Tepl_sgorPGF = 40530;
    s.Tepl_paroobr = 360;
    s.Teploem_GF = 1.71;
    return s;
}

// A block of hexane vapour, 10 m³ at 1 MPa with ρ′ = 3 kg/m³, no liquid.
calc::RunInputs vapourBlock(double t)
{
    calc::RunInputs in;
    in.main.Name = QStringLiteral("н-Гексан");
    in.main.V_PGF = 10;
    in.main.Davl = 1;
    in.main.Temp = t;
    in.main.Plotn_PGF = 3;
    in.main.Adiab = 1.06;
    in.conditions.t_kontakt = 3600;
    return in;
}

// A tank of hexane at 20 °C, 10 m³ of liquid, spilling under a 50 m² mirror
// for an hour; air, liquid and floor at 20 °C.
calc::RunInputs hexaneTank(int pressureFormula)
{
    calc::RunInputs in = vapourBlock(20);
    in.main.Davl = kAtm;
    in.main.V_GF = 10;
    in.main.Plotn_GF = 659;
    in.settings.Pn = pressureFormula;
    calc::GeneralConditions& c = in.conditions;
    c.S_G = QStringLiteral("50");
    c.S_kontakt = 50;
    c.c = 0.84;
    c.p = 2000;
    c.Koef_teplopr = 1.5;
    return in;
}

}  // namespace

TEST(MethodologyExamples, TheManualShowsWhatTheProgramComputes)
{
    calc::MemoryReference ref;
    ref.addSubstance(calc::testing::nHexane());
    ref.addSubstance(toluene());
    std::map<QString, QString> expected;
    const auto F3 = [](double x) { return report::FormatResult(x); };

    // 1. The vapour mass at 150 °C, with the ratio of absolute temperatures
    // and, before, with 20 / t in degrees Celsius.
    const calc::RaschResult hot = resultOf(vapourBlock(150), ref);
    const double oldG = 3 * 10 * (1 / kAtm) * (20.0 / 150);
    expected[QStringLiteral("vapour-V0")] = F3(hot.V0);
    expected[QStringLiteral("vapour-G")] = F3(hot.G);
    expected[QStringLiteral("vapour-G-old")] = F3(oldG);
    expected[QStringLiteral("vapour-ratio")] = report::formatFixed(hot.G / oldG, 1);
    expected[QStringLiteral("vapour-E11")] = F3(hot.E11);
    expected[QStringLiteral("vapour-E11-old")] = F3(hot.A + oldG * 45100);

    // 2. The ambient hexane tank: Antoine's formula gives the pressure below
    // the boiling point, and the air evaporates the spill; before, nothing.
    const calc::RaschResult tank = resultOf(hexaneTank(3), ref);
    EXPECT_GT(tank.G5, 0);
    expected[QStringLiteral("spill-Pn")] = F3(tank.PnTr);
    expected[QStringLiteral("spill-W")] = F3(tank.W);
    expected[QStringLiteral("spill-tau")] = QString::number(tank.Tau - 1);
    expected[QStringLiteral("spill-G5")] = F3(tank.G5);
    expected[QStringLiteral("spill-E24")] = F3(tank.E24);
    expected[QStringLiteral("spill-E")] = F3(tank.E);
    expected[QStringLiteral("spill-E-old")] = F3(tank.E - tank.E24);
    const calc::RaschResult by142 = resultOf(hexaneTank(1), ref);
    EXPECT_EQ(by142.W, 0);
    EXPECT_EQ(by142.E24, 0);
    expected[QStringLiteral("spill-note")] = calc::pnNote(by142);

    // 3. E2'' of an adjacent toluene column whose reaction brings 10 kJ/s for
    // 30 s: the heat is the rate times the time; before, its square root.
    calc::RunInputs column = vapourBlock(20);
    calc::BlockData b;
    b.Id = 2;
    b.Name = QStringLiteral("Толуол");
    b.Davl = 0.6;
    b.Temp = 20;
    b.Adiab = 1.1;
    b.Sk_teploper_GG = 10;
    b.t_P = 30;
    column.adjacent.push_back(b);
    const calc::RaschResult reaction = resultOf(column, ref);
    const double qr = 40530.0 / 360;
    EXPECT_DOUBLE_EQ(reaction.E22, 10 * 30 * qr);
    expected[QStringLiteral("reaction-qr")] = F3(qr);
    expected[QStringLiteral("reaction-E22")] = F3(reaction.E22);
    expected[QStringLiteral("reaction-E22-old")] = F3(std::sqrt(10.0 * 30) * qr);

    const std::map<QString, QString> manual = markedNumbers();
    for (const auto& [key, value] : expected) {
        const auto it = manual.find(key);
        if (it == manual.end())
            ADD_FAILURE() << key.toStdString() << " is not marked in the manual; the program gives "
                          << value.toStdString();
        else
            EXPECT_EQ(it->second, value) << key.toStdString();
    }
    for (const auto& [key, value] : manual)
        EXPECT_EQ(expected.count(key), 1u) << key.toStdString() << " is marked but not recomputed";
}
