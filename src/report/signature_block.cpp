#include "report/signature_block.h"

#include "calc/number_text.h"
#include "report/docx/document.h"

namespace veltron::report {

QStringList signatureLines(const records::Signature& s, const QDate& date)
{
    QStringList lines;
    if (!s.position.isEmpty() || !s.performer.isEmpty()) {
        QStringList signer{QStringLiteral("Расчет выполнил:")};
        if (!s.position.isEmpty())
            signer << s.position;
        signer << QStringLiteral("____________");
        if (!s.performer.isEmpty())
            signer << s.performer;
        lines << signer.join(QLatin1Char(' '));
        lines << QStringLiteral("Дата: ") + calc::russianLocale().toString(date, QStringLiteral("dd.MM.yyyy"));
    }
    if (!s.source.isEmpty())
        lines << QStringLiteral("Исходные данные: ") + s.source;
    return lines;
}

void writeSignature(docx::Document& document, const records::Signature& signature, const QDate& date)
{
    const QStringList lines = signatureLines(signature, date);
    if (lines.isEmpty())
        return;
    // The style keeps the block on one page and lets it stand on the last
    // page of a wide table that ends the report. An empty line stands above it.
    document.appendStyledParagraph(kSignatureBookmark, QString(), kSignatureStyle);
    for (const QString& line : lines)
        document.appendStyledParagraph(kSignatureBookmark, line, kSignatureStyle);
    document.dropEmptyParagraph(kSignatureBookmark);
}

}  // namespace veltron::report
