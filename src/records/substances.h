#pragma once

#include "db/store.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace veltron::records {

// One substance of SubstChar as the substances directory shows and writes
// it. An empty number (NULL) is nothing; Vid_vva is the stored code as it
// is, also outside the two kinds of the lists (1 substance, 2 mixture).
// Tepl_sgorGF is neither read nor written here: a rewrite keeps it.
struct SubstanceRecord {
    QString Name;
    std::optional<int> Vid_vva;
    QString BruttoFormula;
    std::optional<double> Mol_massa;
    std::optional<double> Plotn_GF;
    std::optional<double> T_plavl;
    std::optional<double> T_kip;
    std::optional<double> Tvsp;
    std::optional<double> NKPR;
    std::optional<double> VKPR;
    std::optional<double> pA;
    std::optional<double> pB;
    std::optional<double> pCa;
    std::optional<double> pTmin;
    std::optional<double> pTmax;
    std::optional<double> Tepl_sgorPGF;
    std::optional<double> Tepl_paroobr;
    std::optional<double> Teploem_GF;
    std::optional<double> PokAdiab;
    QString Dop_info;

    bool operator==(const SubstanceRecord&) const = default;
};

// Every substance in Russian alphabetical order of the name.
QList<SubstanceRecord> substanceRecords(const db::Store& store);
std::optional<SubstanceRecord> findSubstanceRecord(const db::Store& store, const QString& name);

// Adds the substance (oldName empty) or rewrites the one named oldName.
// False, with nothing written, when another substance has the record's name.
bool saveSubstance(db::Store& store, const QString& oldName, const SubstanceRecord& record);
void deleteSubstance(db::Store& store, const QString& name);

// Whether a block of the calculation holds the substance.
bool substanceInBlocks(const db::Store& store, int idRasch, const QString& name);

// The properties a run reads that a substance's record leaves without a
// usable value, named for the user. `always`: read by every run (molar mass,
// boiling point, heats of combustion and vaporisation, heat capacity of the
// liquid), empty or, where it must be positive, 0 (named with the value),
// and an adiabatic index the block editor would take that is not above 1. `byFormula`: the flash point,
// read only by formula 14.3, and the Antoine constants, read only by
// Antoine's formula; a run with that formula stops with a message for such a
// substance.
struct MissingProperties {
    QStringList always;
    QStringList byFormula;
    bool operator==(const MissingProperties&) const = default;
};
MissingProperties missingProperties(const SubstanceRecord& record);

// The note that tells the user what a substance lacks; empty when nothing.
QString missingPropertiesNote(const MissingProperties& missing);

}  // namespace veltron::records
