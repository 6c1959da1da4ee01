#pragma once

#include "records/signature.h"

#include <QStringList>

#include <optional>
#include <ostream>

namespace veltron::cli {

// The usage of the two options that sign a report.
inline const char* const kSignatureUsage = "[--signer \"ДОЛЖНОСТЬ|ФИО\"] [--source \"ИСТОЧНИК\"]";

// Takes "--signer ДОЛЖНОСТЬ|ФИО" and "--source ИСТОЧНИК" out of the words of
// a command: the signature block of the report (empty without them).
// Nothing, with the reason on err, for a signer without the bar or an
// option without its value.
std::optional<records::Signature> takeSignature(QStringList& args, std::ostream& err);

}  // namespace veltron::cli
