#include "cli/signature_options.h"

namespace veltron::cli {

std::optional<records::Signature> takeSignature(QStringList& args, std::ostream& err)
{
    records::Signature signature;
    for (qsizetype i = 0; i < args.size();) {
        const bool signer = args[i] == QLatin1String("--signer");
        if (!signer && args[i] != QLatin1String("--source")) {
            ++i;
            continue;
        }
        if (i + 1 >= args.size()) {
            err << "После «" << args[i].toStdString() << "» нет значения.\n";
            return std::nullopt;
        }
        const QString value = args[i + 1];
        args.remove(i, 2);
        if (!signer) {
            signature.source = value.trimmed();
            continue;
        }
        const auto parsed = records::signerOf(value);
        if (!parsed) {
            err << "Подпись задается как --signer \"ДОЛЖНОСТЬ|ФИО\": в «" << value.toStdString()
                << "» нет черты «|» между должностью и фамилией.\n";
            return std::nullopt;
        }
        signature.position = parsed->position;
        signature.performer = parsed->performer;
    }
    return signature;
}

}  // namespace veltron::cli
