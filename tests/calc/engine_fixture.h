#pragma once

#include "calc/engine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <variant>

namespace veltron::calc::testing {

// Single-precision constants of the engine, as the formulas use them.
inline const double kAtm = static_cast<double>(0.1013f);   // 0.10130000114440918
inline const double kT0 = static_cast<double>(273.15f);    // 273.1499938964844

// n-hexane with its directory values and Antoine's constants (kPa, °C).
inline SubstData nHexane()
{
    SubstData s;
    s.Name = QStringLiteral("н-Гексан");
    s.Mol_massa = 86.178;
    s.T_kip = 68.7;
    s.Tvsp = -23;
    s.Tepl_sgorPGF = 45100;
    s.Tepl_paroobr = 335;
    s.Teploem_GF = 2.27;
    s.pA = 5.99517;
    s.pB = 1166.274;
    s.pCa = 223.661;
    return s;
}

// A small reference set: three substances, a β table for k 1.1 … 1.4 and a
// tabG from -80 to 60 °C.
inline MemoryReference makeReference()
{
    MemoryReference ref;
    SubstData hexane;
    hexane.Name = QStringLiteral("Гексан");
    hexane.Mol_massa = 86;
    hexane.T_kip = 68;
    hexane.Tvsp = -23;
    hexane.Tepl_sgorPGF = 45000;
    hexane.Tepl_paroobr = 335;
    hexane.Teploem_GF = 2.2;
    hexane.pA = 6.0;
    hexane.pB = 1200;
    hexane.pCa = 220;
    ref.addSubstance(hexane);

    SubstData propane;
    propane.Name = QStringLiteral("Пропан");
    propane.Mol_massa = 44;
    propane.T_kip = -42;
    propane.Tvsp = -96;
    propane.Tepl_sgorPGF = 46000;
    propane.Tepl_paroobr = 428;
    propane.Teploem_GF = 2.5;
    ref.addSubstance(propane);

    SubstData inert;  // no heat of vaporisation, no heat of combustion
    inert.Name = QStringLiteral("Азот");
    inert.Mol_massa = 28;
    inert.T_kip = -196;
    ref.addSubstance(inert);

    std::vector<BettaRow> betta;
    const double ks[] = {1.1, 1.2, 1.3, 1.4};
    const double ps[] = {0.5, 1, 5, 10, 50, 100};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 6; ++j)
            betta.push_back({ks[i], ps[j], 1.0 + i + j / 10.0});  // k 1.2, P 5: 2.2
    ref.setBetta(betta);

    ref.setG({{-80, 400}, {-40, 200}, {0, 100}, {20, 50}, {60, 10}});
    return ref;
}

// A main block of hexane vapour at 1 MPa and 20 °C, no liquid, no adjacent
// blocks, formula 3.1, formula 12, formula 14.2.
inline RunInputs makeInputs()
{
    RunInputs in;
    in.calculationName = QStringLiteral("Проба");
    in.main.Id = 1;
    in.main.Name_blok = QStringLiteral("Сепаратор");
    in.main.Name = QStringLiteral("Гексан");
    in.main.V_PGF = 10;
    in.main.Davl = 1.0;
    in.main.Temp = 20;
    in.main.Plotn_PGF = 3.0;
    in.main.Adiab = 1.4;
    in.conditions.Zet = QStringLiteral("0,1");
    in.conditions.S_G = QStringLiteral("0");
    in.conditions.t_kontakt = 3600;
    return in;
}

// An adjacent block of propane at 1 MPa, 20 °C with vapour and liquid outflow.
inline BlockData makeAdjacent(int id)
{
    BlockData b;
    b.Id = id;
    b.Name_blok = QStringLiteral("Емкость %1").arg(id);
    b.Name = QStringLiteral("Пропан");
    b.V_GF = 5;
    b.V_PGF = 20;
    b.Davl = 1.0;
    b.Temp = 20;
    b.Plotn_GF = 500;
    b.Plotn_PGF = 2.0;
    b.Adiab = 1.13;
    b.S_sech = 0.001;
    b.Koef_gidro = 0.5;
    b.t = 5;
    b.pVist = 340;
    b.pVistG = 340;
    return b;
}

// A copy, so that a result taken from a temporary outcome stays valid.
inline RaschResult resultOf(const RunOutcome& o)
{
    if (const Stop* s = std::get_if<Stop>(&o))
        ADD_FAILURE() << "the run stopped: " << s->title.toStdString() << " / "
                      << s->message.toStdString();
    const RaschResult* r = std::get_if<RaschResult>(&o);
    return r ? *r : RaschResult{};
}

inline Stop stopOf(const RunOutcome& o)
{
    if (const Stop* s = std::get_if<Stop>(&o))
        return *s;
    ADD_FAILURE() << "the run did not stop";
    return {};
}

// Relative closeness for values computed along a different route.
inline ::testing::AssertionResult close(double actual, double expected, double rel = 1e-12)
{
    const double tol = rel * std::max(1.0, std::fabs(expected));
    if (std::fabs(actual - expected) <= tol)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "actual " << actual << " expected " << expected << " (tolerance " << tol << ")";
}

}  // namespace veltron::calc::testing
