#pragma once

#include <QString>

#include <optional>

namespace veltron::records {

// Who signs the reports and where their input data came from: the position
// (an entry of tabDolgn), the performer's name and the source (an entry of
// tabIstochnik). Any of them may be empty.
struct Signature {
    QString position;
    QString performer;
    QString source;

    bool isEmpty() const { return position.isEmpty() && performer.isEmpty() && source.isEmpty(); }
    bool operator==(const Signature&) const = default;
};

// The last signature chosen with this data folder; empty when none was.
Signature rememberedSignature(const QString& dataDir);
// Keeps the signature for the next reports made with this data folder;
// false when the folder cannot be written.
bool rememberSignature(const QString& dataDir, const Signature& signature);

// "ДОЛЖНОСТЬ|ФИО" as the command line takes the signer; nothing for a text
// without the bar.
std::optional<Signature> signerOf(const QString& text);

}  // namespace veltron::records
