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
    // The empty paragraph of the bookmark stays as a blank line above the block.
    docx::ParagraphFormat blank;
    blank.keepWithNext = true;
    document.appendParagraph(kSignatureBookmark, QString(), blank);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        docx::ParagraphFormat format;
        format.keepWithNext = i + 1 < lines.size();  // the block stays on one page
        document.appendParagraph(kSignatureBookmark, lines[i], format);
    }
    document.dropEmptyParagraph(kSignatureBookmark);
}

}  // namespace veltron::report
