#pragma once

// The end of every report that users sign: who made the calculation, the
// date, and where the input data came from.

#include "records/signature.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace veltron::docx {
class Document;
}

namespace veltron::report {

// The bookmark at the end of every report template that takes the block.
inline const QString kSignatureBookmark = QStringLiteral("mPodpis");

// "Расчет выполнил: <должность> ____________ <исполнитель>" and the date,
// when a position or a name is given; "Исходные данные: <источник>", when a
// source is. An empty field leaves no line.
QStringList signatureLines(const records::Signature& signature, const QDate& date = QDate::currentDate());

// The lines, each a paragraph of its own, at the signature bookmark.
void writeSignature(docx::Document& document, const records::Signature& signature,
                    const QDate& date = QDate::currentDate());

}  // namespace veltron::report
